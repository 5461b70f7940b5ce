#include "sheet/xlsx/ChartPart.h"

#include "sheet/xlsx/ChartElements.h"
#include "sheet/xlsx/ChartSpacePart.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace sheet::xlsx {
namespace {

using namespace charts;

constexpr const char* ChartNamespace = "http://schemas.openxmlformats.org/drawingml/2006/chart";
constexpr const char* DrawingNamespace = "http://schemas.openxmlformats.org/drawingml/2006/main";
constexpr const char* RelationshipNamespace = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

constexpr int AutomaticColours = 40; // palette indices 24 to 63, in order
constexpr int FirstAutomaticColour = 24;
constexpr long long MaxPoints = 32000;

// A slice of the first series: its point and its look.
struct Slice {
    long long point = 0;
    model::PointFormat format;
};

// The slices of a pie: the points of its first series whose values are positive numbers, each with its look.
std::vector<Slice> slicesOf(const model::Workbook& workbook, const model::Chart& chart)
{
    std::vector<Slice> slices;
    if (chart.series.empty() || !chart.series.front().values)
        return slices;
    const model::RangeReference& values = *chart.series.front().values;
    const model::Sheet* sheet = sheetOf(workbook, values);
    if (!sheet)
        return slices;
    forEachCell(*sheet, values.range, [&](long long point, const model::Cell& cell) {
        const std::optional<double> number = cell.number();
        if (point < MaxPoints && number && *number > 0 && std::isfinite(*number))
            slices.push_back({point, chart.pointFormat(0, static_cast<unsigned>(point))});
    });
    return slices;
}

struct LabelShow {
    bool value = false;
    bool category = false;
    bool percent = false;
    friend bool operator==(const LabelShow&, const LabelShow&) = default;
};

LabelShow labelShow(const Slice& slice)
{
    const model::DataLabels labels = slice.format.labels.value_or(model::DataLabels{});
    return {labels.value, labels.category, labels.percent};
}

void writeShowFlags(XmlPart& xml, const LabelShow& show, const QString& separator)
{
    xml.value("c:showLegendKey", 0);
    xml.value("c:showVal", show.value ? 1 : 0);
    xml.value("c:showCatName", show.category ? 1 : 0);
    xml.value("c:showSerName", 0);
    xml.value("c:showPercent", show.percent ? 1 : 0);
    xml.value("c:showBubbleSize", 0);
    xml.text("c:separator", separator);
}

// The labels of the first series: what the first slice shows for the whole series, and a label of its
// own for every slice that shows something else.
void writeDataLabels(XmlPart& xml, const model::Chart& chart, const std::vector<Slice>& slices)
{
    const bool anyShown = std::any_of(slices.begin(), slices.end(), [](const Slice& slice) {
        const LabelShow show = labelShow(slice);
        return show.value || show.category || show.percent;
    });
    if (!anyShown)
        return;
    const LabelShow common = labelShow(slices.front());
    const QString separator = chart.labelSeparator ? QString::fromStdString(*chart.labelSeparator) : QStringLiteral("\n");
    const model::Rgb colour = colourOf(chart.labelText);
    xml.start("c:dLbls");
    for (const Slice& slice : slices) {
        if (labelShow(slice) == common)
            continue;
        xml.start("c:dLbl");
        xml.value("c:idx", slice.point);
        writeTextBody(xml, "c:txPr", chart.labelText.font, colour);
        writeShowFlags(xml, labelShow(slice), separator);
        xml.end();
    }
    writeTextBody(xml, "c:txPr", chart.labelText.font, colour);
    writeShowFlags(xml, common, separator);
    xml.value("c:showLeaderLines", chart.groups.front().leaderLines ? 1 : 0);
    xml.end();
}

void writeSeries(XmlPart& xml, const model::Workbook& workbook, const SheetNames& names, const model::Chart& chart,
                 std::size_t index)
{
    const model::ChartSeries& series = chart.series[index];
    xml.start("c:ser");
    xml.value("c:idx", static_cast<int>(index));
    xml.value("c:order", static_cast<int>(index));
    if (series.name) {
        xml.start("c:tx");
        writeTextReference(xml, workbook, names, *series.name);
        xml.end();
    } else if (!series.nameText.empty()) {
        xml.start("c:tx");
        xml.text("c:v", series.nameText);
        xml.end();
    }
    if (index == 0) {
        const std::vector<Slice> slices = slicesOf(workbook, chart);
        for (const Slice& slice : slices) {
            xml.start("c:dPt");
            xml.value("c:idx", slice.point);
            const double explosion = slice.format.explosion.value_or(0);
            if (explosion > 0)
                xml.value("c:explosion", static_cast<int>(std::lround(explosion * 100)));
            xml.start("c:spPr");
            const int automatic = FirstAutomaticColour + static_cast<int>(slice.point % AutomaticColours);
            writeFill(xml, shownFill(slice.format.fill, workbook.palette.rgb(automatic)));
            xml.end();
            xml.end();
        }
        if (!slices.empty())
            writeDataLabels(xml, chart, slices);
    }
    if (series.categories) {
        xml.start("c:cat");
        writeTextReference(xml, workbook, names, *series.categories);
        xml.end();
    }
    if (series.values) {
        xml.start("c:val");
        writeNumberReference(xml, workbook, names, *series.values);
        xml.end();
    }
    xml.end();
}

// A flat pie keeps its plot area. A 3-D pie's is left to the reader: LibreOffice draws a 3-D pie past
// the plot area it is given, out of the chart, and places it itself when it reads the chart records.
void writePlotLayout(XmlPart& xml, const model::Chart& chart)
{
    xml.start("c:layout");
    if (chart.plotLayout && !chart.threeD()) {
        xml.start("c:manualLayout");
        xml.value("c:layoutTarget", "inner");
        xml.value("c:xMode", "edge");
        xml.value("c:yMode", "edge");
        xml.value("c:x", chart.plotLayout->x);
        xml.value("c:y", chart.plotLayout->y);
        xml.value("c:w", chart.plotLayout->width);
        xml.value("c:h", chart.plotLayout->height);
        xml.end();
    }
    xml.end();
}

// A chart whose groups all draw flat or 3-D pies, with each slice's colour written out.
std::string piePart(const model::Workbook& workbook, const SheetNames& names, const model::Chart& chart)
{
    const model::ChartGroup& group = chart.groups.front();
    XmlPart xml("c:chartSpace", {{"c", ChartNamespace}, {"a", DrawingNamespace}, {"r", RelationshipNamespace}});
    xml.value("c:roundedCorners", 0);
    xml.start("c:chart");
    const QString title = chart.title ? QString::fromStdString(chart.title->plain()) : QString();
    if (!title.isEmpty()) {
        xml.start("c:title");
        xml.start("c:tx");
        writeTextBody(xml, "c:rich", chart.title->font, colourOf(*chart.title), &title);
        xml.end();
        xml.value("c:overlay", 0);
        xml.end();
    }
    xml.value("c:autoTitleDeleted", title.isEmpty() ? 1 : 0);
    if (chart.view3d) {
        xml.start("c:view3D");
        xml.value("c:rotX", static_cast<int>(std::lround(chart.view3d->elevation)));
        xml.value("c:hPercent", static_cast<int>(std::lround(chart.view3d->heightPercent)));
        xml.value("c:rotY", static_cast<int>(std::lround(chart.view3d->rotation)) % 360);
        xml.value("c:depthPercent", 100);
        xml.value("c:rAngAx", 0);
        xml.value("c:perspective", 0);
        xml.end();
    }
    xml.start("c:plotArea");
    writePlotLayout(xml, chart);
    xml.start(chart.threeD() ? "c:pie3DChart" : "c:pieChart");
    xml.value("c:varyColors", 1);
    for (std::size_t k = 0; k < chart.series.size(); ++k)
        writeSeries(xml, workbook, names, chart, k);
    if (!chart.threeD())
        xml.value("c:firstSliceAng", static_cast<int>(std::lround(group.firstSliceAngle)) % 360);
    xml.end();
    if (!chart.threeD() && chart.plotArea.fill.kind == model::ChartFill::Kind::Solid) {
        xml.start("c:spPr");
        writeFill(xml, chart.plotArea.fill.colour);
        xml.end();
    }
    xml.end();
    if (chart.legend) {
        xml.start("c:legend");
        xml.value("c:legendPos", legendPosition(chart.legend->place));
        xml.value("c:overlay", 0);
        writeTextBody(xml, "c:txPr", chart.legend->text.font, Black);
        xml.end();
    }
    xml.value("c:plotVisOnly", 1);
    xml.value("c:dispBlanksAs", "gap");
    xml.end();

    xml.start("c:spPr");
    writeFill(xml, shownFill(chart.chartArea.fill, White));
    xml.start("a:ln");
    const model::ChartLine& border = chart.chartArea.border;
    if (border.kind == model::ChartLine::Kind::None)
        xml.empty("a:noFill");
    else
        writeFill(xml, border.kind == model::ChartLine::Kind::Solid ? border.colour : Black);
    xml.end();
    xml.end();
    return xml.finish();
}

} // namespace

std::string chartPart(const model::Workbook& workbook, const SheetNames& names, const model::Chart& chart)
{
    const bool pies = !chart.groups.empty() && std::all_of(chart.groups.begin(), chart.groups.end(), [](const model::ChartGroup& g) {
        return g.type == model::ChartType::Pie;
    });
    return pies ? piePart(workbook, names, chart) : chartSpacePart(workbook, names, chart);
}

} // namespace sheet::xlsx
