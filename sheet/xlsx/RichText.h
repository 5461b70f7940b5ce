#pragma once

#include "sheet/model/Workbook.h"
#include "sheet/xlsx/XmlPart.h"

namespace sheet::xlsx {

// The runs of a text with formatting runs, inside its <si>: each run (<r>) with its font's name, weight,
// slant, strike-through, underline, size and colour (<rPr>); the text before the first run in the
// cell's own font.
void writeRichText(XmlPart& xml, const model::Workbook& workbook, const model::SharedString& string);

} // namespace sheet::xlsx
