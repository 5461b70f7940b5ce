#include "sheet/biff/ChartDescription.h"

#include "sheet/biff/ChartRecords.h"
#include "sheet/biff/FontRuns.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/text/Utf16.h"

#include <algorithm>

namespace sheet::biff {
namespace {

namespace ch = chart;

constexpr unsigned MaxPoints = 32000;
constexpr double ChartUnits = 4000.0;
constexpr unsigned NoLine = ch::LineFormat::NoLine;

model::Font fontOf(const char* name, int height, int weight)
{
    model::Font font;
    font.name = name;
    font.height = height;
    font.weight = weight;
    return font;
}

// The fonts a chart's texts take when their records name none.
const model::Font DefaultTitleFont = fontOf("Arial", 360, 700);
const model::Font DefaultTextFont = fontOf("Arial", 200, 400);

// A TEXT block as it is read: what it belongs to, its colour, font and characters.
struct TextBlock {
    unsigned linkedObject = 0;
    std::optional<model::Rgb> colour;
    std::optional<int> font;
    std::u16string text;
    std::vector<FontRun> runs; // where the text changes its font, in order
    std::optional<std::string> separator;
};

model::ChartLine::Dash dashOf(unsigned style)
{
    switch (style) {
    case 1: return model::ChartLine::Dash::Dash;
    case 2: return model::ChartLine::Dash::Dot;
    case 3: return model::ChartLine::Dash::DashDot;
    case 4: return model::ChartLine::Dash::DashDotDot;
    default: return model::ChartLine::Dash::Solid;
    }
}

model::ChartMarker::Shape shapeOf(unsigned shape)
{
    using Shape = model::ChartMarker::Shape;
    constexpr Shape shapes[] = {Shape::None, Shape::Square, Shape::Diamond, Shape::Triangle, Shape::Cross,
                                Shape::Star, Shape::Dot,    Shape::Dash,    Shape::Circle,   Shape::Plus};
    return shape < std::size(shapes) ? shapes[shape] : Shape::Automatic;
}

class Describer {
public:
    Describer(model::Chart& chart, const model::Workbook& workbook, int ownSheet, const SheetReferences& references)
        : chart_(chart), workbook_(workbook), ownSheet_(ownSheet), references_(references)
    {
    }

    void describe()
    {
        chart_.labelText.font = DefaultTextFont;
        ch::walk(
            chart_.records, [this](const model::Record& r, const ch::Blocks& blocks) { read(r, blocks); },
            [this](const ch::Blocks& blocks) { close(blocks); });
        if (plotLayout_ && !alwaysAutoPlotArea_)
            chart_.plotLayout = plotLayout_;
    }

private:
    model::Rgb colourOf(const ch::Colour& colour) const
    {
        const int index = static_cast<int>(colour.paletteIndex);
        return index >= 8 && index <= 63 ? workbook_.palette.rgb(index) : colour.rgb;
    }

    model::ChartFill fillOf(const ch::AreaFormat& area) const
    {
        if (area.automatic)
            return {};
        if (area.pattern == 0)
            return {model::ChartFill::Kind::None, 0};
        return {model::ChartFill::Kind::Solid, colourOf(area.foreground)};
    }

    model::ChartLine lineOf(const ch::LineFormat& line) const
    {
        model::ChartLine result;
        result.colour = colourOf(line.colour);
        result.weight = std::clamp(line.weight, -1, 2);
        result.dash = dashOf(line.style);
        if (line.automatic)
            result.kind = model::ChartLine::Kind::Automatic;
        else
            result.kind = line.style == NoLine ? model::ChartLine::Kind::None : model::ChartLine::Kind::Solid;
        return result;
    }

    // The series whose block a record lies in, directly (`owner` Series) or in a block of its own.
    model::ChartSeries* currentSeries(const ch::Blocks& blocks, std::uint16_t owner)
    {
        if (!inSeries_ || chart_.series.empty() || blocks.innermost() != owner)
            return nullptr;
        if (owner != rt::Series && blocks.enclosing() != rt::Series)
            return nullptr;
        return &chart_.series.back();
    }

