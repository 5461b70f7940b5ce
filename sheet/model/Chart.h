#pragma once

#include "sheet/model/CellRange.h"
#include "sheet/model/Record.h"

#include <cstddef>
#include <map>
#include <optional>
#include <vector>

namespace sheet::model {

// A reference of a chart to cells: the sheet (index into Workbook::sheets, -1 when unknown) and the cells.
struct RangeReference {
    int sheet = -1;
    CellRange range;
};

// One series of a chart: where its name, values and categories come from.
struct ChartSeries {
    std::optional<RangeReference> name;
    std::optional<RangeReference> values;
    std::optional<RangeReference> categories;
};

enum class ChartType { Pie, Other };

// An embedded chart: its substream (BOF of type 0x0020 to its EOF) as records with CONTINUE merged,
// and what the engine understood of it.
struct Chart {
    std::vector<Record> records;
    std::vector<std::size_t> sourceRecords; // for each record, its index in Sheet::records
    ChartType type = ChartType::Other;
    bool threeD = false;
    std::vector<ChartSeries> series;
    // The points that a fill added to a series, from the first of them on, until they get colours of their
    // own when the workbook is written or drawn: series -> first added point.
    std::map<std::size_t, unsigned> addedPoints;
};

} // namespace sheet::model
