#pragma once

#include "sheet/biff/WorkbookFile.h"
#include "sheet/model/Workbook.h"
#include "sheet/zip/ZipArchive.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace sheet::ods {

// A chart object of the package and the chart it became: the object's folder ("Object 1"), the sheet
// whose drawing holds it and its index in that sheet's charts.
struct ChartObjectSource {
    std::string folder;
    int sheet = 0;
    std::size_t chart = 0;
};

// A named range or expression as the package declares it: its name, the sheet it belongs to (-1 for
// the workbook) and its address or expression as written.
struct OdsName {
    std::string name;
    int sheet = -1;
    std::string text;
    bool expression = false;
};

// An OpenDocument spreadsheet (.ods, .ots or a flat .fods) as read: every part as it came, in order,
// the workbook they hold, and what a rewrite of the changed parts needs to keep the rest as it was.
struct OdsPackage {
    std::vector<zip::ZipEntry> parts; // the mimetype first and stored, as in the package; a .fods is one part
    model::Workbook workbook;
    bool isTemplate = false;
    bool flat = false;
    // The cell style that each cell format of the workbook came from, by its index; empty for the style
    // formats, which no cell names.
    std::vector<std::string> cellStyles;
    std::vector<ChartObjectSource> charts;
    // The formulas of the cells as written ("of:=SUM([.B4:.B9])"), by sheet; their cells hold the results
    // the package keeps with them.
    std::vector<std::map<model::CellAddress, std::string>> formulas;
    std::vector<OdsName> names;
};

// Reads an .ods, .ots or .fods. Bytes that are no such document, an encrypted package, a part that
// declares a document type or entities, or more than the engine can hold give a FormatError that says so.
OdsPackage readOdsPackage(std::vector<std::uint8_t> bytes);

// The package after a fill changed its workbook: the parts the change does not touch as they were, byte
// for byte; in content.xml the changed rows of the changed sheets rewritten (each changed cell in the
// style of the cell format it has now: the template's own style where the format came from one, a new
// automatic style otherwise) and everything else as it was; the chart objects whose series grew with
// their ranges and their own table rewritten, each added slice of a pie in a colour of its own; a
// template's type turned into a spreadsheet's. A flat .fods gives a flat document again.
std::vector<std::uint8_t> changedOdsBytes(const OdsPackage& source, const model::Workbook& workbook);

// Writes changedOdsBytes to `path` through a temporary file and a rename, as saveOdsFile does.
void saveChangedOds(const OdsPackage& source, const model::Workbook& workbook, const std::string& path,
                    biff::SaveTarget target);

} // namespace sheet::ods
