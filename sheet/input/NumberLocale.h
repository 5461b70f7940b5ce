#pragma once

namespace sheet {

// The separators a person types in numbers: the decimal separator and the digit-group separator.
struct NumberLocale {
    char32_t decimalSeparator = U'.';
    char32_t groupSeparator = U',';

    static NumberLocale system(); // the user's locale (QLocale())
};

} // namespace sheet
