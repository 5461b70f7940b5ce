#pragma once

#include "sheet/model/CellValue.h"

#include <memory>
#include <string>
#include <string_view>

namespace sheet {

class Document;

// A cell of a worksheet, by its position.
class Cell {
public:
    Cell(std::shared_ptr<Document> document, int sheetIndex, int row, int column); // 0-based

    // Behaves like typing the text: a number becomes a number, other text a text, "" empties the cell.
    void setValue(std::string_view utf8);
    CellValue Value() const;
    void setNumberFormat(std::string_view code);
    std::string NumberFormat() const;

private:
    std::shared_ptr<Document> document_;
    int sheetIndex_;
    int row_;
    int column_;
};

} // namespace sheet
