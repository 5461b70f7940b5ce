#include "sheet/xlsx/ChartXmlReader.h"

#include "sheet/Errors.h"
#include "sheet/xlsx/CellReferences.h"
#include "sheet/xlsx/XmlStream.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <optional>

namespace sheet::xlsx {
namespace {

constexpr std::size_t MaxCachedPoints = 1u << 20;

std::optional<model::ChartType> groupType(QStringView name)
{
    using T = model::ChartType;
    if (name == u"pieChart" || name == u"pie3DChart") return T::Pie;
    if (name == u"doughnutChart") return T::Doughnut;
    if (name == u"barChart" || name == u"bar3DChart") return T::Column; // barDir decides
    if (name == u"lineChart" || name == u"line3DChart") return T::Line;
    if (name == u"areaChart" || name == u"area3DChart") return T::Area;
    if (name == u"scatterChart") return T::Scatter;
    if (name == u"radarChart") return T::Radar;
    if (name == u"stockChart") return T::Stock;
    if (name == u"surfaceChart" || name == u"surface3DChart") return T::Surface;
    if (name == u"bubbleChart") return T::Bubble;
    if (name == u"ofPieChart") return T::PieOfPie;
    return std::nullopt;
}

// Which reference of a series an element gives.
enum class SeriesData { None, Name, Categories, Values, Sizes };

class ChartParser {
public:
    ChartParser(const std::string& part, const std::vector<std::string>& sheetNames, const std::vector<std::uint32_t>& theme)
        : part_(part), sheetNames_(sheetNames), theme_(theme)
    {
    }

    void token(const QXmlStreamReader& reader)
    {
        if (reader.isStartElement()) {
            path_.push_back(reader.name().toString());
            start(reader);
        } else if (reader.isEndElement()) {
            end(reader.name());
            if (!path_.isEmpty())
                path_.pop_back();
        } else if (reader.isCharacters()) {
            text_ += reader.text();
        }
    }

    model::Chart chart;

private:
    bool within(QStringView name) const
    {
        return std::any_of(path_.begin(), path_.end(), [name](const QString& element) { return element == name; });
    }
    QStringView parent(int up = 1) const
    {
        return path_.size() > up ? QStringView(path_[path_.size() - 1 - up]) : QStringView();
    }

    model::ChartSeries* series() { return inSeries_ && !chart.series.empty() ? &chart.series.back() : nullptr; }

    // The point format the current element describes: a point's, a series', or none.
    model::PointFormat* pointFormat()
    {
        model::ChartSeries* current = series();
        if (!current)
            return nullptr;
        if (point_)
            return &current->points[*point_];
        return &current->format;
    }

