#pragma once

#include "sheet/model/CellRange.h"

#include <string>

namespace sheet::model {

// "B3" for the 0-based cell (2, 1): column letters, then the row counted from 1.
std::string cellAddress(int row, int column);
// Writes the same address at `out`, which has room for CellAddressSize characters; returns its end.
inline constexpr int CellAddressSize = 20;
char* writeCellAddress(char* out, int row, int column);

// "B4:B9" for a 0-based range, or "B3" when it is one cell.
std::string rangeAddress(const CellRange& range);

} // namespace sheet::model
