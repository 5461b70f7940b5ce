#pragma once

#include "sheet/model/CellRange.h"
#include "sheet/model/Workbook.h"

#include <string>
#include <vector>

namespace sheet::biff {

// A hyperlink of a worksheet (an HLINK record and the HLINKTOOLTIP after it): the cells it lies on,
// where it leads, the text it shows and its tooltip, all in UTF-8.
struct Hyperlink {
    model::CellRange range;
    std::string target;   // a URL ("https://…", "mailto:…") or a file's path; empty for a place in the workbook
    std::string location; // a place in the target or the workbook ("Sheet2!A1"); empty when none
    std::string display;
    std::string tooltip;
};

// The sheet's hyperlinks in record order; a record that is cut short or of a kind the engine does not
// know gives none.
std::vector<Hyperlink> readHyperlinks(const model::Sheet& sheet);

} // namespace sheet::biff
