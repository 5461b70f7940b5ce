#include "sheet/ods/Lengths.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace sheet::ods {
namespace {

constexpr int UnitsPerEm = 2048;

// The advance of the digits (they share one width) in font units, in the fonts the program
// depends on: Liberation and its metric twins, and DejaVu, which stands in for every other family.
struct Family {
    const char* name;  // in lower case
    int regular;
    int bold;
};
constexpr Family Families[] = {
    {"arial", 1139, 1139},           {"helvetica", 1139, 1139},   {"liberation sans", 1139, 1139},
    {"times new roman", 1024, 1024}, {"times", 1024, 1024},       {"liberation serif", 1024, 1024},
    {"courier new", 1229, 1229},     {"courier", 1229, 1229},     {"liberation mono", 1229, 1229},
    {"dejavu sans mono", 1233, 1233},
};
constexpr Family OtherFamilies{"dejavu sans", 1303, 1425};

const Family& familyOf(const std::string& name)
{
    std::string lower = name.empty() ? std::string("arial") : name;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const Family& family : Families) {
        if (lower == family.name)
            return family;
    }
    return OtherFamilies;
}

model::Font normalFont(const model::Workbook& workbook)
{
    const model::Xf* normal = workbook.xf(0);
    const model::Font* found = workbook.font(normal ? normal->fontIndex : 0);
    return found ? *found : model::Font{"Arial"};
}

} // namespace

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

double columnPoints(const model::Workbook& workbook, int width256)
{
    const model::Font font = normalFont(workbook);
    const Family& family = familyOf(font.name);
    const double digit = (font.bold() ? family.bold : family.regular) * (std::clamp(font.height, 20, 8180) / 20.0) / UnitsPerEm;
    return std::clamp(width256, 0, 0xFFFF) / 256.0 * digit;
}

int defaultColumnWidth(const model::Workbook& workbook, const model::Sheet& sheet)
{
    if (sheet.standardWidth.value_or(0) > 0)
        return *sheet.standardWidth;
    const double fontHeight = std::clamp(normalFont(workbook).height, 20, 8180);
    const int padding = static_cast<int>(40960.0 / std::max(fontHeight - 15.0, 60.0) + 50.0);
    return std::clamp(sheet.defaultColumnWidth, 0, 255) * 256 + padding;
}

int digitWidth(const model::Workbook& workbook)
{
    const model::Font font = normalFont(workbook);
    // The size in whole pixels at 96 dots per inch (15 twips to a pixel), to the nearest.
    const long pixels = (std::clamp(font.height, 20, 8180) + 7) / 15;
    const Family& family = familyOf(font.name);
    // The advance as the font engine keeps it, in 64ths of a pixel cut down, then to the nearest pixel.
    const long advance = (font.bold() ? family.bold : family.regular) * pixels * 64 / UnitsPerEm;
    return std::max(1, static_cast<int>((advance + 32) / 64));
}

} // namespace sheet::ods
