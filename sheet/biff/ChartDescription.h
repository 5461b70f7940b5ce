#pragma once

#include "sheet/biff/ChartReader.h"
#include "sheet/model/Workbook.h"

namespace sheet::biff {

// Describes a chart from its records (Chart::records) in the terms of the model, replacing what it said
// before: its groups with their types, its series with their references, cached values and point formats,
// its axes, 3-D view, title, legend, areas and data labels. Colours are taken from the workbook's palette
// where a record names an entry, fonts from its fonts. Records that are short or damaged are taken as far
// as they go; a chart of a type the engine does not know keeps a group of type Other.
void describeChart(model::Chart& chart, const model::Workbook& workbook, int ownSheet, const SheetReferences& references);

} // namespace sheet::biff
