#pragma once

#include "sheet/model/CellRange.h"
#include "sheet/model/Workbook.h"

#include <optional>

namespace sheet::biff {

// A worksheet's AutoFilter: the range it filters, from the sheet's built-in name _FilterDatabase,
// when the sheet has the filter's AUTOFILTERINFO record; and whether it filters by criteria of its
// own (AUTOFILTER records), which the rows it hides show.
struct SheetFilter {
    model::CellRange range;
    bool hasCriteria = false;
};

std::optional<SheetFilter> readSheetFilter(const model::Workbook& workbook, int sheetIndex);

} // namespace sheet::biff