    // The format that the records of the innermost DATAFORMAT block of a series describe.
    model::PointFormat* currentPoint(const ch::Blocks& blocks)
    {
        model::ChartSeries* series = currentSeries(blocks, rt::DataFormat);
        if (!series)
            return nullptr;
        return point_ == ch::WholeSeries ? &series->format : &series->points[point_];
    }

    model::ChartGroup* currentGroup()
    {
        return chart_.groups.empty() ? nullptr : &chart_.groups.back();
    }

    model::ChartAxis* currentAxis(const ch::Blocks& blocks)
    {
        return blocks.innermost() == rt::Axis && !chart_.axes.empty() ? &chart_.axes.back() : nullptr;
    }

    void setType(model::ChartType type, model::Grouping grouping = model::Grouping::Standard)
    {
        if (model::ChartGroup* group = currentGroup()) {
            group->type = type;
            group->grouping = grouping;
        }
    }

    static model::Grouping stacking(bool stacked, bool percent, model::Grouping otherwise)
    {
        return percent ? model::Grouping::PercentStacked : stacked ? model::Grouping::Stacked : otherwise;
    }

    void read(const model::Record& r, const ch::Blocks& blocks)
    {
        switch (r.type) {
        case rt::Series:
            chart_.series.emplace_back();
            inSeries_ = true;
            break;
        case rt::Brai: readReference(r, blocks); break;
        case rt::SerToCrt:
            if (model::ChartSeries* series = currentSeries(blocks, rt::Series))
                series->group = ch::chartGroupOf(r);
            break;
        case rt::DataFormat: point_ = ch::dataPoint(r); break;
        case rt::AreaFormat: readArea(ch::readAreaFormat(r), blocks); break;
        case rt::LineFormat: readLine(ch::readLineFormat(r), blocks); break;
        case rt::MarkerFormat:
            if (model::PointFormat* p = currentPoint(blocks)) {
                const ch::MarkerFormat marker = ch::readMarkerFormat(r);
                p->marker = model::ChartMarker{marker.automatic ? model::ChartMarker::Shape::Automatic : shapeOf(marker.shape),
                                               colourOf(marker.foreground), colourOf(marker.background), marker.automatic,
                                               static_cast<int>(std::min(marker.sizeTwips, 2000u) / 20)};
            }
            break;
        case rt::PieFormat:
            if (model::PointFormat* p = currentPoint(blocks))
                p->explosion = std::min(ch::explodePercent(r), 400u) / 100.0;
            break;
        case rt::AttachedLabel:
            if (model::PointFormat* p = currentPoint(blocks)) {
                const ch::LabelContents shown = ch::readAttachedLabel(r);
                model::DataLabels labels;
                labels.value = shown.value;
                labels.percent = shown.percent;
                labels.category = shown.category;
                labels.bubbleSize = shown.bubbleSize;
                labels.seriesName = shown.seriesName;
                p->labels = labels;
            }
            break;
        case rt::AxisParent: secondary_ = ch::axisSet(r) == 1; break;
        case rt::ChartFormat: {
            model::ChartGroup group;
            group.varyColours = ch::variedColours(r);
            group.secondaryAxes = secondary_;
            chart_.groups.push_back(group);
            break;
        }
        case rt::Bar: {
            const ch::Bar bar = ch::readBar(r);
            setType(bar.horizontal ? model::ChartType::Bar : model::ChartType::Column,
                    stacking(bar.stacked, bar.percent, model::Grouping::Clustered));
            if (model::ChartGroup* group = currentGroup()) {
                group->gapWidth = static_cast<int>(std::min(bar.gap, 500u));
                group->overlap = std::clamp(bar.overlap, -100, 100);
            }
            break;
        }
        case rt::Line: {
            const ch::Stacking s = ch::readStacking(r);
            setType(model::ChartType::Line, stacking(s.stacked, s.percent, model::Grouping::Standard));
            break;
        }
        case rt::Area: {
            const ch::Stacking s = ch::readStacking(r);
            setType(model::ChartType::Area, stacking(s.stacked, s.percent, model::Grouping::Standard));
            break;
        }
        case rt::Scatter: setType(ch::drawsBubbles(r) ? model::ChartType::Bubble : model::ChartType::Scatter); break;
        case rt::Radar: setType(model::ChartType::Radar); break;
        case rt::RadarArea: setType(model::ChartType::FilledRadar); break;
        case rt::Surface:
            setType(model::ChartType::Surface);
            if (model::ChartGroup* group = currentGroup())
                group->wireframe = !ch::fillsSurface(r);
            break;
        case rt::Chart: {
            const ch::Size size = ch::readChartSize(r);
            if (size.width >= 1 && size.height >= 1 && size.width < 32768 && size.height < 32768)
                chart_.size = model::ChartSize{size.width, size.height};
            break;
        }
        case rt::CatSerRange:
            if (model::ChartAxis* axis = currentAxis(blocks))
                axis->reversed = ch::reversedCategories(r);
            break;
        case rt::BopPop:
            setType(ch::secondaryPieKind(r) == 2 ? model::ChartType::BarOfPie : model::ChartType::PieOfPie);
            break;
        case rt::Pie: {
            const ch::Pie pie = ch::readPie(r);
            const unsigned hole = std::min(pie.donutHolePercent, 90u);
            setType(hole > 0 ? model::ChartType::Doughnut : model::ChartType::Pie);
            if (model::ChartGroup* group = currentGroup()) {
                group->firstSliceAngle = pie.firstSliceAngle % 360;
                group->holePercent = hole;
                group->leaderLines = pie.leaderLines;
                group->varyColours = true;
            }
            break;
        }
        case rt::CrtLine:
            if (model::ChartGroup* group = currentGroup(); group && ch::chartLineKind(r) == 1) {
                group->highLowLines = true;
                if (group->type == model::ChartType::Line)
                    group->type = model::ChartType::Stock;
            }
            break;
        case rt::DropBar:
            if (model::ChartGroup* group = currentGroup())
                group->upDownBars = true;
            break;
        case rt::Chart3d: {
            const ch::Chart3d view = ch::readChart3d(r);
            model::View3d view3d;
            view3d.rotation = view.rotation % 360;
            view3d.elevation = std::clamp(view.elevation, -90, 90);
            view3d.heightPercent = std::clamp(static_cast<int>(view.heightPercent), 5, 500);
            view3d.depthPercent = std::clamp(static_cast<int>(view.depthPercent), 20, 2000);
            view3d.perspective = view.perspective ? std::min(view.distance, 100u) : 0;
            view3d.rightAngleAxes = !view.perspective;
            chart_.view3d = view3d;
            break;
        }
        case rt::Axis: {
            model::ChartAxis axis;
            const unsigned kind = ch::axisKind(r);
            axis.kind = kind == 0 ? model::ChartAxis::Kind::Category
                        : kind == 2 ? model::ChartAxis::Kind::Series
                                    : model::ChartAxis::Kind::Value;
            axis.secondary = secondary_;
            if (axis.kind == model::ChartAxis::Kind::Value)
                axis.position = secondary_ ? model::ChartAxis::Position::Right : model::ChartAxis::Position::Left;
            else
                axis.position = secondary_ ? model::ChartAxis::Position::Top : model::ChartAxis::Position::Bottom;
            chart_.axes.push_back(axis);
            break;
        }
        case rt::ValueRange:
            if (model::ChartAxis* axis = currentAxis(blocks)) {
                const ch::ValueRange range = ch::readValueRange(r);
                axis->minimum = range.minimum;
                axis->maximum = range.maximum;
                axis->majorUnit = range.majorUnit;
                axis->minorUnit = range.minorUnit;
                axis->logarithmic = range.logarithmic;
                axis->reversed = range.reversed;
            }
            break;
        case rt::IFmt:
            if (model::ChartAxis* axis = currentAxis(blocks))
                axis->numberFormat = workbook_.formats.code(static_cast<int>(ch::numberFormatIndex(r)));
            break;
        case rt::AxisLineFormat: axisLine_ = ch::axisLine(r); break;
        case rt::Pos: readPosition(ch::readPos(r), blocks); break;
        case rt::Legend: {
            const unsigned place = ch::readLegend(r).placement;
            model::ChartLegend legend;
            legend.place = place <= 4 ? static_cast<model::ChartLegend::Place>(place) : model::ChartLegend::Place::Right;
            legend.text.font = DefaultTextFont;
            chart_.legend = legend;
            break;
        }
        case rt::ShtProps: alwaysAutoPlotArea_ = ch::alwaysAutoPlotArea(r); break;
        case rt::Text: {
            const ch::Text text = ch::readText(r);
            text_ = TextBlock{};
            if (!text.automaticColour)
                text_->colour = text.rgb;
            break;
        }
        case rt::FontX:
            if (text_ && blocks.innermost() == rt::Text)
                text_->font = static_cast<int>(ch::fontIndex(r));
            break;
        case rt::ObjectLink:
            if (text_)
                text_->linkedObject = ch::linkedObject(r);
            break;
        case rt::SeriesText:
            if (text_ && blocks.innermost() == rt::Text)
                text_->text = ch::readSeriesText(r);
            else if (model::ChartSeries* series = currentSeries(blocks, rt::Series))
                series->nameText = text::toUtf8(ch::readSeriesText(r));
            break;
        case rt::AlRuns:
            if (text_ && blocks.innermost() == rt::Text)
                text_->runs = ch::readTextRuns(r);
            break;
        case rt::DataLabExtContents:
            if (text_) {
                if (const auto separator = ch::dataLabelSeparator(r))
                    text_->separator = text::toUtf8(*separator);
            }
            break;
        case rt::SIIndex: cachedPart_ = ch::cachedPart(r); break;
        case rt::Number:
            if (cachedPart_ == 1)
                cache(ch::readCachedNumber(r));
            break;
        case rt::Label:
            if (cachedPart_ == 2)
                cache(ch::readCachedLabel(r));
            break;
        default: break;
        }
    }

