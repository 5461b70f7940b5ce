#pragma once

#include "sheet/model/Sheet.h"

#include <cstdint>
#include <vector>

namespace sheet::biff {

// Writes a sheet's rows and cells in blocks of 32 rows, each closed by a DBCELL record.
// `base` is the stream position of out[0]; returns the stream positions of the DBCELL records.
std::vector<std::uint32_t> writeCellTable(const model::Sheet& sheet, std::vector<std::uint8_t>& out,
                                          std::size_t base);

// How many row blocks writeCellTable will write.
std::size_t cellTableBlocks(const model::Sheet& sheet);

// The DIMENSIONS record's body for the sheet's cells.
std::vector<std::uint8_t> dimensionsBody(const model::Sheet& sheet);

} // namespace sheet::biff
