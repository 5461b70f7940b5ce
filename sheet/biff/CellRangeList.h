#pragma once

#include "sheet/io/ByteReader.h"
#include "sheet/model/CellRange.h"

#include <vector>

namespace sheet::biff {

// `count` areas as BIFF8 lists them (first and last row, first and last column, 16 bits each), with
// the ones that are back to front or reach past the sheet's 256 columns left out.
std::vector<model::CellRange> readCellRanges(io::ByteReader& reader, int count);

} // namespace sheet::biff
