#include "sheet/render/ChartPie.h"

#include "sheet/layout/CellText.h"
#include "sheet/render/ModelStyle.h"

#include <cmath>
#include <vector>

namespace sheet::render {

namespace {

constexpr int maxPoints = 32000;
constexpr int automaticColours = 40;  // palette indices 24 to 63, in order
constexpr int firstAutomaticColour = 24;

QColor colourOf(model::Rgb rgb)
{
    return QColor::fromRgb(rgb);
}

QColor textColour(const model::ChartText& text)
{
    return text.colour ? colourOf(*text.colour) : QColor(Qt::black);
}

const model::Sheet* sheetOf(const model::Workbook& workbook, const std::optional<model::RangeReference>& ref)
{
    if (!ref || ref->sheet < 0 || static_cast<std::size_t>(ref->sheet) >= workbook.sheets.size())
        return nullptr;
    return &workbook.sheets[static_cast<std::size_t>(ref->sheet)];
}

// The cells of a range in reading order, at most maxPoints of them.
std::vector<const model::Cell*> cellsOf(const model::Workbook& workbook, const std::optional<model::RangeReference>& ref)
{
    std::vector<const model::Cell*> cells;
    const model::Sheet* sheet = sheetOf(workbook, ref);
    if (!sheet)
        return cells;
    const model::CellRange& r = ref->range;
    for (int row = r.firstRow; row <= r.lastRow && cells.size() < maxPoints; ++row) {
        for (int column = r.firstColumn; column <= r.lastColumn && cells.size() < maxPoints; ++column)
            cells.push_back(sheet->cell(row, column));
    }
    return cells;
}

// The most of a label a chart keeps: a label is cut short with an ellipsis well before, and a list
// of long labels would otherwise be held whole.
constexpr qsizetype longestLabel = 256;

// A cell's text for a label: what it shows without paddings and fills.
QString labelTextOf(const layout::CellText& cellText, const model::Cell& cell)
{
    std::string text;
    for (const format::Piece& piece : cellText.formatted(cell).pieces) {
        if (piece.kind == format::Piece::Kind::Text)
            text += piece.text;
    }
    QString label = QString::fromStdString(text).trimmed();
    if (label.size() > longestLabel) {
        // Never a character cut in two.
        const qsizetype kept = label[longestLabel - 1].isHighSurrogate() ? longestLabel - 1 : longestLabel;
        label = label.left(kept) + QChar(0x2026);
        label.squeeze();
    }
    return label;
}

void applyLabels(PieSlice& slice, const model::DataLabels& labels)
{
    slice.showValue = labels.value;
    slice.showPercent = labels.percent;
    slice.showCategory = labels.category;
}

QColor sliceColour(const model::Palette& palette, const model::ChartFill& fill, std::size_t point)
{
    switch (fill.kind) {
    case model::ChartFill::Kind::Solid: return colourOf(fill.colour);
    case model::ChartFill::Kind::None: return Qt::transparent;
    case model::ChartFill::Kind::Automatic: break;
    }
    return paletteColour(palette, firstAutomaticColour + static_cast<int>(point % automaticColours));
}

// The look of the pie as a whole: its view, title, labels' font, legend and areas.
PieChart pieLook(const model::Chart& chart, const model::ChartGroup& group)
{
    PieChart pie;
    pie.threeD = chart.threeD();
    if (chart.view3d) {
        pie.firstSliceAngle = chart.view3d->rotation;
        pie.elevation = chart.view3d->elevation;
        pie.heightPercent = chart.view3d->heightPercent;
    } else {
        pie.firstSliceAngle = group.firstSliceAngle;
    }
    pie.donutHolePercent = group.holePercent;
    pie.leaderLines = group.leaderLines;

    if (chart.title) {
        pie.title = QString::fromStdString(chart.title->plain());
        pie.titleFont = qtFont(chart.title->font);
        pie.titleColour = textColour(*chart.title);
    } else {
        pie.titleFont = QFont(QStringLiteral("Arial"));
        pie.titleFont.setPointSizeF(18);
        pie.titleFont.setBold(true);
    }
    pie.labelFont = qtFont(chart.labelText.font);
    pie.labelColour = textColour(chart.labelText);
    if (chart.labelSeparator)
        pie.labelSeparator = QString::fromStdString(*chart.labelSeparator);
    if (chart.legend) {
        pie.legend = static_cast<PieChart::LegendPlace>(chart.legend->place);
        pie.legendFont = qtFont(chart.legend->text.font);
    }

    const model::ChartFill& background = chart.chartArea.fill;
    pie.background = background.kind == model::ChartFill::Kind::Solid ? colourOf(background.colour)
                     : background.kind == model::ChartFill::Kind::None ? QColor(Qt::transparent)
                                                                        : QColor(Qt::white);
    const model::ChartLine& border = chart.chartArea.border;
    if (border.kind == model::ChartLine::Kind::Automatic)
        pie.border = QColor(Qt::black);
    else if (border.kind == model::ChartLine::Kind::Solid)
        pie.border = colourOf(border.colour);
    if (chart.plotLayout)
        pie.plotArea = QRectF(chart.plotLayout->x, chart.plotLayout->y, chart.plotLayout->width, chart.plotLayout->height);
    // A 3-D pie stands free; only a flat one shows its plot area's fill.
    if (!pie.threeD && chart.plotArea.fill.kind == model::ChartFill::Kind::Solid)
        pie.plotBackground = colourOf(chart.plotArea.fill.colour);
    return pie;
}

}  // namespace

std::optional<PieChart> readPieChart(const model::Workbook& workbook, const model::Chart& chart, SliceTexts texts)
{
    if (!chart.drawsPies())
        return std::nullopt;
    PieChart pie = pieLook(chart, chart.groups.front());
    if (chart.series.empty())
        return pie;

    const model::ChartSeries& series = chart.series.front();
    const std::vector<const model::Cell*> values = cellsOf(workbook, series.values);
    const std::vector<const model::Cell*> categories = cellsOf(workbook, series.categories);
    const layout::CellText cellText(workbook);
    for (std::size_t k = 0; k < values.size(); ++k) {
        const model::Cell* cell = values[k];
        const std::optional<double> number = cell ? cell->number() : std::nullopt;
        if (!number || !(*number > 0) || !std::isfinite(*number))
            continue;
        PieSlice slice;
        slice.value = *number;
        slice.point = k;
        if (texts == SliceTexts::Formatted) {
            slice.valueText = labelTextOf(cellText, *cell);
            if (k < categories.size() && categories[k])
                slice.category = labelTextOf(cellText, *categories[k]);
            else if (!series.categories)
                slice.category = QString::number(k + 1);
        }
        const model::PointFormat format = chart.pointFormat(0, static_cast<unsigned>(k));
        slice.colour = sliceColour(workbook.palette, format.fill, k);
        slice.explode = format.explosion.value_or(0);
        applyLabels(slice, format.labels.value_or(model::DataLabels{}));
        pie.slices.push_back(slice);
    }
    return pie;
}

}  // namespace sheet::render
