#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace sheet::text {

// Text stored as bytes in a Windows code page (the CODEPAGE record's number: 1252, 1251, 932, ...).
// An unknown code page is read as 1252, the one Excel writes for Western European text.
std::u16string decodeCodepage(std::span<const std::uint8_t> bytes, int codepage);

} // namespace sheet::text
