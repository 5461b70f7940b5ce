#pragma once

#include "sheet/model/Workbook.h"

#include <string>
#include <utility>
#include <vector>

namespace ods_testing {

using Entry = std::pair<std::string, std::string>;  // a label and an amount as typed

// The chart template filled as the chart build fills it: the data rows emptied, then one label and
// amount a row from row 4 with the accounting format; the chart's ranges grow with the entries.
sheet::model::Workbook filledTemplate(const std::vector<Entry>& entries);

std::vector<Entry> sampleEntries();

}  // namespace ods_testing
