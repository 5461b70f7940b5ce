#pragma once

#include "sheet/automation/Cell.h"
#include "sheet/automation/Range.h"

#include <memory>
#include <optional>
#include <string>

namespace sheet {

class Document;

// A worksheet of an open workbook.
class Worksheet {
public:
    Worksheet(std::shared_ptr<Document> document, int sheetIndex);

    std::string Name() const;
    Cell Cells(int row, int column); // 1-based
    // From the first to the last row and column holding a value or a format other than the default.
    Range UsedRange();
    void setShowGridlines(bool show);
    void setColumnWidth(int column, int widthIn256ths); // column 1-based
    int index() const;
    // The address ("A2:A8") of the first merged area that meets the cells from (firstRow, firstColumn)
    // to (lastRow, lastColumn), 1-based; nothing when none does.
    std::optional<std::string> mergedCellsMeeting(int firstRow, int firstColumn, int lastRow, int lastColumn) const;

private:
    std::shared_ptr<Document> document_;
    int sheetIndex_;
};

} // namespace sheet
