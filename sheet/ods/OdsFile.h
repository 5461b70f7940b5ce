#pragma once

#include "sheet/biff/WorkbookFile.h"
#include "sheet/model/Workbook.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sheet::ods {

// The workbook as an OpenDocument spreadsheet (.ods): every worksheet with its cells, cell styles,
// number formats, column widths, row heights, hidden rows and gridlines, the sheet names and the
// active sheet, and each embedded pie chart as a chart object over the same cells. The same workbook
// always gives the same bytes. A chart sheet becomes a table holding its chart. A sheet or a drawing
// that the format cannot take (a macro sheet, a chart of a type the engine does not know, a picture) is
// a FormatError that names it.
std::vector<std::uint8_t> odsBytes(const model::Workbook& workbook);

// Writes odsBytes to `path` through a temporary file and a rename, as biff::saveWorkbookFile does;
// nothing is written when the workbook cannot be expressed.
void saveOdsFile(const model::Workbook& workbook, const std::string& path, biff::SaveTarget target);

} // namespace sheet::ods
