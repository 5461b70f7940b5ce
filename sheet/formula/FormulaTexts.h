#pragma once

#include "sheet/formula/FormulaText.h"
#include "sheet/model/Workbook.h"

#include <map>
#include <string>
#include <vector>

namespace sheet::formula {

// A defined name as a package declares it: its name, the sheet it belongs to (-1 for the workbook, or a
// sheet the workbook does not have), its formula's text and whether it is hidden.
struct NameText {
    std::string name;
    int sheet = -1;
    std::string formula;
    bool hidden = false;
};

// Reads names and the cells' formulas, given as text in a grammar (`cellFormulas` by sheet), into the
// records the workbook keeps them in: each formula cell gets its formula beside the result it holds, and
// the names and the links they need become the workbook's NAME, SUPBOOK and EXTERNSHEET records. A text
// the grammar cannot read leaves its cell with the result alone, and its name without a formula.
void readFormulaTexts(model::Workbook& workbook, const std::vector<NameText>& names,
                      const std::vector<const std::map<model::CellAddress, std::string>*>& cellFormulas, Grammar grammar);

} // namespace sheet::formula
