#pragma once

#include "sheet/model/Workbook.h"

#include <cstdint>
#include <vector>

namespace sheet::biff {

// Writes the Workbook stream of a workbook that was not read from records, such as one read from
// SpreadsheetML or OpenDocument: every record is made from the model, but for the references, names and
// sheet records it came with (see ModelGlobals.h and ModelWorksheet.h). What the Excel 97-2003 format
// cannot hold is refused with a FormatError that names it (see Biff8Limits.h). New texts enter the
// workbook's string table.
std::vector<std::uint8_t> writeModelWorkbook(model::Workbook& workbook);

} // namespace sheet::biff
