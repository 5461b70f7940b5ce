#pragma once

#include <cstdint>
#include <optional>

namespace sheet::biff {

// True for the records that make up a worksheet's cell table (rows, cells, what follows a formula,
// the DBCELL index): the engine rebuilds these when a sheet changes.
bool isCellTableRecord(std::uint16_t type);

// The value of an RK number.
double decodeRk(std::uint32_t rk);

// The RK number whose value is `value` to the bit, when there is one.
std::optional<std::uint32_t> encodeRk(double value);

} // namespace sheet::biff
