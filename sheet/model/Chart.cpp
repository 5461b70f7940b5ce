#include "sheet/model/Chart.h"

#include <algorithm>

namespace sheet::model {

PointFormat Chart::pointFormat(std::size_t seriesIndex, unsigned point) const
{
    if (seriesIndex >= series.size())
        return {};
    const ChartSeries& owner = series[seriesIndex];
    const auto found = owner.points.find(point);
    if (found == owner.points.end())
        return owner.format;
    PointFormat format = found->second;
    const PointFormat& common = owner.format;
    if (format.fill.kind == ChartFill::Kind::Automatic)
        format.fill = common.fill;
    if (format.line.kind == ChartLine::Kind::Automatic)
        format.line = common.line;
    if (!format.explosion)
        format.explosion = common.explosion;
    if (!format.marker)
        format.marker = common.marker;
    if (!format.labels)
        format.labels = common.labels;
    return format;
}

bool Chart::drawsPies() const
{
    return !groups.empty() && std::all_of(groups.begin(), groups.end(), [](const ChartGroup& group) {
        return group.type == ChartType::Pie || group.type == ChartType::Doughnut;
    });
}

bool Chart::knownType() const
{
    return !groups.empty() && std::none_of(groups.begin(), groups.end(), [](const ChartGroup& group) {
        return group.type == ChartType::Other;
    });
}

std::string chartTypeName(ChartType type)
{
    switch (type) {
    case ChartType::Column: return "a column chart";
    case ChartType::Bar: return "a bar chart";
    case ChartType::Line: return "a line chart";
    case ChartType::Area: return "an area chart";
    case ChartType::Scatter: return "a scatter chart";
    case ChartType::Pie: return "a pie chart";
    case ChartType::Doughnut: return "a doughnut chart";
    case ChartType::Radar: return "a radar chart";
    case ChartType::FilledRadar: return "a filled radar chart";
    case ChartType::Stock: return "a stock chart";
    case ChartType::Surface: return "a surface chart";
    case ChartType::Bubble: return "a bubble chart";
    case ChartType::PieOfPie: return "a pie of pie chart";
    case ChartType::BarOfPie: return "a bar of pie chart";
    case ChartType::Other: break;
    }
    return "a chart of a kind the engine does not know";
}

} // namespace sheet::model
