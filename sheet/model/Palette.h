#pragma once

#include <array>
#include <cstdint>

namespace sheet::model {

// The workbook's colours. Indices 0-7 are fixed, 8-63 come from the PALETTE record (or the defaults),
// 64 and 65 are the system's window text and window background, 0x7FFF the automatic font colour.
struct Palette {
    std::array<std::uint32_t, 56> colors = defaults(); // 0xRRGGBB for indices 8..63

    static std::array<std::uint32_t, 56> defaults();
    std::uint32_t rgb(int colorIndex) const; // 0xRRGGBB; unknown indices give black
};

} // namespace sheet::model
