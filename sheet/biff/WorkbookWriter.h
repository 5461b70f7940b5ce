#pragma once

#include "sheet/model/Workbook.h"

#include <cstdint>
#include <vector>

namespace sheet::biff {

// Writes the Workbook stream. What did not change is written as it was read; a changed sheet gets a
// new cell table, DIMENSIONS, INDEX and DBCELL records, and a changed workbook a new string table and
// the FORMAT and XF records added since reading. New texts enter the workbook's string table. A workbook
// that was not read from records (its globals do not begin with BOF) is written whole from the model.
std::vector<std::uint8_t> writeWorkbook(model::Workbook& workbook);

} // namespace sheet::biff
