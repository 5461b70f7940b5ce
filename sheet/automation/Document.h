#pragma once

#include "sheet/biff/WorkbookFile.h"

#include <memory>
#include <optional>
#include <string>

namespace sheet {

class InstanceState;

// An open workbook's data, shared by the objects that reach into it (sheets, cells, ranges), so that
// they fail cleanly instead of dangling once the workbook is closed or the instance has quit.
class Document {
public:
    Document(std::shared_ptr<const InstanceState> instance, biff::WorkbookFile file, std::string path);

    // The workbook, after checking that the instance runs and the workbook is open.
    model::Workbook& model();
    biff::WorkbookFile& file();
    const InstanceState& instance() const;
    void checkOpen() const;
    void close();
    bool isOpen() const;

    std::string path;

private:
    std::shared_ptr<const InstanceState> instance_;
    std::optional<biff::WorkbookFile> file_; // none once closed
    bool open_ = true;
};

} // namespace sheet
