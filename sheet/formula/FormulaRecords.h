#pragma once

#include "sheet/formula/FormulaContext.h"
#include "sheet/formula/FormulaText.h"
#include "sheet/formula/TokenWriter.h"
#include "sheet/model/CellRange.h"
#include "sheet/model/Record.h"

#include <string_view>
#include <vector>

namespace sheet::formula {

// The records that hold formulas read from text, as the workbook reader would have kept them from an
// Excel 97-2003 file, so that the writers of every format take them as they take those.
//
// For a cell: parse its text with context.sheet set to the cell's sheet (movedFormula for the other
// cells of a shared formula), encodeTokens, and put the records of formulaRecords (arrayFormulaRecords
// and dataTableRecords for each cell of an array formula or a data table) into model::Sheet::formulas
// at the cell; the cell itself keeps the result and hasFormula. For the workbook: parseNameFormula for
// each defined name once all are registered, then append the records of linkRecords to
// model::Workbook::globalRecords after the BOUNDSHEET records.

// FORMULA for the cell `at` with cell format `xf` and the result `cached`, then STRING (with CONTINUE
// records as needed) for a text result. An empty result is stored as an empty text.
std::vector<model::Record> formulaRecords(const model::CellAddress& at, int xf, const EncodedFormula& formula,
                                          const CellValue& cached);

// The records of cell `at` of an array formula over `range`: every cell's FORMULA refers to the first
// cell, whose FORMULA the ARRAY record with `formula` follows.
std::vector<model::Record> arrayFormulaRecords(const model::CellRange& range, const model::CellAddress& at, int xf,
                                               const EncodedFormula& formula, const CellValue& cached);

// A data table (what-if analysis) over `range`: its results computed with the input cell `first` (the
// row input when `rowInput`) and, when `twoInputs`, `second` (the column input) replaced by the values
// of its top row and left column. An input cell that no longer exists is `deleted`.
struct DataTable {
    model::CellRange range;
    bool twoInputs = false;
    bool rowInput = false;
    model::CellAddress first;
    model::CellAddress second;
    bool firstDeleted = false;
    bool secondDeleted = false;
};

// The records of cell `at` of a data table: every cell's FORMULA refers to the first cell, whose
// FORMULA the TABLE record follows.
std::vector<model::Record> dataTableRecords(const DataTable& table, const model::CellAddress& at, int xf,
                                            const CellValue& cached);

// Reads the formula of defined name `index` of the context, taken on the name's sheet, into its tokens.
void parseNameFormula(FormulaContext& context, int index, std::string_view text, Grammar grammar);

// The SUPBOOK records (the workbook's own first, each another workbook's or the add-ins' followed by
// the EXTERNNAME records of its names), EXTERNSHEET and NAME that the formulas read need; none when
// they need none. readWorkbookLinks reads them back. Throws a FormatError for what the records cannot
// hold (a name longer than 255 characters, more than 1,370 entries of the external sheet table).
std::vector<model::Record> linkRecords(const WorkbookLinks& links);

} // namespace sheet::formula
