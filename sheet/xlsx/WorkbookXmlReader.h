#pragma once

#include "sheet/xlsx/XlsxPackage.h"
#include "sheet/zip/ZipReader.h"

#include <string>
#include <vector>

namespace sheet::xlsx {

// A sheet as the workbook part lists it.
struct WorkbookSheet {
    std::string name;
    std::string relationship;
    bool visible = true;
};

// What the workbook part holds: its sheets in order, the sheet it opens on, whether dates count from
// 1904, and the defined names.
struct WorkbookXml {
    std::vector<WorkbookSheet> sheets;
    int activeSheet = 0;
    bool date1904 = false;
    std::vector<XlsxDefinedName> definedNames;
};

WorkbookXml readWorkbookPart(const zip::ZipReader& package, const std::string& part);

} // namespace sheet::xlsx
