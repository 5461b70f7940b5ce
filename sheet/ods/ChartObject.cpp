#include "sheet/ods/ChartObject.h"

#include "sheet/Errors.h"
#include "sheet/ods/CellAddresses.h"
#include "sheet/ods/ChartData.h"
#include "sheet/ods/ChartDocument.h"
#include "sheet/ods/Lengths.h"
#include "sheet/ods/XmlPart.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>
#include <optional>
#include <tuple>
#include <vector>

namespace sheet::ods {
namespace {

using namespace charts;

constexpr int AutomaticColours = 40; // palette indices 24 to 63, in order
constexpr int FirstAutomaticColour = 24;
constexpr std::size_t MaxPoints = 32000;

// The font of a title that has none of its own.
model::Font defaultTitleFont()
{
    model::Font font;
    font.name = "Arial";
    font.height = 360;
    font.weight = 700;
    return font;
}

// How LibreOffice places a 3-D pie: a fixed turn of 25 degrees about the vertical axis seen by its
// standard camera, and a tilt about the horizontal axis of the elevation less 100 degrees.
constexpr double SceneTurn = 25;
constexpr double SceneTiltOffset = -100;

struct Ranges {
    std::optional<std::string> name, values, categories;
};

const char* labelNumber(bool value, bool percent)
{
    return value && percent ? "value-and-percentage" : value ? "value" : percent ? "percentage" : "none";
}

// The look of one slice, as a data point's style carries it.
struct PointLook {
    std::string colour; // "#rrggbb", empty for no fill
    int explode = 0;
    bool value = false, percent = false, category = false;
    friend auto operator<=>(const PointLook&, const PointLook&) = default;
};

PointLook lookOf(const model::Workbook& workbook, const model::PointFormat& format, std::size_t point)
{
    std::string colour;
    if (format.fill.kind == model::ChartFill::Kind::Solid)
        colour = colourName(format.fill.colour).toStdString();
    else if (format.fill.kind == model::ChartFill::Kind::Automatic)
        colour = colourName(workbook.palette.rgb(FirstAutomaticColour + static_cast<int>(point % AutomaticColours))).toStdString();
    const model::DataLabels labels = format.labels.value_or(model::DataLabels{});
    return {colour, static_cast<int>(std::lround(format.explosion.value_or(0) * 100)), labels.value, labels.percent,
            labels.category};
}

class ChartWriter {
public:
    ChartWriter(const model::Workbook& workbook, const SheetNames& names, const model::Chart& chart)
        : workbook_(workbook), chart_(chart)
    {
        if (!chart.series.empty()) {
            const model::ChartSeries& series = chart.series.front();
            ranges_ = {rangeOf(names, series.name), rangeOf(names, series.values), rangeOf(names, series.categories)};
            values_ = cellsOf(workbook, series.values);
            categories_ = cellsOf(workbook, series.categories);
            if (series.name)
                seriesName_ = textOf(workbook, cellsOf(workbook, series.name).empty() ? nullptr : cellsOf(workbook, series.name).front());
        }
        points_.assign(values_.size(), -1);
        // A slice for each value that is a positive number.
        for (std::size_t k = 0; k < values_.size() && k < MaxPoints; ++k) {
            const std::optional<double> number = values_[k] ? values_[k]->number() : std::nullopt;
            if (!number || !(*number > 0) || !std::isfinite(*number))
                continue;
            const PointLook look = lookOf(workbook, chart.pointFormat(0, static_cast<unsigned>(k)), k);
            const auto found = looks_.emplace(look, static_cast<int>(looks_.size()));
            if (found.second)
                lookOrder_.push_back(look);
            points_[k] = found.first->second;
        }
    }

    std::string ranges() const
    {
        std::string all;
        for (const auto& range : {ranges_.categories, ranges_.name, ranges_.values}) {
            if (range)
                all += (all.empty() ? "" : " ") + *range;
        }
        return all;
    }

