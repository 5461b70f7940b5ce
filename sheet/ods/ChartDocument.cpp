#include "sheet/ods/ChartDocument.h"

#include "sheet/ods/ChartData.h"
#include "sheet/ods/DataStyles.h"
#include "sheet/ods/Lengths.h"
#include "sheet/ods/XmlPart.h"

#include <algorithm>
#include <cmath>

namespace sheet::ods {
namespace {

using namespace charts;
using Type = model::ChartType;

constexpr std::size_t MaxPoints = 32000;

const char* classOf(Type type)
{
    switch (type) {
    case Type::Column:
    case Type::Bar: return "chart:bar";
    case Type::Line: return "chart:line";
    case Type::Area: return "chart:area";
    case Type::Scatter: return "chart:scatter";
    case Type::Doughnut: return "chart:ring";
    case Type::Radar: return "chart:radar";
    case Type::FilledRadar: return "chart:filled-radar";
    case Type::Stock: return "chart:stock";
    case Type::Surface: return "chart:surface";
    case Type::Bubble: return "chart:bubble";
    case Type::Pie:
    case Type::PieOfPie:
    case Type::BarOfPie:
    case Type::Other: break;
    }
    return "chart:circle";
}

bool piesOnly(Type type)
{
    return type == Type::Pie || type == Type::Doughnut || type == Type::PieOfPie || type == Type::BarOfPie;
}

bool drawsLines(Type type)
{
    return type == Type::Line || type == Type::Stock || type == Type::Scatter || type == Type::Radar;
}

const char* symbolName(model::ChartMarker::Shape shape)
{
    using Shape = model::ChartMarker::Shape;
    switch (shape) {
    case Shape::Square: return "square";
    case Shape::Diamond: return "diamond";
    case Shape::Triangle: return "arrow-up";
    case Shape::Cross: return "x";
    case Shape::Star: return "star";
    case Shape::Dot: return "circle";
    case Shape::Dash: return "horizontal-bar";
    case Shape::Circle: return "circle";
    case Shape::Plus: return "plus";
    default: break;
    }
    return "square";
}

// The width of a line of a weight, in points: hairline, narrow, medium, wide.
std::string strokeWidth(int weight)
{
    constexpr double widths[] = {0, 0.75, 1.5, 2.25};
    return points(widths[std::clamp(weight, -1, 2) + 1]);
}

const char* labelNumber(const model::DataLabels& labels)
{
    return labels.value && labels.percent ? "value-and-percentage"
           : labels.value                 ? "value"
           : labels.percent               ? "percentage"
                                          : "none";
}

// One axis as it is written: its element's dimension and name, its style, the model's axis.
struct Axis {
    const char* dimension;
    QString name;
    QString style;
    const model::ChartAxis* axis = nullptr;
    bool categories = false; // the x axis of a chart that is not of pairs of values
    std::string numberStyle; // the data style of its own number format, empty for the data's own
};

class DocumentWriter {
public:
    DocumentWriter(const model::Workbook& workbook, const SheetNames& names, const model::Chart& chart)
        : workbook_(workbook), names_(names), chart_(chart), main_(chart.groups.front())
    {
        for (std::size_t set = 0; set < 2; ++set) {
            const bool secondary = set == 1;
            bool used = false, pairs = false;
            for (const model::ChartGroup& group : chart.groups) {
                if (group.secondaryAxes == secondary && !piesOnly(group.type)) {
                    used = true;
                    pairs = pairs || group.type == Type::Scatter || group.type == Type::Bubble;
                }
            }
            if (!used && !(set == 0 && piesOnly(main_.type)))
                continue;
            const auto find = [&](model::ChartAxis::Kind kind) -> const model::ChartAxis* {
                for (const model::ChartAxis& axis : chart.axes)
                    if (axis.kind == kind && axis.secondary == secondary)
                        return &axis;
                return nullptr;
            };
            const QString suffix = QString::number(set + 1);
            if (!secondary) {
                axes_.push_back({"x", "primary-x", "chAxisX1", find(model::ChartAxis::Kind::Category), !pairs, {}});
                axes_.push_back({"y", "primary-y", "chAxisY1", find(model::ChartAxis::Kind::Value), false, {}});
                const model::ChartAxis* depth = find(model::ChartAxis::Kind::Series);
                if (chart.threeD() && (depth || main_.type == Type::Surface))
                    axes_.push_back({"z", "primary-z", "chAxisZ1", depth, false, {}});
            } else {
                axes_.push_back({"y", "secondary-y", "chAxisY2", find(model::ChartAxis::Kind::Value), false, {}});
            }
        }
        for (std::size_t k = 0; k < axes_.size(); ++k)
            if (axes_[k].axis && !axes_[k].axis->numberFormat.empty() && !piesOnly(main_.type))
                axes_[k].numberStyle = "N" + std::to_string(k + 1);
    }

