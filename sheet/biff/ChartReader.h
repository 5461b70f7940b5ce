#pragma once

#include "sheet/model/Chart.h"

#include <optional>
#include <span>
#include <vector>

namespace sheet::biff {

// Which sheet each EXTERNSHEET entry names (-1 for other workbooks).
using SheetReferences = std::vector<int>;

// Reads the substream that starts with the BOF record at `first` of a sheet's records into `chart`: its records
// with each CONTINUE record merged into the one before it, and where each came from. Returns the index of the
// substream's EOF record, or the number of records when it has none.
std::size_t readChartRecords(const std::vector<model::Record>& records, std::size_t first, model::Chart& chart);

// A cell area named by the first token of a chart formula, or nothing when it names no cells.
std::optional<model::RangeReference> readAreaFormula(std::span<const std::uint8_t> formula, int ownSheet,
                                                    const SheetReferences& references);

} // namespace sheet::biff
