#include "sheet/render/CellPainter.h"

#include "sheet/render/CellAlignment.h"
#include "sheet/render/FormattedTextPainter.h"
#include "sheet/render/ModelStyle.h"
#include "sheet/render/VisibleText.h"

#include <QPainter>

#include <algorithm>
#include <optional>

namespace sheet::render {

namespace {

constexpr int indentWidth = 9;
const QColor gridlineColour(0xD4, 0xD4, 0xD4);

using model::HorizontalAlignment;
using model::VerticalAlignment;

Qt::BrushStyle patternBrush(int pattern)
{
    switch (pattern) {
    case 1: return Qt::SolidPattern;
    case 2: return Qt::Dense4Pattern;
    case 3: return Qt::Dense3Pattern;
    case 4: return Qt::Dense5Pattern;
    case 5: return Qt::HorPattern;
    case 6: return Qt::VerPattern;
    case 7: return Qt::BDiagPattern;
    case 8: return Qt::FDiagPattern;
    case 9: return Qt::CrossPattern;
    case 10: return Qt::DiagCrossPattern;
    case 17: case 18: return Qt::Dense7Pattern;
    default: return pattern > 0 ? Qt::Dense6Pattern : Qt::NoBrush;
    }
}

QPen borderPen(int style, const QColor& colour)
{
    QPen pen(colour, 1, Qt::SolidLine, Qt::FlatCap);
    switch (style) {
    case 2: case 8: case 10: case 12: pen.setWidth(2); break;
    case 5: case 6: pen.setWidth(3); break;
    default: break;
    }
    switch (style) {
    case 3: case 8: pen.setStyle(Qt::DashLine); break;
    case 4: pen.setStyle(Qt::DotLine); break;
    case 7: pen.setDashPattern({1.0, 1.0}); break;
    case 9: case 10: case 13: pen.setStyle(Qt::DashDotLine); break;
    case 11: case 12: pen.setStyle(Qt::DashDotDotLine); break;
    default: break;
    }
    return pen;
}


}  // namespace

CellPainter::CellPainter(QPainter& painter, const model::Workbook& workbook, const model::Sheet& sheet,
                         const RangeGrid& grid, int firstRow, int lastRow)
    : painter_(painter), workbook_(workbook), sheet_(sheet), grid_(grid), firstRow_(firstRow), lastRow_(lastRow),
      cellText_(workbook)
{
}

const model::Xf& CellPainter::xfOf(const model::Cell& cell) const
{
    const model::Xf* xf = workbook_.xf(cell.xf);
    return xf ? *xf : defaultXf_;
}

QFont CellPainter::fontOf(const model::Xf& xf) const
{
    const model::Font* font = workbook_.font(xf.fontIndex);
    return qtFont(font ? *font : model::Font{"Arial"});
}

QColor CellPainter::fontColour(const model::Xf& xf) const
{
    const model::Font* font = workbook_.font(xf.fontIndex);
    return paletteColour(workbook_.palette, font ? font->colorIndex : 0x7FFF);
}

bool CellPainter::isBlank(int row, int column) const
{
    const model::Cell* cell = sheet_.cell(row, column);
    if (!cell || cell->isEmpty())
        return true;
    return cell->isText() && std::get<std::string>(workbook_.value(*cell)).empty();
}

void CellPainter::paintGridlines()
{
    if (!sheet_.showGridlines)
        return;
    const model::CellRange& r = grid_.range();
    painter_.setPen(QPen(gridlineColour, 1));
    const int top = grid_.cell(firstRow_, r.firstColumn).top();
    const int bottom = grid_.cell(lastRow_, r.firstColumn).bottom();
    for (int column = r.firstColumn; column <= r.lastColumn; ++column) {
        const QRect cell = grid_.cell(firstRow_, column);
        if (cell.width() > 0)
            painter_.drawLine(cell.right(), top, cell.right(), bottom);
    }
    for (int row = firstRow_; row <= lastRow_; ++row) {
        const QRect cell = grid_.cell(row, r.firstColumn);
        if (cell.height() > 0)
            painter_.drawLine(0, cell.bottom(), static_cast<int>(grid_.width()) - 1, cell.bottom());
    }
}

void CellPainter::paintFills()
{
    forEachCell([&](const model::CellAddress& at, const model::Cell& stored) {
        const model::Xf& xf = xfOf(stored);
        const Qt::BrushStyle style = patternBrush(xf.fillPattern);
        if (style == Qt::NoBrush)
            return;
        const QRect cell = grid_.cell(at.row, at.column);
        const QColor foreground = paletteColour(workbook_.palette, xf.patternForeground);
        if (style != Qt::SolidPattern)
            painter_.fillRect(cell, paletteColour(workbook_.palette, xf.patternBackground, Qt::white));
        painter_.fillRect(cell, QBrush(foreground, style));
    });
}

void CellPainter::paintTexts()
{
    forEachCell([&](const model::CellAddress& at, const model::Cell& stored) {
        if (!isBlank(at.row, at.column))
            paintText(at.row, at.column, stored);
    });
}

void CellPainter::paintText(int row, int column, const model::Cell& cell)
{
    const QRect box = grid_.cell(row, column);
    if (box.width() <= 0 || box.height() <= 0)
        return;
    const model::Xf& xf = xfOf(cell);
    format::FormattedText formatted = cellText_.formatted(cell);
    const QFont font = fontOf(xf);
    const QFontMetricsF metrics(font, painter_.device());
    painter_.setFont(font);
    painter_.setPen(formatted.colourIndex ? paletteColour(workbook_.palette, *formatted.colourIndex) : fontColour(xf));

    const HorizontalAlignment horizontal = shownAlignment(xf, cell, formatted.text());

    const double left = box.left() + textMargin + (horizontal == HorizontalAlignment::Left ? xf.indent * indentWidth : 0);
    const double right = box.right() + 1 - textMargin - (horizontal == HorizontalAlignment::Right ? xf.indent * indentWidth : 0);
    const double ascent = metrics.ascent();
    const double lineHeight = metrics.ascent() + metrics.descent();
    double baseline = box.bottom() - metrics.descent();
    if (xf.vertical == VerticalAlignment::Top)
        baseline = box.top() + 1 + ascent;
    else if (xf.vertical == VerticalAlignment::Center || xf.vertical == VerticalAlignment::Justify
             || xf.vertical == VerticalAlignment::Distributed)
        baseline = box.top() + (box.height() - lineHeight) / 2 + ascent;

    painter_.save();
    if (xf.wrap && !cell.number()) {
        painter_.setClipRect(box);
        const int vertical = xf.vertical == VerticalAlignment::Top ? Qt::AlignTop
            : xf.vertical == VerticalAlignment::Bottom ? Qt::AlignBottom : Qt::AlignVCenter;
        const int alignment = horizontal == HorizontalAlignment::Right ? Qt::AlignRight
            : horizontal == HorizontalAlignment::Center ? Qt::AlignHCenter : Qt::AlignLeft;
        // Qt lays out only the lines the cell holds, but a word wider than the cell stays whole on its line.
        QString text = QString::fromStdString(formatted.text());
        if (alignment == Qt::AlignLeft)
            text = cutLongWords(text, static_cast<qsizetype>(right - left) + 1);
        painter_.drawText(QRectF(left, box.top(), right - left, box.height()), alignment | vertical | Qt::TextWordWrap, text);
        painter_.restore();
        return;
    }

    // Only what can show is drawn: the rest of a long text would only fill the drawing and its files.
    std::optional<FixedEnd> fixed;
    if (horizontal == HorizontalAlignment::Right)
        fixed = FixedEnd::End;
    else if (horizontal != HorizontalAlignment::Center && horizontal != HorizontalAlignment::CenterAcross)
        fixed = FixedEnd::Start;
    if (fixed)
        cutToReach(formatted, metrics, *fixed == FixedEnd::Start ? grid_.width() - left : right, *fixed);
    const FormattedTextPainter line(formatted, metrics);
    const double room = right - left;
    if (cell.number() && line.width() > room) {
        // Never a number cut at the cell's edge: that would show another number.
        painter_.setClipRect(box);
        paintNarrowNumber(cell, metrics, left, right, baseline);
    } else if (line.hasFill()) {
        painter_.setClipRect(box);
        line.paint(painter_, left, right, baseline);
    } else {
        // Text that does not fit runs on over empty neighbours in the range.
        const model::CellRange& r = grid_.range();
        int first = column;
        int last = column;
        const bool toRight = horizontal != HorizontalAlignment::Right;
        const bool toLeft = horizontal == HorizontalAlignment::Right || horizontal == HorizontalAlignment::Center;
        while (!cell.number() && grid_.span(row, first, last).width() - 2 * textMargin < line.width()) {
            const bool growRight = toRight && last < r.lastColumn && isBlank(row, last + 1);
            const bool growLeft = toLeft && first > r.firstColumn && isBlank(row, first - 1);
            if (!growRight && !growLeft)
                break;
            last += growRight ? 1 : 0;
            first -= growLeft ? 1 : 0;
        }
        const QRect span = grid_.span(row, first, last);
        painter_.setClipRect(span);
        if (fixed)
            cutToReach(formatted, metrics, *fixed == FixedEnd::Start ? span.right() + 1 - left : right - span.left(), *fixed);
        const FormattedTextPainter shown(formatted, metrics);
        double x = left;
        if (horizontal == HorizontalAlignment::Right)
            x = right - shown.width();
        else if (horizontal == HorizontalAlignment::Center || horizontal == HorizontalAlignment::CenterAcross)
            x = box.left() + (box.width() - shown.width()) / 2;
        shown.paint(painter_, x, x + shown.width(), baseline);
    }
    painter_.restore();
}

// A number too wide for its cell: "General" gives up digits until it fits,
// anything else fills the cell with hashes, as spreadsheets do.
void CellPainter::paintNarrowNumber(const model::Cell& cell, const QFontMetricsF& metrics, double left, double right,
                                    double baseline)
{
    for (int characters = 10; characters >= 5; --characters) {
        const std::optional<format::FormattedText> narrow = cellText_.narrowed(cell, characters);
        if (!narrow)
            break;
        const FormattedTextPainter line(*narrow, metrics);
        if (line.width() <= right - left) {
            line.paint(painter_, right - line.width(), right, baseline);
            return;
        }
    }
    format::FormattedText hashes;
    hashes.appendFill("#");
    FormattedTextPainter(hashes, metrics).paint(painter_, left, right, baseline);
}

void CellPainter::paintBorders()
{
    const model::CellRange& r = grid_.range();
    forEachCell([&](const model::CellAddress& at, const model::Cell& stored) {
        const model::Xf& xf = xfOf(stored);
        const QRect cell = grid_.cell(at.row, at.column);
        const int leftX = at.column == r.firstColumn ? cell.left() : cell.left() - 1;
        const int topY = at.row == r.firstRow ? cell.top() : cell.top() - 1;
        const struct {
            const model::Border& border;
            QLine line;
        } edges[] = {
            {xf.left, QLine(leftX, topY, leftX, cell.bottom())},
            {xf.right, QLine(cell.right(), topY, cell.right(), cell.bottom())},
            {xf.top, QLine(leftX, topY, cell.right(), topY)},
            {xf.bottom, QLine(leftX, cell.bottom(), cell.right(), cell.bottom())},
        };
        for (const auto& edge : edges) {
            if (edge.border.style <= 0)
                continue;
            painter_.setPen(borderPen(edge.border.style, paletteColour(workbook_.palette, edge.border.colorIndex)));
            painter_.drawLine(edge.line);
        }
    });
}

}  // namespace sheet::render
