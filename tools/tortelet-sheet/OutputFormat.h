#pragma once

#include <string>

namespace tools {

// The file format code (as Workbook::SaveAs takes it) that the extension of `path` names, in any case:
// 51 for ".xlsx", 60 for ".ods", and 56, the Excel 97-2003 workbook, for ".xls" and every other name.
int saveFormatFor(const std::string& path);

}  // namespace tools
