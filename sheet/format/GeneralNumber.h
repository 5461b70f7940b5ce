#pragma once

#include <string>

namespace sheet::format {

// A number as the "General" format shows it in a cell of standard width: at
// most `maxCharacters` characters, trailing zeros dropped, switching to
// scientific notation (1.23457E+11) when the digits would not fit.
std::string generalNumber(double value, int maxCharacters = 11);
// The same text appended to `out`; a number whose shortest form fits costs no allocation.
void appendGeneralNumber(std::string& out, double value, int maxCharacters = 11);

}  // namespace sheet::format
