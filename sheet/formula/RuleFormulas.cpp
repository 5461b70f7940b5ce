#include "sheet/formula/RuleFormulas.h"

#include "sheet/Errors.h"
#include "sheet/formula/TokenReader.h"

namespace sheet::formula {

std::optional<std::string> ruleFormulaText(std::span<const std::uint8_t> tokens, const model::CellAddress& base,
                                           const WorkbookLinks& links, int sheet, Grammar grammar)
{
    try {
        return formulaText(readTokens(tokens, {}, base, links.text), grammar, links, sheet);
    } catch (const FormatError&) {
        return std::nullopt;
    }
}

} // namespace sheet::formula
