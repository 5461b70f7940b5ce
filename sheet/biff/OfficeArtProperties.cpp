#include "sheet/biff/OfficeArtProperties.h"

#include "sheet/io/ByteReader.h"

#include <algorithm>

namespace sheet::biff {
namespace {

constexpr int CropFromTop = 0x0100, CropFromBottom = 0x0101, CropFromLeft = 0x0102, CropFromRight = 0x0103;
constexpr int PictureIndex = 0x0104;
constexpr int FillColor = 0x0181, FillFlags = 0x01BF;
constexpr int LineColor = 0x01C0, LineWidth = 0x01CB, LineStartArrow = 0x01D0, LineEndArrow = 0x01D1, LineFlags = 0x01FF;
constexpr int ShapeName = 0x0380;
constexpr std::uint32_t Filled = 0x10, UseFilled = 0x100000;
constexpr std::uint32_t Lined = 0x08, UseLined = 0x80000;
constexpr std::uint32_t FlipHorizontal = 0x40, FlipVertical = 0x80;
constexpr std::uint16_t ComplexFlag = 0x8000;
constexpr std::uint16_t IdMask = 0x3FFF;

double fraction(std::int32_t fixed)
{
    return std::clamp(fixed / 65536.0, -1.0, 1.0);
}

// An OfficeArt colour: an RGB value, or an entry of the workbook's palette (as Excel names the colours
// of its shapes), or a colour of the system's, taken as the usual one.
std::uint32_t colour(std::uint32_t value, const model::Palette& palette, std::uint32_t system)
{
    const std::uint32_t flags = value >> 24;
    const int index = static_cast<int>(value & 0xFF);
    if (flags & 0x08 || flags & 0x01) {
        if (index == 64)
            return 0x000000;
        if (index == 65)
            return 0xFFFFFF;
        return palette.rgb(index);
    }
    if (flags & 0x10)
        return system;
    return (value & 0xFF) << 16 | (value & 0xFF00) | ((value >> 16) & 0xFF);
}

} // namespace

void ShapeProperties::read(std::span<const std::uint8_t> body, int count)
{
    io::ByteReader reader(body, "a shape's properties");
    const std::size_t fixed = std::min<std::size_t>(static_cast<std::size_t>(std::max(count, 0)) * 6, body.size() / 6 * 6);
    std::size_t complexAt = fixed;
    for (std::size_t at = 0; at < fixed; at += 6) {
        const std::uint16_t id = reader.u16();
        const std::uint32_t value = reader.u32();
        if (!(id & ComplexFlag)) {
            values[id & IdMask] = value;
            continue;
        }
        // A complex property's bytes follow all the fixed ones, in the properties' order.
        const std::size_t length = std::min<std::size_t>(value, body.size() - std::min(complexAt, body.size()));
        if ((id & IdMask) == ShapeName) {
            name.clear();
            for (std::size_t k = 0; k + 1 < length; k += 2) {
                const char16_t c = static_cast<char16_t>(body[complexAt + k] | body[complexAt + k + 1] << 8);
                if (c == 0)
                    break;
                name.push_back(c);
            }
        }
        complexAt += length;
    }
}

int ShapeProperties::picture() const
{
    const auto found = values.find(PictureIndex);
    return found == values.end() || found->second == 0 || found->second > 0xFFFFFF ? -1 : static_cast<int>(found->second) - 1;
}

model::Crop ShapeProperties::crop() const
{
    const auto get = [&](int id) {
        const auto found = values.find(id);
        return found == values.end() ? 0.0 : fraction(static_cast<std::int32_t>(found->second));
    };
    return {get(CropFromLeft), get(CropFromTop), get(CropFromRight), get(CropFromBottom)};
}

model::ShapeLook ShapeProperties::look(const model::Palette& palette, std::uint32_t shapeFlags) const
{
    const auto get = [&](int id, std::uint32_t otherwise) {
        const auto found = values.find(id);
        return found == values.end() ? otherwise : found->second;
    };
    const auto flag = [&](int id, std::uint32_t bit, std::uint32_t use) {
        const auto found = values.find(id);
        return found == values.end() || !(found->second & use) || (found->second & bit);
    };
    model::ShapeLook look;
    if (flag(FillFlags, Filled, UseFilled))
        look.fill = colour(get(FillColor, 0xFFFFFF), palette, 0xFFFFFF);
    if (flag(LineFlags, Lined, UseLined))
        look.line = colour(get(LineColor, 0), palette, 0x000000);
    look.lineWidth = static_cast<int>(std::min<std::uint32_t>(get(LineWidth, 9525), 1000000));
    look.arrowAtStart = get(LineStartArrow, 0) != 0;
    look.arrowAtEnd = get(LineEndArrow, 0) != 0;
    look.flipHorizontal = shapeFlags & FlipHorizontal;
    look.flipVertical = shapeFlags & FlipVertical;
    return look;
}

} // namespace sheet::biff
