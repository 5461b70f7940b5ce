#pragma once

#include "sheet/model/CellRange.h"
#include "sheet/model/Workbook.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sheet::biff {

// The look a conditional format gives its cells (the parts of a DXFN that it sets).
struct DifferentialFormat {
    std::optional<bool> bold, italic, strikeout;
    std::optional<int> underline;   // as a FONT record's
    std::optional<int> fontColour;  // a palette index
    std::optional<int> fillColour;  // a palette index, of a solid fill
    std::optional<int> fillPattern; // the pattern when it is not solid (0 none)
    std::optional<int> patternColour;
    friend bool operator==(const DifferentialFormat&, const DifferentialFormat&) = default;
};

// A rule of a conditional format (a CF record): a comparison of the cell's value or a formula, its
// formulas and its look. A formula is its A1 text when it is a simple one (see simpleFormulaText),
// else empty beside its tokens (rgce), whose relative references are taken at the first cell of the
// format's first range. `written` is false when the rule has no first formula or the comparison is
// none the format knows.
struct ConditionalRule {
    bool isFormula = false;
    int comparison = 0; // 1 between, 2 not between, 3 equal, 4 not equal, 5 greater, 6 less, 7 >=, 8 <=
    std::string formula1, formula2;
    std::vector<std::uint8_t> tokens1, tokens2;
    DifferentialFormat format;
    bool written = true;
};

// A conditional format (a CONDFMT record and the CF records after it): its cells and its rules.
struct ConditionalFormat {
    std::vector<model::CellRange> ranges;
    std::vector<ConditionalRule> rules;
};

// The sheet's conditional formats in record order; a record cut short is left out.
std::vector<ConditionalFormat> readConditionalFormats(const model::Workbook& workbook, const model::Sheet& sheet);

} // namespace sheet::biff
