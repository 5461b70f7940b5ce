#include "sheet/xlsx/ChartSpacePart.h"

#include "sheet/xlsx/ChartElements.h"
#include "sheet/xlsx/XmlPart.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace sheet::xlsx {
namespace {

using namespace charts;
using Type = model::ChartType;

constexpr const char* ChartNamespace = "http://schemas.openxmlformats.org/drawingml/2006/chart";
constexpr const char* DrawingNamespace = "http://schemas.openxmlformats.org/drawingml/2006/main";
constexpr const char* RelationshipNamespace = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

bool piesOnly(Type type)
{
    return type == Type::Pie || type == Type::Doughnut || type == Type::PieOfPie || type == Type::BarOfPie;
}

bool plotsPairs(Type type)
{
    return type == Type::Scatter || type == Type::Bubble;
}

// The series of a type draw a line (and marks) rather than fill an area.
bool drawsLines(Type type)
{
    return type == Type::Line || type == Type::Stock || type == Type::Scatter || type == Type::Radar;
}

const char* groupingName(model::Grouping grouping)
{
    switch (grouping) {
    case model::Grouping::Clustered: return "clustered";
    case model::Grouping::Stacked: return "stacked";
    case model::Grouping::PercentStacked: return "percentStacked";
    case model::Grouping::Standard: break;
    }
    return "standard";
}

const char* markerSymbol(model::ChartMarker::Shape shape)
{
    using Shape = model::ChartMarker::Shape;
    switch (shape) {
    case Shape::None: return "none";
    case Shape::Square: return "square";
    case Shape::Diamond: return "diamond";
    case Shape::Triangle: return "triangle";
    case Shape::Cross: return "x";
    case Shape::Star: return "star";
    case Shape::Dot: return "dot";
    case Shape::Dash: return "dash";
    case Shape::Circle: return "circle";
    case Shape::Plus: return "plus";
    case Shape::Automatic: break;
    }
    return "auto";
}

const char* axisPosition(model::ChartAxis::Position position)
{
    using Position = model::ChartAxis::Position;
    switch (position) {
    case Position::Bottom: return "b";
    case Position::Top: return "t";
    case Position::Right: return "r";
    case Position::Left: break;
    }
    return "l";
}

// Whether a reference holds numbers and no texts, so that its values are kept as numbers.
bool holdsNumbers(const model::Workbook& workbook, const model::RangeReference& reference)
{
    const model::Sheet* sheet = sheetOf(workbook, reference);
    if (!sheet)
        return false;
    bool numbers = false, texts = false;
    forEachCell(*sheet, reference.range, [&](long long, const model::Cell& cell) {
        numbers = numbers || cell.number().has_value();
        texts = texts || cell.isText();
    });
    return numbers && !texts;
}

// The axes a set of groups (the primary or the secondary one) is drawn on, by their ids.
struct AxisSet {
    const model::ChartAxis* category = nullptr;
    const model::ChartAxis* value = nullptr;
    const model::ChartAxis* series = nullptr;
    int firstId = 0;
    bool used = false;
    bool pairs = false;  // the category axis measures values too
    bool depth = false;  // a series axis is drawn
    bool between = true; // the category axis puts its values between its marks
};

class ChartSpaceWriter {
public:
    ChartSpaceWriter(const model::Workbook& workbook, const SheetNames& names, const model::Chart& chart)
        : workbook_(workbook), names_(names), chart_(chart),
          xml_("c:chartSpace", {{"c", ChartNamespace}, {"a", DrawingNamespace}, {"r", RelationshipNamespace}})
    {
        for (std::size_t set = 0; set < 2; ++set)
            sets_[set].firstId = 50010 + static_cast<int>(set) * 10;
        for (const model::ChartAxis& axis : chart.axes) {
            AxisSet& set = sets_[axis.secondary ? 1 : 0];
            const model::ChartAxis** slot = axis.kind == model::ChartAxis::Kind::Category ? &set.category
                                            : axis.kind == model::ChartAxis::Kind::Value  ? &set.value
                                                                                          : &set.series;
            if (!*slot)
                *slot = &axis;
        }
        for (const model::ChartGroup& group : chart.groups) {
            if (piesOnly(group.type))
                continue;
            AxisSet& set = sets_[group.secondaryAxes ? 1 : 0];
            set.used = true;
            set.pairs = set.pairs || plotsPairs(group.type);
            set.between = set.between && group.type != Type::Area && group.type != Type::Surface;
            set.depth = set.depth || (chart.threeD() && (set.series != nullptr || group.type == Type::Surface ||
                                                          group.type == Type::Line));
        }
    }

