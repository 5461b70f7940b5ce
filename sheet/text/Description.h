#pragma once

#include <string>
#include <string_view>

namespace sheet::text {

// The most characters, and the most lines, of a failure's description that a person is shown, in a
// box or on a terminal.
inline constexpr std::size_t LongestDescription = 300;
inline constexpr std::size_t MostDescriptionLines = 10;
// What ends a description that was cut: the ellipsis, in UTF-8.
inline constexpr std::string_view CutMark = "\xE2\x80\xA6";

// The description (UTF-8) as a person is shown it: at most LongestDescription characters on at most
// MostDescriptionLines lines, followed by CutMark when there was more. A character is never split.
std::string shownDescription(std::string_view description);

} // namespace sheet::text
