#pragma once

#include "sheet/biff/SheetValidations.h"
#include "sheet/formula/CellFormulas.h"
#include "sheet/xlsx/XmlPart.h"

#include <vector>

namespace sheet::xlsx {

// <dataValidations> with each rule whose formulas can be written: its type, operator, error style,
// whether blanks pass and the list shows its arrow, the prompt and the error with their titles, the
// formulas and the cells. A formula that is not a simple one is written from its tokens by `formulas`'
// links (when there are any); a rule whose tokens cannot be written is left out. Nothing when no rule
// is written. After the merged cells, before the hyperlinks.
void writeDataValidations(XmlPart& xml, const std::vector<biff::Validation>& rules, const formula::SheetFormulas* formulas);

} // namespace sheet::xlsx