    void start(const QXmlStreamReader& reader)
    {
        const QStringView name = reader.name();
        text_.clear();
        const QStringView value = attributeOf(reader, u"val");
        if (const auto type = groupType(name); type && within(u"plotArea") && !inSeries_) {
            model::ChartGroup group;
            group.type = *type;
            if (name == u"pieChart" || name == u"pie3DChart" || name == u"doughnutChart" || name == u"ofPieChart")
                group.varyColours = true;
            chart.groups.push_back(group);
            inGroup_ = true;
            return;
        }
        if (name == u"view3D") {
            chart.view3d.emplace();
            return;
        }
        if (chart.view3d && parent() == u"view3D") {
            const double number = value.toDouble();
            if (name == u"rotX") chart.view3d->elevation = number;
            else if (name == u"rotY") chart.view3d->rotation = number;
            else if (name == u"hPercent") chart.view3d->heightPercent = number;
            else if (name == u"depthPercent") chart.view3d->depthPercent = number;
            else if (name == u"perspective") chart.view3d->perspective = number / 2; // the package counts 0 to 240
            else if (name == u"rAngAx") chart.view3d->rightAngleAxes = attributeFlag(reader, u"val", true);
            return;
        }
        if (inGroup_ && !inSeries_ && !chart.groups.empty()) {
            groupSetting(reader, name, value);
            if (name != u"ser")
                return;
        }
        if (name == u"ser" && inGroup_) {
            model::ChartSeries added;
            added.group = chart.groups.size() - 1;
            chart.series.push_back(added);
            inSeries_ = true;
            return;
        }
        if (inSeries_) {
            seriesElement(reader, name, value);
            return;
        }
        if (name == u"catAx" || name == u"valAx" || name == u"dateAx" || name == u"serAx") {
            model::ChartAxis axis;
            axis.kind = name == u"valAx" ? model::ChartAxis::Kind::Value
                      : name == u"serAx" ? model::ChartAxis::Kind::Series : model::ChartAxis::Kind::Category;
            chart.axes.push_back(axis);
            inAxis_ = true;
            return;
        }
        if (inAxis_) {
            axisElement(reader, name, value);
            return;
        }
        if (name == u"legend" && parent() == u"chart") {
            chart.legend.emplace();
            inLegend_ = true;
            return;
        }
        if (inLegend_ && name == u"legendPos") {
            using P = model::ChartLegend::Place;
            chart.legend->place = value == u"b" ? P::Bottom : value == u"tr" ? P::Corner : value == u"t" ? P::Top
                                : value == u"l" ? P::Left : P::Right;
            return;
        }
        if (name == u"title" && parent() == u"chart") {
            chart.title.emplace();
            inTitle_ = true;
            return;
        }
        if (name == u"autoTitleDeleted" && attributeFlag(reader, u"val", true)) {
            titleDeleted_ = true;
            return;
        }
        if (name == u"manualLayout" && parent() == u"layout" && parent(2) == u"plotArea") {
            chart.plotLayout.emplace();
            return;
        }
        if (chart.plotLayout && parent() == u"manualLayout" && within(u"plotArea") && !inSeries_) {
            const double number = value.toDouble();
            if (name == u"x") chart.plotLayout->x = number;
            else if (name == u"y") chart.plotLayout->y = number;
            else if (name == u"w") chart.plotLayout->width = number;
            else if (name == u"h") chart.plotLayout->height = number;
            return;
        }
        textElement(reader, name);
        shapeElement(reader, name, value);
    }

    void groupSetting(const QXmlStreamReader& reader, QStringView name, QStringView value)
    {
        model::ChartGroup& group = chart.groups.back();
        if (name == u"barDir")
            group.type = value == u"bar" ? model::ChartType::Bar : model::ChartType::Column;
        else if (name == u"grouping")
            group.grouping = value == u"stacked" ? model::Grouping::Stacked : value == u"percentStacked" ? model::Grouping::PercentStacked
                           : value == u"clustered" ? model::Grouping::Clustered : model::Grouping::Standard;
        else if (name == u"varyColors")
            group.varyColours = attributeFlag(reader, u"val", true);
        else if (name == u"firstSliceAng")
            group.firstSliceAngle = value.toDouble();
        else if (name == u"holeSize")
            group.holePercent = static_cast<unsigned>(std::clamp(value.toInt(), 0, 90));
        else if (name == u"gapWidth")
            group.gapWidth = value.toInt();
        else if (name == u"overlap")
            group.overlap = value.toInt();
        else if (name == u"hiLowLines")
            group.highLowLines = true;
        else if (name == u"upDownBars")
            group.upDownBars = true;
        else if (name == u"radarStyle" && value == u"filled")
            group.type = model::ChartType::FilledRadar;
        else if (name == u"ofPieType" && value == u"bar")
            group.type = model::ChartType::BarOfPie;
        else if (name == u"showLeaderLines" && !inSeries_)
            group.leaderLines = attributeFlag(reader, u"val", true);
    }