    void close(const ch::Blocks& blocks)
    {
        if (blocks.innermost() == rt::Text && text_)
            commitText();
        else if (blocks.innermost() == rt::Series)
            inSeries_ = false;
        else if (blocks.innermost() == rt::AxisParent)
            secondary_ = false;
    }

    void readReference(const model::Record& r, const ch::Blocks& blocks)
    {
        const std::optional<ch::Brai> brai = ch::readBrai(r);
        model::ChartSeries* series = currentSeries(blocks, rt::Series);
        if (!series || !brai || !brai->refersToCells)
            return;
        auto area = readAreaFormula(brai->formula, ownSheet_, references_);
        switch (static_cast<ch::SeriesPart>(brai->id)) {
        case ch::SeriesPart::Name: series->name = area; break;
        case ch::SeriesPart::Values: series->values = area; break;
        case ch::SeriesPart::Categories: series->categories = area; break;
        case ch::SeriesPart::Sizes: series->sizes = area; break;
        }
    }

    void readArea(const ch::AreaFormat& area, const ch::Blocks& blocks)
    {
        if (model::PointFormat* p = currentPoint(blocks)) {
            p->fill = fillOf(area);
        } else if (blocks.innermost() == rt::Frame && blocks.enclosing() == rt::AxisParent) {
            chart_.plotArea.fill = fillOf(area);
        } else if (blocks.innermost() == rt::Frame && blocks.enclosing() == rt::Legend && chart_.legend) {
            chart_.legend->fill = fillOf(area);
        } else if (blocks.innermost() == rt::Frame && blocks.depth() == 2) {
            chart_.chartArea.fill = fillOf(area);
        }
    }

