#pragma once

#include "sheet/model/Drawing.h"

#include <cstdint>
#include <vector>

// The drawing records of a workbook written from the model: the workbook's drawing group and, for each
// worksheet with embedded charts or comments, a drawing of one shape for each.
namespace sheet::biff {

// The MSODRAWINGGROUP record's body for drawings 1, 2, ... holding the given numbers of shapes.
std::vector<std::uint8_t> drawingGroupBody(const std::vector<std::size_t>& shapesPerDrawing);

// A shape of a sheet's drawing: an embedded chart or a comment's box, which may be hidden.
struct SheetShape {
    enum class Kind { Chart, Comment };
    Kind kind = Kind::Chart;
    model::Anchor anchor;
    bool hidden = false;
};

// The MSODRAWING record's body for shape `index` (from 0) of the shapes of drawing `drawingId`: the first
// holds the drawing's header and its group shape too. A comment's shape goes on after its OBJ
// record, in an MSODRAWING record of its own (clientTextBoxBody).
std::vector<std::uint8_t> shapeBody(int drawingId, const std::vector<SheetShape>& shapes, std::size_t index);
std::vector<std::uint8_t> clientTextBoxBody();

// The OBJ record's body of a chart or a comment's box with the object id `objectId`.
std::vector<std::uint8_t> objBody(SheetShape::Kind kind, int objectId);

} // namespace sheet::biff
