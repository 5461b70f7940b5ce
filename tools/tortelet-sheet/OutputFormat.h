#pragma once

#include "sheet/model/Workbook.h"

#include <ostream>
#include <string>

namespace tools {

// The file format code (as Workbook::SaveAs takes it) that the extension of `path` names, in any case:
// 51 for ".xlsx", 52 for ".xlsm", 60 for ".ods", and 56, the Excel 97-2003 workbook, for ".xls" and every other name.
int saveFormatFor(const std::string& path);

// After a workbook was written to `path` as a package (.xlsx, .ods), one warning line on `errors` for
// each thing that the package leaves out of it; nothing for an Excel 97-2003 workbook, which keeps all.
void warnOfOmissions(const sheet::model::Workbook& workbook, const std::string& path, std::ostream& errors);

}  // namespace tools