    ChartDocument write(double width, double height)
    {
        XmlPart part("office:document-content", {Namespace::Office, Namespace::Style, Namespace::Text, Namespace::Table,
                                                 Namespace::Draw, Namespace::Fo, Namespace::XLink, Namespace::Number,
                                                 Namespace::Svg, Namespace::Chart, Namespace::Dr3d, Namespace::LoExt});
        QXmlStreamWriter& xml = part.xml();
        xml.writeStartElement("office:automatic-styles");
        writeStyles(xml);
        xml.writeEndElement();
        xml.writeStartElement("office:body");
        xml.writeStartElement("office:chart");
        xml.writeStartElement("chart:chart");
        xml.writeAttribute("svg:width", QString::fromStdString(points(width)));
        xml.writeAttribute("svg:height", QString::fromStdString(points(height)));
        xml.writeAttribute("chart:class", classOf(main_.type));
        xml.writeAttribute("chart:style-name", "chChart");
        xml.writeAttribute("xlink:href", "..");
        xml.writeAttribute("xlink:type", "simple");
        if (chart_.title && !chart_.title->plain().empty())
            writeTitle(xml, *chart_.title, "chTitle");
        if (chart_.legend)
            emptyElement(xml, "chart:legend", {{"chart:legend-position", legendPosition()}, {"chart:style-name", "chLegend"}});
        writePlotArea(xml);
        writeLocalTable(xml);
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
        return {part.finish(), ranges_};
    }

private:
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

    const model::ChartGroup& groupOf(const model::ChartSeries& series) const
    {
        return series.group < chart_.groups.size() ? chart_.groups[series.group] : main_;
    }

    void writeFill(QXmlStreamWriter& xml, const model::ChartFill& fill, const char* automatic) const
    {
        if (fill.kind == model::ChartFill::Kind::None) {
            xml.writeAttribute("draw:fill", "none");
        } else if (fill.kind == model::ChartFill::Kind::Solid) {
            xml.writeAttribute("draw:fill", "solid");
            xml.writeAttribute("draw:fill-color", colourName(fill.colour));
        } else if (automatic) {
            xml.writeAttribute("draw:fill", "solid");
            xml.writeAttribute("draw:fill-color", automatic);
        }
    }

    void writeStroke(QXmlStreamWriter& xml, const model::ChartLine& line) const
    {
        if (line.kind == model::ChartLine::Kind::None) {
            xml.writeAttribute("draw:stroke", "none");
        } else if (line.kind == model::ChartLine::Kind::Solid) {
            xml.writeAttribute("draw:stroke", "solid");
            xml.writeAttribute("svg:stroke-color", colourName(line.colour));
            xml.writeAttribute("svg:stroke-width", QString::fromStdString(strokeWidth(line.weight)));
        }
    }

    void writeAreaStyle(QXmlStreamWriter& xml, const QString& name, const model::ChartArea& area, const char* automaticFill) const
    {
        startStyle(xml, name);
        xml.writeStartElement("style:graphic-properties");
        writeFill(xml, area.fill, automaticFill);
        writeStroke(xml, area.border);
        xml.writeEndElement();
        xml.writeEndElement();
    }

