#pragma once

#include "sheet/format/FormatSection.h"
#include "sheet/format/FormattedText.h"

#include <string>
#include <string_view>
#include <vector>

namespace sheet::format {

// Which part of the number each digit placeholder of a section shows, worked out once for the section.
struct NumberLayout {
    enum class Part { Integer, Fraction, Exponent };
    std::vector<Part> parts;  // one per token; meaningful for digit tokens only
    std::string integerPlaceholders;
    std::string fractionPlaceholders;
    std::string exponentPlaceholders;
    bool hasDecimalPoint = false;
    bool placesDigits = false;  // has a digit placeholder or a decimal point
    bool generalOnly = false;   // "General" and nothing else: the number shows as General shows it
};

NumberLayout layoutOf(const FormatSection& section);

// Writes one value through one section of a format code, `layout` being the section's.
void writeNumber(const FormatSection& section, const NumberLayout& layout, double magnitude, int generalCharacters,
                 FormattedText& out);
void writeDateTime(const FormatSection& section, double serial, FormattedText& out);
// Writes a section with a numerator/denominator; false when the section has none.
bool writeFraction(const FormatSection& section, double magnitude, FormattedText& out);
void writeText(const FormatSection& section, std::string_view text, FormattedText& out);

}  // namespace sheet::format
