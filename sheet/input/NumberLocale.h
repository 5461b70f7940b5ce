#pragma once

#include <string>
#include <string_view>

class QLocale;

namespace sheet {

// How a person of one locale types numbers: the decimal separator, the digit-group separator and
// the size of the groups before the last three digits (2 where lakhs are grouped, as in hi_IN), the
// first of the locale's ten digits, and its currency symbol and code.
struct NumberLocale {
    NumberLocale() = default;
    NumberLocale(char32_t decimal, char32_t group) : decimalSeparator(decimal), groupSeparator(group) {}

    char32_t decimalSeparator = U'.';
    char32_t groupSeparator = U',';
    int leadingGroupSize = 3;
    char32_t zeroDigit = U'0';
    std::u16string currencySymbol;
    std::u16string currencyCode;

    static NumberLocale system(); // the user's locale (QLocale())
    static NumberLocale of(const QLocale& locale);
    static NumberLocale named(std::string_view name); // "de_DE", "fr_FR", …; unknown names give C's
};

} // namespace sheet