    std::string content(double width, double height)
    {
        XmlPart part("office:document-content", {Namespace::Office, Namespace::Style, Namespace::Text, Namespace::Table,
                                                 Namespace::Draw, Namespace::Fo, Namespace::XLink, Namespace::Svg,
                                                 Namespace::Chart, Namespace::Dr3d, Namespace::LoExt});
        QXmlStreamWriter& xml = part.xml();
        xml.writeStartElement("office:automatic-styles");
        writeStyles(xml);
        xml.writeEndElement();
        xml.writeStartElement("office:body");
        xml.writeStartElement("office:chart");
        xml.writeStartElement("chart:chart");
        xml.writeAttribute("svg:width", QString::fromStdString(points(width)));
        xml.writeAttribute("svg:height", QString::fromStdString(points(height)));
        xml.writeAttribute("chart:class", "chart:circle");
        xml.writeAttribute("chart:style-name", "chChart");
        // The data come from the spreadsheet that holds the object.
        xml.writeAttribute("xlink:href", "..");
        xml.writeAttribute("xlink:type", "simple");
        if (!title().isEmpty()) {
            xml.writeStartElement("chart:title");
            xml.writeAttribute("chart:style-name", "chTitle");
            xml.writeTextElement("text:p", title());
            xml.writeEndElement();
        }
        if (chart_.legend)
            emptyElement(xml, "chart:legend", {{"chart:legend-position", legendPosition()}, {"chart:style-name", "chLegend"}});
        writePlotArea(xml);
        writeLocalTable(xml);
        xml.writeEndElement(); // chart:chart
        xml.writeEndElement();
        xml.writeEndElement();
        return part.finish();
    }

private:
    QString title() const
    {
        return chart_.title ? QString::fromStdString(chart_.title->plain()) : QString();
    }

    const char* legendPosition() const
    {
        using Place = model::ChartLegend::Place;
        switch (chart_.legend->place) {
        case Place::Bottom: return "bottom";
        case Place::Corner: return "top-end";
        case Place::Top: return "top";
        case Place::Left: return "start";
        case Place::Right: break;
        }
        return "end";
    }

    void writeStyles(QXmlStreamWriter& xml) const
    {
        startStyle(xml, "chChart");
        xml.writeStartElement("style:graphic-properties");
        const model::ChartFill& background = chart_.chartArea.fill;
        if (background.kind == model::ChartFill::Kind::None) {
            xml.writeAttribute("draw:fill", "none");
        } else {
            xml.writeAttribute("draw:fill", "solid");
            xml.writeAttribute("draw:fill-color", background.kind == model::ChartFill::Kind::Solid ? colourName(background.colour)
                                                                                                  : QStringLiteral("#ffffff"));
        }
        const model::ChartLine& border = chart_.chartArea.border;
        xml.writeAttribute("draw:stroke", border.kind != model::ChartLine::Kind::None ? "solid" : "none");
        if (border.kind != model::ChartLine::Kind::None)
            xml.writeAttribute("svg:stroke-color", colourName(border.kind == model::ChartLine::Kind::Solid ? border.colour : Black));
        xml.writeEndElement();
        xml.writeEndElement();

        startStyle(xml, "chTitle");
        if (chart_.title)
            writeFont(xml, chart_.title->font, colourOf(*chart_.title));
        else
            writeFont(xml, defaultTitleFont(), Black);
        xml.writeEndElement();

        if (chart_.legend) {
            startStyle(xml, "chLegend");
            writeFont(xml, chart_.legend->text.font, Black);
            xml.writeEndElement();
        }

        startStyle(xml, "chPlot");
        xml.writeStartElement("style:chart-properties");
        xml.writeAttribute("chart:three-dimensional", chart_.threeD() ? "true" : "false");
        // The first slice's angle counts clockwise from twelve o'clock; the offset counter-clockwise from three.
        const double firstSliceAngle = chart_.view3d ? chart_.view3d->rotation : chart_.groups.front().firstSliceAngle;
        const int offset = ((450 - static_cast<int>(std::lround(firstSliceAngle))) % 360 + 360) % 360;
        xml.writeAttribute("chart:angle-offset", QString::number(offset));
        xml.writeAttribute("chart:treat-empty-cells", "leave-gap");
        xml.writeEndElement();
        // A 3-D pie stands free; only a flat one shows its plot area's fill.
        if (!chart_.threeD() && chart_.plotArea.fill.kind == model::ChartFill::Kind::Solid)
            emptyElement(xml, "style:graphic-properties", {{"draw:fill", "solid"}, {"draw:fill-color", colourName(chart_.plotArea.fill.colour)}});
        xml.writeEndElement();

        startStyle(xml, "chAxis");
        emptyElement(xml, "style:chart-properties", {{"chart:display-label", "false"}, {"chart:visible", "false"}});
        xml.writeEndElement();
        // The slices follow each other clockwise, as the angle axis runs when it is reversed.
        startStyle(xml, "chAngles");
        emptyElement(xml, "style:chart-properties", {{"chart:display-label", "false"}, {"chart:visible", "false"},
                                                     {"chart:reverse-direction", "true"}});
        xml.writeEndElement();

        // The series carries what its slices share: the labels' font and the leader lines.
        startStyle(xml, "chSeries");
        xml.writeStartElement("style:chart-properties");
        xml.writeAttribute("chart:label-position", "avoid-overlap");
        if (chart_.groups.front().leaderLines)
            xml.writeAttribute("loext:custom-leader-lines", "true");
        xml.writeEndElement();
        emptyElement(xml, "style:graphic-properties", {{"draw:stroke", "none"}});
        writeFont(xml, chart_.labelText.font, colourOf(chart_.labelText));
        xml.writeEndElement();

        for (std::size_t k = 0; k < lookOrder_.size(); ++k) {
            const PointLook& look = lookOrder_[k];
            startStyle(xml, "chPoint" + QString::number(k + 1));
            xml.writeStartElement("style:chart-properties");
            xml.writeAttribute("chart:data-label-number", labelNumber(look.value, look.percent));
            xml.writeAttribute("chart:data-label-text", look.category ? "true" : "false");
            xml.writeAttribute("chart:data-label-symbol", "false");
            xml.writeAttribute("chart:pie-offset", QString::number(look.explode));
            xml.writeEndElement();
            if (look.colour.empty())
                emptyElement(xml, "style:graphic-properties", {{"draw:fill", "none"}, {"draw:stroke", "none"}});
            else
                emptyElement(xml, "style:graphic-properties", {{"draw:fill", "solid"}, {"draw:fill-color", QString::fromStdString(look.colour)}, {"draw:stroke", "none"}});
            xml.writeEndElement();
        }
    }

