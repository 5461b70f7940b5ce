#pragma once

#include "sheet/model/Chart.h"
#include "sheet/model/Drawing.h"
#include "sheet/model/Sheet.h"

#include <string>

namespace sheet::xlsx {

// A FormatError for what a package cannot hold yet, naming it for the person: a sheet that is no
// worksheet or chart sheet, a chart of a type the engine does not know (see model::Chart::knownType), a
// drawing object that is no chart. The name of a chart is
// "Chart N", its place among the sheet's charts.
[[noreturn]] void refuseSheet(const model::Sheet& sheet);
[[noreturn]] void refuseChart(const model::Sheet& sheet, int chartNumber);
[[noreturn]] void refuseDrawing(const model::Sheet& sheet, const model::DrawingObject& object);
// A chart that no drawing object places on its sheet: one of an Excel 95 workbook (`excel95`), or of a
// damaged one. It is refused rather than left out of the package.
[[noreturn]] void refuseUnplacedChart(const model::Sheet& sheet, int chartNumber, bool excel95);

} // namespace sheet::xlsx
