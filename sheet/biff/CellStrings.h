#pragma once

#include "sheet/model/Workbook.h"

#include <cstdint>

namespace sheet::biff {

// Gives every text cell a string table entry, moving the texts written since reading into the table;
// returns how many cells use the table.
std::uint32_t internStrings(model::Workbook& workbook);

} // namespace sheet::biff
