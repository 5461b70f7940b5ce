#pragma once

#include <string>

namespace sheet::format {

// A non-negative number as decimal digits, rounded the way spreadsheets show
// numbers: first to 15 significant digits, then half away from zero.
struct DecimalDigits {
    std::string integer;   // without leading zeros; empty for a value below 1
    std::string fraction;  // exactly the asked number of digits
};

DecimalDigits roundToDecimals(double value, int decimals);

// The power of ten of the leading significant digit after rounding to
// `significant` digits (so 9.99 at 2 digits gives 1); 0 for zero.
int decimalExponent(double value, int significant);

}  // namespace sheet::format