    // The style of a series or a point: its marker, labels and explosion, its fill and line.
    void writePointStyle(QXmlStreamWriter& xml, const QString& name, Type type, const model::PointFormat& format,
                         bool series) const
    {
        startStyle(xml, name);
        xml.writeStartElement("style:chart-properties");
        if (format.marker && drawsLines(type)) {
            const model::ChartMarker& marker = *format.marker;
            if (marker.shape == model::ChartMarker::Shape::None) {
                xml.writeAttribute("chart:symbol-type", "none");
            } else if (marker.shape != model::ChartMarker::Shape::Automatic) {
                xml.writeAttribute("chart:symbol-type", "named-symbol");
                xml.writeAttribute("chart:symbol-name", symbolName(marker.shape));
                const QString size = QString::fromStdString(points(std::clamp(marker.size, 2, 72)));
                xml.writeAttribute("chart:symbol-width", size);
                xml.writeAttribute("chart:symbol-height", size);
            } else {
                xml.writeAttribute("chart:symbol-type", "automatic");
            }
        }
        if (format.labels) {
            xml.writeAttribute("chart:data-label-number", labelNumber(*format.labels));
            xml.writeAttribute("chart:data-label-text", format.labels->category ? "true" : "false");
            xml.writeAttribute("chart:data-label-symbol", format.labels->legendKey ? "true" : "false");
        }
        if (piesOnly(type) && format.explosion)
            xml.writeAttribute("chart:pie-offset", QString::number(std::lround(*format.explosion * 100)));
        if (series && (type == Type::Line || type == Type::Scatter || type == Type::Stock))
            xml.writeAttribute("chart:interpolation", "none");
        xml.writeEndElement();
        xml.writeStartElement("style:graphic-properties");
        if (!drawsLines(type))
            writeFill(xml, format.fill, nullptr);
        writeStroke(xml, format.line);
        if (format.marker && !format.marker->automaticColours && drawsLines(type))
            xml.writeAttribute("draw:fill-color", colourName(format.marker->background));
        xml.writeEndElement();
        if (series)
            writeFont(xml, chart_.labelText.font, colourOf(chart_.labelText));
        xml.writeEndElement();
    }

    void writeAxisStyle(QXmlStreamWriter& xml, const Axis& axis) const
    {
        const model::ChartAxis* a = axis.axis;
        startStyle(xml, axis.style);
        if (!axis.numberStyle.empty())
            xml.writeAttribute("style:data-style-name", QString::fromStdString(axis.numberStyle));
        xml.writeStartElement("style:chart-properties");
        const bool shown = a && a->visible && !piesOnly(main_.type);
        xml.writeAttribute("chart:display-label", shown ? "true" : "false");
        xml.writeAttribute("chart:visible", shown ? "true" : "false");
        xml.writeAttribute("chart:link-data-style-to-source", axis.numberStyle.empty() ? "true" : "false");
        if (a && !axis.categories) {
            xml.writeAttribute("chart:logarithmic", a->logarithmic ? "true" : "false");
            if (a->minimum)
                xml.writeAttribute("chart:minimum", QString::fromStdString(decimal(*a->minimum)));
            if (a->maximum)
                xml.writeAttribute("chart:maximum", QString::fromStdString(decimal(*a->maximum)));
            if (a->majorUnit && *a->majorUnit > 0) {
                xml.writeAttribute("chart:interval-major", QString::fromStdString(decimal(*a->majorUnit)));
                if (a->minorUnit && *a->minorUnit > 0)
                    xml.writeAttribute("chart:interval-minor-divisor",
                                       QString::number(std::max(1L, std::lround(*a->majorUnit / *a->minorUnit))));
            }
        }
        if (a && a->reversed)
            xml.writeAttribute("chart:reverse-direction", "true");
        if (piesOnly(main_.type) && std::string(axis.dimension) == "y")
            xml.writeAttribute("chart:reverse-direction", "true");
        xml.writeEndElement();
        if (a) {
            xml.writeStartElement("style:graphic-properties");
            writeStroke(xml, a->line);
            xml.writeEndElement();
        }
        writeFont(xml, chart_.labelText.font, Black);
        xml.writeEndElement();
        if (!a)
            return;
        for (const auto& [line, suffix] : {std::pair{&a->majorGridlines, "Major"}, std::pair{&a->minorGridlines, "Minor"}}) {
            if (!*line)
                continue;
            startStyle(xml, axis.style + suffix);
            xml.writeStartElement("style:graphic-properties");
            writeStroke(xml, **line);
            xml.writeEndElement();
            xml.writeEndElement();
        }
        if (a->title && !a->title->plain().empty()) {
            startStyle(xml, axis.style + "Title");
            writeFont(xml, a->title->font, colourOf(*a->title));
            xml.writeEndElement();
        }
    }