    void readLine(const ch::LineFormat& line, const ch::Blocks& blocks)
    {
        if (model::PointFormat* p = currentPoint(blocks)) {
            p->line = lineOf(line);
        } else if (model::ChartAxis* axis = currentAxis(blocks)) {
            if (axisLine_ == 0)
                axis->line = lineOf(line);
            else if (axisLine_ == 1)
                axis->majorGridlines = lineOf(line);
            else if (axisLine_ == 2)
                axis->minorGridlines = lineOf(line);
        } else if (blocks.innermost() == rt::Frame && blocks.enclosing() == rt::AxisParent) {
            chart_.plotArea.border = lineOf(line);
        } else if (blocks.innermost() == rt::Frame && blocks.enclosing() == rt::Legend && chart_.legend) {
            chart_.legend->border = lineOf(line);
        } else if (blocks.innermost() == rt::Frame && blocks.depth() == 2) {
            chart_.chartArea.border = lineOf(line);
        }
    }

    void readPosition(const ch::Pos& pos, const ch::Blocks& blocks)
    {
        if (blocks.innermost() != rt::AxisParent || pos.topLeftMode != ch::Pos::ParentMode ||
            pos.bottomRightMode != ch::Pos::ParentMode)
            return;
        const model::ChartRect rect{pos.x1 / ChartUnits, pos.y1 / ChartUnits, pos.x2 / ChartUnits, pos.y2 / ChartUnits};
        if (rect.width > 0.05 && rect.height > 0.05 && rect.x >= 0 && rect.y >= 0 && rect.x + rect.width <= 1.01 &&
            rect.y + rect.height <= 1.01)
            plotLayout_ = rect;
    }

