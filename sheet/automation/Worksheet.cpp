#include "sheet/automation/Worksheet.h"

#include "sheet/automation/Document.h"
#include "sheet/biff/MergedCells.h"
#include "sheet/edit/CellEditing.h"
#include "sheet/edit/SheetView.h"
#include "sheet/model/A1Notation.h"

namespace sheet {

Worksheet::Worksheet(std::shared_ptr<Document> document, int sheetIndex)
    : document_(std::move(document)), sheetIndex_(sheetIndex)
{
}

std::string Worksheet::Name() const
{
    return edit::worksheet(document_->model(), sheetIndex_).name;
}

Cell Worksheet::Cells(int row, int column)
{
    edit::worksheet(document_->model(), sheetIndex_);
    edit::checkPosition(row - 1, column - 1);
    return Cell(document_, sheetIndex_, row - 1, column - 1);
}

Range Worksheet::UsedRange()
{
    const model::CellRange used = edit::usedRange(edit::worksheet(document_->model(), sheetIndex_));
    return Range(document_, sheetIndex_, used.firstRow + 1, used.firstColumn + 1, used.lastRow + 1,
                 used.lastColumn + 1, Range::Kind::UsedRange);
}

void Worksheet::setShowGridlines(bool show)
{
    edit::setShowGridlines(edit::worksheet(document_->model(), sheetIndex_), show);
}

void Worksheet::setColumnWidth(int column, int widthIn256ths)
{
    edit::setColumnWidth(edit::worksheet(document_->model(), sheetIndex_), column - 1, widthIn256ths);
}

int Worksheet::index() const
{
    return sheetIndex_;
}

std::optional<std::string> Worksheet::mergedCellsMeeting(int firstRow, int firstColumn, int lastRow,
                                                        int lastColumn) const
{
    for (const model::CellRange& merged : biff::mergedCells(edit::worksheet(document_->model(), sheetIndex_))) {
        if (merged.firstRow < lastRow && merged.lastRow >= firstRow - 1 && merged.firstColumn < lastColumn &&
            merged.lastColumn >= firstColumn - 1 && (merged.lastRow > merged.firstRow || merged.lastColumn > merged.firstColumn))
            return model::rangeAddress(merged);
    }
    return std::nullopt;
}

} // namespace sheet