    std::string write()
    {
        xml_.value("c:roundedCorners", 0);
        xml_.start("c:chart");
        const bool titled = chart_.title && !chart_.title->plain().empty();
        if (titled)
            writeTitle(xml_, *chart_.title);
        xml_.value("c:autoTitleDeleted", titled ? 0 : 1);
        writeView();
        xml_.start("c:plotArea");
        writePlotLayout();
        for (std::size_t k = 0; k < chart_.groups.size(); ++k)
            writeGroup(k);
        for (std::size_t set = 0; set < 2; ++set)
            writeAxes(set);
        writeShape(chart_.plotArea.fill, chart_.plotArea.border);
        xml_.end();
        writeLegend();
        xml_.value("c:plotVisOnly", 1);
        xml_.value("c:dispBlanksAs", "gap");
        xml_.end();
        xml_.start("c:spPr");
        writeFill(xml_, shownFill(chart_.chartArea.fill, White));
        const model::ChartLine& border = chart_.chartArea.border;
        writeLine(xml_, border.kind == model::ChartLine::Kind::Automatic
                            ? model::ChartLine{model::ChartLine::Kind::Solid, Black, model::ChartLine::Dash::Solid, 0}
                            : border);
        xml_.end();
        return xml_.finish();
    }

private:
    void writeView()
    {
        if (!chart_.view3d)
            return;
        const model::View3d& view = *chart_.view3d;
        xml_.start("c:view3D");
        xml_.value("c:rotX", static_cast<int>(std::lround(std::clamp(view.elevation, -90.0, 90.0))));
        xml_.value("c:hPercent", static_cast<int>(std::lround(std::clamp(view.heightPercent, 5.0, 500.0))));
        xml_.value("c:rotY", ((static_cast<int>(std::lround(view.rotation)) % 360) + 360) % 360);
        xml_.value("c:depthPercent", static_cast<int>(std::lround(std::clamp(view.depthPercent, 20.0, 2000.0))));
        xml_.value("c:rAngAx", view.rightAngleAxes ? 1 : 0);
        if (!view.rightAngleAxes)
            xml_.value("c:perspective", static_cast<int>(std::lround(std::clamp(view.perspective, 0.0, 100.0) * 2.4)));
        xml_.end();
    }

    void writePlotLayout()
    {
        xml_.start("c:layout");
        if (chart_.plotLayout && !chart_.threeD()) {
            xml_.start("c:manualLayout");
            xml_.value("c:layoutTarget", "inner");
            xml_.value("c:xMode", "edge");
            xml_.value("c:yMode", "edge");
            xml_.value("c:x", chart_.plotLayout->x);
            xml_.value("c:y", chart_.plotLayout->y);
            xml_.value("c:w", chart_.plotLayout->width);
            xml_.value("c:h", chart_.plotLayout->height);
            xml_.end();
        }
        xml_.end();
    }

    // c:spPr of an area with its fill and border, when either is not automatic.
    void writeShape(const model::ChartFill& fill, const model::ChartLine& line)
    {
        if (fill.kind == model::ChartFill::Kind::Automatic && line.kind == model::ChartLine::Kind::Automatic)
            return;
        xml_.start("c:spPr");
        if (fill.kind != model::ChartFill::Kind::Automatic)
            writeFill(xml_, shownFill(fill, White));
        writeLine(xml_, line);
        xml_.end();
    }

    std::vector<std::size_t> seriesOf(std::size_t group) const
    {
        std::vector<std::size_t> series;
        for (std::size_t k = 0; k < chart_.series.size(); ++k) {
            const std::size_t own = chart_.series[k].group < chart_.groups.size() ? chart_.series[k].group : 0;
            if (own == group)
                series.push_back(k);
        }
        return series;
    }

