#pragma once

#include <memory>
#include <string>

namespace sheet {

class Document;

// A rectangle of cells of a worksheet; rows and columns 1-based.
class Range {
public:
    // A sheet's used range also takes in the charts and drawings over the sheet when it is copied
    // as a picture, as the sheet looks when it is opened.
    enum class Kind { Cells, UsedRange };

    Range(std::shared_ptr<Document> document, int sheetIndex, int firstRow, int firstColumn, int lastRow,
          int lastColumn, Kind kind = Kind::Cells);

    int firstRow, firstColumn, lastRow, lastColumn;

    std::string address() const; // "A3:B19"
    // Records the range as a spreadsheet shows it and hands the drawing to the instance's picture
    // sink; without a sink the system clipboard takes a bitmap of it. A range whose picture is too
    // large to keep as a drawing is refused (RenderError) before anything is drawn.
    void CopyPicture();

private:
    std::shared_ptr<Document> document_;
    int sheetIndex_;
    Kind kind_;
};

} // namespace sheet
