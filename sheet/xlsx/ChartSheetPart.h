#pragma once

#include "sheet/model/Chart.h"

#include <string>

namespace sheet::xlsx {

// A chart sheet (xl/chartsheets/sheetN.xml): a view that fits the chart to the window, selected when
// the sheet is the active one, and its drawing, the relationship rId1.
std::string chartSheetPart(bool selected);

// The drawing of a chart sheet: its chart, the drawing's relationship rId1, in a frame of the chart's
// own size (or Excel's usual one, when the chart does not say) at the sheet's top-left corner.
std::string chartSheetDrawingPart(const model::Chart& chart);

} // namespace sheet::xlsx
