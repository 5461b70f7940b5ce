#pragma once

#include "sheet/model/Workbook.h"

namespace sheet::test {

// The workbook as a reader of another format gives it: without the records it was read from, but for
// the references to sheets and the names (SUPBOOK, EXTERNSHEET, NAME ...), the merged cells and each
// formula's records; its cell formats without the bytes they were read from, and its charts described
// only by the model.
model::Workbook withoutRecords(model::Workbook workbook);

} // namespace sheet::test