    void seriesElement(const QXmlStreamReader& reader, QStringView name, QStringView value)
    {
        model::ChartSeries& current = chart.series.back();
        if (parent() == u"ser") {
            if (name == u"tx") data_ = SeriesData::Name;
            else if (name == u"cat" || name == u"xVal") data_ = SeriesData::Categories;
            else if (name == u"val" || name == u"yVal") data_ = SeriesData::Values;
            else if (name == u"bubbleSize") data_ = SeriesData::Sizes;
            else if (name == u"explosion") current.format.explosion = value.toDouble() / 100;
            else if (name == u"dLbls") labelsOf(current.format);
            else if (name == u"marker") current.format.marker.emplace();
        }
        if (name == u"dPt" && parent() == u"ser") {
            inPoint_ = true;
            return;
        }
        if (inPoint_ && parent() == u"dPt" && name == u"idx") {
            const long long index = attributeNumber(reader, u"val", -1);
            if (index >= 0 && index < static_cast<long long>(MaxCachedPoints))
                point_ = static_cast<unsigned>(index);
            return;
        }
        if (inPoint_ && point_ && parent() == u"dPt" && name == u"explosion") {
            current.points[*point_].explosion = value.toDouble() / 100;
            return;
        }
        if (name == u"dLbl" && within(u"dLbls")) {
            inLabel_ = true;
            return;
        }
        if (inLabel_ && parent() == u"dLbl" && name == u"idx") {
            const long long index = attributeNumber(reader, u"val", -1);
            if (index >= 0 && index < static_cast<long long>(MaxCachedPoints)) {
                labelPoint_ = static_cast<unsigned>(index);
                current.points[*labelPoint_].labels = current.format.labels.value_or(model::DataLabels{});
            }
            return;
        }
        if (within(u"dLbls")) {
            labelFlag(reader, name, current);
            textElement(reader, name);
            return;
        }
        if (name == u"ptCount") {
            const long long count = std::clamp(attributeNumber(reader, u"val", 0), 0LL, static_cast<long long>(MaxCachedPoints));
            if (data_ == SeriesData::Values)
                current.cachedValues.assign(static_cast<std::size_t>(count), std::nullopt);
            else if (data_ == SeriesData::Categories)
                current.cachedCategories.assign(static_cast<std::size_t>(count), std::string());
            return;
        }
        if (name == u"pt") {
            const long long index = attributeNumber(reader, u"idx", -1);
            cachePoint_ = index >= 0 && index < static_cast<long long>(MaxCachedPoints) ? std::optional(static_cast<std::size_t>(index))
                                                                                         : std::nullopt;
            return;
        }
        if (within(u"marker") && parent() == u"marker" && current.format.marker) {
            if (name == u"symbol") {
                using S = model::ChartMarker::Shape;
                current.format.marker->shape = value == u"none" ? S::None : value == u"square" ? S::Square
                                             : value == u"diamond" ? S::Diamond : value == u"triangle" ? S::Triangle
                                             : value == u"x" ? S::Cross : value == u"star" ? S::Star : value == u"dot" ? S::Dot
                                             : value == u"dash" ? S::Dash : value == u"circle" ? S::Circle
                                             : value == u"plus" ? S::Plus : S::Automatic;
            } else if (name == u"size") {
                current.format.marker->size = std::clamp(value.toInt(), 2, 72);
            }
            return;
        }
        shapeElement(reader, name, value);
    }

    void labelsOf(model::PointFormat& format)
    {
        format.labels = model::DataLabels{};
    }

    void labelFlag(const QXmlStreamReader& reader, QStringView name, model::ChartSeries& current)
    {
        model::DataLabels* labels = nullptr;
        if (inLabel_ && labelPoint_)
            labels = &*current.points[*labelPoint_].labels;
        else if (!inLabel_ && current.format.labels)
            labels = &*current.format.labels;
        const bool on = attributeFlag(reader, u"val", true);
        if (labels) {
            if (name == u"showVal") labels->value = on;
            else if (name == u"showPercent") labels->percent = on;
            else if (name == u"showCatName") labels->category = on;
            else if (name == u"showSerName") labels->seriesName = on;
            else if (name == u"showBubbleSize") labels->bubbleSize = on;
            else if (name == u"showLegendKey") labels->legendKey = on;
        }
        if (name == u"showLeaderLines" && !chart.groups.empty())
            chart.groups.back().leaderLines = on;
        if (name == u"separator")
            readingSeparator_ = true;
    }

