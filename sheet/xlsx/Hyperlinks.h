#pragma once

#include "sheet/biff/SheetLinks.h"
#include "sheet/xlsx/XmlPart.h"

#include <string>
#include <vector>

namespace sheet::xlsx {

// A sheet's hyperlinks as its part writes them: a link that leads out of the workbook (a URL, a mail
// address, a file) through a relationship of the sheet part, one within it by its location alone.
struct SheetHyperlinks {
    std::vector<biff::Hyperlink> links;
    std::vector<std::string> relationships; // "rId3" by link; empty for a link within the workbook
};

// <hyperlinks>, when the sheet has any; after the merged cells and before the page set-up.
void writeHyperlinks(XmlPart& xml, const SheetHyperlinks& hyperlinks);

} // namespace sheet::xlsx
