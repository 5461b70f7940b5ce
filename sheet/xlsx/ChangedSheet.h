#pragma once

#include "sheet/model/Workbook.h"

#include <optional>
#include <string>
#include <string_view>

namespace sheet::xlsx {

// A worksheet part after its sheet changed from `before` (in `source`) to `after` (in `workbook`): the
// rows whose cells, heights or visibility differ are written anew, their unchanged cells as they were
// and the others from the workbook (texts as inline strings); every other byte of the part stays.
// Nothing when no row changed. `packageXfCount` is the number of the styles part's cell formats.
std::optional<std::string> changedWorksheet(std::string_view part, const model::Workbook& source,
                                            const model::Sheet& before, const model::Workbook& workbook,
                                            const model::Sheet& after, std::size_t packageXfCount);

} // namespace sheet::xlsx