    // The element a group is written as; a stock chart other than of three or four series is a line
    // chart with its high-low lines.
    const char* elementOf(const model::ChartGroup& group, std::size_t seriesCount) const
    {
        const bool solid = chart_.threeD();
        switch (group.type) {
        case Type::Column:
        case Type::Bar: return solid ? "c:bar3DChart" : "c:barChart";
        case Type::Line: return solid ? "c:line3DChart" : "c:lineChart";
        case Type::Stock: return seriesCount == 3 || seriesCount == 4 ? "c:stockChart" : "c:lineChart";
        case Type::Area: return solid ? "c:area3DChart" : "c:areaChart";
        case Type::Scatter: return "c:scatterChart";
        case Type::Bubble: return "c:bubbleChart";
        case Type::Pie: return solid ? "c:pie3DChart" : "c:pieChart";
        case Type::Doughnut: return "c:doughnutChart";
        case Type::PieOfPie:
        case Type::BarOfPie: return "c:ofPieChart";
        case Type::Radar:
        case Type::FilledRadar: return "c:radarChart";
        case Type::Surface: return solid ? "c:surface3DChart" : "c:surfaceChart";
        case Type::Other: break;
        }
        return "c:barChart";
    }

    void writeGroup(std::size_t index)
    {
        const model::ChartGroup& group = chart_.groups[index];
        const std::vector<std::size_t> series = seriesOf(index);
        // A literal: the part takes element names by their address.
        const char* element = elementOf(group, series.size());
        const bool solid = chart_.threeD();
        const bool stock = std::string_view(element) == "c:stockChart";
        xml_.start(element);
        if (group.type == Type::Column || group.type == Type::Bar)
            xml_.value("c:barDir", group.type == Type::Bar ? "bar" : "col");
        if (group.type == Type::PieOfPie || group.type == Type::BarOfPie)
            xml_.value("c:ofPieType", group.type == Type::BarOfPie ? "bar" : "pie");
        if (group.type == Type::Radar || group.type == Type::FilledRadar)
            xml_.value("c:radarStyle", group.type == Type::FilledRadar ? "filled" : "marker");
        if (group.type == Type::Scatter)
            xml_.value("c:scatterStyle", "lineMarker");
        if (group.type == Type::Surface)
            xml_.value("c:wireframe", group.wireframe ? 1 : 0);
        const bool grouped = group.type == Type::Column || group.type == Type::Bar || group.type == Type::Area ||
                             (group.type == Type::Line || (group.type == Type::Stock && !stock));
        if (grouped) {
            model::Grouping grouping = group.grouping;
            const bool depth = sets_[group.secondaryAxes ? 1 : 0].depth;
            if ((group.type == Type::Column || group.type == Type::Bar) && grouping == model::Grouping::Standard && !depth)
                grouping = model::Grouping::Clustered;
            if ((group.type == Type::Column || group.type == Type::Bar) && grouping == model::Grouping::Clustered && depth)
                grouping = model::Grouping::Standard;
            if (group.type != Type::Column && group.type != Type::Bar && grouping == model::Grouping::Clustered)
                grouping = model::Grouping::Standard;
            xml_.value("c:grouping", groupingName(grouping));
        }
        if (!stock && group.type != Type::Surface)
            xml_.value("c:varyColors", group.varyColours ? 1 : 0);
        for (const std::size_t k : series)
            writeSeries(group, k);
        switch (group.type) {
        case Type::Column:
        case Type::Bar:
            xml_.value("c:gapWidth", std::clamp(group.gapWidth, 0, 500));
            if (!solid) {
                const bool stacked = group.grouping == model::Grouping::Stacked || group.grouping == model::Grouping::PercentStacked;
                xml_.value("c:overlap", stacked ? 100 : std::clamp(group.overlap, -100, 100));
            }
            break;
        case Type::Line:
        case Type::Stock:
            if (group.highLowLines && !solid)
                xml_.empty("c:hiLowLines");
            if (group.upDownBars && !solid) {
                xml_.start("c:upDownBars");
                xml_.value("c:gapWidth", 150);
                xml_.end();
            }
            if (!stock && !solid)
                xml_.value("c:marker", 1);
            break;
        case Type::Pie:
            if (!solid)
                xml_.value("c:firstSliceAng", ((static_cast<int>(std::lround(group.firstSliceAngle)) % 360) + 360) % 360);
            break;
        case Type::Doughnut:
            xml_.value("c:firstSliceAng", ((static_cast<int>(std::lround(group.firstSliceAngle)) % 360) + 360) % 360);
            xml_.value("c:holeSize", std::clamp(static_cast<int>(group.holePercent), 10, 90));
            break;
        case Type::PieOfPie:
        case Type::BarOfPie: xml_.value("c:gapWidth", std::clamp(group.gapWidth, 0, 500)); break;
        default: break;
        }
        if (!piesOnly(group.type)) {
            const AxisSet& set = sets_[group.secondaryAxes ? 1 : 0];
            xml_.value("c:axId", set.firstId + 1);
            xml_.value("c:axId", set.firstId + 2);
            if (set.depth)
                xml_.value("c:axId", set.firstId + 3);
        }
        xml_.end();
    }