    void writeScene(QXmlStreamWriter& xml) const
    {
        const double turn = SceneTurn * std::numbers::pi / 180;
        const double tilt = (chart_.view3d->elevation + SceneTiltOffset) * std::numbers::pi / 180;
        const double ca = std::cos(turn), sa = std::sin(turn), cb = std::cos(tilt), sb = std::sin(tilt);
        // The rotation about the vertical axis after the tilt, column by column.
        const double matrix[12] = {ca, 0, -sa, sa * sb, cb, ca * sb, sa * cb, -sb, ca * cb, 0, 0, 0};
        QString text = QStringLiteral("matrix (");
        for (int k = 0; k < 12; ++k)
            text += QString::fromStdString(decimal(std::round(matrix[k] * 1e12) / 1e12)) + (k == 11 ? QStringLiteral(")") : QStringLiteral(" "));
        xml.writeAttribute("dr3d:transform", text);
        xml.writeAttribute("dr3d:vpn", "(0.416199821709347 0.173649045905254 0.892537795986984)");
        xml.writeAttribute("dr3d:vup", "(-0.0733876362771618 0.984807599917971 -0.157379306090273)");
        xml.writeAttribute("dr3d:projection", "parallel");
        xml.writeAttribute("dr3d:shade-mode", "flat");
        xml.writeAttribute("dr3d:ambient-color", "#b3b3b3");
        xml.writeAttribute("dr3d:lighting-mode", "true");
    }

    void writePlotArea(QXmlStreamWriter& xml) const
    {
        xml.writeStartElement("chart:plot-area");
        xml.writeAttribute("chart:style-name", "chPlot");
        if (ranges_.values)
            xml.writeAttribute("table:cell-range-address", QString::fromStdString(*ranges_.values));
        xml.writeAttribute("chart:data-source-has-labels", "none");
        if (chart_.threeD())
            writeScene(xml);
        xml.writeStartElement("chart:axis");
        xml.writeAttribute("chart:dimension", "x");
        xml.writeAttribute("chart:name", "primary-x");
        xml.writeAttribute("chart:style-name", "chAxis");
        if (ranges_.categories)
            emptyElement(xml, "chart:categories", {{"table:cell-range-address", QString::fromStdString(*ranges_.categories)}});
        xml.writeEndElement();
        emptyElement(xml, "chart:axis", {{"chart:dimension", "y"}, {"chart:name", "primary-y"}, {"chart:style-name", "chAngles"}});

        xml.writeStartElement("chart:series");
        xml.writeAttribute("chart:style-name", "chSeries");
        if (ranges_.values)
            xml.writeAttribute("chart:values-cell-range-address", QString::fromStdString(*ranges_.values));
        if (ranges_.name)
            xml.writeAttribute("chart:label-cell-address", QString::fromStdString(*ranges_.name));
        else if (!chart_.series.empty() && !chart_.series.front().nameText.empty())
            xml.writeAttribute("loext:label-string", quotedName(chart_.series.front().nameText));
        xml.writeAttribute("chart:class", "chart:circle");
        // Consecutive points of one look share an element.
        for (std::size_t k = 0; k < points_.size();) {
            std::size_t end = k + 1;
            while (end < points_.size() && points_[end] == points_[k])
                ++end;
            xml.writeStartElement("chart:data-point");
            if (points_[k] >= 0)
                xml.writeAttribute("chart:style-name", "chPoint" + QString::number(points_[k] + 1));
            if (end - k > 1)
                xml.writeAttribute("chart:repeated", QString::number(end - k));
            xml.writeEndElement();
            k = end;
        }
        xml.writeEndElement();
        xml.writeEndElement();
    }

