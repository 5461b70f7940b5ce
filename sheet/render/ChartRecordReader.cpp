#include "sheet/render/ChartRecordReader.h"

#include "sheet/biff/ChartRecords.h"
#include "sheet/render/CellText.h"
#include "sheet/render/ModelStyle.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

namespace sheet::render {

namespace {

namespace rt = biff::rt;
namespace chart = biff::chart;

constexpr int maxPoints = 32000;
constexpr int automaticColours = 40;  // palette indices 24 to 63, in order
constexpr int firstAutomaticColour = 24;
constexpr double chartUnits = 4000.0;

struct PointFormat {
    std::optional<QColor> fill;
    bool noFill = false;
    std::optional<double> explode;
    std::optional<chart::LabelContents> labels;
};

struct TextBlock {
    unsigned linkedObject = 0;
    QColor colour = Qt::black;
    std::optional<int> font;
    QString text;
    std::optional<QString> separator;
};

QString qtString(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}

class ChartWalker {
public:
    ChartWalker(const model::Workbook& workbook, PieChart& pie) : workbook_(workbook), pie_(pie) {}

    bool walk(const std::vector<model::Record>& records)
    {
        chart::walk(
            records, [this](const model::Record& r, const chart::Blocks& blocks) { read(r, blocks); },
            [this](const chart::Blocks& blocks) { closeBlock(blocks); });
        return isPie_ && !otherType_;
    }

    std::map<int, PointFormat> points;
    PointFormat seriesFormat;

private:
    void closeBlock(const chart::Blocks& blocks)
    {
        if (blocks.innermost() == rt::Text && text_)
            commitText();
        if (blocks.innermost() == rt::Series)
            ++seriesSeen_;
    }

    QColor colourOf(const chart::Colour& colour) const
    {
        const int index = static_cast<int>(colour.paletteIndex);
        if (index >= 8 && index <= 63)
            return paletteColour(workbook_.palette, index);
        return QColor::fromRgb(colour.rgb);
    }

    PointFormat* currentPoint(const chart::Blocks& blocks)
    {
        if (blocks.innermost() != rt::DataFormat || seriesSeen_ != 0)
            return nullptr;
        return point_ == chart::WholeSeries ? &seriesFormat : &points[static_cast<int>(point_)];
    }

    void read(const model::Record& r, const chart::Blocks& blocks)
    {
        switch (r.type) {
        case rt::AreaFormat: readArea(chart::readAreaFormat(r), blocks); break;
        case rt::LineFormat: readLine(chart::readLineFormat(r), blocks); break;
        case rt::DataFormat: point_ = chart::dataPoint(r); break;
        case rt::PieFormat:
            if (PointFormat* p = currentPoint(blocks))
                p->explode = std::min(chart::explodePercent(r), 400u) / 100.0;
            break;
        case rt::AttachedLabel:
            if (PointFormat* p = currentPoint(blocks))
                p->labels = chart::readAttachedLabel(r);
            break;
        case rt::Pie: {
            const chart::Pie pie = chart::readPie(r);
            isPie_ = true;
            if (!pie_.threeD)
                pie_.firstSliceAngle = pie.firstSliceAngle % 360;
            pie_.donutHolePercent = std::min(pie.donutHolePercent, 90u);
            pie_.leaderLines = pie.leaderLines;
            break;
        }
        case rt::Chart3d: {
            const chart::Chart3d view = chart::readChart3d(r);
            pie_.threeD = true;
            pie_.firstSliceAngle = view.rotation % 360;
            pie_.elevation = std::clamp(view.elevation, -90, 90);
            pie_.heightPercent = std::clamp(static_cast<int>(view.heightPercent), 5, 500);
            break;
        }
        case rt::Bar: case rt::Line: case rt::Area: case rt::Scatter: case rt::Radar:
        case rt::Surface: case rt::RadarArea: case rt::BopPop:
            otherType_ = true;
            break;
        case rt::Pos: readPosition(chart::readPos(r), blocks); break;
        case rt::Legend: {
            const unsigned place = chart::readLegend(r).placement;
            pie_.legend = place <= 4 ? static_cast<PieChart::LegendPlace>(place) : PieChart::LegendPlace::Right;
            break;
        }
        case rt::ShtProps: alwaysAutoPlotArea_ = chart::alwaysAutoPlotArea(r); break;
        case rt::Text: {
            const chart::Text text = chart::readText(r);
            text_ = TextBlock{};
            if (!text.automaticColour)
                text_->colour = QColor::fromRgb(text.rgb);
            break;
        }
        case rt::FontX:
            if (text_)
                text_->font = static_cast<int>(chart::fontIndex(r));
            break;
        case rt::ObjectLink:
            if (text_)
                text_->linkedObject = chart::linkedObject(r);
            break;
        case rt::SeriesText:
            if (text_)
                text_->text = qtString(chart::readSeriesText(r));
            break;
        case rt::DataLabExtContents:
            if (text_) {
                if (const auto separator = chart::dataLabelSeparator(r))
                    text_->separator = qtString(*separator);
            }
            break;
        default: break;
        }
    }

