#pragma once

#include "sheet/model/Sheet.h"

#include <cstdint>
#include <span>
#include <vector>

namespace sheet::biff {

// A COLINFO record's fields; throws a FormatError when the record is cut short before its options.
model::ColumnInfo readColumnInfo(std::span<const std::uint8_t> body);

// Appends a COLINFO record for each column range, in order.
void writeColumnInfos(const std::vector<model::ColumnInfo>& columns, std::vector<std::uint8_t>& out);

} // namespace sheet::biff
