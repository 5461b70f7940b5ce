#pragma once

#include "sheet/biff/WorkbookFile.h"
#include "sheet/model/Workbook.h"
#include "sheet/zip/ZipArchive.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace sheet::xlsx {

// What the package says of a sheet beyond the workbook model: its part, the formulas of its cells as
// written (a cell of a shared formula that only points to its group holds the empty text), and the
// chart part of each of the sheet's charts.
struct XlsxSheet {
    std::string part; // empty for a sheet that is not a worksheet
    std::map<model::CellAddress, std::string> formulas;
    std::vector<std::string> chartParts; // for each of the sheet's charts, in the order of Sheet::charts
    // Cells with a value beyond the 65,536 rows and 256 columns that the workbook holds: they are not read,
    // and a changed package keeps them as they were.
    std::size_t cellsBeyondTheSheet = 0;
};

// A defined name as the workbook part gives it: its formula as text, and the sheet it belongs to (-1 for
// the workbook).
struct XlsxDefinedName {
    std::string name;
    std::string formula;
    int sheet = -1;
    bool hidden = false;
};

// A SpreadsheetML package (.xlsx, .xlsm, .xltx, .xltm) as read: every part as it came, in order, and the
// workbook it holds.
struct XlsxPackage {
    std::vector<zip::ZipEntry> parts;
    model::Workbook workbook;
    bool isTemplate = false;
    bool hasMacros = false;
    bool date1904 = false; // the dates count from 1904; the cells keep the numbers as the package has them
    std::string workbookPart;
    std::string stylesPart;
    std::vector<XlsxSheet> sheets; // one for each of the workbook's sheets
    std::vector<XlsxDefinedName> definedNames;
    std::size_t packageXfCount = 0; // the styles part's cell formats; see modelXfIndex
};

// Reads a package. Refuses with a FormatError naming the reason: bytes that are no zip archive, an
// archive that is no spreadsheet package, an encrypted package, a part that declares a document type or
// entities, a part that is not well-formed, and a workbook beyond what the engine holds (too many
// texts or styles). Cells beyond the sheet are counted, not read (XlsxSheet::cellsBeyondTheSheet).
XlsxPackage readXlsxPackage(std::vector<std::uint8_t> bytes);

// The package after the workbook read from it was changed (cells written, chart ranges grown): every
// part the change does not touch is kept byte for byte. A changed worksheet gets only its changed rows
// written anew (new texts as inline strings, so the shared strings part stays as it was), a chart whose
// series grew gets its references and caches anew and its new points fills of their own, new cell
// formats are added to the styles part, the calculation chain is dropped and a full calculation on load
// asked for when the workbook has formulas, and a template becomes a workbook of its kind.
std::vector<zip::ZipEntry> changedXlsxParts(const XlsxPackage& source, const model::Workbook& workbook);

// Writes the changed package to `path` through a temporary file and a rename.
void saveChangedXlsx(const XlsxPackage& source, const model::Workbook& workbook, const std::string& path,
                     biff::SaveTarget target);

// The workbook keeps the package's cell formats under other indices: the format of cells without one of
// their own (the package's first) is the workbook's DefaultCellXf. `count` is XlsxPackage::packageXfCount.
int modelXfIndex(int packageIndex, std::size_t count);
int packageXfIndex(int modelIndex, std::size_t count);
// The number of cell formats the workbook has for `count` of the package.
std::size_t modelXfCount(std::size_t count);

} // namespace sheet::xlsx
