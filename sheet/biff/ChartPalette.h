#pragma once

#include "sheet/model/Workbook.h"

namespace sheet::biff {

// Puts the colours that the charts of a workbook without records use, and that its palette lacks, into
// palette entries that no cell format or font uses, so that a chart record names each colour both by
// itself and by a palette entry of the same colour: readers take one or the other. Colours beyond the
// free entries keep the nearest entry.
void addChartColours(model::Workbook& workbook);

} // namespace sheet::biff
