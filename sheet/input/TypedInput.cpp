#include "sheet/input/TypedInput.h"

#include "sheet/text/Utf16.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace sheet {
namespace {

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

bool isSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == 0x00A0 || c == 0x202F;
}

bool isGroup(char16_t c, char32_t group)
{
    if (group == 0)
        return false;
    if (c == group)
        return true;
    return (group == 0x00A0 || group == 0x202F) && c == u' ';
}

struct Number {
    double value = 0;
    bool percent = false;
    int decimals = 0;
};

// Reads the whole text as a number with the given separators.
std::optional<Number> readNumber(std::u16string_view text, char32_t decimal, char32_t group)
{
    std::size_t i = 0;
    std::string ascii;
    bool negative = false, parentheses = false;
    if (i < text.size() && text[i] == u'(')
        parentheses = negative = true, ++i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-' || text[i] == 0x2212)) {
        if (parentheses)
            return std::nullopt;
        negative = text[i] != u'+';
        ++i;
    }
    int groupDigits = -1; // digits since the last group separator, -1 before the first one
    std::size_t integerDigits = 0;
    for (; i < text.size(); ++i) {
        if (isDigit(text[i])) {
            ascii.push_back(static_cast<char>(text[i]));
            ++integerDigits;
            if (groupDigits >= 0 && ++groupDigits > 3)
                return std::nullopt;
        } else if (isGroup(text[i], group) && text[i] != decimal) {
            if (integerDigits == 0 || (groupDigits >= 0 && groupDigits != 3) || (groupDigits < 0 && integerDigits > 3))
                return std::nullopt;
            groupDigits = 0;
        } else {
            break;
        }
    }
    if (groupDigits >= 0 && groupDigits != 3)
        return std::nullopt;
    Number number;
    if (i < text.size() && text[i] == decimal) {
        ascii.push_back('.');
        for (++i; i < text.size() && isDigit(text[i]); ++i, ++number.decimals)
            ascii.push_back(static_cast<char>(text[i]));
    }
    if (integerDigits == 0 && number.decimals == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        ascii.push_back('e');
        ++i;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            ascii.push_back(static_cast<char>(text[i++]));
        const std::size_t start = i;
        for (; i < text.size() && isDigit(text[i]); ++i)
            ascii.push_back(static_cast<char>(text[i]));
        if (i == start)
            return std::nullopt;
    }
    if (i < text.size() && text[i] == u'%')
        number.percent = true, ++i;
    if (parentheses) {
        if (i >= text.size() || text[i] != u')')
            return std::nullopt;
        ++i;
    }
    if (i != text.size())
        return std::nullopt;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), number.value);
    if (error != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(number.value))
        return std::nullopt;
    if (negative)
        number.value = -number.value;
    if (number.percent)
        number.value /= 100;
    return number;
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
    const std::u16string_view text = trimmed(wide);
    std::optional<Number> number = readNumber(text, locale.decimalSeparator, locale.groupSeparator);
    if (!number && locale.decimalSeparator != U'.')
        number = readNumber(text, U'.', 0);
    if (!number) {
        input.value = text::toUtf8(wide);
        return input;
    }
    input.value = number->value;
    input.percent = number->percent;
    input.decimals = number->decimals;
    return input;
}

} // namespace sheet
