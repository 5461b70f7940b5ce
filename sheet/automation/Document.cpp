#include "sheet/automation/Document.h"

#include "sheet/Errors.h"
#include "sheet/automation/InstanceState.h"

namespace sheet {

Document::Document(std::shared_ptr<const InstanceState> instance, biff::WorkbookFile file, std::string path)
    : path(std::move(path)), instance_(std::move(instance)), file_(std::move(file))
{
}

void Document::checkOpen() const
{
    instance_->checkRunning();
    if (!open_)
        throw StateError("the workbook is closed");
}

model::Workbook& Document::model()
{
    checkOpen();
    return file_->workbook;
}

biff::WorkbookFile& Document::file()
{
    checkOpen();
    return *file_;
}

const InstanceState& Document::instance() const
{
    return *instance_;
}

void Document::close()
{
    open_ = false;
    file_.reset();
}

bool Document::isOpen() const
{
    return open_ && !instance_->quit;
}

} // namespace sheet