    void writeStyles(QXmlStreamWriter& xml) const
    {
        for (const Axis& axis : axes_)
            if (!axis.numberStyle.empty())
                writeDataStyle(xml, axis.numberStyle, axis.axis->numberFormat, workbook_.palette);
        writeAreaStyle(xml, "chChart", chart_.chartArea, "#ffffff");
        if (chart_.title) {
            startStyle(xml, "chTitle");
            writeFont(xml, chart_.title->font, colourOf(*chart_.title));
            xml.writeEndElement();
        }
        if (chart_.legend) {
            startStyle(xml, "chLegend");
            xml.writeStartElement("style:graphic-properties");
            writeFill(xml, chart_.legend->fill, nullptr);
            writeStroke(xml, chart_.legend->border);
            xml.writeEndElement();
            writeFont(xml, chart_.legend->text.font, colourOf(chart_.legend->text));
            xml.writeEndElement();
        }

        startStyle(xml, "chPlot");
        xml.writeStartElement("style:chart-properties");
        xml.writeAttribute("chart:three-dimensional", chart_.threeD() ? "true" : "false");
        if (chart_.threeD() && std::any_of(axes_.begin(), axes_.end(), [](const Axis& a) { return std::string(a.dimension) == "z"; }))
            xml.writeAttribute("chart:deep", "true");
        if (main_.type == Type::Bar)
            xml.writeAttribute("chart:vertical", "true");
        if (main_.grouping == model::Grouping::Stacked)
            xml.writeAttribute("chart:stacked", "true");
        if (main_.grouping == model::Grouping::PercentStacked)
            xml.writeAttribute("chart:percentage", "true");
        if (main_.type == Type::Column || main_.type == Type::Bar) {
            xml.writeAttribute("chart:gap-width", QString::number(std::clamp(main_.gapWidth, 0, 500)));
            const bool stacked = main_.grouping == model::Grouping::Stacked || main_.grouping == model::Grouping::PercentStacked;
            xml.writeAttribute("chart:overlap", QString::number(stacked ? 100 : std::clamp(main_.overlap, -100, 100)));
        }
        if (main_.type == Type::Stock && main_.upDownBars)
            xml.writeAttribute("chart:japanese-candle-stick", "true");
        if (main_.type == Type::Pie || main_.type == Type::Doughnut) {
            const int offset = ((450 - static_cast<int>(std::lround(main_.firstSliceAngle))) % 360 + 360) % 360;
            xml.writeAttribute("chart:angle-offset", QString::number(offset));
        }
        if (main_.type == Type::Line || main_.type == Type::Stock || main_.type == Type::Scatter || main_.type == Type::Radar)
            xml.writeAttribute("chart:symbol-type", "automatic");
        xml.writeAttribute("chart:treat-empty-cells", "leave-gap");
        xml.writeEndElement();
        xml.writeStartElement("style:graphic-properties");
        writeFill(xml, chart_.plotArea.fill, nullptr);
        writeStroke(xml, chart_.plotArea.border);
        xml.writeEndElement();
        xml.writeEndElement();

        for (const Axis& axis : axes_)
            writeAxisStyle(xml, axis);
        for (std::size_t k = 0; k < chart_.series.size(); ++k) {
            const model::ChartSeries& series = chart_.series[k];
            const Type type = groupOf(series).type;
            writePointStyle(xml, seriesStyle(k), type, series.format, true);
            for (const auto& [point, format] : series.points)
                writePointStyle(xml, seriesStyle(k) + "P" + QString::number(point), type, chart_.pointFormat(k, point), false);
        }
    }

    static QString seriesStyle(std::size_t series)
    {
        return "chSeries" + QString::number(series + 1);
    }

    void writeTitle(QXmlStreamWriter& xml, const model::ChartText& title, const QString& style) const
    {
        xml.writeStartElement("chart:title");
        xml.writeAttribute("chart:style-name", style);
        xml.writeTextElement("text:p", QString::fromStdString(title.plain()));
        xml.writeEndElement();
    }

    void addRange(const std::optional<std::string>& range)
    {
        if (range && (" " + ranges_ + " ").find(" " + *range + " ") == std::string::npos)
            ranges_ += (ranges_.empty() ? "" : " ") + *range;
    }

