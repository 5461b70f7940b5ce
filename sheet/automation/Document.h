#pragma once

#include "sheet/automation/WorkbookSource.h"

#include <memory>
#include <optional>
#include <string>

namespace sheet {

class InstanceState;

// An open workbook's data, shared by the objects that reach into it (sheets, cells, ranges), so that
// they fail cleanly instead of dangling once the workbook is closed or the instance has quit.
class Document {
public:
    Document(std::shared_ptr<const InstanceState> instance, WorkbookSource source, std::string path);

    // The workbook, after checking that the instance runs and the workbook is open.
    model::Workbook& model();
    WorkbookSource& source();
    const InstanceState& instance() const;
    void checkOpen() const;
    void close();
    bool isOpen() const;

    std::string path;

private:
    std::shared_ptr<const InstanceState> instance_;
    std::optional<WorkbookSource> source_; // none once closed
    bool open_ = true;
};

} // namespace sheet
