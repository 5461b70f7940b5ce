#pragma once

#include "sheet/biff/SheetValidations.h"
#include "sheet/xlsx/XmlPart.h"

#include <vector>

namespace sheet::xlsx {

// <dataValidations> with each rule whose formulas are written (Validation::written): its type,
// operator, error style, whether blanks pass and the list shows its arrow, the prompt and the error
// with their titles, the formulas and the cells. Nothing when no rule is written. After the merged
// cells, before the hyperlinks.
void writeDataValidations(XmlPart& xml, const std::vector<biff::Validation>& rules);

} // namespace sheet::xlsx