    void writeAxis(QXmlStreamWriter& xml, const Axis& axis)
    {
        xml.writeStartElement("chart:axis");
        xml.writeAttribute("chart:dimension", axis.dimension);
        xml.writeAttribute("chart:name", axis.name);
        xml.writeAttribute("chart:style-name", axis.style);
        const model::ChartAxis* a = axis.axis;
        if (a && a->title && !a->title->plain().empty())
            writeTitle(xml, *a->title, axis.style + "Title");
        if (axis.categories) {
            for (const model::ChartSeries& series : chart_.series) {
                if (const auto categories = rangeOf(names_, series.categories)) {
                    emptyElement(xml, "chart:categories", {{"table:cell-range-address", QString::fromStdString(*categories)}});
                    break;
                }
            }
        }
        if (a && a->majorGridlines && a->majorGridlines->kind != model::ChartLine::Kind::None)
            emptyElement(xml, "chart:grid", {{"chart:class", "major"}, {"chart:style-name", axis.style + "Major"}});
        if (a && a->minorGridlines && a->minorGridlines->kind != model::ChartLine::Kind::None)
            emptyElement(xml, "chart:grid", {{"chart:class", "minor"}, {"chart:style-name", axis.style + "Minor"}});
        xml.writeEndElement();
    }

    // The number of points of a series: the cells of its values, or the values the file kept.
    std::size_t pointsOf(const model::ChartSeries& series) const
    {
        const std::size_t cells = series.values ? cellsOf(workbook_, series.values).size() : series.cachedValues.size();
        return std::min(cells, MaxPoints);
    }

    void writeSeries(QXmlStreamWriter& xml, std::size_t index)
    {
        const model::ChartSeries& series = chart_.series[index];
        const model::ChartGroup& group = groupOf(series);
        const std::optional<std::string> values = rangeOf(names_, series.values);
        const std::optional<std::string> categories = rangeOf(names_, series.categories);
        const std::optional<std::string> name = rangeOf(names_, series.name);
        const std::optional<std::string> sizes = rangeOf(names_, series.sizes);
        xml.writeStartElement("chart:series");
        xml.writeAttribute("chart:style-name", seriesStyle(index));
        const std::optional<std::string>& shown = group.type == Type::Bubble ? sizes : values;
        if (shown)
            xml.writeAttribute("chart:values-cell-range-address", QString::fromStdString(*shown));
        if (name) {
            xml.writeAttribute("chart:label-cell-address", QString::fromStdString(*name));
        } else if (!series.nameText.empty()) {
            xml.writeAttribute("loext:label-string", quotedName(series.nameText));
        }
        if (stockSeries())
            xml.writeAttribute("chart:attached-axis", "primary-y");
        else
            xml.writeAttribute("chart:class", classOf(group.type));
        if (group.secondaryAxes && !piesOnly(group.type))
            xml.writeAttribute("chart:attached-axis", "secondary-y");
        addRange(categories);
        addRange(name);
        addRange(values);
        addRange(sizes);
        if (group.type == Type::Bubble && values)
            emptyElement(xml, "chart:domain", {{"table:cell-range-address", QString::fromStdString(*values)}});
        if ((group.type == Type::Scatter || group.type == Type::Bubble) && categories)
            emptyElement(xml, "chart:domain", {{"table:cell-range-address", QString::fromStdString(*categories)}});
        const std::size_t count = pointsOf(series);
        std::size_t done = 0;
        for (const auto& [point, format] : series.points) {
            if (point >= count)
                break;
            if (point > done)
                emptyElement(xml, "chart:data-point", {{"chart:repeated", QString::number(point - done)}});
            emptyElement(xml, "chart:data-point", {{"chart:style-name", seriesStyle(index) + "P" + QString::number(point)}});
            done = point + 1;
        }
        if (count > done)
            emptyElement(xml, "chart:data-point", {{"chart:repeated", QString::number(count - done)}});
        xml.writeEndElement();
    }

    // The series in the order they are written. Those of a stock chart go as LibreOffice reads them:
    // the opening prices (a series without values when the chart has none), the lows, the highs and
    // the closing prices; the chart has them as opening prices, highs, lows and closing prices.
    std::vector<std::optional<std::size_t>> seriesOrder() const
    {
        std::vector<std::optional<std::size_t>> order;
        for (std::size_t k = 0; k < chart_.series.size(); ++k)
            order.emplace_back(k);
        if (!stockSeries())
            return order;
        if (order.size() == 3)
            return {std::nullopt, order[1], order[0], order[2]};
        return {order[0], order[2], order[1], order[3]};
    }

