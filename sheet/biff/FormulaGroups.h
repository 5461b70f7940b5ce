#pragma once

#include "sheet/model/Cell.h"
#include "sheet/model/CellRange.h"
#include "sheet/model/Record.h"

#include <optional>

namespace sheet::biff {

// The first cell of the shared formula, array formula or data table that a FORMULA record's cell is
// part of (its only token is PtgExp or PtgTbl); none for a formula of its own.
std::optional<model::CellAddress> formulaGroupStart(const model::Record& formula);

// The cells that a SHRFMLA, ARRAY or TABLE record covers.
model::CellRange formulaGroupRange(const model::Record& group);

// The FORMULA record of a cell of a shared formula (SHRFMLA `shared`) given the formula as its own:
// the shared tokens taken at the cell, their relative references made into the cells they point to.
// Throws a FormatError for tokens it does not know.
model::Record ownFormula(const model::Record& formula, const model::Record& shared);

} // namespace sheet::biff
