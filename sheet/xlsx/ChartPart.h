#pragma once

#include "sheet/model/Chart.h"
#include "sheet/model/Workbook.h"

#include <string>

namespace sheet::xlsx {

// The chart part of a pie chart (xl/charts/chartN.xml), a chart whose groups all draw pies
// (Chart::drawsPies): a 3-D pie (c:pie3DChart with its view) or a flat one (c:pieChart), with the
// title and its font, every slice's colour and explosion, the data labels, the legend when the
// chart has one, and each series' ranges with their values cached.
std::string chartPart(const model::Workbook& workbook, const model::Chart& chart);

} // namespace sheet::xlsx
