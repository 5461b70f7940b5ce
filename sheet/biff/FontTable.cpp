#include "sheet/biff/FontTable.h"

#include "sheet/biff/UnicodeText.h"
#include "sheet/io/ByteWriter.h"
#include "sheet/text/Utf16.h"

#include <string>

namespace sheet::biff {
namespace {

bool sameFont(const model::Font& a, const model::Font& b)
{
    return a.name == b.name && a.height == b.height && a.weight == b.weight && a.italic == b.italic &&
           a.strikeout == b.strikeout && a.underline == b.underline && a.colorIndex == b.colorIndex;
}

std::uint16_t recordIndex(std::size_t position)
{
    return static_cast<std::uint16_t>(position < 4 ? position : position + 1);
}

} // namespace

std::uint16_t FontTable::indexOf(const model::Font& font)
{
    for (std::size_t k = 0; k < fonts_.size(); ++k)
        if (sameFont(fonts_[k], font))
            return recordIndex(k);
    fonts_.push_back(font);
    return recordIndex(fonts_.size() - 1);
}

void FontTable::cover(int index)
{
    constexpr int MostFonts = 512;
    if (index < 0 || index > MostFonts)
        return;
    const auto needed = static_cast<std::size_t>(index < 4 ? index + 1 : index);
    while (fonts_.size() < needed) {
        model::Font font;
        font.name = "Arial";
        fonts_.push_back(fonts_.empty() ? font : fonts_.front());
    }
}

std::vector<std::uint8_t> fontBody(const model::Font& font)
{
    std::vector<std::uint8_t> body;
    io::ByteWriter w(body);
    w.u16(static_cast<std::uint16_t>(font.height));
    w.u16(static_cast<std::uint16_t>((font.bold() ? 0x01 : 0) | (font.italic ? 0x02 : 0) | (font.strikeout ? 0x08 : 0)));
    w.u16(static_cast<std::uint16_t>(font.colorIndex));
    w.u16(static_cast<std::uint16_t>(font.weight));
    w.u16(0); // neither superscript nor subscript
    w.u8(static_cast<std::uint8_t>(font.underline));
    w.u8(0); // family
    w.u8(0); // character set
    w.u8(0);
    std::u16string name = text::toUtf16(font.name.empty() ? "Arial" : font.name);
    if (name.size() > 255)
        name.resize(255);
    writeUnicodeString(body, name, 1);
    return body;
}

} // namespace sheet::biff
