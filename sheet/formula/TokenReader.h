#pragma once

#include "sheet/biff/RecordText.h"
#include "sheet/formula/Token.h"
#include "sheet/model/Cell.h"

#include <cstdint>
#include <span>
#include <vector>

namespace sheet::formula {

// The tokens of a formula as the file stores them: `tokens` (rgce) and the data that follows them
// (rgcb: the values of arrays and the areas of the memory tokens). A relative reference of a shared
// formula is taken at `base`, the cell that uses it. `text` tells the workbook's version: BIFF8
// (Excel 97-2003) when its strings are Unicode, else Excel 95's BIFF5. Tokens that only speed up
// the calculation (jumps, memory areas) are left out. Throws a FormatError for a token that the
// format does not know or that is cut short.
std::vector<Token> readTokens(std::span<const std::uint8_t> tokens, std::span<const std::uint8_t> extra,
                              const model::CellAddress& base, const biff::RecordText& text);

} // namespace sheet::formula