    void writeMarker(const std::optional<model::ChartMarker>& marker)
    {
        if (!marker || marker->shape == model::ChartMarker::Shape::Automatic)
            return;
        xml_.start("c:marker");
        xml_.value("c:symbol", markerSymbol(marker->shape));
        if (marker->shape != model::ChartMarker::Shape::None) {
            xml_.value("c:size", std::clamp(marker->size, 2, 72));
            if (!marker->automaticColours) {
                xml_.start("c:spPr");
                writeFill(xml_, marker->background);
                xml_.start("a:ln");
                writeFill(xml_, marker->foreground);
                xml_.end();
                xml_.end();
            }
        }
        xml_.end();
    }

    // The look of a series or a point: a line for the types that draw lines, a fill and border otherwise.
    void writeLook(Type type, const model::PointFormat& format)
    {
        if (drawsLines(type))
            writeShape({}, format.line);
        else
            writeShape(format.fill, format.line);
    }

    void writeLabelFlags(const model::DataLabels& labels)
    {
        xml_.value("c:showLegendKey", labels.legendKey ? 1 : 0);
        xml_.value("c:showVal", labels.value ? 1 : 0);
        xml_.value("c:showCatName", labels.category ? 1 : 0);
        xml_.value("c:showSerName", labels.seriesName ? 1 : 0);
        xml_.value("c:showPercent", labels.percent ? 1 : 0);
        xml_.value("c:showBubbleSize", labels.bubbleSize ? 1 : 0);
        if (chart_.labelSeparator)
            xml_.text("c:separator", *chart_.labelSeparator);
    }

    void writeLabels(const model::ChartGroup& group, const model::ChartSeries& series)
    {
        const model::DataLabels common = series.format.labels.value_or(model::DataLabels{});
        const bool pointsOwn = std::any_of(series.points.begin(), series.points.end(), [&](const auto& point) {
            return point.second.labels && *point.second.labels != common;
        });
        if (!common.any() && !pointsOwn)
            return;
        const model::Rgb colour = colourOf(chart_.labelText);
        xml_.start("c:dLbls");
        for (const auto& [point, format] : series.points) {
            if (!format.labels || *format.labels == common)
                continue;
            xml_.start("c:dLbl");
            xml_.value("c:idx", static_cast<long long>(point));
            writeTextBody(xml_, "c:txPr", chart_.labelText.font, colour);
            writeLabelFlags(*format.labels);
            xml_.end();
        }
        writeTextBody(xml_, "c:txPr", chart_.labelText.font, colour);
        writeLabelFlags(common);
        if (group.type == Type::Pie || group.type == Type::Doughnut)
            xml_.value("c:showLeaderLines", group.leaderLines ? 1 : 0);
        xml_.end();
    }

