#pragma once

#include "sheet/format/FormatSection.h"
#include "sheet/format/FormattedText.h"

#include <string_view>

namespace sheet::format {

// Writes one value through one section of a format code.
void writeNumber(const FormatSection& section, double magnitude, int generalCharacters, FormattedText& out);
void writeDateTime(const FormatSection& section, double serial, FormattedText& out);
// Writes a section with a numerator/denominator; false when the section has none.
bool writeFraction(const FormatSection& section, double magnitude, FormattedText& out);
void writeText(const FormatSection& section, std::string_view text, FormattedText& out);

}  // namespace sheet::format
