#pragma once

#include "sheet/model/Workbook.h"

#include <optional>
#include <string>
#include <string_view>

namespace sheet::xlsx {

// A chart part after its chart's series changed from `before` (in `source`) to `after`: the references
// (c:f) that moved are written anew with the range of `after`, keeping how the sheet is named, the caches
// of those that moved or whose cells changed are written (or added) from the workbook's cells, and the points that a fill added (Chart::addedPoints) to a series
// whose points have fills of their own get a fill each, no two neighbours (nor the last and the first)
// alike. Every other byte stays. Nothing when no reference or cell changed.
std::optional<std::string> changedChart(std::string_view part, const model::Workbook& source, const model::Chart& before,
                                        const model::Workbook& workbook, const model::Chart& after);

} // namespace sheet::xlsx
