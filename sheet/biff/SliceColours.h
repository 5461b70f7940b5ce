#pragma once

#include "sheet/model/Workbook.h"

namespace sheet::biff {

// Gives the points that fills added to pies (Chart::addedPoints) fill colours of their own, written into the
// charts' records, and forgets them. A point that has a format of its own keeps it, and a series whose points
// take an automatic fill is left as it is. The colours come from a fixed sequence of distinct colours (the
// twelve that LibreOffice gives a chart's points, whose first six the template's points have), taken as the
// nearest colour of the workbook's palette so that every reader shows the same. A colour that the slice before
// or the first slice has is passed over, so no two neighbouring slices share a colour, the last and the first
// included. The work is done once for all the points, so a long list costs in proportion to its length.
// A chart that came without records (from a package) gets them as its points' own formats in the model,
// each new point with the look of the one before it.
void colourAddedSlices(model::Workbook& workbook);

// The same for a workbook whose charts have no records: the colours go into the points' formats in the model.
void colourAddedModelSlices(model::Workbook& workbook);

} // namespace sheet::biff