    void axisElement(const QXmlStreamReader& reader, QStringView name, QStringView value)
    {
        model::ChartAxis& axis = chart.axes.back();
        if (name == u"axPos") {
            using P = model::ChartAxis::Position;
            axis.position = value == u"b" ? P::Bottom : value == u"t" ? P::Top : value == u"r" ? P::Right : P::Left;
        } else if (name == u"delete") {
            axis.visible = !attributeFlag(reader, u"val", true);
        } else if (name == u"orientation") {
            axis.reversed = value == u"maxMin";
        } else if (name == u"logBase") {
            axis.logarithmic = true;
        } else if (name == u"max" && parent() == u"scaling") {
            axis.maximum = value.toDouble();
        } else if (name == u"min" && parent() == u"scaling") {
            axis.minimum = value.toDouble();
        } else if (name == u"majorUnit") {
            axis.majorUnit = value.toDouble();
        } else if (name == u"minorUnit") {
            axis.minorUnit = value.toDouble();
        } else if (name == u"numFmt" && !attributeFlag(reader, u"sourceLinked", false)) {
            axis.numberFormat = attributeText(reader, u"formatCode");
        } else if (name == u"majorGridlines") {
            axis.majorGridlines.emplace();
        } else if (name == u"minorGridlines") {
            axis.minorGridlines.emplace();
        } else if (name == u"title") {
            axis.title.emplace();
        } else {
            textElement(reader, name);
            shapeElement(reader, name, value);
        }
    }

    // The text a run, paragraph or text body element belongs to.
    model::ChartText* currentText()
    {
        if (inTitle_ && chart.title)
            return &*chart.title;
        if (inAxis_ && !chart.axes.empty() && chart.axes.back().title && within(u"title"))
            return &*chart.axes.back().title;
        if (inLegend_ && chart.legend)
            return &chart.legend->text;
        if (within(u"dLbls"))
            return &chart.labelText;
        return nullptr;
    }

    void textElement(const QXmlStreamReader& reader, QStringView name)
    {
        model::ChartText* text = currentText();
        if (!text)
            return;
        if (name == u"r" && parent() == u"p") {
            text->runs.emplace_back();
            return;
        }
        if (name == u"defRPr" || name == u"rPr") {
            model::Font& font = name == u"rPr" && !text->runs.empty() ? text->runs.back().font.emplace(text->font) : text->font;
            const long long size = attributeNumber(reader, u"sz", 0);
            if (size >= 100 && size <= 400000)
                font.height = static_cast<int>(size / 5);
            if (!attributeOf(reader, u"b").isEmpty())
                font.weight = attributeFlag(reader, u"b", false) ? 700 : 400;
            if (!attributeOf(reader, u"i").isEmpty())
                font.italic = attributeFlag(reader, u"i", false);
            runProperties_ = true;
            return;
        }
        if (runProperties_ && (name == u"latin") && !attributeOf(reader, u"typeface").isEmpty()) {
            model::Font& font = !text->runs.empty() && text->runs.back().font ? *text->runs.back().font : text->font;
            font.name = attributeText(reader, u"typeface");
        }
    }

    // spPr of the chart area, the plot area, a series or a point.
    void shapeElement(const QXmlStreamReader& reader, QStringView name, QStringView value)
    {
        if (name == u"spPr") {
            shape_ = true;
            return;
        }
        if (!shape_)
            return;
        if (name == u"ln") {
            line_ = true;
            return;
        }
        const bool colourElement = name == u"srgbClr" || name == u"schemeClr" || name == u"sysClr";
        if (name != u"noFill" && name != u"solidFill" && !colourElement)
            return;
        if (!colourElement && name == u"solidFill")
            return;
        std::optional<model::Rgb> colour;
        if (name == u"srgbClr")
            colour = value.toUInt(nullptr, 16) & 0xFFFFFF;
        else if (name == u"sysClr")
            colour = attributeOf(reader, u"lastClr").toUInt(nullptr, 16) & 0xFFFFFF;
        else if (name == u"schemeClr")
            colour = schemeColour(value);
        if (parent() != u"solidFill" && colourElement)
            return; // a gradient's or a pattern's colour
        if (!colourElement && parent() != u"spPr" && parent() != u"ln")
            return;
        applyFill(colour);
    }

