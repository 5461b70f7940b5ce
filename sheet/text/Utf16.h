#pragma once

#include <string>
#include <string_view>

namespace sheet::text {

std::string toUtf8(std::u16string_view text);       // lone surrogates become U+FFFD
std::u16string toUtf16(std::string_view utf8);      // invalid bytes become U+FFFD

} // namespace sheet::text
