#pragma once

#include "sheet/model/Chart.h"
#include "sheet/model/Workbook.h"
#include "sheet/render/PieChart.h"

#include <optional>

namespace sheet::render {

// Whether the slices get their value and category as their cells show them, for the labels; a
// reader that writes the labels' cells in its own way leaves them out and saves formatting them.
enum class SliceTexts { Formatted, LeftOut };

// The pie that a chart of the model draws, with the cells its first series points at as its slices;
// a chart whose ranges point at nothing gives a pie without slices. A chart that draws anything
// but pies and doughnuts gives nothing.
std::optional<PieChart> readPieChart(const model::Workbook& workbook, const model::Chart& chart,
                                     SliceTexts texts = SliceTexts::Formatted);

}  // namespace sheet::render
