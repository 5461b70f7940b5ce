#pragma once

#include "sheet/model/Workbook.h"
#include "sheet/ods/ChangedCells.h"

#include <map>
#include <string>
#include <vector>

namespace sheet::ods {

// What a rewrite of the content part needs besides the two states of the workbook.
struct ContentChange {
    const model::Workbook* before = nullptr;
    const model::Workbook* after = nullptr;
    const std::vector<std::string>* cellStyles = nullptr; // the style each cell format of `before` came from
    std::vector<ChangedRows> rows;                      // by sheet
    std::map<std::string, std::string> chartRanges;     // object link ("./Object 1") -> the ranges it follows now
};

// The content part (or a flat document) with the changed rows of its tables rewritten, the new cell
// styles and their data styles added to its automatic styles, and the frames of grown charts following
// their new ranges; every other byte as it was.
std::string changedContent(const std::string& document, const ContentChange& change);

} // namespace sheet::ods
