#pragma once

#include "sheet/model/Drawing.h"
#include "sheet/model/Sheet.h"
#include "sheet/model/Workbook.h"

#include <string>
#include <vector>

namespace sheet::xlsx {

// A chart of a sheet's drawing: where it lies and its name; its chart part is the drawing's
// relationship rId<k + 1> for the k-th chart.
struct AnchoredChart {
    model::Anchor anchor;
    std::string name;
};

// A picture or shape of a sheet's drawing, with the name it is written under and, for a picture, the
// drawing's relationship id of its image.
struct AnchoredShape {
    const model::DrawingObject* object = nullptr;
    std::string name;
    std::string image;
};

// The drawing part of a sheet (xl/drawings/drawingN.xml): each chart as a graphic frame, then each
// picture and shape, anchored to the same cells as in the sheet, moving with them.
std::string drawingPart(const model::Workbook& workbook, const model::Sheet& sheet, const std::vector<AnchoredChart>& charts,
                        const std::vector<AnchoredShape>& shapes);

} // namespace sheet::xlsx
