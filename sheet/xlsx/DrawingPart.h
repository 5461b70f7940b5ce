#pragma once

#include "sheet/model/Drawing.h"
#include "sheet/model/Sheet.h"

#include <string>
#include <vector>

namespace sheet::xlsx {

// A chart of a sheet's drawing: where it lies and its name; its chart part is the drawing's
// relationship rId<k + 1> for the k-th chart.
struct AnchoredChart {
    model::Anchor anchor;
    std::string name;
};

// The drawing part of a sheet (xl/drawings/drawingN.xml): each chart as a graphic frame anchored to
// the same cells as in the sheet, moving with them.
std::string drawingPart(const model::Sheet& sheet, const std::vector<AnchoredChart>& charts);

} // namespace sheet::xlsx
