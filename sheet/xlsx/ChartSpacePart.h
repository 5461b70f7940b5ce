#pragma once

#include "sheet/model/Chart.h"
#include "sheet/model/Workbook.h"

#include <string>
#include <vector>

namespace sheet::xlsx {

// The chart part (xl/charts/chartN.xml) of a chart of any type: each of its groups as the DrawingML
// chart of its type (c:barChart, c:lineChart, c:stockChart, c:scatterChart, c:doughnutChart ...,
// the 3-D ones for a chart with a 3-D view), with its series' references and values, their looks and
// their points', their data labels; the axes of the primary and the secondary set, each group naming
// its set's, with their scaling, number format, gridlines and titles; the title in its runs, the
// legend, the plot and chart areas. The ranges name their sheets by `names`.
std::string chartSpacePart(const model::Workbook& workbook, const std::vector<std::string>& names,
                           const model::Chart& chart);

} // namespace sheet::xlsx
