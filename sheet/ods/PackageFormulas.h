#pragma once

#include "sheet/ods/OdsPackage.h"

namespace sheet::ods {

// Reads the package's named ranges and expressions and its cells' formulas (as OpenFormula) into the
// records the workbook keeps them in: each formula cell gets its formula next to the result the package
// keeps, the names and the links they need become the workbook's NAME, SUPBOOK and EXTERNSHEET records.
// A formula the grammar cannot read leaves its cell with the result alone; the package keeps its text.
void readPackageFormulas(OdsPackage& package);

} // namespace sheet::ods
