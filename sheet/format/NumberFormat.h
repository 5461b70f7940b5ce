#pragma once

#include "sheet/format/FormatSection.h"
#include "sheet/format/FormattedText.h"
#include "sheet/format/SectionWriter.h"

#include <string>
#include <string_view>
#include <vector>

namespace sheet::format {

// A spreadsheet number format code, read once and applied to many values:
// up to four sections (positive; negative; zero; text), conditions, colours,
// digit placeholders, dates and times, and "General".
class NumberFormat {
public:
    explicit NumberFormat(std::string_view code);

    // `generalCharacters` bounds what "General" shows; narrow cells ask for fewer.
    FormattedText format(double value, int generalCharacters = 11) const;
    FormattedText format(std::string_view text) const;
    // The value as format(value).text() gives it, appended to `line`: a listing of many values
    // through "General" or without a text section makes no pieces for them.
    void appendText(std::string& line, double value, int generalCharacters = 11) const;
    void appendText(std::string& line, std::string_view text) const;

    // True when numbers are shown as dates or times.
    bool isDateTime() const;
    // True when some number would be shown through "General".
    bool usesGeneral() const;

private:
    const FormatSection* numberSection(double value, bool& showMinus) const;
    const FormatSection* textSection() const;

    const NumberLayout& layoutOf(const FormatSection& section) const;

    std::vector<FormatSection> sections_;
    std::vector<NumberLayout> layouts_;  // one for each section, worked out when the code is read
    std::vector<const FormatSection*> numberSections_;
};

}  // namespace sheet::format
