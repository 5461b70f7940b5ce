#pragma once

#include <cstdint>
#include <cstring>
#include <optional>

namespace sheet::biff {

// True for the records that make up a worksheet's cell table (rows, cells, what follows a formula,
// the DBCELL index): the engine rebuilds these when a sheet changes.
bool isCellTableRecord(std::uint16_t type);

// The value of an RK number; inline, as a sheet's numbers mostly come this way.
inline double decodeRk(std::uint32_t rk)
{
    double value;
    if (rk & 0x02) {
        value = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        const std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 0x01) ? value / 100 : value;
}

// The RK number whose value is `value` to the bit, when there is one.
std::optional<std::uint32_t> encodeRk(double value);

} // namespace sheet::biff
