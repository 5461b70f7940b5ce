#pragma once

#include "sheet/model/CellRange.h"

#include <string>

namespace sheet::ods {

// A sheet's name as OpenDocument addresses name it: as it stands when it is letters, digits and
// underscores only, else in single quotes with its own quotes doubled.
std::string quotedSheetName(const std::string& name);

// "Assets.O26" and "Assets.B4:Assets.B9", as table:end-cell-address and the chart ranges take them.
std::string odfCellAddress(const std::string& sheetName, int row, int column);
std::string odfRangeAddress(const std::string& sheetName, const model::CellRange& range);

} // namespace sheet::ods
