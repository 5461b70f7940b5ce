#pragma once

#include "sheet/model/CellRange.h"
#include "sheet/model/Workbook.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sheet::biff {

// A rule of data validation of a worksheet (a DV record), its texts in UTF-8. A formula is its A1 text
// when it is a simple one (see simpleFormulaText), else empty beside its tokens (rgce), whose relative
// references are taken at the first cell of the first range.
struct Validation {
    enum class Type { Any, Whole, Decimal, List, Date, Time, TextLength, Custom };
    enum class Operator { Between, NotBetween, Equal, NotEqual, Greater, Less, GreaterOrEqual, LessOrEqual };
    enum class ErrorStyle { Stop, Warning, Information };

    Type type = Type::Any;
    Operator op = Operator::Between;
    ErrorStyle errorStyle = ErrorStyle::Stop;
    bool allowBlank = false;
    bool hideDropDown = false;
    bool showPrompt = false;
    bool showError = false;
    std::string promptTitle, prompt, errorTitle, error;
    std::string formula1, formula2;
    std::vector<std::uint8_t> tokens1, tokens2;
    std::vector<model::CellRange> ranges;
};

// The sheet's rules in record order; a record cut short gives none.
std::vector<Validation> readValidations(const model::Workbook& workbook, const model::Sheet& sheet);

} // namespace sheet::biff