    // Whether the chart is a stock chart of three or four series, which LibreOffice takes by their roles.
    bool stockSeries() const
    {
        return main_.type == Type::Stock && chart_.groups.size() == 1 &&
               (chart_.series.size() == 3 || chart_.series.size() == 4);
    }

    void writePlotArea(QXmlStreamWriter& xml)
    {
        xml.writeStartElement("chart:plot-area");
        xml.writeAttribute("chart:style-name", "chPlot");
        xml.writeAttribute("chart:data-source-has-labels", "none");
        if (chart_.threeD()) {
            const model::View3d& view = *chart_.view3d;
            xml.writeAttribute("dr3d:projection", view.rightAngleAxes || view.perspective == 0 ? "parallel" : "perspective");
            xml.writeAttribute("dr3d:shade-mode", "flat");
            xml.writeAttribute("dr3d:lighting-mode", "true");
            xml.writeAttribute("chart:right-angled-axes", view.rightAngleAxes ? "true" : "false");
        }
        for (const Axis& axis : axes_)
            writeAxis(xml, axis);
        for (const std::optional<std::size_t>& k : seriesOrder()) {
            if (k)
                writeSeries(xml, *k);
            else
                emptyElement(xml, "chart:series", {{"chart:attached-axis", "primary-y"}});
        }
        if (chart_.threeD()) {
            emptyElement(xml, "chart:wall", {});
            emptyElement(xml, "chart:floor", {});
        }
        xml.writeEndElement();
    }

    // The values as the chart last saw them: a header row with the series' names, then a category and
    // each series' value a row.
    void writeLocalTable(QXmlStreamWriter& xml) const
    {
        const QString row = QStringLiteral("table:table-row"), cell = QStringLiteral("table:table-cell");
        const QString type = QStringLiteral("office:value-type"), paragraph = QStringLiteral("text:p");
        std::vector<std::vector<const model::Cell*>> values;
        std::vector<const model::Cell*> categories;
        std::size_t rows = 0;
        for (const model::ChartSeries& series : chart_.series) {
            values.push_back(cellsOf(workbook_, series.values));
            rows = std::max(rows, std::min(values.back().size(), MaxPoints));
            if (categories.empty())
                categories = cellsOf(workbook_, series.categories);
        }
        xml.writeStartElement("table:table");
        xml.writeAttribute("table:name", "local-table");
        xml.writeStartElement("table:table-header-columns");
        emptyElement(xml, "table:table-column", {});
        xml.writeEndElement();
        xml.writeStartElement("table:table-columns");
        emptyElement(xml, "table:table-column", {{"table:number-columns-repeated", QString::number(std::max<std::size_t>(1, values.size()))}});
        xml.writeEndElement();
        xml.writeStartElement("table:table-header-rows");
        xml.writeStartElement(row);
        xml.writeStartElement(cell);
        xml.writeTextElement(paragraph, QString());
        xml.writeEndElement();
        for (const model::ChartSeries& series : chart_.series) {
            xml.writeStartElement(cell);
            xml.writeAttribute(type, QStringLiteral("string"));
            const std::vector<const model::Cell*> name = cellsOf(workbook_, series.name);
            xml.writeTextElement(paragraph, name.empty() ? QString::fromStdString(series.nameText) : textOf(workbook_, name.front()));
            xml.writeEndElement();
        }
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeStartElement("table:table-rows");
        for (std::size_t k = 0; k < rows; ++k) {
            xml.writeStartElement(row);
            writeCategoryCell(xml, workbook_, categories, k);
            for (const std::vector<const model::Cell*>& series : values)
                writeValueCell(xml, k < series.size() ? series[k] : nullptr);
            xml.writeEndElement();
        }
        xml.writeEndElement();
        xml.writeEndElement();
    }

    const model::Workbook& workbook_;
    const SheetNames& names_;
    const model::Chart& chart_;
    const model::ChartGroup& main_;
    std::vector<Axis> axes_;
    std::string ranges_;
};

} // namespace

ChartDocument chartDocument(const model::Workbook& workbook, const std::vector<std::string>& names,
                            const model::Chart& chart, double width, double height)
{
    return DocumentWriter(workbook, names, chart).write(width, height);
}

} // namespace sheet::ods
