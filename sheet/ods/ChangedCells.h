#pragma once

#include "sheet/model/Workbook.h"

#include <map>
#include <set>
#include <vector>

namespace sheet::ods {

// The rows of one sheet that differ between two states of a workbook, each with the columns whose cells
// differ (in value or cell format); a row whose height or visibility alone changed has no columns.
using ChangedRows = std::map<int, std::set<int>>;

// The changed rows of every sheet; an ArgumentError when the workbooks do not have the same sheets.
std::vector<ChangedRows> changedCells(const model::Workbook& before, const model::Workbook& after);

} // namespace sheet::ods
