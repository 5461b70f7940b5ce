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

// A number in the locale's form (sign or parentheses, digit groups, decimal separator, exponent,
// percent sign) or with a decimal point becomes a number; "" gives the empty value; a leading
// apostrophe keeps the rest as text; anything else is text.
TypedInput readTypedInput(std::string_view utf8, const NumberLocale& locale);

} // namespace sheet
