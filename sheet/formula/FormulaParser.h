#pragma once

#include "sheet/formula/FormulaContext.h"
#include "sheet/formula/FormulaText.h"
#include "sheet/formula/Token.h"

#include <string_view>
#include <vector>

namespace sheet::formula {

// Reads a formula's text into its tokens, in the order TokenReader gives them, so that formulaText
// writes the same text again with context.links.
//
// The A1 grammar as SpreadsheetML's <f> elements and definedName texts hold it: "SUM(B4:B9)",
// 'My sheet'!$A$1:$B$2, Sheet1:Sheet3!A1, [1]Sheet1!A1 and [1]!Name for the package's other workbooks,
// A:A and 1:1, names (Sheet1!Name for a sheet's own), "_xlfn." functions, arrays {1,2;3,4}, a space as
// the intersection and "," as the union outside a function's arguments. OpenFormula as table:formula
// holds it: "of:=SUM([.B4:.B9])", [$'My sheet'.A1:.B2], ['file:///book.ods'#$Sheet1.A1], ";" between
// arguments, "~" and "!" for union and intersection, OpenFormula's function names. A leading "=",
// "of:=" or "oooc:=" is skipped; "msoxl:=" switches to the A1 grammar.
//
// Built-in functions become their numbers with the argument count checked; functions newer than the
// file format are called through a hidden "_xlfn." name, other unknown functions as add-in functions.
// Whole columns and rows of a larger sheet (A1:A1048576) are taken as those of the 65,536 x 256 sheet.
// Names, other workbooks and the entries of the external sheet table that the formula needs are added
// to `context`. Throws a FormatError naming the place for text that makes no formula, an unknown sheet,
// a cell beyond row 65,536 or column IV, and nesting or counts the file format cannot hold.
std::vector<Token> parseFormula(std::string_view text, Grammar grammar, FormulaContext& context);

// The tokens of a formula copied `rows` down and `columns` right (negative: up, left), as a shared
// formula of SpreadsheetML is read at each of its cells from the text at its first: the relative rows
// and columns of its references move, and a reference moved off the sheet becomes #REF!.
std::vector<Token> movedFormula(std::vector<Token> tokens, int rows, int columns);

} // namespace sheet::formula