    void writeData(const char* element, const std::optional<model::RangeReference>& reference,
                   const std::vector<std::optional<double>>& cached, bool numbers)
    {
        if (reference && sheetOf(workbook_, *reference)) {
            xml_.start(element);
            if (numbers)
                writeNumberReference(xml_, workbook_, names_, *reference);
            else
                writeTextReference(xml_, workbook_, names_, *reference);
            xml_.end();
        } else if (!cached.empty()) {
            xml_.start(element);
            xml_.start("c:numLit");
            xml_.value("c:ptCount", static_cast<long long>(cached.size()));
            for (std::size_t k = 0; k < cached.size(); ++k) {
                if (!cached[k] || !std::isfinite(*cached[k]))
                    continue;
                xml_.start("c:pt");
                xml_.attribute("idx", static_cast<long long>(k));
                xml_.text("c:v", numberText(*cached[k]));
                xml_.end();
            }
            xml_.end();
            xml_.end();
        }
    }

    void writeSeries(const model::ChartGroup& group, std::size_t index)
    {
        const model::ChartSeries& series = chart_.series[index];
        const Type type = group.type;
        xml_.start("c:ser");
        xml_.value("c:idx", static_cast<int>(index));
        xml_.value("c:order", static_cast<int>(index));
        if (series.name && sheetOf(workbook_, *series.name)) {
            xml_.start("c:tx");
            writeTextReference(xml_, workbook_, names_, *series.name);
            xml_.end();
        } else if (!series.nameText.empty()) {
            xml_.start("c:tx");
            xml_.text("c:v", series.nameText);
            xml_.end();
        }
        writeLook(type, series.format);
        if (type == Type::Column || type == Type::Bar || type == Type::Bubble)
            xml_.value("c:invertIfNegative", 0);
        const bool marks = type == Type::Line || type == Type::Stock || type == Type::Scatter || type == Type::Radar;
        if (marks)
            writeMarker(series.format.marker);
        if (piesOnly(type) && series.format.explosion && *series.format.explosion > 0)
            xml_.value("c:explosion", static_cast<int>(std::lround(*series.format.explosion * 100)));
        if (type != Type::Surface) {
            for (const auto& [point, own] : series.points) {
                const model::PointFormat format = chart_.pointFormat(index, point);
                xml_.start("c:dPt");
                xml_.value("c:idx", static_cast<long long>(point));
                if (type == Type::Column || type == Type::Bar || type == Type::Bubble)
                    xml_.value("c:invertIfNegative", 0);
                if (marks)
                    writeMarker(own.marker);
                if (type == Type::Bubble)
                    xml_.value("c:bubble3D", 0);
                if (piesOnly(type) && own.explosion)
                    xml_.value("c:explosion", static_cast<int>(std::lround(*own.explosion * 100)));
                writeLook(type, format);
                xml_.end();
            }
            writeLabels(group, series);
        }
        const bool numericCategories = series.categories && holdsNumbers(workbook_, *series.categories);
        if (plotsPairs(type)) {
            writeData("c:xVal", series.categories, {}, numericCategories);
            writeData("c:yVal", series.values, series.cachedValues, true);
            if (type == Type::Bubble) {
                writeData("c:bubbleSize", series.sizes, {}, true);
                xml_.value("c:bubble3D", 0);
            }
        } else {
            writeData("c:cat", series.categories, {}, numericCategories);
            writeData("c:val", series.values, series.cachedValues, true);
        }
        if (type == Type::Line || type == Type::Scatter || type == Type::Stock)
            xml_.value("c:smooth", 0);
        xml_.end();
    }

    void writeScaling(const model::ChartAxis* axis, bool values)
    {
        xml_.start("c:scaling");
        if (axis && values && axis->logarithmic)
            xml_.value("c:logBase", 10);
        xml_.value("c:orientation", axis && axis->reversed ? "maxMin" : "minMax");
        if (axis && values && axis->maximum)
            xml_.value("c:max", *axis->maximum);
        if (axis && values && axis->minimum)
            xml_.value("c:min", *axis->minimum);
        xml_.end();
    }

    void writeGridlines(const char* element, const std::optional<model::ChartLine>& line)
    {
        if (!line || line->kind == model::ChartLine::Kind::None)
            return;
        xml_.start(element);
        writeShape({}, *line);
        xml_.end();
    }

