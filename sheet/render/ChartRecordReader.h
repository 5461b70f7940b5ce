#pragma once

#include "sheet/model/Chart.h"
#include "sheet/model/Workbook.h"
#include "sheet/render/PieChart.h"

#include <optional>

namespace sheet::render {

// Whether the slices get their value and category as their cells show them, for the labels; a
// reader that writes the labels' cells in its own way leaves them out and saves formatting them.
enum class SliceTexts { Formatted, LeftOut };

// Reads a pie chart from its chart substream and the cells its first series
// points at. Records that are short or damaged are taken as far as they go;
// a chart whose ranges point at nothing gives a pie without slices. Charts of
// other types give nothing.
std::optional<PieChart> readPieChart(const model::Workbook& workbook, const model::Chart& chart,
                                     SliceTexts texts = SliceTexts::Formatted);

}  // namespace sheet::render
