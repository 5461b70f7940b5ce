#pragma once

#include "sheet/model/Workbook.h"
#include "sheet/ods/CellStyles.h"
#include "sheet/ods/ChartObject.h"
#include "sheet/ods/ConditionalFormats.h"
#include "sheet/ods/DrawShapes.h"
#include "sheet/ods/PageStyles.h"

#include <string>
#include <vector>

namespace sheet::ods {

// The parts of a spreadsheet package besides its content. None of them holds a date or a name of the
// machine, so the same workbook always gives the same bytes.
std::string metaPart();
// The active sheet, and each sheet's gridlines, panes, cursor and zoom as its window shows them; `names` are the names the
// sheets are written under.
std::string settingsPart(const model::Workbook& workbook, const SheetNames& names);
// The data styles, the common style "Default" that every cell style builds on, the looks of the
// conditional formats, the sheets' pages and, when a line of the sheets' drawings has one, the arrowhead.
std::string stylesPart(const CellStyles& styles, const ConditionalFormats& conditional, const PageStyles& pages,
                       bool arrowheads);
// Every part of the package, every chart object and every picture in it.
std::string manifestPart(const std::vector<ChartObject>& charts, const std::vector<PictureFile>& pictures);

} // namespace sheet::ods
