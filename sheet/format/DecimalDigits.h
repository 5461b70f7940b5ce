#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace sheet::format {

// A non-negative number as decimal digits, rounded the way spreadsheets show
// numbers: first to 15 significant digits, then half away from zero.
struct DecimalDigits {
    std::string integer;   // without leading zeros; empty for a value below 1
    std::string fraction;  // exactly the asked number of digits
};

DecimalDigits roundToDecimals(double value, int decimals);

// The shortest plain decimal text that reads back as a value from 1e-10 up to below 1e15, when it has
// at most 15 significant digits: rounding the value to 15 digits, and then to as many places as the
// text has or more, gives exactly these digits. Nothing outside that span or for more digits.
struct ShortestDecimal {
    char digits[32];        // the text, such as "0.25" or "1234", in its first `length` characters
    std::size_t length = 0;
    std::size_t point = 0;  // where the decimal point is, or the text's length without one
    std::size_t places = 0; // digits after the point

    std::string_view text() const { return {digits, length}; }
};
std::optional<ShortestDecimal> shortestDecimal(double value);

// Writes what std::to_chars(first, last, value) writes, the shortest text that reads back as the value,
// plain or in scientific form when that is shorter; quicker for the many values with few places.
std::to_chars_result shortestText(char* first, char* last, double value);

// The power of ten of the leading significant digit after rounding to
// `significant` digits (so 9.99 at 2 digits gives 1); 0 for zero.
int decimalExponent(double value, int significant);

}  // namespace sheet::format
