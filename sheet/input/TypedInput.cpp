#include "sheet/input/TypedInput.h"

#include "sheet/text/Utf16.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace sheet {
namespace {

bool isSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == 0x00A0 || c == 0x202F;
}

// Marks of writing direction that texts copied from right-to-left surroundings carry.
bool isDirectionMark(char16_t c)
{
    return c == 0x200E || c == 0x200F || c == 0x061C || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

bool isApostrophe(char32_t c)
{
    return c == U'\'' || c == 0x2019;
}

bool isGroup(char16_t c, char32_t group)
{
    if (group == 0)
        return false;
    if (c == group)
        return true;
    if (group <= 0xFFFF && isSpace(static_cast<char16_t>(group)))
        return isSpace(c);
    return isApostrophe(group) && isApostrophe(c);
}

std::u16string withoutDirectionMarks(std::u16string_view text)
{
    std::u16string plain;
    plain.reserve(text.size());
    for (const char16_t c : text)
        if (!isDirectionMark(c))
            plain.push_back(c);
    return plain;
}

struct Number {
    double value = 0;
    bool percent = false;
    int decimals = 0;
};

// Reads a whole text as a number in one locale's form.
class NumberReader {
public:
    NumberReader(std::u16string_view text, const NumberLocale& locale)
        : text_(text), locale_(locale), symbol_(withoutDirectionMarks(locale.currencySymbol)),
          code_(withoutDirectionMarks(locale.currencyCode))
    {
    }

    std::optional<Number> read()
    {
        const bool parentheses = next(u'(');
        std::optional<bool> negative;
        bool hasCurrency = false;
        // Before the digits: a sign and a currency, in either order.
        for (int k = 0; k < 2; ++k) {
            if (!negative && (negative = sign()))
                continue;
            if (!hasCurrency && (hasCurrency = currency())) {
                spaces();
                continue;
            }
            break;
        }
        if (parentheses && negative)
            return std::nullopt;
        std::optional<Number> number = digits();
        if (!number)
            return std::nullopt;
        // After them: the currency and a trailing sign, in either order.
        for (int k = 0; k < 2; ++k) {
            const std::size_t before = at_;
            spaces();
            if (!hasCurrency && (hasCurrency = currency()))
                continue;
            at_ = before;
            if (!negative && !parentheses && (negative = sign()))
                continue;
            break;
        }
        if (parentheses && !next(u')'))
            return std::nullopt;
        if (at_ != text_.size())
            return std::nullopt;
        if (negative.value_or(false) || parentheses)
            number->value = -number->value;
        return number;
    }

private:
    bool next(char16_t c)
    {
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    void spaces()
    {
        while (at_ < text_.size() && isSpace(text_[at_]))
            ++at_;
    }

    // A sign: true for minus, false for plus, nothing for none.
    std::optional<bool> sign()
    {
        if (at_ < text_.size() && (text_[at_] == u'+' || text_[at_] == u'-' || text_[at_] == 0x2212))
            return text_[at_++] != u'+';
        return std::nullopt;
    }

    bool currency()
    {
        for (const std::u16string* name : {&symbol_, &code_}) {
            if (!name->empty() && text_.substr(at_).starts_with(*name)) {
                at_ += name->size();
                return true;
            }
        }
        return false;
    }

    // The value of a digit of the locale's own or of the Latin ten; -1 for anything else.
    int digit(char16_t c) const
    {
        if (c >= u'0' && c <= u'9')
            return c - u'0';
        if (locale_.zeroDigit != U'0' && c >= locale_.zeroDigit && c <= locale_.zeroDigit + 9)
            return static_cast<int>(c - locale_.zeroDigit);
        return -1;
    }

    // Groups of digits are three long, but for the first; before the last three the locale's
    // leading size (two for lakhs) also holds.
    bool groupsFit(const std::string& lengths) const
    {
        if (lengths.size() < 2)
            return true;
        if (lengths.back() != 3)
            return false;
        for (const int size : {3, locale_.leadingGroupSize}) {
            bool fits = lengths.front() >= 1 && lengths.front() <= size;
            for (std::size_t i = 1; fits && i + 1 < lengths.size(); ++i)
                fits = lengths[i] == size;
            if (fits)
                return true;
        }
        return false;
    }

    std::optional<Number> digits()
    {
        std::string ascii;
        std::string groupLengths(1, 0); // the length of each group of the whole part
        const char32_t decimal = locale_.decimalSeparator;
        for (; at_ < text_.size(); ++at_) {
            if (const int d = digit(text_[at_]); d >= 0) {
                ascii.push_back(static_cast<char>('0' + d));
                ++groupLengths.back();
            } else if (isGroup(text_[at_], locale_.groupSeparator) && text_[at_] != decimal) {
                if (groupLengths.back() == 0 || at_ + 1 >= text_.size() || digit(text_[at_ + 1]) < 0)
                    return std::nullopt;
                groupLengths.push_back(0);
            } else {
                break;
            }
        }
        if (!groupsFit(groupLengths))
            return std::nullopt;
        Number number;
        if (at_ < text_.size() && text_[at_] == decimal) {
            ascii.push_back('.');
            for (++at_; at_ < text_.size() && digit(text_[at_]) >= 0; ++at_, ++number.decimals)
                ascii.push_back(static_cast<char>('0' + digit(text_[at_])));
        }
        if (groupLengths.front() == 0 && groupLengths.size() == 1 && number.decimals == 0)
            return std::nullopt;
        if (at_ < text_.size() && (text_[at_] == u'e' || text_[at_] == u'E')) {
            ascii.push_back('e');
            ++at_;
            if (at_ < text_.size() && (text_[at_] == u'+' || text_[at_] == u'-'))
                ascii.push_back(static_cast<char>(text_[at_++]));
            const std::size_t start = at_;
            for (; at_ < text_.size() && digit(text_[at_]) >= 0; ++at_)
                ascii.push_back(static_cast<char>('0' + digit(text_[at_])));
            if (at_ == start)
                return std::nullopt;
        }
        if (next(u'%'))
            number.percent = true;
        const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), number.value);
        if (error != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(number.value))
            return std::nullopt;
        if (number.percent)
            number.value /= 100;
        return number;
    }

    std::u16string_view text_;
    const NumberLocale& locale_;
    std::u16string symbol_;
    std::u16string code_;
    std::size_t at_ = 0;
};

