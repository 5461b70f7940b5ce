#pragma once

#include "sheet/model/Chart.h"
#include "sheet/model/Workbook.h"
#include "sheet/render/PieChart.h"

#include <optional>

namespace sheet::render {

// Whether the slices get the texts their labels show (category and value, as
// the cells show them), or none: a caller that does not draw the labels is
// spared formatting every cell.
enum class SliceTexts { Shown, None };

// Reads a pie chart from its chart substream and the cells its first series
// points at. Records that are short or damaged are taken as far as they go;
// a chart whose ranges point at nothing gives a pie without slices. Charts of
// other types give nothing.
std::optional<PieChart> readPieChart(const model::Workbook& workbook, const model::Chart& chart,
                                     SliceTexts texts = SliceTexts::Shown);

}  // namespace sheet::render
