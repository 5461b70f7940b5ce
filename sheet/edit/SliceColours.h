#pragma once

#include "sheet/model/Workbook.h"

#include <cstddef>

namespace sheet::edit {

// After a pie's series grew by `point`: when the point has no format of its own and the series fills all such
// points with one fixed colour, the point gets a fill of its own from a fixed sequence of distinct colours (the
// twelve that LibreOffice gives a chart's points, whose first six the template's points have), taken as the
// nearest colour of the workbook's palette so that every reader shows the same. A colour that its neighbour
// before it or the first slice has is passed over, so no two neighbouring slices share a colour, the last and
// the first included, however many points follow. `chart` is one of `owner`'s charts.
void colourNewSlice(const model::Workbook& workbook, model::Sheet& owner, model::Chart& chart, std::size_t series,
                    unsigned point);

} // namespace sheet::edit
