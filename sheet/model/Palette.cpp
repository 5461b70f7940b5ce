#include "sheet/model/Palette.h"

namespace sheet::model {

std::array<std::uint32_t, 56> Palette::defaults()
{
    return {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
            0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
            0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
            0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
            0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
            0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
            0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333};
}

std::uint32_t Palette::rgb(int colorIndex) const
{
    static constexpr std::uint32_t fixed[8] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00,
                                               0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF};
    if (colorIndex >= 0 && colorIndex < 8)
        return fixed[colorIndex];
    if (colorIndex >= 8 && colorIndex < 64)
        return colors[static_cast<std::size_t>(colorIndex - 8)];
    if (colorIndex == 65)
        return 0xFFFFFF; // the system's window background
    return 0x000000;     // 64 window text, 0x7FFF automatic font colour, anything else
}

} // namespace sheet::model