    model::Rgb schemeColour(QStringView name) const
    {
        static const QStringView names[] = {u"dk1", u"lt1", u"dk2", u"lt2", u"accent1", u"accent2",
                                            u"accent3", u"accent4", u"accent5", u"accent6", u"hlink", u"folHlink"};
        const QStringView plain = name == u"tx1" ? u"dk1" : name == u"bg1" ? u"lt1" : name == u"tx2" ? u"dk2"
                                : name == u"bg2" ? u"lt2" : name;
        for (std::size_t k = 0; k < 12; ++k)
            if (plain == names[k] && k < theme_.size())
                return theme_[k];
        return 0;
    }

    // A fill (or with nothing, no fill) of the area or line the current spPr belongs to.
    void applyFill(std::optional<model::Rgb> colour)
    {
        if (line_) {
            model::ChartLine line;
            line.kind = colour ? model::ChartLine::Kind::Solid : model::ChartLine::Kind::None;
            line.colour = colour.value_or(0);
            if (model::ChartLine* target = currentLine())
                *target = line;
            return;
        }
        model::ChartFill fill;
        fill.kind = colour ? model::ChartFill::Kind::Solid : model::ChartFill::Kind::None;
        fill.colour = colour.value_or(0);
        if (model::ChartFill* target = currentFill())
            *target = fill;
    }

    model::ChartFill* currentFill()
    {
        if (inSeries_) {
            if (within(u"dLbls") || within(u"marker"))
                return nullptr;
            if (model::PointFormat* format = pointFormat())
                return &format->fill;
            return nullptr;
        }
        if (inAxis_ || inLegend_ || inTitle_)
            return inLegend_ && chart.legend ? &chart.legend->fill : nullptr;
        if (path_.size() >= 2 && parent() == u"spPr" && parent(2) == u"plotArea")
            return &chart.plotArea.fill;
        if (path_.size() >= 2 && parent() == u"spPr" && parent(2) == u"chartSpace")
            return &chart.chartArea.fill;
        return nullptr;
    }

    model::ChartLine* currentLine()
    {
        if (inSeries_) {
            if (within(u"dLbls") || within(u"marker"))
                return nullptr;
            if (model::PointFormat* format = pointFormat())
                return &format->line;
            return nullptr;
        }
        if (inAxis_ && !chart.axes.empty()) {
            model::ChartAxis& axis = chart.axes.back();
            if (within(u"majorGridlines") && axis.majorGridlines)
                return &*axis.majorGridlines;
            if (within(u"minorGridlines") && axis.minorGridlines)
                return &*axis.minorGridlines;
            return within(u"title") ? nullptr : &axis.line;
        }
        if (inLegend_ && chart.legend)
            return &chart.legend->border;
        if (path_.size() >= 3 && parent(2) == u"spPr" && parent(3) == u"plotArea")
            return &chart.plotArea.border;
        if (path_.size() >= 3 && parent(2) == u"spPr" && parent(3) == u"chartSpace")
            return &chart.chartArea.border;
        return nullptr;
    }

    void end(QStringView name)
    {
        const QString text = text_;
        text_.clear();
        if (name == u"spPr")
            shape_ = false;
        else if (name == u"ln")
            line_ = false;
        else if (name == u"defRPr" || name == u"rPr")
            runProperties_ = false;
        if (name == u"t" && within(u"r")) {
            if (model::ChartText* current = currentText(); current && !current->runs.empty())
                current->runs.back().text += unescapedText(text).toStdString();
            return;
        }
        if (name == u"separator" && readingSeparator_) {
            chart.labelSeparator = text.toStdString();
            readingSeparator_ = false;
            return;
        }
        if (inSeries_) {
            seriesEnd(name, text);
            if (name == u"ser") {
                inSeries_ = false;
                data_ = SeriesData::None;
            }
            return;
        }
        if (groupType(name) && inGroup_)
            inGroup_ = false;
        else if ((name == u"catAx" || name == u"valAx" || name == u"dateAx" || name == u"serAx") && inAxis_)
            inAxis_ = false;
        else if (name == u"legend" && inLegend_)
            inLegend_ = false;
        else if (name == u"title" && inTitle_)
            inTitle_ = false;
        else if (name == u"chart" && titleDeleted_ && chart.title && chart.title->plain().empty())
            chart.title.reset();
    }

