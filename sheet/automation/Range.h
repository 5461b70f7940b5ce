#pragma once

#include <memory>
#include <string>

namespace sheet {

class Document;

// A rectangle of cells of a worksheet; rows and columns 1-based.
class Range {
public:
    Range(std::shared_ptr<Document> document, int sheetIndex, int firstRow, int firstColumn, int lastRow,
          int lastColumn);

    int firstRow, firstColumn, lastRow, lastColumn;

    std::string address() const; // "A3:B19"
    // Draws the range as a spreadsheet shows it and hands the picture to the instance's picture sink.
    void CopyPicture();

private:
    std::shared_ptr<Document> document_;
    int sheetIndex_;
};

} // namespace sheet
