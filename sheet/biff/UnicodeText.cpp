#include "sheet/biff/UnicodeText.h"

#include "sheet/io/ByteWriter.h"

#include <algorithm>

namespace sheet::biff {

std::u16string readCharacters(io::ByteReader& reader, std::size_t count, bool wide)
{
    const auto bytes = reader.bytes(wide ? count * 2 : count);
    std::u16string text(count, u'\0');
    for (std::size_t i = 0; i < count; ++i)
        text[i] = wide ? static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)) : bytes[i];
    return text;
}

std::u16string readUnicodeString(io::ByteReader& reader, int countBytes)
{
    const std::size_t count = countBytes == 1 ? reader.u8() : reader.u16();
    const std::uint8_t flags = reader.u8();
    return readCharacters(reader, count, flags & 0x01);
}

bool fitsLatin1(std::u16string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x100; });
}

void writeUnicodeString(std::vector<std::uint8_t>& out, std::u16string_view text, int countBytes)
{
    io::ByteWriter w(out);
    if (countBytes == 1)
        w.u8(static_cast<std::uint8_t>(text.size()));
    else
        w.u16(static_cast<std::uint16_t>(text.size()));
    const bool wide = !fitsLatin1(text);
    w.u8(wide ? 1 : 0);
    for (char16_t c : text) {
        if (wide)
            w.u16(c);
        else
            w.u8(static_cast<std::uint8_t>(c));
    }
}

} // namespace sheet::biff
