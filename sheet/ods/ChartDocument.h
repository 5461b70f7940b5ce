#pragma once

#include "sheet/model/Chart.h"
#include "sheet/model/Workbook.h"

#include <string>
#include <vector>

namespace sheet::ods {

// A chart object's content and the cell ranges it draws from, separated by spaces.
struct ChartDocument {
    std::string content;
    std::string ranges;
};

// The content (content.xml) of a chart object of any type, `width` by `height` points: the class of its
// first group (chart:bar, horizontal with chart:vertical, chart:line, chart:area, chart:scatter,
// chart:circle, chart:ring, chart:radar, chart:filled-radar, chart:stock, chart:surface, chart:bubble),
// stacked or in percent, flat or in three dimensions; each series with its class, its ranges and the
// axis it is attached to, its look and its points' looks and labels; the axes of the primary and the
// secondary set with their scales, number formats, gridlines and titles; the title, the legend, and the
// plot and chart areas. The ranges name their sheets by `names`.
ChartDocument chartDocument(const model::Workbook& workbook, const std::vector<std::string>& names,
                            const model::Chart& chart, double width, double height);

} // namespace sheet::ods
