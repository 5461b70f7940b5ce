#pragma once

#include "sheet/automation/Worksheet.h"
#include "sheet/biff/WorkbookFile.h"

#include <memory>
#include <string>
#include <vector>

namespace sheet {

namespace model { struct Workbook; }
class Document;

// An open workbook of an instance.
class Workbook {
public:
    explicit Workbook(std::shared_ptr<Document> document);
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    Worksheet& ActiveSheet();
    // Writes the workbook to `path` in the format `fileFormat`: 56 or -4143, the Excel 97-2003 format; 51, the
    // Excel workbook (.xlsx); 52, the same with its macros kept (.xlsm); 60, the OpenDocument spreadsheet (.ods).
    // A workbook read from a package and saved in its own format keeps every part that did not change. A
    // workbook that the format cannot hold gives a FormatError and writes nothing.
    void SaveAs(const std::string& path, int fileFormat, biff::SaveTarget target = biff::SaveTarget::SharedFolder);
    // Closes without saving; the workbook can no longer be used.
    void Close();
    bool isOpen() const;
    // Frees the workbook's data without the checks of Close, when the instance quits.
    void release();
    const std::string& path() const;
    model::Workbook& model();

private:
    std::shared_ptr<Document> document_;
    std::vector<std::unique_ptr<Worksheet>> sheets_;
};

} // namespace sheet
