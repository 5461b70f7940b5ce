#pragma once

#include "sheet/model/Workbook.h"
#include "sheet/layout/CellText.h"
#include "sheet/render/RangeGrid.h"

#include <QFont>
#include <QFontMetricsF>

class QPainter;

namespace sheet::render {

// Paints the cells of a range in layers: gridlines, fills, texts, borders; only the rows from
// firstRow to lastRow of the range, in the range's own coordinates.
class CellPainter {
public:
    // Between a cell's edge and its text, in pixels.
    static constexpr int textMargin = 2;

    CellPainter(QPainter& painter, const model::Workbook& workbook, const model::Sheet& sheet, const RangeGrid& grid,
                int firstRow, int lastRow);

    void paintGridlines();
    void paintFills();
    void paintTexts();
    void paintBorders();

private:
    // Calls visit(address, cell) for every stored cell of the range, in row order.
    template <typename Visit>
    void forEachCell(Visit visit) const
    {
        const model::CellRange& r = grid_.range();
        for (auto it = sheet_.cells.lower_bound(model::CellAddress{firstRow_, 0});
             it != sheet_.cells.end() && it->first.row <= lastRow_; ++it) {
            if (it->first.column >= r.firstColumn && it->first.column <= r.lastColumn)
                visit(it->first, it->second);
        }
    }
    const model::Xf& xfOf(const model::Cell& cell) const;
    QFont fontOf(const model::Xf& xf) const;
    QColor fontColour(const model::Xf& xf) const;
    bool isBlank(int row, int column) const;
    void paintText(int row, int column, const model::Cell& cell);
    void paintNarrowNumber(const model::Cell& cell, const QFontMetricsF& metrics, double left, double right,
                           double baseline);

    QPainter& painter_;
    const model::Workbook& workbook_;
    const model::Sheet& sheet_;
    const RangeGrid& grid_;
    int firstRow_;
    int lastRow_;
    layout::CellText cellText_;
    model::Xf defaultXf_;
};

}  // namespace sheet::render
