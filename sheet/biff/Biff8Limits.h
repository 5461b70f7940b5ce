#pragma once

#include "sheet/model/Workbook.h"

namespace sheet::biff {

// Refuses, with a FormatError that names what and where, a workbook that the Excel 97-2003 format cannot
// hold: a cell, row, column or merged area past row 65,536 or column 256 (IV), more cell formats or fonts
// than the format can number, a formula that calls a function newer than the format, a sheet name longer than 31 characters, a text longer than 32,767
// characters.
void checkBiff8Limits(const model::Workbook& workbook);

} // namespace sheet::biff