// Numbers written the C way (a decimal point, commas between groups) are understood everywhere.
const NumberLocale& pointLocale()
{
    static const NumberLocale point;
    return point;
}

std::u16string_view trimmed(std::u16string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

TypedInput readTypedInput(std::string_view utf8, const NumberLocale& locale)
{
    TypedInput input;
    if (utf8.empty())
        return input;
    if (utf8.front() == '\'') {
        input.value = std::string(utf8.substr(1));
        return input;
    }
    const std::u16string wide = text::toUtf16(utf8);
    const std::u16string plain = withoutDirectionMarks(wide);
    const std::u16string_view text = trimmed(plain);
    std::optional<Number> number = NumberReader(text, locale).read();
    if (!number && locale.decimalSeparator != U'.')
        number = NumberReader(text, pointLocale()).read();
    if (!number) {
        input.value = text::toUtf8(wide);
        return input;
    }
    input.value = number->value;
    input.percent = number->percent;
    input.decimals = number->decimals;
    return input;
}

const NumberLocale& readingLocale(std::string_view utf8, const NumberLocale& first, const NumberLocale& second)
{
    if (std::holds_alternative<double>(readTypedInput(utf8, first).value) ||
        !std::holds_alternative<double>(readTypedInput(utf8, second).value))
        return first;
    return second;
}

} // namespace sheet
