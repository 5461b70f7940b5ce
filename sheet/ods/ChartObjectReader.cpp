#include "sheet/ods/ChartObjectReader.h"

#include "sheet/ods/LengthText.h"
#include "sheet/ods/RangeAddressText.h"
#include "sheet/ods/StyleSheet.h"
#include "sheet/ods/XmlFeed.h"
#include "sheet/zip/ZipReader.h"

#include <QColor>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sheet::ods {
namespace {

constexpr unsigned MaxPoints = 32000;
constexpr std::size_t MaxSeries = 255;
constexpr double SceneTiltOffset = -100;

QString value(const std::map<QString, QString>& properties, const char* name)
{
    const auto found = properties.find(QString::fromLatin1(name));
    return found == properties.end() ? QString() : found->second;
}

model::ChartType typeOf(QStringView chartClass, bool vertical)
{
    using T = model::ChartType;
    const QStringView name = chartClass.mid(chartClass.indexOf(u':') + 1);
    if (name == u"circle") return T::Pie;
    if (name == u"ring") return T::Doughnut;
    if (name == u"bar") return vertical ? T::Bar : T::Column;
    if (name == u"line") return T::Line;
    if (name == u"area") return T::Area;
    if (name == u"scatter") return T::Scatter;
    if (name == u"radar") return T::Radar;
    if (name == u"filled-radar") return T::FilledRadar;
    if (name == u"bubble") return T::Bubble;
    if (name == u"stock") return T::Stock;
    if (name == u"surface") return T::Surface;
    return T::Other;
}

std::optional<model::Rgb> colourOf(const QString& text)
{
    const QColor colour = QColor::fromString(text);
    if (text.isEmpty() || !colour.isValid())
        return std::nullopt;
    return colour.rgb() & 0xFFFFFF;
}

model::Font fontOf(const std::map<QString, QString>& properties)
{
    model::Font font;
    font.name = value(properties, "font-family").remove(QLatin1Char('\'')).toStdString();
    if (font.name.empty())
        font.name = value(properties, "font-name").toStdString();
    if (const auto size = lengthPoints(value(properties, "font-size")))
        font.height = static_cast<int>(std::lround(std::clamp(*size, 1.0, 409.0) * 20));
    font.weight = value(properties, "font-weight") == QLatin1String("bold") ? 700 : 400;
    font.italic = value(properties, "font-style") == QLatin1String("italic");
    return font;
}

model::ChartText textOf(const std::map<QString, QString>& properties, const QString& text)
{
    model::ChartText chartText;
    chartText.font = fontOf(properties);
    chartText.colour = colourOf(value(properties, "color"));
    if (!text.isEmpty())
        chartText.runs.push_back({text.toStdString(), std::nullopt});
    return chartText;
}

model::PointFormat formatOf(const std::map<QString, QString>& properties)
{
    model::PointFormat format;
    const QString fill = value(properties, "fill");
    if (fill == QLatin1String("none"))
        format.fill.kind = model::ChartFill::Kind::None;
    else if (const auto colour = colourOf(value(properties, "fill-color")))
        format.fill = {model::ChartFill::Kind::Solid, *colour};
    if (value(properties, "stroke") == QLatin1String("none"))
        format.line.kind = model::ChartLine::Kind::None;
    const QString offset = value(properties, "pie-offset");
    if (!offset.isEmpty())
        format.explosion = std::clamp(offset.toDouble(), 0.0, 400.0) / 100;
    const QString number = value(properties, "data-label-number");
    const QString text = value(properties, "data-label-text");
    if (!number.isEmpty() || !text.isEmpty()) {
        model::DataLabels labels;
        labels.value = number == QLatin1String("value") || number == QLatin1String("value-and-percentage");
        labels.percent = number == QLatin1String("percentage") || number == QLatin1String("value-and-percentage");
        labels.category = text == QLatin1String("true");
        labels.seriesName = value(properties, "data-label-series") == QLatin1String("true");
        labels.legendKey = value(properties, "data-label-symbol") == QLatin1String("true");
        format.labels = labels;
    }
    return format;
}

class ChartHandler : public XmlHandler {
public:
    ChartHandler(const std::vector<std::string>& sheetNames) : sheetNames_(sheetNames), styles_(sheet_) {}

    void start(const QXmlStreamReader& xml) override
    {
        if (inStyles_) {
            styles_.start(xml);
            return;
        }
        if (xml.namespaceUri() == ns::Office && xml.name() == u"automatic-styles") {
            inStyles_ = true;
            return;
        }
        if (xml.namespaceUri() == ns::Office && xml.name() == u"body")
            styles_.finish();
        if (xml.namespaceUri() == ns::Chart)
            startChart(xml);
        else if (xml.namespaceUri() == ns::Table)
            startTable(xml);
        else if (xml.namespaceUri() == ns::Text && xml.name() == u"p")
            text_.clear();
    }