    // One axis: `element` c:catAx, c:valAx or c:serAx, `id` its own and `crossing` the one it crosses.
    void writeAxis(const char* element, const model::ChartAxis* axis, int id, int crossing, const char* position,
                   bool secondary, bool values)
    {
        xml_.start(element);
        xml_.value("c:axId", id);
        writeScaling(axis, values);
        xml_.value("c:delete", axis && axis->visible ? 0 : 1);
        xml_.value("c:axPos", axis ? axisPosition(axis->position) : position);
        if (axis) {
            writeGridlines("c:majorGridlines", axis->majorGridlines);
            writeGridlines("c:minorGridlines", axis->minorGridlines);
            if (axis->title && !axis->title->plain().empty())
                writeTitle(xml_, *axis->title);
        }
        if (std::string(element) != "c:serAx") {
            xml_.empty("c:numFmt");
            const bool own = axis && !axis->numberFormat.empty();
            xml_.attribute("formatCode", own ? axis->numberFormat : std::string("General"));
            xml_.attribute("sourceLinked", own ? 0 : 1);
        }
        xml_.value("c:majorTickMark", "out");
        xml_.value("c:minorTickMark", "none");
        xml_.value("c:tickLblPos", "nextTo");
        if (axis)
            writeShape({}, axis->line);
        xml_.value("c:crossAx", crossing);
        xml_.value("c:crosses", secondary && values ? "max" : "autoZero");
        if (std::string(element) == "c:valAx") {
            xml_.value("c:crossBetween", between_ ? "between" : "midCat");
            if (axis && axis->majorUnit && *axis->majorUnit > 0)
                xml_.value("c:majorUnit", *axis->majorUnit);
            if (axis && axis->minorUnit && *axis->minorUnit > 0)
                xml_.value("c:minorUnit", *axis->minorUnit);
        } else if (std::string(element) == "c:catAx") {
            xml_.value("c:auto", 1);
            xml_.value("c:lblAlgn", "ctr");
            xml_.value("c:lblOffset", 100);
            xml_.value("c:noMultiLvlLbl", 0);
        }
        xml_.end();
    }

    void writeAxes(std::size_t index)
    {
        const AxisSet& set = sets_[index];
        if (!set.used)
            return;
        const bool secondary = index == 1;
        const bool horizontal = std::any_of(chart_.groups.begin(), chart_.groups.end(), [&](const model::ChartGroup& g) {
            return g.type == Type::Bar && g.secondaryAxes == secondary;
        });
        between_ = set.between;
        const int category = set.firstId + 1, value = set.firstId + 2;
        const char* categoryPosition = horizontal ? (secondary ? "r" : "l") : (secondary ? "t" : "b");
        const char* valuePosition = horizontal ? (secondary ? "t" : "b") : (secondary ? "r" : "l");
        writeAxis(set.pairs ? "c:valAx" : "c:catAx", set.category, category, value, categoryPosition, secondary, set.pairs);
        writeAxis("c:valAx", set.value, value, category, valuePosition, secondary, true);
        if (set.depth)
            writeAxis("c:serAx", set.series, set.firstId + 3, value, "b", false, false);
    }

    void writeLegend()
    {
        if (!chart_.legend)
            return;
        const model::ChartLegend& legend = *chart_.legend;
        xml_.start("c:legend");
        xml_.value("c:legendPos", legendPosition(legend.place));
        xml_.value("c:overlay", 0);
        writeShape(legend.fill, legend.border);
        writeTextBody(xml_, "c:txPr", legend.text.font, colourOf(legend.text));
        xml_.end();
    }

    const model::Workbook& workbook_;
    const SheetNames& names_;
    const model::Chart& chart_;
    XmlPart xml_;
    AxisSet sets_[2];
    bool between_ = true;
};

} // namespace

std::string chartSpacePart(const model::Workbook& workbook, const std::vector<std::string>& names, const model::Chart& chart)
{
    return ChartSpaceWriter(workbook, names, chart).write();
}

} // namespace sheet::xlsx
