#pragma once

#include "sheet/model/Workbook.h"

#include <cstdint>
#include <vector>

namespace sheet::biff {

// Reads a BIFF8 Workbook stream into the model, keeping every record as it came. The stream is let go
// once its records are kept, before the cells are read from them.
model::Workbook readWorkbook(std::vector<std::uint8_t> stream);

} // namespace sheet::biff
