#pragma once

#include "sheet/biff/ExternSheetTable.h"
#include "sheet/biff/FontTable.h"
#include "sheet/model/Workbook.h"

#include <cstdint>
#include <vector>

namespace sheet::biff {

// The size of a chart in points.
struct ChartSize {
    double width = 480;
    double height = 288;
};

// Appends the chart substream (BOF of a chart to its EOF) that describes `chart` in BIFF8 records: its
// groups with their types, the series with their references to cells, the look of the series and points
// (fills, lines, explosion, markers, data labels), the axes with their scales and gridlines, the 3-D view,
// the legend, the title and the areas. The fonts of its texts and the sheets its series refer to are
// taken from (and added to) `fonts` and `links`. A chart sheet's substream gets the sheet's window too.
enum class ChartPlace { Embedded, Sheet, ActiveSheet };
void writeChartStream(const model::Chart& chart, const model::Workbook& workbook, FontTable& fonts,
                      ExternSheetTable& links, ChartSize size, ChartPlace place, std::vector<std::uint8_t>& out);

} // namespace sheet::biff
