#include "sheet/layout/SheetGeometry.h"

#include <algorithm>
#include <cmath>

namespace sheet::layout {

namespace {

constexpr int twipsPerPixel = 15;
constexpr int cellMargins = 5;

int widthFromColumnInfo(int width256, int maxDigitWidth)
{
    const long units = static_cast<long>(std::clamp(width256, 0, 0xFFFF)) + 128 / maxDigitWidth;
    return static_cast<int>(units * maxDigitWidth / 256);
}

}  // namespace

SheetGeometry::SheetGeometry(const model::Sheet& sheet, int maxDigitWidth)
    : sheet_(sheet), maxDigitWidth_(std::clamp(maxDigitWidth, 1, 200))
{
    if (sheet.standardWidth) {
        defaultColumnPixels_ = static_cast<int>(std::clamp(*sheet.standardWidth, 0, 0xFFFF) * maxDigitWidth_ / 256) + cellMargins;
    } else {
        const int pixels = std::clamp(sheet.defaultColumnWidth, 0, 255) * maxDigitWidth_ + cellMargins;
        defaultColumnPixels_ = (pixels + 7) / 8 * 8;
    }
}

int SheetGeometry::columnWidth(int column) const
{
    for (const model::ColumnInfo& info : sheet_.columns) {
        if (column >= info.first && column <= info.last)
            return info.hidden() ? 0 : widthFromColumnInfo(info.width, maxDigitWidth_);
    }
    return defaultColumnPixels_;
}

int SheetGeometry::rowHeight(int row) const
{
    if (sheet_.rowHidden(row))
        return 0;
    const int twips = std::clamp(sheet_.rowHeight(row), 0, 0x7FFF);
    return static_cast<int>(std::nearbyint(static_cast<double>(twips) / twipsPerPixel));
}

long SheetGeometry::columnSpan(int from, int to) const
{
    long pixels = 0;
    for (int c = std::min(from, to); c < std::max(from, to); ++c)
        pixels += columnWidth(c);
    return to >= from ? pixels : -pixels;
}

long SheetGeometry::rowSpan(int from, int to) const
{
    from = std::clamp(from, 0, maxRows);
    to = std::clamp(to, 0, maxRows);
    long pixels = 0;
    for (int r = std::min(from, to); r < std::max(from, to); ++r)
        pixels += rowHeight(r);
    return to >= from ? pixels : -pixels;
}

QRectF SheetGeometry::anchorRect(const model::Anchor& anchor, int originRow, int originColumn) const
{
    auto columnPoint = [&](int column, int dx) {
        column = std::clamp(column, 0, maxColumns - 1);
        return static_cast<double>(columnSpan(originColumn, column))
            + columnWidth(column) * std::clamp(dx, 0, 1024) / 1024.0;
    };
    auto rowPoint = [&](int row, int dy) {
        row = std::clamp(row, 0, maxRows - 1);
        return static_cast<double>(rowSpan(originRow, row)) + rowHeight(row) * std::clamp(dy, 0, 256) / 256.0;
    };
    const QPointF topLeft(columnPoint(anchor.col1, anchor.dx1), rowPoint(anchor.row1, anchor.dy1));
    const QPointF bottomRight(columnPoint(anchor.col2, anchor.dx2), rowPoint(anchor.row2, anchor.dy2));
    return QRectF(topLeft, bottomRight).normalized();
}

}  // namespace sheet::layout
