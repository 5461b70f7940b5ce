#include "sheet/format/SectionWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace sheet::format {

namespace {

constexpr int maxDenominatorDigits = 4;

// Where the parts of a fraction section lie among its tokens.
struct FractionLayout {
    std::size_t slash = 0;            // the literal that starts with '/'
    std::size_t numeratorBegin = 0;   // digit tokens numeratorBegin..slash-1
    std::string integerPlaceholders;  // digit tokens before the numerator
    std::string numeratorPlaceholders;
    std::string denominatorPlaceholders;
    std::size_t denominatorEnd = 0;   // one past the denominator's digit tokens
    long fixedDenominator = 0;        // "?/8": the digits written after the slash
};

std::optional<FractionLayout> fractionLayout(const FormatSection& section)
{
    const auto& tokens = section.tokens;
    for (std::size_t k = 1; k < tokens.size(); ++k) {
        if (tokens[k].kind != Token::Kind::Literal || tokens[k].text.front() != '/' || tokens[k - 1].kind != Token::Kind::Digit)
            continue;
        FractionLayout layout;
        layout.slash = k;
        layout.numeratorBegin = k;
        while (layout.numeratorBegin > 0 && tokens[layout.numeratorBegin - 1].kind == Token::Kind::Digit)
            --layout.numeratorBegin;
        for (std::size_t n = layout.numeratorBegin; n < k; ++n)
            layout.numeratorPlaceholders += tokens[n].text;
        for (std::size_t n = 0; n < layout.numeratorBegin; ++n) {
            if (tokens[n].kind == Token::Kind::Digit)
                layout.integerPlaceholders += tokens[n].text;
        }
        layout.denominatorEnd = k + 1;
        const std::string fixed = tokens[k].text.substr(1);
        if (!fixed.empty() && std::all_of(fixed.begin(), fixed.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            layout.fixedDenominator = std::strtol(fixed.substr(0, 6).c_str(), nullptr, 10);
        } else {
            while (layout.denominatorEnd < tokens.size() && tokens[layout.denominatorEnd].kind == Token::Kind::Digit)
                layout.denominatorPlaceholders += tokens[layout.denominatorEnd++].text;
        }
        if (layout.fixedDenominator > 0 || !layout.denominatorPlaceholders.empty())
            return layout;
    }
    return std::nullopt;
}

struct Fraction {
    long numerator = 0;
    long denominator = 1;
};

// The closest fraction with a denominator up to `limit`, the smallest such denominator on ties.
Fraction closest(double value, long limit)
{
    Fraction best{std::lround(value), 1};
    double bestError = std::fabs(value - static_cast<double>(best.numerator));
    for (long d = 2; d <= limit && bestError > 0; ++d) {
        const long n = std::lround(value * static_cast<double>(d));
        const double error = std::fabs(value - static_cast<double>(n) / static_cast<double>(d));
        if (error < bestError - 1e-12) {
            best = {n, d};
            bestError = error;
        }
    }
    return best;
}

std::string placed(const std::string& digits, const std::string& placeholders, bool leftAligned)
{
    const std::size_t count = placeholders.size();
    if (digits.size() >= count)
        return digits;
    std::string padding;
    for (std::size_t k = 0; k < count - digits.size(); ++k) {
        const char p = leftAligned ? placeholders[digits.size() + k] : placeholders[k];
        padding += p == '0' ? "0" : p == '?' ? " " : "";
    }
    return leftAligned ? digits + padding : padding + digits;
}

std::string blanks(const std::string& text)
{
    return std::string(text.size(), ' ');
}

}  // namespace

bool writeFraction(const FormatSection& section, double magnitude, FormattedText& out)
{
    const std::optional<FractionLayout> found = fractionLayout(section);
    if (!found)
        return false;
    const FractionLayout& layout = *found;
    const bool hasWhole = !layout.integerPlaceholders.empty();
    double whole = hasWhole ? std::floor(magnitude) : 0;
    const double rest = magnitude - whole;
    const int digits = std::min(static_cast<int>(layout.denominatorPlaceholders.size()), maxDenominatorDigits);
    Fraction fraction = layout.fixedDenominator > 0
        ? Fraction{std::lround(rest * static_cast<double>(layout.fixedDenominator)), layout.fixedDenominator}
        : closest(rest, static_cast<long>(std::pow(10.0, digits)) - 1);
    if (hasWhole && fraction.numerator >= fraction.denominator) {
        whole += 1;
        fraction.numerator = 0;
    }
    const bool noFraction = hasWhole && fraction.numerator == 0;

    char wholeText[32];
    std::snprintf(wholeText, sizeof wholeText, "%.0f", whole);
    const std::string wholeDigits = whole == 0 && !noFraction ? std::string() : wholeText;
    const std::string numerator = placed(std::to_string(fraction.numerator), layout.numeratorPlaceholders, false);
    const std::string denominator = layout.fixedDenominator > 0
        ? std::to_string(layout.fixedDenominator)
        : placed(std::to_string(fraction.denominator), layout.denominatorPlaceholders, true);

    bool wholeWritten = false;
    const auto& tokens = section.tokens;
    for (std::size_t k = 0; k < tokens.size(); ++k) {
        const Token& token = tokens[k];
        if (k == layout.numeratorBegin) {
            out.appendText(noFraction ? blanks(numerator) : numerator);
            k = layout.slash - 1;
        } else if (k == layout.slash) {
            out.appendText(noFraction ? " " : "/");
            out.appendText(noFraction ? blanks(denominator) : denominator);
            k = layout.denominatorEnd - 1;
        } else if (token.kind == Token::Kind::Digit) {
            if (!wholeWritten) {
                out.appendText(placed(wholeDigits, layout.integerPlaceholders, false));
                wholeWritten = true;
            }
        } else if (token.kind == Token::Kind::Literal) {
            out.appendText(token.text);
        } else if (token.kind == Token::Kind::Padding) {
            out.appendPadding(token.text);
        } else if (token.kind == Token::Kind::Fill) {
            out.appendFill(token.text);
        }
    }
    return true;
}

}  // namespace sheet::format
