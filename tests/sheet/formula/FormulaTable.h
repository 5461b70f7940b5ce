#pragma once

// The formulas that the formula tests share: tokens of every kind with their texts in both grammars,
// and the workbook links they are written with.
#include "sheet/formula/Token.h"
#include "sheet/formula/WorkbookLinks.h"

#include <string>
#include <vector>

namespace formulatable {

using sheet::formula::CellPoint;
using sheet::formula::Token;
using sheet::formula::WorkbookLinks;

// Cells as the A1 grammar writes them: "$B$4", "B$4", "C5".
CellPoint cell(const std::string& text);
Token op(Token::Kind kind);
Token number(double value);
Token text(const std::string& value);
Token logical(bool value);
Token error(sheet::ErrorCode code);
// "B4" or "$B$4:B9", on entry `sheet` of the external sheet table when it is not -1.
Token ref(const std::string& address, int sheet = -1);
Token name(int index);
Token externalName(int sheet, int index);
Token call(int function, int arguments);
Token space(int count, bool lineBreaks = false, bool beforeClose = false);
Token array(int rows, int columns, std::vector<sheet::CellValue> values);

// Three sheets of the workbook itself, a sheet and a name of another workbook, and an add-in function;
// the formulas stand on sheet 0.
WorkbookLinks links();

struct Row {
    const char* what;
    std::vector<Token> tokens;
    const char* a1;
    const char* openFormula;
};

// Tokens of every kind, each with its text in the A1 grammar and in OpenFormula.
const std::vector<Row>& rows();

} // namespace formulatable
