#include "sheet/automation/Workbooks.h"

#include "sheet/Errors.h"
#include "sheet/automation/Document.h"
#include "sheet/automation/InstanceState.h"
#include "sheet/automation/Workbook.h"

namespace sheet {

Workbooks::Workbooks(std::shared_ptr<InstanceState> instance) : instance_(std::move(instance)) {}

Workbooks::~Workbooks() = default;

Workbook& Workbooks::Open(const std::string& path, const std::string& password)
{
    instance_->checkRunning();
    auto document = std::make_shared<Document>(instance_, WorkbookSource::open(path, password), path);
    workbooks_.push_back(std::make_unique<Workbook>(std::move(document)));
    return *workbooks_.back();
}

int Workbooks::count() const
{
    instance_->checkRunning();
    int open = 0;
    for (const auto& workbook : workbooks_)
        open += workbook->isOpen() ? 1 : 0;
    return open;
}

Workbook& Workbooks::item(int index)
{
    instance_->checkRunning();
    int seen = 0;
    for (const auto& workbook : workbooks_)
        if (workbook->isOpen() && ++seen == index)
            return *workbook;
    throw ArgumentError("there is no open workbook number " + std::to_string(index) + " (" + std::to_string(seen) +
                        " open)");
}

} // namespace sheet

namespace sheet {

void Workbooks::closeAll()
{
    for (const auto& workbook : workbooks_)
        workbook->release();
}

} // namespace sheet
