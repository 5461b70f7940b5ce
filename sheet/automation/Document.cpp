#include "sheet/automation/Document.h"

#include "sheet/Errors.h"
#include "sheet/automation/InstanceState.h"

namespace sheet {

Document::Document(std::shared_ptr<const InstanceState> instance, WorkbookSource source, std::string path)
    : path(std::move(path)), instance_(std::move(instance)), source_(std::move(source))
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
    return source_->workbook();
}

WorkbookSource& Document::source()
{
    checkOpen();
    return *source_;
}

const InstanceState& Document::instance() const
{
    return *instance_;
}

void Document::close()
{
    open_ = false;
    source_.reset();
}

bool Document::isOpen() const
{
    return open_ && !instance_->quit;
}

} // namespace sheet
