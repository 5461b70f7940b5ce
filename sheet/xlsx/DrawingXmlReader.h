#pragma once

#include "sheet/model/Drawing.h"
#include "sheet/model/Sheet.h"
#include "sheet/zip/ZipReader.h"

#include <string>
#include <vector>

namespace sheet::xlsx {

// A chart that a drawing part places on its sheet: where, and the relationship id of its chart part.
struct PlacedChart {
    model::Anchor anchor;
    std::string relationship;
    std::string name;
};

// The charts of a drawing part (xdr:wsDr) with their anchors in the sheet's units: offsets in 1/1024 of
// the column's width and 1/256 of the row's height, from the EMU of the part with the sheet's widths and
// heights. A one-cell or absolute anchor is turned into two cells by its size. Pictures and shapes are
// not read.
std::vector<PlacedChart> readDrawingPart(const zip::ZipReader& package, const std::string& part, const model::Sheet& sheet);

} // namespace sheet::xlsx
