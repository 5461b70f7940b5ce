#pragma once

#include "sheet/model/Workbook.h"

#include <string>
#include <vector>

namespace sheet::ods {

// The content part of a chart object after its chart's series grew: the series', categories' and plot
// area's ranges as the chart has them now, a data point for each point a fill added (Chart::addedPoints, or
// else each point beyond those the series had) with a fill colour
// that neither neighbour has (the last and the first slice counted as neighbours), taken from the colours
// LibreOffice gives a chart's points, and the object's own table holding the cells' values; every other
// byte as it was.
std::string changedChartContent(const std::string& content, const model::Chart& before, const model::Chart& after,
                                const model::Workbook& workbook, const std::vector<std::string>& sheetNames);

// The ranges a chart follows, as a frame's draw:notify-on-update-of-ranges lists them.
std::string chartRangeList(const model::Chart& chart, const std::vector<std::string>& sheetNames);

} // namespace sheet::ods
