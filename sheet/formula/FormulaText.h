#pragma once

#include "sheet/formula/Token.h"
#include "sheet/formula/WorkbookLinks.h"

#include <span>
#include <string>

namespace sheet::formula {

// The two ways a written workbook spells a formula: SpreadsheetML's A1 grammar ("SUM(B4:B9)",
// 'My Sheet'!A1, arguments between commas) and OpenDocument's OpenFormula ("SUM([.B4:.B9])",
// [$'My Sheet'.A1], arguments between semicolons).
enum class Grammar { A1, OpenFormula };

// The text of a formula's tokens, without the "=" (and OpenFormula's "of:") before it. `sheet` is the
// sheet the formula belongs to (-1 for the workbook), whose own names need no sheet before them.
// Parentheses stand where the tokens put them and wherever the order of the operators needs them.
// What no longer exists (a deleted cell, a sheet that is gone) is written as #REF!, as Excel writes it.
// Throws a FormatError for tokens that make no formula.
std::string formulaText(std::span<const Token> tokens, Grammar grammar, const WorkbookLinks& links, int sheet);

// A sheet's name as the grammar writes it before a reference: in single quotes, its own doubled,
// unless it is a plain word.
std::string quotedSheetName(const std::string& name, Grammar grammar);

// The name a defined name is written with: a built-in name's as "_xlnm.Print_Area" in the A1 grammar
// and "Excel_BuiltIn_Print_Area" in OpenDocument, which has no built-in names.
std::string writtenName(const DefinedName& name, Grammar grammar);

// The text of a reference for an OpenDocument address: "$Sheet1.$A$1:.$B$2" for an area. False
// when `tokens` are not a single reference or area of the workbook's own sheets.
bool openFormulaRangeAddress(std::span<const Token> tokens, const WorkbookLinks& links, std::string& address);

} // namespace sheet::formula
