#include "sheet/render/SheetArea.h"

#include "sheet/render/CellAlignment.h"
#include "sheet/render/CellPainter.h"
#include "sheet/layout/CellText.h"
#include "sheet/render/FormattedTextPainter.h"
#include "sheet/render/ModelStyle.h"
#include "sheet/render/RangePicture.h"
#include "sheet/layout/SheetGeometry.h"

#include <QFontMetricsF>
#include <QImage>

#include <algorithm>

namespace sheet::render {

namespace {

// A comment's box shows only while the pointer rests on its cell.
constexpr int CommentObject = 0x19;

void include(std::optional<model::CellRange>& area, int row, int column)
{
    if (!area) {
        area = model::CellRange{row, column, row, column};
        return;
    }
    area->firstRow = std::min(area->firstRow, row);
    area->lastRow = std::max(area->lastRow, row);
    area->firstColumn = std::min(area->firstColumn, column);
    area->lastColumn = std::max(area->lastColumn, column);
}

std::optional<model::CellRange> growToDrawings(const model::Sheet& sheet, std::optional<model::CellRange> area)
{
    for (const model::DrawingObject& drawing : sheet.drawings) {
        if (drawing.objectType == CommentObject)
            continue;
        const model::Anchor& a = drawing.anchor;
        include(area, std::clamp(a.row1, 0, layout::SheetGeometry::maxRows - 1), std::clamp(a.col1, 0, layout::SheetGeometry::maxColumns - 1));
        include(area, std::clamp(a.row2, 0, layout::SheetGeometry::maxRows - 1), std::clamp(a.col2, 0, layout::SheetGeometry::maxColumns - 1));
    }
    return area;
}

// The last column that the text of a row's cell reaches when it runs on to the right over empty cells, as
// CellPainter draws it: far enough for the text and its margins, or for the right half of a centred text.
class RunOnText {
public:
    RunOnText(const model::Workbook& workbook, const model::Sheet& sheet)
        : workbook_(workbook), sheet_(sheet), geometry_(sheet, maxDigitWidth(workbook)), cellText_(workbook)
    {
        device_.setDotsPerMeterX(3780); // 96 dots per inch, as the pictures are drawn
        device_.setDotsPerMeterY(3780);
    }

    int lastColumn(int row, int column, const model::Cell& cell) const
    {
        const model::Xf* xf = workbook_.xf(cell.xf);
        const model::Xf style = xf ? *xf : model::Xf{};
        if (!cell.isText() || style.wrap)
            return column;
        const format::FormattedText formatted = cellText_.formatted(cell);
        const model::HorizontalAlignment horizontal = shownAlignment(style, cell, formatted.text());
        if (horizontal == model::HorizontalAlignment::Right || formatted.hasFill())
            return column;
        const model::Font* font = workbook_.font(style.fontIndex);
        const QFontMetricsF metrics(qtFont(font ? *font : model::Font{"Arial"}), &device_);
        const double width = FormattedTextPainter(formatted, metrics).width();
        const bool centred = horizontal == model::HorizontalAlignment::Center
            || horizontal == model::HorizontalAlignment::CenterAcross;
        const double needed = centred ? (geometry_.columnWidth(column) + width) / 2 + CellPainter::textMargin
                                      : width + 2 * CellPainter::textMargin;
        int last = column;
        while (geometry_.columnSpan(column, last + 1) < needed && last + 1 < layout::SheetGeometry::maxColumns
               && isBlank(row, last + 1))
            ++last;
        return last;
    }

    bool isBlank(int row, int column) const
    {
        const model::Cell* cell = sheet_.cell(row, column);
        if (!cell || cell->isEmpty())
            return true;
        return cell->isText() && std::get<std::string>(workbook_.value(*cell)).empty();
    }

private:
    const model::Workbook& workbook_;
    const model::Sheet& sheet_;
    layout::SheetGeometry geometry_;
    layout::CellText cellText_;
    QImage device_{1, 1, QImage::Format_ARGB32_Premultiplied};
};

// The range grown to the right as far as the text of each row's last filled cell in it runs on.
model::CellRange withRunOnText(const model::Workbook& workbook, const model::Sheet& sheet, model::CellRange range)
{
    const RunOnText runOn(workbook, sheet);
    const model::CellRange given = range;
    const model::Cell* last = nullptr;
    model::CellAddress lastAt;
    const auto reach = [&] {
        if (last)
            range.lastColumn = std::max(range.lastColumn, runOn.lastColumn(lastAt.row, lastAt.column, *last));
        last = nullptr;
    };
    for (auto it = sheet.cells.lower_bound(model::CellAddress{given.firstRow, 0});
         it != sheet.cells.end() && it->first.row <= given.lastRow; ++it) {
        if (last && it->first.row != lastAt.row)
            reach();
        if (it->first.column < given.firstColumn || it->first.column > given.lastColumn
            || runOn.isBlank(it->first.row, it->first.column))
            continue;
        last = &it->second;
        lastAt = it->first;
    }
    reach();
    return range;
}

}  // namespace

model::CellRange sheetArea(const model::Workbook& workbook, const model::Sheet& sheet)
{
    const std::optional<model::CellRange> used = sheet.usedRange();
    if (used)
        return pictureArea(workbook, sheet, *used);
    return growToDrawings(sheet, std::nullopt).value_or(model::CellRange{});
}

model::CellRange pictureArea(const model::Workbook& workbook, const model::Sheet& sheet, const model::CellRange& range)
{
    return *growToDrawings(sheet, withRunOnText(workbook, sheet, range));
}

}  // namespace sheet::render
