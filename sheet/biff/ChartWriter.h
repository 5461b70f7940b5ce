#pragma once

#include "sheet/biff/ChartRecords.h"
#include "sheet/model/Sheet.h"

namespace sheet::biff {

// Sets the last row of the area that series `series` of a chart (counted in the order of its SERIES records)
// takes `part` from: in the chart's BRAI record and in the record of `owner`, the chart's sheet, that it was
// read from. A reference that is not one area stays as it is.
void setSeriesLastRow(model::Sheet& owner, model::Chart& chart, std::size_t series, chart::SeriesPart part,
                      int lastRow);

} // namespace sheet::biff
