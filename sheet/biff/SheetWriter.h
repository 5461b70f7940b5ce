#pragma once

#include "sheet/model/Sheet.h"

#include <cstdint>
#include <vector>

namespace sheet::biff {

// Appends a sheet's substream to `out` (out[0] is the stream's first byte). An unchanged sheet is
// written as read, a changed worksheet with a new cell table, and a worksheet's COLINFO records from
// its columns; INDEX always points at the right places.
void writeSheet(const model::Sheet& sheet, std::vector<std::uint8_t>& out);

} // namespace sheet::biff
