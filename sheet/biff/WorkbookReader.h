#pragma once

#include "sheet/model/Workbook.h"

#include <cstdint>
#include <span>

namespace sheet::biff {

// Reads a BIFF8 Workbook stream into the model, keeping every record as it came.
model::Workbook readWorkbook(std::span<const std::uint8_t> stream);

} // namespace sheet::biff
