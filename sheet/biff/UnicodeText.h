#pragma once

#include "sheet/io/ByteReader.h"

#include <string>
#include <string_view>
#include <vector>

namespace sheet::biff {

// An XLUnicodeString: a character count of `countBytes` (1 or 2) bytes, a flags byte, the characters.
std::u16string readUnicodeString(io::ByteReader& reader, int countBytes);
// Reads `count` characters stored as one byte each or as UTF-16.
std::u16string readCharacters(io::ByteReader& reader, std::size_t count, bool wide);
void writeUnicodeString(std::vector<std::uint8_t>& out, std::u16string_view text, int countBytes);
// True when every character fits in one byte, so the string can be stored compressed.
bool fitsLatin1(std::u16string_view text);

} // namespace sheet::biff
