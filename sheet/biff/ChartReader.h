#pragma once

#include "sheet/model/Chart.h"

#include <optional>
#include <span>
#include <vector>

namespace sheet::biff {

// Which sheet each EXTERNSHEET entry names (-1 for other workbooks).
using SheetReferences = std::vector<int>;

// A cell area named by the first token of a chart formula, or nothing when it names no cells.
std::optional<model::RangeReference> readAreaFormula(std::span<const std::uint8_t> formula, int ownSheet,
                                                    const SheetReferences& references);

// Fills in a chart's type, 3-D flag and series from its records.
void summarizeChart(model::Chart& chart, int ownSheet, const SheetReferences& references);

} // namespace sheet::biff
