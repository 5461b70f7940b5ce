#pragma once

#include "sheet/biff/WorkbookFile.h"
#include "sheet/model/Workbook.h"
#include "sheet/zip/ZipArchive.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sheet::xlsx {

// The parts of a SpreadsheetML package (.xlsx) for the workbook, in the order they are stored:
// every worksheet with its cells and styles, and each embedded pie chart in DrawingML. The same
// workbook always gives the same parts. A sheet, chart or drawing object that the package cannot
// hold yet gives a FormatError naming it.
std::vector<zip::ZipEntry> xlsxParts(const model::Workbook& workbook);

// The package's bytes: its parts in a zip archive dated 1980-01-01.
std::vector<std::uint8_t> xlsxBytes(const model::Workbook& workbook);

// Writes the package to `path` through a temporary file and a rename, as biff::saveWorkbookFile does;
// nothing is written when the workbook cannot be expressed.
void saveXlsxFile(const model::Workbook& workbook, const std::string& path, biff::SaveTarget target);

} // namespace sheet::xlsx
