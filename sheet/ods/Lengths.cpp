#include "sheet/ods/Lengths.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace sheet::ods {

std::string decimal(double value)
{
    if (!std::isfinite(value))
        return "0";
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string points(double value)
{
    return decimal(std::round(value * 100) / 100) + "pt";
}

int digitWidth(const model::Workbook& workbook)
{
    const model::Xf* normal = workbook.xf(0);
    const model::Font* font = workbook.font(normal ? normal->fontIndex : 0);
    const double sizePixels = std::clamp(font ? font->height : 200, 20, 8180) / 20.0 * 96.0 / 72.0;
    return std::max(1, static_cast<int>(std::lround(sizePixels * 0.55)));
}

} // namespace sheet::ods
