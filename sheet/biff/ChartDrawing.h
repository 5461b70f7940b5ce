#pragma once

#include "sheet/model/Drawing.h"

#include <cstdint>
#include <vector>

// The drawing records of embedded charts in a workbook written from the model: the workbook's drawing
// group and, for each worksheet with charts, a drawing of one shape per chart.
namespace sheet::biff {

// The MSODRAWINGGROUP record's body for drawings 1, 2, ... holding the given numbers of charts.
std::vector<std::uint8_t> drawingGroupBody(const std::vector<std::size_t>& chartsPerDrawing);

// The MSODRAWING record's body for the chart `index` (from 0) of the `count` charts of drawing
// `drawingId`: the first holds the drawing's header and its group shape too.
std::vector<std::uint8_t> chartShapeBody(int drawingId, std::size_t count, std::size_t index,
                                         const model::Anchor& anchor);

// The OBJ record's body of a chart with the object id `objectId`.
std::vector<std::uint8_t> chartObjBody(int objectId);

} // namespace sheet::biff