    void end(const QXmlStreamReader& xml) override
    {
        if (inStyles_) {
            if (!styles_.active() && xml.namespaceUri() == ns::Office && xml.name() == u"automatic-styles")
                inStyles_ = false;
            else
                styles_.end(xml);
            return;
        }
        if (xml.namespaceUri() == ns::Chart && xml.name() == u"title" && titleKind_ == Title::Main) {
            chart_.title = textOf(sheet_.resolved(QStringLiteral("chart"), titleStyle_), titleText_);
            titleKind_ = Title::None;
        } else if (xml.namespaceUri() == ns::Text && xml.name() == u"p" && titleKind_ != Title::None) {
            titleText_ += (titleText_.isEmpty() ? QString() : QStringLiteral("\n")) + text_;
        } else if (xml.namespaceUri() == ns::Table && xml.name() == u"table-cell") {
            endTableCell();
        } else if (xml.namespaceUri() == ns::Table && xml.name() == u"table-row") {
            ++localRow_;
        } else if (xml.namespaceUri() == ns::Table && xml.name() == u"table-header-rows") {
            inHeader_ = false;
        }
    }

    void text(QStringView text) override
    {
        if (!inStyles_)
            text_ += text;
    }

    model::Chart finish()
    {
        model::Chart chart = std::move(chart_);
        chart.series.clear();
        for (Series& series : series_) {
            if (series.index < values_.size())
                series.chart.cachedValues = values_[series.index];
            series.chart.cachedCategories = categories_;
            chart.series.push_back(std::move(series.chart));
        }
        return chart;
    }

private:
    enum class Title { None, Main, Other };
    struct Series {
        model::ChartSeries chart;
        std::size_t index = 0; // its column in the local table, counted from the first value column
    };

    std::optional<model::RangeReference> reference(QStringView text) const
    {
        const std::optional<RangeAddress> address = rangeAddress(text);
        if (!address)
            return std::nullopt;
        model::RangeReference ref;
        ref.range = address->range;
        const auto found = std::find(sheetNames_.begin(), sheetNames_.end(), address->sheet);
        ref.sheet = found == sheetNames_.end() ? -1 : static_cast<int>(found - sheetNames_.begin());
        return ref;
    }

    void startChart(const QXmlStreamReader& xml)
    {
        const QStringView name = xml.name();
        if (name == u"chart") {
            chartClass_ = attribute(xml, ns::Chart, u"class").toString();
            const auto properties = sheet_.resolved(QStringLiteral("chart"), attribute(xml, ns::Chart, u"style-name").toString());
            const QString fill = value(properties, "fill");
            if (fill == QLatin1String("none"))
                chart_.chartArea.fill.kind = model::ChartFill::Kind::None;
            else if (const auto colour = colourOf(value(properties, "fill-color")))
                chart_.chartArea.fill = {model::ChartFill::Kind::Solid, *colour};
            if (value(properties, "stroke") == QLatin1String("none"))
                chart_.chartArea.border.kind = model::ChartLine::Kind::None;
        } else if (name == u"title") {
            titleKind_ = depthInPlot_ ? Title::Other : Title::Main;
            titleStyle_ = attribute(xml, ns::Chart, u"style-name").toString();
            titleText_.clear();
        } else if (name == u"subtitle" || name == u"footer") {
            titleKind_ = Title::Other;
        } else if (name == u"legend") {
            model::ChartLegend legend;
            const QStringView place = attribute(xml, ns::Chart, u"legend-position");
            using Place = model::ChartLegend::Place;
            legend.place = place == u"bottom" ? Place::Bottom : place == u"top" ? Place::Top : place == u"start" ? Place::Left
                         : place == u"top-end" ? Place::Corner : Place::Right;
            legend.text = textOf(sheet_.resolved(QStringLiteral("chart"), attribute(xml, ns::Chart, u"style-name").toString()), {});
            chart_.legend = legend;
        } else if (name == u"plot-area") {
            depthInPlot_ = true;
            startPlotArea(xml);
        } else if (name == u"categories") {
            categories_ref_ = reference(attribute(xml, ns::Table, u"cell-range-address"));
        } else if (name == u"series" && series_.size() < MaxSeries) {
            Series series;
            series.index = series_.size();
            series.chart.values = reference(attribute(xml, ns::Chart, u"values-cell-range-address"));
            series.chart.name = reference(attribute(xml, ns::Chart, u"label-cell-address"));
            series.chart.categories = categories_ref_;
            const auto properties = sheet_.resolved(QStringLiteral("chart"), attribute(xml, ns::Chart, u"style-name").toString());
            series.chart.format = formatOf(properties);
            if (series_.empty())
                chart_.labelText = textOf(properties, {});
            series_.push_back(std::move(series));
            nextPoint_ = 0;
        } else if (name == u"data-point" && !series_.empty()) {
            const QStringView repeated = attribute(xml, ns::Chart, u"repeated");
            const unsigned count = repeated.isEmpty() ? 1u : std::clamp(repeated.toUInt(), 1u, MaxPoints);
            const QString style = attribute(xml, ns::Chart, u"style-name").toString();
            if (!style.isEmpty()) {
                const model::PointFormat format = formatOf(sheet_.resolved(QStringLiteral("chart"), style));
                for (unsigned k = 0; k < count && nextPoint_ + k < MaxPoints; ++k)
                    series_.back().chart.points[nextPoint_ + k] = format;
            }
            nextPoint_ = std::min(MaxPoints, nextPoint_ + count);
        }
    }

