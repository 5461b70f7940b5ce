#pragma once

#include "sheet/xlsx/XlsxPackage.h"

namespace sheet::xlsx {

// Reads the package's defined names and its cells' formulas (in the A1 grammar) into the records the
// workbook keeps them in: each formula cell gets its formula next to the result the package keeps, the
// names and the links they need become the workbook's NAME, SUPBOOK and EXTERNSHEET records. A formula
// the grammar cannot read (one that names another workbook of the package, for one) leaves its cell
// with the result alone; the package keeps its text.
void readPackageFormulas(XlsxPackage& package);

} // namespace sheet::xlsx