    // The values as the chart last saw them: a header row with the series' name, then a category and a value a row.
    void writeLocalTable(QXmlStreamWriter& xml) const
    {
        xml.writeStartElement("table:table");
        xml.writeAttribute("table:name", "local-table");
        xml.writeStartElement("table:table-header-columns");
        emptyElement(xml, "table:table-column", {});
        xml.writeEndElement();
        xml.writeStartElement("table:table-columns");
        emptyElement(xml, "table:table-column", {});
        xml.writeEndElement();
        xml.writeStartElement("table:table-header-rows");
        xml.writeStartElement("table:table-row");
        xml.writeStartElement("table:table-cell");
        xml.writeTextElement("text:p", QString());
        xml.writeEndElement();
        xml.writeStartElement("table:table-cell");
        xml.writeAttribute("office:value-type", "string");
        xml.writeTextElement("text:p", seriesName_);
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeStartElement("table:table-rows");
        const QString row = QStringLiteral("table:table-row");
        for (std::size_t k = 0; k < values_.size(); ++k) {
            xml.writeStartElement(row);
            writeCategoryCell(xml, workbook_, categories_, k);
            writeValueCell(xml, values_[k]);
            xml.writeEndElement();
        }
        xml.writeEndElement();
        xml.writeEndElement();
    }

    const model::Workbook& workbook_;
    const model::Chart& chart_;
    Ranges ranges_;
    QString seriesName_;
    std::vector<const model::Cell*> values_;
    std::vector<const model::Cell*> categories_;
    std::vector<int> points_;  // for each value, the index of its look; -1 when it makes no slice
    std::map<PointLook, int> looks_;
    std::vector<PointLook> lookOrder_;
};

std::string chartStyles()
{
    XmlPart part("office:document-styles", {Namespace::Office, Namespace::Style});
    emptyElement(part.xml(), "office:styles", {});
    return part.finish();
}

} // namespace

void refuseUnplacedChart(const model::Workbook& workbook, const model::Sheet& sheet, std::size_t chart)
{
    throw FormatError("sheet \"" + sheet.name + "\": chart " + std::to_string(chart + 1)
                      + (workbook.biff != 8 ? " is an Excel 95 chart" : " has no place on the sheet")
                      + ", which cannot be saved in the OpenDocument format");
}

ChartObject chartObject(const model::Workbook& workbook, const SheetNames& names, int sheetIndex,
                        const model::Chart& chart, int number, double width, double height)
{
    const std::string& sheetName = workbook.sheets.at(static_cast<std::size_t>(sheetIndex)).name;
    if (!chart.knownType())
        throw FormatError("sheet \"" + sheetName + "\": chart " + std::to_string(number) + " is "
                          + model::chartTypeName(model::ChartType::Other)
                          + ", which cannot be saved in the OpenDocument format");
    const std::string folder = "Object " + std::to_string(number);
    const bool pies = std::all_of(chart.groups.begin(), chart.groups.end(), [](const model::ChartGroup& group) {
        return group.type == model::ChartType::Pie;
    });
    if (!pies) {
        ChartDocument document = chartDocument(workbook, names, chart, width, height);
        return ChartObject{folder, std::move(document.content), chartStyles(), std::move(document.ranges)};
    }
    ChartWriter writer(workbook, names, chart);
    return ChartObject{folder, writer.content(width, height), chartStyles(), writer.ranges()};
}

} // namespace sheet::ods
