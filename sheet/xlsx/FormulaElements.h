#pragma once

#include "sheet/formula/CellFormulas.h"
#include "sheet/formula/WorkbookLinks.h"
#include "sheet/model/CellValue.h"
#include "sheet/model/Workbook.h"
#include "sheet/xlsx/XmlPart.h"

#include <string>
#include <vector>

namespace sheet::xlsx {

// The inside of a formula cell's <c> element: its type when its last result is not a number, the
// formula (<f>, over its range for an array formula or a data table) and that result (<v>), which a
// reader that does not calculate shows.
void writeFormulaCell(XmlPart& xml, const formula::CellFormula& formula, const CellValue& result);

// The package's links to other workbooks (xl/externalLinks/externalLinkN.xml with their relationships),
// numbered as formulas name them ([1] for the first).
struct ExternalLinkPart {
    std::string name;          // "externalLink1.xml"
    std::string part;
    std::string relationships; // the part's link to the workbook's file
};
std::vector<ExternalLinkPart> externalLinkParts(const formula::WorkbookLinks& links);

// The workbook part's <externalReferences>, for links whose relationships are rId`firstId` onwards, and
// its <definedNames>: every defined name with its sheet (localSheetId) and whether it is hidden, a
// built-in one as _xlnm.Print_Area and the like. Nothing for a workbook without them.
void writeExternalReferences(XmlPart& xml, std::size_t links, int firstId);
void writeDefinedNames(XmlPart& xml, const formula::WorkbookLinks& links);

// <calcPr fullCalcOnLoad="1"/> for a workbook whose cells changed since it was read and that has
// formulas: their stored results may be out of date, so a reader calculates them anew.
void writeCalculation(XmlPart& xml, const model::Workbook& workbook);

} // namespace sheet::xlsx
