#include "sheet/format/NumberFormat.h"

#include "sheet/format/FormatParser.h"
#include "sheet/format/GeneralNumber.h"
#include "sheet/format/SectionWriter.h"

#include <algorithm>
#include <cmath>

namespace sheet::format {

namespace {

bool isTextOnly(const FormatSection& section)
{
    return section.hasText && !section.hasDigits && !section.hasGeneral && !section.isDateTime;
}

constexpr std::size_t textSectionIndex = 3;

}  // namespace

NumberFormat::NumberFormat(std::string_view code) : sections_(parseFormatCode(code.empty() ? "General" : code))
{
    for (const FormatSection& section : sections_)
        layouts_.push_back(format::layoutOf(section));
    for (std::size_t k = 0; k < sections_.size() && k < textSectionIndex; ++k) {
        if (!isTextOnly(sections_[k]))
            numberSections_.push_back(&sections_[k]);
    }
}

bool NumberFormat::usesGeneral() const
{
    return numberSections_.empty()
        || std::any_of(numberSections_.begin(), numberSections_.end(), [](const FormatSection* s) { return s->hasGeneral; });
}

bool NumberFormat::isDateTime() const
{
    return !numberSections_.empty() && numberSections_.front()->isDateTime;
}

// Sections with a condition are taken by the first condition that holds; without
// conditions the first section serves positive numbers (and zero, when there is
// no third), the second negative ones, shown without their minus sign.
const FormatSection* NumberFormat::numberSection(double value, bool& showMinus) const
{
    showMinus = value < 0;
    const auto& s = numberSections_;
    if (s.empty())
        return nullptr;
    const bool conditional = s[0]->condition || (s.size() > 1 && s[1]->condition);
    if (conditional) {
        for (std::size_t k = 0; k < s.size(); ++k) {
            const bool last = k + 1 == s.size();
            const bool implicitNegative = k == 1 && !s[1]->condition && s.size() == 3;
            const bool holds = s[k]->condition ? s[k]->condition->holds(value) : implicitNegative ? value < 0 : last;
            if (holds) {
                showMinus = showMinus && k != 1;
                return s[k];
            }
        }
        return s.back();
    }
    if (s.size() == 1 || value > 0)
        return s[0];
    if (value < 0) {
        showMinus = false;
        return s[1];
    }
    return s.size() >= 3 ? s[2] : s[0];
}

const FormatSection* NumberFormat::textSection() const
{
    if (sections_.size() > textSectionIndex)
        return &sections_[textSectionIndex];
    for (const FormatSection& section : sections_) {
        if (isTextOnly(section))
            return &section;
    }
    return nullptr;
}

FormattedText NumberFormat::format(double value, int generalCharacters) const
{
    FormattedText out;
    if (!std::isfinite(value)) {
        out.appendText("#NUM!");
        return out;
    }
    bool showMinus = false;
    const FormatSection* section = numberSection(value, showMinus);
    if (!section) {
        out.appendText(generalNumber(value, generalCharacters));
        return out;
    }
    out.colourIndex = section->colourIndex;
    if (section->isDateTime) {
        writeDateTime(*section, value, out);
        return out;
    }
    if (showMinus)
        out.appendText("-");
    writeNumber(*section, layoutOf(*section), std::fabs(value), generalCharacters, out);
    return out;
}

void NumberFormat::appendText(std::string& line, double value, int generalCharacters) const
{
    bool showMinus = false;
    const FormatSection* section = std::isfinite(value) ? numberSection(value, showMinus) : nullptr;
    if (!section && std::isfinite(value)) {
        appendGeneralNumber(line, value, generalCharacters);
    } else if (section && !section->isDateTime && layoutOf(*section).generalOnly) {
        if (showMinus)
            line += '-';
        appendGeneralNumber(line, std::fabs(value), generalCharacters);
    } else {
        line += format(value, generalCharacters).text();
    }
}

void NumberFormat::appendText(std::string& line, std::string_view text) const
{
    if (textSection())
        line += format(text).text();
    else
        line += text;
}

const NumberLayout& NumberFormat::layoutOf(const FormatSection& section) const
{
    return layouts_[static_cast<std::size_t>(&section - sections_.data())];
}

FormattedText NumberFormat::format(std::string_view text) const
{
    FormattedText out;
    const FormatSection* section = textSection();
    if (!section) {
        out.appendText(text);
        return out;
    }
    out.colourIndex = section->colourIndex;
    writeText(*section, text, out);
    return out;
}

}  // namespace sheet::format
