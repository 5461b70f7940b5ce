#include "sheet/format/DecimalDigits.h"
#include "sheet/format/GeneralNumber.h"
#include "sheet/format/SectionWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace sheet::format {

namespace {

using Part = NumberLayout::Part;

std::string filler(char placeholder)
{
    if (placeholder == '0')
        return "0";
    if (placeholder == '?')
        return " ";
    return {};
}

// Places the digits of a whole number over a run of placeholders: right-aligned,
// surplus digits go to the leftmost placeholder, grouping commas every three.
class IntegerPlacer {
public:
    IntegerPlacer(std::string digits, const std::string& placeholders, bool grouping)
        : digits_(std::move(digits)), count_(static_cast<int>(placeholders.size())), grouping_(grouping)
    {
    }

    std::string next(char placeholder)
    {
        const int position = count_ - 1 - index_;  // counted from the right
        std::string text;
        const int length = static_cast<int>(digits_.size());
        if (index_ == 0) {
            for (int p = length - 1; p > position; --p)
                appendDigit(text, digits_[static_cast<std::size_t>(length - 1 - p)], p);
        }
        if (position < length)
            appendDigit(text, digits_[static_cast<std::size_t>(length - 1 - position)], position);
        else if (placeholder == '0')
            appendDigit(text, '0', position);
        else
            text += filler(placeholder);
        ++index_;
        return text;
    }

private:
    void appendDigit(std::string& text, char digit, int position) const
    {
        text.push_back(digit);
        if (grouping_ && position > 0 && position % 3 == 0)
            text.push_back(',');
    }

    std::string digits_;
    int count_;
    bool grouping_;
    int index_ = 0;
};

std::string fractionDigit(const std::string& fraction, std::size_t index, char placeholder)
{
    const std::size_t last = fraction.find_last_not_of('0');
    if (last != std::string::npos && index <= last)
        return std::string(1, fraction[index]);
    return filler(placeholder);
}

// The power of ten that a scientific format takes out of the number.
int scientificExponent(double magnitude, const NumberLayout& layout)
{
    if (magnitude == 0)
        return 0;
    const int integerCount = std::max(1, static_cast<int>(layout.integerPlaceholders.size()));
    const int significant = integerCount + static_cast<int>(layout.fractionPlaceholders.size());
    const int leading = decimalExponent(magnitude, significant);
    if (integerCount > 1 && layout.integerPlaceholders.front() == '#') {
        const int floorDiv = leading >= 0 ? leading / integerCount : -((-leading + integerCount - 1) / integerCount);
        return floorDiv * integerCount;
    }
    return leading - (integerCount - 1);
}

}  // namespace

NumberLayout layoutOf(const FormatSection& section)
{
    NumberLayout layout;
    Part part = Part::Integer;
    for (const Token& token : section.tokens) {
        if (token.kind == Token::Kind::DecimalPoint && part == Part::Integer) {
            part = Part::Fraction;
            layout.hasDecimalPoint = true;
        } else if (token.kind == Token::Kind::Exponent) {
            part = Part::Exponent;
        }
        layout.parts.push_back(part);
        layout.placesDigits |= token.kind == Token::Kind::Digit || token.kind == Token::Kind::DecimalPoint;
        if (token.kind != Token::Kind::Digit)
            continue;
        if (part == Part::Integer)
            layout.integerPlaceholders += token.text;
        else if (part == Part::Fraction)
            layout.fractionPlaceholders += token.text;
        else
            layout.exponentPlaceholders += token.text;
    }
    layout.generalOnly = section.tokens.size() == 1 && section.tokens.front().kind == Token::Kind::General &&
                         !section.scientific && section.percents == 0 && section.thousandsScale == 0;
    return layout;
}

void writeNumber(const FormatSection& section, const NumberLayout& layout, double magnitude, int generalCharacters,
                 FormattedText& out)
{
    if (!section.scientific && writeFraction(section, magnitude, out))
        return;
    double scaled = magnitude * std::pow(100.0, section.percents) / std::pow(1000.0, section.thousandsScale);
    int exponent = 0;
    if (section.scientific) {
        exponent = scientificExponent(scaled, layout);
        scaled /= std::pow(10.0, exponent);
    }
    // A section without digit placeholders, such as "General", shows no rounded digits.
    const DecimalDigits digits = layout.placesDigits
        ? roundToDecimals(scaled, static_cast<int>(layout.fractionPlaceholders.size())) : DecimalDigits{};
    IntegerPlacer integers(digits.integer, layout.integerPlaceholders, section.grouping);
    IntegerPlacer exponentDigits(std::to_string(std::abs(exponent)), layout.exponentPlaceholders, false);
    std::size_t fractionIndex = 0;
    const bool wholeWithoutPlaceholder = layout.integerPlaceholders.empty() && !digits.integer.empty();

    for (std::size_t k = 0; k < section.tokens.size(); ++k) {
        const Token& token = section.tokens[k];
        switch (token.kind) {
        case Token::Kind::Literal: out.appendText(token.text); break;
        case Token::Kind::Padding: out.appendPadding(token.text); break;
        case Token::Kind::Fill: out.appendFill(token.text); break;
        case Token::Kind::Percent: out.appendText("%"); break;
        case Token::Kind::General: out.appendText(generalNumber(magnitude, generalCharacters)); break;
        case Token::Kind::DecimalPoint:
            if (wholeWithoutPlaceholder)
                out.appendText(digits.integer);
            out.appendText(".");
            break;
        case Token::Kind::Exponent:
            out.appendText("E");
            out.appendText(exponent < 0 ? "-" : token.text == "+" ? "+" : "");
            break;
        case Token::Kind::Digit:
            if (layout.parts[k] == Part::Integer)
                out.appendText(integers.next(token.text.front()));
            else if (layout.parts[k] == Part::Fraction)
                out.appendText(fractionDigit(digits.fraction, fractionIndex++, token.text.front()));
            else
                out.appendText(exponentDigits.next(token.text.front()));
            break;
        default: break;
        }
    }
}

void writeText(const FormatSection& section, std::string_view text, FormattedText& out)
{
    for (const Token& token : section.tokens) {
        switch (token.kind) {
        case Token::Kind::TextValue: out.appendText(text); break;
        case Token::Kind::Literal:
        case Token::Kind::Digit: out.appendText(token.text); break;
        case Token::Kind::Padding: out.appendPadding(token.text); break;
        case Token::Kind::Fill: out.appendFill(token.text); break;
        case Token::Kind::DecimalPoint: out.appendText("."); break;
        case Token::Kind::Percent: out.appendText("%"); break;
        default: break;
        }
    }
}

}  // namespace sheet::format
