#pragma once

#include "sheet/model/Drawing.h"
#include "sheet/model/Sheet.h"

#include <QRectF>

namespace sheet::layout {

// Where columns and rows of a sheet lie on the screen at 96 dots per inch.
//
// Column widths are kept in 1/256 of the Normal style font's widest digit
// (maxDigitWidth, whole pixels) and include the cell margins, so a COLINFO
// width w becomes trunc((w + trunc(128 / maxDigitWidth)) / 256 * maxDigitWidth)
// pixels. A STANDARDWIDTH counts digits without the margins (+5 pixels); a
// DEFCOLWIDTH of n characters gives n * maxDigitWidth + 5 pixels rounded up to
// a multiple of 8. Row heights are in twips, 15 to a pixel, rounded to the
// nearest pixel (halves to even). Hidden columns and rows are 0 pixels wide.
class SheetGeometry {
public:
    SheetGeometry(const model::Sheet& sheet, int maxDigitWidth);

    int columnWidth(int column) const;
    int rowHeight(int row) const;
    // Pixels from the left edge of column `from` to the left edge of column `to` (negative when to < from).
    long columnSpan(int from, int to) const;
    long rowSpan(int from, int to) const;
    // The rectangle of an anchored drawing object, relative to the top-left corner of (originRow, originColumn).
    QRectF anchorRect(const model::Anchor& anchor, int originRow, int originColumn) const;

    static constexpr int maxColumns = 256;
    static constexpr int maxRows = 65536;

private:
    const model::Sheet& sheet_;
    int maxDigitWidth_;
    int defaultColumnPixels_;
};

}  // namespace sheet::layout