    void startPlotArea(const QXmlStreamReader& xml)
    {
        const auto properties = sheet_.resolved(QStringLiteral("chart"), attribute(xml, ns::Chart, u"style-name").toString());
        model::ChartGroup group;
        group.type = typeOf(chartClass_, value(properties, "vertical") == QLatin1String("true"));
        group.varyColours = group.type == model::ChartType::Pie || group.type == model::ChartType::Doughnut;
        const QString offset = value(properties, "angle-offset");
        const int angleOffset = offset.isEmpty() ? 90 : offset.toInt();
        group.firstSliceAngle = ((450 - angleOffset) % 360 + 360) % 360;
        group.leaderLines = true;
        if (value(properties, "stacked") == QLatin1String("true"))
            group.grouping = model::Grouping::Stacked;
        else if (value(properties, "percentage") == QLatin1String("true"))
            group.grouping = model::Grouping::PercentStacked;
        chart_.groups.push_back(group);
        if (value(properties, "three-dimensional") == QLatin1String("true")) {
            model::View3d view;
            view.rotation = group.firstSliceAngle;
            view.elevation = 30;
            const QStringView transform = attribute(xml, ns::Dr3d, u"transform");
            const qsizetype open = transform.indexOf(u'(');
            if (open >= 0) {
                const auto numbers = transform.mid(open + 1).split(u' ', Qt::SkipEmptyParts);
                if (numbers.size() >= 8) {
                    const double cb = numbers[4].toDouble();
                    const double sb = -numbers[7].toDouble();
                    view.elevation = std::round(std::atan2(sb, cb) * 180 / std::numbers::pi - SceneTiltOffset);
                }
            }
            view.perspective = attribute(xml, ns::Dr3d, u"projection") == u"perspective" ? 30 : 0;
            chart_.view3d = view;
        }
    }

    void startTable(const QXmlStreamReader& xml)
    {
        const QStringView name = xml.name();
        if (name == u"table-header-rows") {
            inHeader_ = true;
        } else if (name == u"table-row") {
            localColumn_ = 0;
        } else if (name == u"table-cell") {
            cellValue_ = attribute(xml, ns::Office, u"value").toString();
            cellType_ = attribute(xml, ns::Office, u"value-type").toString();
            text_.clear();
        }
    }

    void endTableCell()
    {
        const int column = localColumn_++;
        if (inHeader_ || localRow_ > static_cast<int>(MaxPoints))
            return;
        if (column == 0) {
            categories_.push_back(text_.toStdString());
            return;
        }
        const auto index = static_cast<std::size_t>(column - 1);
        if (index >= MaxSeries)
            return;
        if (values_.size() <= index)
            values_.resize(index + 1);
        bool ok = false;
        const double number = cellValue_.toDouble(&ok);
        values_[index].push_back(ok && cellType_ == QLatin1String("float") && std::isfinite(number) ? std::optional(number) : std::nullopt);
    }

    const std::vector<std::string>& sheetNames_;
    StyleSheet sheet_;
    StyleCollector styles_;
    bool inStyles_ = false;
    model::Chart chart_;
    QString chartClass_;
    bool depthInPlot_ = false;
    Title titleKind_ = Title::None;
    QString titleStyle_, titleText_, text_;
    std::optional<model::RangeReference> categories_ref_;
    std::vector<Series> series_;
    unsigned nextPoint_ = 0;
    bool inHeader_ = false;
    int localRow_ = 0, localColumn_ = 0;
    QString cellValue_, cellType_;
    std::vector<std::vector<std::optional<double>>> values_;
    std::vector<std::string> categories_;
};

} // namespace

model::Chart readChartObject(const zip::ZipReader& package, const std::string& folder, const std::vector<std::string>& sheetNames)
{
    ChartHandler handler(sheetNames);
    readXmlPart(package, folder + "/content.xml", handler, "the chart object \"" + folder + "\"");
    return handler.finish();
}

} // namespace sheet::ods
