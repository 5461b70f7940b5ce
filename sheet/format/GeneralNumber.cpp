#include "sheet/format/GeneralNumber.h"

#include "sheet/format/DecimalDigits.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace sheet::format {

namespace {

constexpr int maxSignificant = 15;

int significantDigitsIn(const std::string& text)
{
    const std::size_t mantissaEnd = text.find('E');
    const std::string mantissa = text.substr(0, mantissaEnd);
    std::string digits;
    for (char c : mantissa) {
        if (c >= '0' && c <= '9')
            digits.push_back(c);
    }
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return 0;
    const std::size_t last = digits.find_last_not_of('0');
    return static_cast<int>(last - first + 1);
}

std::string fixedText(double magnitude, int exponent, int room)
{
    const int integerDigits = std::max(exponent, 0) + 1;
    int decimals = room - integerDigits - 1;
    decimals = std::clamp(decimals, 0, std::max(0, maxSignificant - exponent - 1));
    const DecimalDigits digits = roundToDecimals(magnitude, decimals);
    std::string text = digits.integer.empty() ? "0" : digits.integer;
    const std::size_t last = digits.fraction.find_last_not_of('0');
    if (last != std::string::npos)
        text += "." + digits.fraction.substr(0, last + 1);
    return text;
}

std::string exponentText(int exponent)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return buffer;
}

std::string scientificText(double magnitude, int room)
{
    int exponent = decimalExponent(magnitude, maxSignificant);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::string suffix = exponentText(exponent);
        const int decimals = std::clamp(room - 2 - static_cast<int>(suffix.size()), 0, maxSignificant - 1);
        const int rounded = decimalExponent(magnitude, decimals + 1);
        if (rounded != exponent) {
            exponent = rounded;
            continue;
        }
        const DecimalDigits digits = roundToDecimals(magnitude / std::pow(10.0, exponent), decimals);
        std::string text = digits.integer.empty() ? "0" : digits.integer.substr(0, 1);
        const std::size_t last = digits.fraction.find_last_not_of('0');
        if (last != std::string::npos)
            text += "." + digits.fraction.substr(0, last + 1);
        return text + suffix;
    }
    return "1" + exponentText(exponent);
}

// Appends the shortest text that reads back as the value, when it fits in `room` and General would
// not turn to scientific form for it: the longer way below gives the same. False otherwise.
bool appendShortestFitting(std::string& out, double magnitude, int room)
{
    if (magnitude < 1e-4)
        return false;
    const std::optional<ShortestDecimal> shortest = shortestDecimal(magnitude);
    if (!shortest || static_cast<int>(shortest->length) > room)
        return false;
    out.append(shortest->text());
    return true;
}

}  // namespace

void appendGeneralNumber(std::string& out, double value, int maxCharacters)
{
    if (std::isnan(value) || std::isinf(value)) {
        out += "#NUM!";
        return;
    }
    if (value == 0) {
        out += '0';
        return;
    }
    const bool negative = value < 0;
    const double magnitude = std::fabs(value);
    const int room = std::max(maxCharacters - (negative ? 1 : 0), 5);
    if (negative)
        out += '-';
    if (appendShortestFitting(out, magnitude, room))
        return;
    const int exponent = decimalExponent(magnitude, maxSignificant);
    std::string text;
    if (exponent + 1 > room) {
        text = scientificText(magnitude, room);
    } else {
        text = fixedText(magnitude, exponent, room);
        if (exponent < -4) {
            const std::string scientific = scientificText(magnitude, room);
            if (significantDigitsIn(scientific) > significantDigitsIn(text))
                text = scientific;
        }
        if (static_cast<int>(text.size()) > room)
            text = scientificText(magnitude, room);
    }
    out += text;
}

std::string generalNumber(double value, int maxCharacters)
{
    std::string text;
    appendGeneralNumber(text, value, maxCharacters);
    return text;
}

}  // namespace sheet::format