    void readArea(const chart::AreaFormat& area, const chart::Blocks& blocks)
    {
        const bool none = area.pattern == 0;
        const QColor colour = colourOf(area.foreground);
        if (PointFormat* p = currentPoint(blocks)) {
            if (!area.automatic) {
                p->fill = colour;
                p->noFill = none;
            }
        } else if (blocks.innermost() == rt::Frame && blocks.enclosing() == rt::AxisParent) {
            if (!area.automatic && !none)
                plotFill_ = colour;
        } else if (blocks.innermost() == rt::Frame && blocks.depth() == 2) {
            pie_.background = area.automatic ? QColor(Qt::white) : none ? QColor(Qt::transparent) : colour;
        }
    }

    void readLine(const chart::LineFormat& line, const chart::Blocks& blocks)
    {
        if (blocks.innermost() != rt::Frame || blocks.depth() != 2)
            return;
        if (line.automatic)
            pie_.border = QColor(Qt::black);
        else if (line.style != chart::LineFormat::NoLine)
            pie_.border = colourOf(line.colour);
        else
            pie_.border.reset();
    }

    void readPosition(const chart::Pos& pos, const chart::Blocks& blocks)
    {
        if (blocks.innermost() != rt::AxisParent || pos.topLeftMode != chart::Pos::ParentMode ||
            pos.bottomRightMode != chart::Pos::ParentMode)
            return;
        const QRectF rect(pos.x1 / chartUnits, pos.y1 / chartUnits, pos.x2 / chartUnits, pos.y2 / chartUnits);
        if (rect.width() > 0.05 && rect.height() > 0.05 && rect.left() >= 0 && rect.top() >= 0
            && rect.right() <= 1.01 && rect.bottom() <= 1.01)
            plotArea_ = rect;
    }

    void commitText()
    {
        const TextBlock& t = *text_;
        const model::Font* font = t.font ? workbook_.font(*t.font) : nullptr;
        if (t.linkedObject == chart::TitleLink) {
            pie_.title = t.text;
            pie_.titleColour = t.colour;
            if (font)
                pie_.titleFont = qtFont(*font);
        } else if (t.linkedObject == chart::DataLabelLink && !labelsRead_) {
            labelsRead_ = true;
            pie_.labelColour = t.colour;
            if (font)
                pie_.labelFont = qtFont(*font);
            if (t.separator)
                pie_.labelSeparator = *t.separator;
        }
        text_.reset();
    }

public:
    void finish()
    {
        if (plotArea_ && !alwaysAutoPlotArea_)
            pie_.plotArea = plotArea_;
        // A 3-D pie stands free; only a flat one shows its plot area's fill.
        if (!pie_.threeD)
            pie_.plotBackground = plotFill_;
    }

private:
    const model::Workbook& workbook_;
    PieChart& pie_;
    unsigned point_ = chart::WholeSeries;
    int seriesSeen_ = 0;
    bool isPie_ = false;
    bool otherType_ = false;
    bool alwaysAutoPlotArea_ = false;
    bool labelsRead_ = false;
    std::optional<QRectF> plotArea_;
    std::optional<QColor> plotFill_;
    std::optional<TextBlock> text_;
};

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
QString labelTextOf(const CellText& cellText, const model::Cell& cell)
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

void applyLabels(PieSlice& slice, const chart::LabelContents& labels)
{
    slice.showValue = labels.value;
    slice.showPercent = labels.percent;
    slice.showCategory = labels.category;
}

}  // namespace

std::optional<PieChart> readPieChart(const model::Workbook& workbook, const model::Chart& chart, SliceTexts texts)
{
    PieChart pie;
    pie.titleFont = QFont(QStringLiteral("Arial"));
    pie.titleFont.setPointSizeF(18);
    pie.titleFont.setBold(true);
    pie.labelFont = QFont(QStringLiteral("Arial"));
    pie.labelFont.setPointSizeF(10);
    pie.legendFont = pie.labelFont;
    ChartWalker walker(workbook, pie);
    if (!walker.walk(chart.records))
        return std::nullopt;
    walker.finish();
    if (chart.series.empty())
        return pie;

    const model::ChartSeries& series = chart.series.front();
    const std::vector<const model::Cell*> values = cellsOf(workbook, series.values);
    const std::vector<const model::Cell*> categories = cellsOf(workbook, series.categories);
    const CellText cellText(workbook);
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
        const auto found = walker.points.find(static_cast<int>(k));
        const PointFormat* own = found == walker.points.end() ? nullptr : &found->second;
        const PointFormat& common = walker.seriesFormat;
        const int automatic = firstAutomaticColour + static_cast<int>(k % automaticColours);
        slice.colour = own && own->fill ? *own->fill : common.fill ? *common.fill : paletteColour(workbook.palette, automatic);
        if ((own && own->fill && own->noFill) || (!(own && own->fill) && common.fill && common.noFill))
            slice.colour = Qt::transparent;
        slice.explode = own && own->explode ? *own->explode : common.explode.value_or(0);
        applyLabels(slice, own && own->labels ? *own->labels : common.labels.value_or(biff::chart::LabelContents{}));
        pie.slices.push_back(slice);
    }
    return pie;
}

}  // namespace sheet::render
