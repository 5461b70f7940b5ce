#include "sheet/biff/CellRecords.h"

#include "sheet/biff/RecordTypes.h"

#include <cmath>
#include <cstring>

namespace sheet::biff {

bool isCellTableRecord(std::uint16_t type)
{
    switch (type) {
    case rt::Row: case rt::DbCell: case rt::Number: case rt::Rk: case rt::MulRk: case rt::LabelSst:
    case rt::Label: case rt::RString: case rt::Blank: case rt::MulBlank: case rt::BoolErr: case rt::Formula:
    case rt::String: case rt::SharedFormula: case rt::Array: case rt::Table: case rt::Biff4Formula:
        return true;
    default:
        return false;
    }
}

std::optional<std::uint32_t> encodeRk(double value)
{
    const auto same = [value](std::uint32_t rk) {
        const double decoded = decodeRk(rk);
        return std::memcmp(&decoded, &value, sizeof value) == 0;
    };
    // A whole number of 30 bits, or the high 30 bits of the double; each also as hundredths.
    for (const std::uint32_t hundredths : {0u, 1u}) {
        const double scaled = hundredths ? value * 100 : value;
        if (std::nearbyint(scaled) == scaled && std::fabs(scaled) < (1 << 29)) {
            const auto whole = static_cast<std::uint32_t>(static_cast<std::int32_t>(scaled)) << 2 | 0x02 | hundredths;
            if (same(whole))
                return whole;
        }
        std::uint64_t bits;
        std::memcpy(&bits, &scaled, sizeof bits);
        const auto high = static_cast<std::uint32_t>(bits >> 32) & 0xFFFFFFFCu;
        if (same(high | hundredths))
            return high | hundredths;
    }
    return std::nullopt;
}

} // namespace sheet::biff
