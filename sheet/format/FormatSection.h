#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sheet::format {

// One element of a format section.
struct Token {
    enum class Kind {
        Literal,       // text shown as it stands
        Padding,       // _x
        Fill,          // *x
        Digit,         // 0, # or ? (in `text`)
        DecimalPoint,
        Percent,
        Exponent,      // E+ or E- (in `text`)
        TextValue,     // @
        General,
        Year,          // yy or yyyy
        Month,         // m, mm, mmm, mmmm, mmmmm
        Day,           // d, dd, ddd, dddd
        Hour,
        Minute,
        Second,
        SubSecond,     // the 0s after a point behind the seconds
        AmPm,          // AM/PM or A/P (in `text`, case kept)
        ElapsedHours,  // [h]
        ElapsedMinutes,
        ElapsedSeconds,
    };
    Kind kind = Kind::Literal;
    std::string text;
    int count = 1;  // letters in a date or time token
};

struct Condition {
    enum class Op { Less, LessEqual, Greater, GreaterEqual, Equal, NotEqual };
    Op op = Op::Equal;
    double operand = 0;

    bool holds(double value) const;
};

// One of up to four ;-separated parts of a number format code.
struct FormatSection {
    std::vector<Token> tokens;
    std::optional<Condition> condition;
    std::optional<int> colourIndex;
    bool grouping = false;   // a comma between digit placeholders
    int thousandsScale = 0;  // commas behind the last integer placeholder
    int percents = 0;
    bool hasDigits = false;
    bool hasText = false;    // holds @
    bool hasGeneral = false;
    bool isDateTime = false;
    bool hasAmPm = false;
    bool scientific = false;
};

}  // namespace sheet::format
