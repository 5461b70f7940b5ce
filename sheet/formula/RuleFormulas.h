#pragma once

#include "sheet/formula/FormulaText.h"
#include "sheet/formula/WorkbookLinks.h"
#include "sheet/model/Cell.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace sheet::formula {

// The text (without "=") in `grammar` of the tokens of a formula of a conditional format or of a rule
// of data validation on sheet `sheet`, their relative references taken at `base` (the first cell of
// the rule's first range); nothing for tokens that cannot be written.
std::optional<std::string> ruleFormulaText(std::span<const std::uint8_t> tokens, const model::CellAddress& base,
                                           const WorkbookLinks& links, int sheet, Grammar grammar);

} // namespace sheet::formula
