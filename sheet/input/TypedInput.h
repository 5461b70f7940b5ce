#pragma once

#include "sheet/input/NumberLocale.h"
#include "sheet/model/CellValue.h"

#include <string_view>

namespace sheet {

// What typing a text into a cell gives.
struct TypedInput {
    CellValue value;       // empty, a number or a text
    bool percent = false;  // the number was typed with a percent sign
    int decimals = 0;      // digits typed after the decimal separator
};

// What typing a text gives; the one rule by which the program reads numbers that people type, amounts
// included. Spaces around the text and marks of writing direction do not count. A number becomes a
// number when it is written in the locale's form:
// - digits (Latin ones, or the locale's own), with the locale's decimal separator;
// - between the digits before it, the locale's group separator after every three digits counted
//   from the right, or after every two before the last three where the locale groups lakhs; any
//   space stands for a space-like separator, and ' for ’;
// - a sign (+, - or −) before or after the number, or parentheses around it for a negative one;
// - the locale's currency symbol or code before or after the number, spaces allowed between;
// - an exponent (e or E), and a percent sign, which divides by a hundred.
// In a locale whose decimal separator is not the point, the C form (1,234.50) is read as well.
// "" gives the empty value; a leading apostrophe keeps the rest as text; anything else is text.
TypedInput readTypedInput(std::string_view utf8, const NumberLocale& locale);

// The first of the two locales in which the text reads as a number; the first when neither reads it.
const NumberLocale& readingLocale(std::string_view utf8, const NumberLocale& first, const NumberLocale& second);

} // namespace sheet
