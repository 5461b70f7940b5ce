#pragma once

#include <cstdint>

namespace sheet::model {

// Where a drawing object lies: from a corner inside (col1, row1) to one inside (col2, row2).
// dx is in 1/1024 of the column's width, dy in 1/256 of the row's height.
struct Anchor {
    int col1 = 0, dx1 = 0, row1 = 0, dy1 = 0;
    int col2 = 0, dx2 = 0, row2 = 0, dy2 = 0;
};

// A drawing object of a sheet (a shape, a picture, a text box or an embedded chart).
struct DrawingObject {
    Anchor anchor;
    int shapeId = 0;
    int shapeType = 0;   // the OfficeArt shape type (instance of the shape record)
    int objectType = -1; // the OBJ record's ot: 5 chart, 6 text box, 8 picture, ...; -1 when none came with it
    int chartIndex = -1; // index into Sheet::charts for an embedded chart
    bool filterArrow = false; // an AutoFilter's drop-down arrow, which belongs to the sheet's filter
};

} // namespace sheet::model