    void cache(const ch::CachedPoint& point)
    {
        if (point.series >= chart_.series.size() || point.point >= MaxPoints)
            return;
        model::ChartSeries& series = chart_.series[point.series];
        if (cachedPart_ == 1) {
            if (series.cachedValues.size() <= point.point)
                series.cachedValues.resize(point.point + 1);
            series.cachedValues[point.point] = point.number;
        } else {
            if (series.cachedCategories.size() <= point.point)
                series.cachedCategories.resize(point.point + 1);
            series.cachedCategories[point.point] = text::toUtf8(point.text);
        }
    }

    model::ChartText textOf(const TextBlock& block, const model::Font& fallback) const
    {
        model::ChartText text;
        text.runs = textRuns(workbook_, block.text, block.runs);
        const model::Font* font = block.font ? workbook_.font(*block.font) : nullptr;
        text.font = font ? *font : fallback;
        text.colour = block.colour;
        return text;
    }

    void commitText()
    {
        const TextBlock& t = *text_;
        switch (t.linkedObject) {
        case ch::TitleLink: chart_.title = textOf(t, DefaultTitleFont); break;
        case ch::DataLabelLink:
            if (!labelsRead_) {
                labelsRead_ = true;
                chart_.labelText = textOf(t, DefaultTextFont);
                chart_.labelText.runs.clear();
                if (t.separator)
                    chart_.labelSeparator = t.separator;
            }
            break;
        case ch::ValueAxisTitleLink:
        case ch::CategoryAxisTitleLink:
        case ch::SeriesAxisTitleLink: {
            const auto kind = t.linkedObject == ch::ValueAxisTitleLink      ? model::ChartAxis::Kind::Value
                              : t.linkedObject == ch::CategoryAxisTitleLink ? model::ChartAxis::Kind::Category
                                                                            : model::ChartAxis::Kind::Series;
            for (auto axis = chart_.axes.rbegin(); axis != chart_.axes.rend(); ++axis) {
                if (axis->kind == kind) {
                    axis->title = textOf(t, DefaultTextFont);
                    break;
                }
            }
            break;
        }
        default: break;
        }
        text_.reset();
    }

    model::Chart& chart_;
    const model::Workbook& workbook_;
    int ownSheet_;
    const SheetReferences& references_;
    unsigned point_ = ch::WholeSeries;
    bool inSeries_ = false;
    bool secondary_ = false;
    unsigned axisLine_ = 0;
    unsigned cachedPart_ = 0;
    bool alwaysAutoPlotArea_ = false;
    bool labelsRead_ = false;
    std::optional<model::ChartRect> plotLayout_;
    std::optional<TextBlock> text_;
};

} // namespace

void describeChart(model::Chart& chart, const model::Workbook& workbook, int ownSheet, const SheetReferences& references)
{
    model::Chart described;
    described.records = std::move(chart.records);
    described.sourceRecords = std::move(chart.sourceRecords);
    described.addedPoints = std::move(chart.addedPoints);
    chart = std::move(described);
    Describer(chart, workbook, ownSheet, references).describe();
}

} // namespace sheet::biff
