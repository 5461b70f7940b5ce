#pragma once

#include "sheet/model/Chart.h"
#include "sheet/model/Workbook.h"

#include <string>
#include <vector>

namespace sheet::xlsx {

// The chart part of a chart (xl/charts/chartN.xml). A chart whose groups all draw pies is written
// with the look of each slice spelt out: a 3-D pie (c:pie3DChart with its view) or a flat one
// (c:pieChart), with the title and its font, every slice's colour and explosion, the data labels, the
// legend when the chart has one, and each series' ranges with their values cached. A chart of any
// other type is written as chartSpacePart writes it. The ranges name their sheets by `names`, the
// names the sheets are written under.
using SheetNames = std::vector<std::string>;
std::string chartPart(const model::Workbook& workbook, const SheetNames& names, const model::Chart& chart);

} // namespace sheet::xlsx
