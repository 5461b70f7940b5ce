#pragma once

#include "sheet/model/Chart.h"
#include "sheet/model/Workbook.h"
#include "sheet/render/PieChart.h"

#include <optional>

namespace sheet::render {

// Reads a pie chart from its chart substream and the cells its first series
// points at. Records that are short or damaged are taken as far as they go;
// a chart whose ranges point at nothing gives a pie without slices. Charts of
// other types give nothing.
std::optional<PieChart> readPieChart(const model::Workbook& workbook, const model::Chart& chart);

}  // namespace sheet::render