    void seriesEnd(QStringView name, const QString& text)
    {
        model::ChartSeries& current = chart.series.back();
        if (name == u"dPt") {
            inPoint_ = false;
            point_.reset();
        } else if (name == u"dLbl") {
            inLabel_ = false;
            labelPoint_.reset();
        } else if (name == u"tx" || name == u"cat" || name == u"xVal" || name == u"val" || name == u"yVal" || name == u"bubbleSize") {
            if (parent() == u"ser")
                data_ = SeriesData::None;
        } else if (name == u"f" && data_ != SeriesData::None) {
            reference(current, text.toStdString());
        } else if (name == u"v" && data_ != SeriesData::None) {
            cacheValue(current, text);
        }
    }

    void reference(model::ChartSeries& current, const std::string& formula)
    {
        std::optional<model::RangeReference> reference;
        if (const auto parsed = parsedSheetRange(formula)) {
            model::RangeReference found;
            found.range = parsed->range;
            for (std::size_t k = 0; k < sheetNames_.size(); ++k)
                if (QString::fromStdString(sheetNames_[k]).compare(QString::fromStdString(parsed->sheet), Qt::CaseInsensitive) == 0)
                    found.sheet = static_cast<int>(k);
            reference = found;
        }
        switch (data_) {
        case SeriesData::Name: current.name = reference; break;
        case SeriesData::Categories: current.categories = reference; break;
        case SeriesData::Values: current.values = reference; break;
        case SeriesData::Sizes: current.sizes = reference; break;
        case SeriesData::None: break;
        }
    }

    void cacheValue(model::ChartSeries& current, const QString& text)
    {
        if (data_ == SeriesData::Name) {
            current.nameText = unescapedText(text).toStdString();
            return;
        }
        if (!cachePoint_)
            return;
        const std::size_t index = *cachePoint_;
        if (data_ == SeriesData::Values) {
            bool ok = false;
            const double number = text.toDouble(&ok);
            if (current.cachedValues.size() <= index)
                current.cachedValues.resize(index + 1);
            if (ok)
                current.cachedValues[index] = number;
        } else if (data_ == SeriesData::Categories) {
            if (current.cachedCategories.size() <= index)
                current.cachedCategories.resize(index + 1);
            current.cachedCategories[index] = unescapedText(text).toStdString();
        }
    }

    const std::string& part_;
    const std::vector<std::string>& sheetNames_;
    const std::vector<std::uint32_t>& theme_;
    QStringList path_;
    QString text_;
    bool inGroup_ = false, inSeries_ = false, inAxis_ = false, inLegend_ = false, inTitle_ = false;
    bool inPoint_ = false, inLabel_ = false, shape_ = false, line_ = false, runProperties_ = false;
    bool titleDeleted_ = false, readingSeparator_ = false;
    std::optional<unsigned> point_, labelPoint_;
    std::optional<std::size_t> cachePoint_;
    SeriesData data_ = SeriesData::None;
};

} // namespace

model::Chart readChartPart(const zip::ZipReader& package, const std::string& part,
                           const std::vector<std::string>& sheetNames, const std::vector<std::uint32_t>& themeColours)
{
    ChartParser parser(part, sheetNames, themeColours);
    readXmlPart(package, package.spelling(part), [&parser](const QXmlStreamReader& reader) { parser.token(reader); });
    return std::move(parser.chart);
}

} // namespace sheet::xlsx
