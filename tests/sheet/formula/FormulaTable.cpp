#include "FormulaTable.h"

#include <cctype>

namespace formulatable {

using namespace sheet::formula;
using Kind = Token::Kind;

CellPoint cell(const std::string& text)
{
    CellPoint point;
    std::size_t at = 0;
    point.columnRelative = text[at] != '$';
    at += point.columnRelative ? 0 : 1;
    point.column = 0;
    for (; std::isalpha(static_cast<unsigned char>(text[at])); ++at)
        point.column = point.column * 26 + (text[at] - 'A' + 1);
    --point.column;
    point.rowRelative = text[at] != '$';
    at += point.rowRelative ? 0 : 1;
    point.row = std::stoi(text.substr(at)) - 1;
    return point;
}

Token op(Kind kind)
{
    Token token;
    token.kind = kind;
    return token;
}

Token number(double value)
{
    Token token = op(Kind::Number);
    token.number = value;
    return token;
}

Token text(const std::string& value)
{
    Token token = op(Kind::Text);
    token.text = value;
    return token;
}

Token logical(bool value)
{
    Token token = op(Kind::Logical);
    token.logical = value;
    return token;
}

Token error(sheet::ErrorCode code)
{
    Token token = op(Kind::Error);
    token.error = code;
    return token;
}

Token ref(const std::string& address, int sheet)
{
    const std::size_t colon = address.find(':');
    Token token = op(colon == std::string::npos ? Kind::Reference : Kind::Area);
    token.first = cell(address.substr(0, colon));
    token.last = colon == std::string::npos ? token.first : cell(address.substr(colon + 1));
    token.hasSheet = sheet >= 0;
    token.sheet = sheet;
    return token;
}

Token name(int index)
{
    Token token = op(Kind::Name);
    token.index = index;
    return token;
}

Token externalName(int sheet, int index)
{
    Token token = op(Kind::ExternalName);
    token.sheet = sheet;
    token.index = index;
    return token;
}

Token call(int function, int arguments)
{
    Token token = op(Kind::Function);
    token.function = function;
    token.arguments = arguments;
    return token;
}

Token space(int count, bool lineBreaks, bool beforeClose)
{
    Token token = op(Kind::Space);
    token.spaces = count;
    token.lineBreaks = lineBreaks;
    token.beforeClose = beforeClose;
    return token;
}

Token array(int rows, int columns, std::vector<sheet::CellValue> values)
{
    Token token = op(Kind::Array);
    token.rows = rows;
    token.columns = columns;
    token.values = std::move(values);
    return token;
}

WorkbookLinks links()
{
    WorkbookLinks links;
    links.sheetNames = {"Data", "My Sheet", "2020"};
    links.books = {{LinkedBook::Kind::Self, {}, {}, {}},
                   {LinkedBook::Kind::External, "file:///C:/books/other.xls", {"Prices", "It's"}, {"Rate"}},
                   {LinkedBook::Kind::AddIns, {}, {}, {"EDATE"}}};
    links.externSheets = {{0, 0, 0}, {0, 1, 1}, {0, 0, 2}, {1, 0, 0}, {0, -1, -1}, {2, -2, -2}, {1, 1, 1}, {0, -2, -2}};
    DefinedName total;
    total.name = "Total";
    DefinedName local;
    local.name = "Local";
    local.scope = 1;
    DefinedName printArea;
    printArea.name = "Print_Area";
    printArea.builtIn = true;
    printArea.scope = 0;
    DefinedName iferror;
    iferror.name = "_xlfn.IFERROR";
    iferror.function = true;
    DefinedName cellLike;
    cellLike.name = "Tax2019";
    DefinedName concat;
    concat.name = "_xlfn.CONCAT";
    concat.function = true;
    links.names = {total, local, printArea, iferror, cellLike, concat};
    mendNames(links.names);
    return links;
}

const std::vector<Row>& rows()
{
    using sheet::ErrorCode;
    static const std::vector<Row> table = {
        {"a number", {number(1.5)}, "1.5", "1.5"},
        {"a large number", {number(1e21)}, "1E+21", "1E+21"},
        {"a text with quotes", {text("say \"hi\"")}, "\"say \"\"hi\"\"\"", "\"say \"\"hi\"\"\""},
        {"a logical value", {logical(true)}, "TRUE", "TRUE()"},
        {"an error", {error(ErrorCode::DivisionByZero)}, "#DIV/0!", "#DIV/0!"},
        {"relative and absolute cells", {ref("B4"), ref("$C$5"), op(Kind::Add), ref("D$6"), op(Kind::Add), ref("$E7"), op(Kind::Add)},
         "B4+$C$5+D$6+$E7", "[.B4]+[.$C$5]+[.D$6]+[.$E7]"},
        {"an area", {ref("$B$4:B9")}, "$B$4:B9", "[.$B$4:.B9]"},
        {"whole columns", {ref("$A$1:$B$65536")}, "$A:$B", "[.$A$1:.$B$65536]"},
        {"whole rows", {ref("A3:IV4")}, "3:4", "[.A3:.IV4]"},
        {"a cell of another sheet", {ref("A1", 1)}, "'My Sheet'!A1", "[$'My Sheet'.A1]"},
        {"an area of a plain sheet", {ref("A1:B2", 0)}, "Data!A1:B2", "[$Data.A1:.B2]"},
        {"an area over three sheets", {ref("A1:B2", 2)}, "'Data:2020'!A1:B2", "[$Data.A1:$'2020'.B2]"},
        {"a cell of another workbook", {ref("$A$1", 3)}, "[1]Prices!$A$1", "['file:///C:/books/other.xls'#$Prices.$A$1]"},
        {"a quoted sheet of another workbook", {ref("A1", 6)}, "'[1]It''s'!A1", "['file:///C:/books/other.xls'#$'It''s'.A1]"},
        {"a deleted cell", {op(Kind::DeletedReference), number(1), op(Kind::Add)}, "#REF!+1", "#REF!+1"},
        {"a cell of a deleted sheet", {ref("A1", 4)}, "#REF!", "#REF!"},
        {"a name of the workbook", {name(0)}, "Total", "Total"},
        {"a name of another sheet", {name(1)}, "'My Sheet'!Local", "Local"},
        {"a built-in name", {name(2)}, "_xlnm.Print_Area", "Excel_BuiltIn_Print_Area"},
        {"a name that is a cell of a larger sheet", {name(4)}, "_Tax2019", "_Tax2019"},
        {"a name of the workbook through its own link", {externalName(7, 1)}, "'My Sheet'!Local", "Local"},
        {"a name of another workbook", {externalName(3, 0)}, "[1]!Rate", "'file:///C:/books/other.xls'#Rate"},
        {"an add-in function", {externalName(5, 0), ref("A1"), number(1), call(255, 3)}, "EDATE(A1,1)", "EDATE([.A1];1)"},
        {"a function newer than the format", {name(3), ref("A1"), number(0), call(255, 3)}, "_xlfn.IFERROR(A1,0)",
         "IFERROR([.A1];0)"},
        {"a function newer than the format and OpenFormula", {name(5), ref("A1"), text("x"), call(255, 3)},
         "_xlfn.CONCAT(A1,\"x\")", "COM.MICROSOFT.CONCAT([.A1];\"x\")"},
        {"a built-in function", {ref("A1"), number(2), call(27, 2)}, "ROUND(A1,2)", "ROUND([.A1];2)"},
        {"a function without arguments", {call(19, 0)}, "PI()", "PI()"},
        {"a function OpenFormula renames", {number(1), call(294, 1)}, "NORMSDIST(1)", "LEGACY.NORMSDIST(1)"},
        {"a missing argument", {ref("A1"), op(Kind::Missing), number(2), call(1, 3)}, "IF(A1,,2)", "IF([.A1];;2)"},
        {"an array", {array(2, 2, {1.0, -2.0, std::string("a"), true})}, "{1,-2;\"a\",TRUE}", "{1;-2|\"a\";TRUE}"},
        {"a looser operator under a tighter one", {ref("A1"), ref("B1"), ref("C1"), op(Kind::Add), op(Kind::Multiply)},
         "A1*(B1+C1)", "[.A1]*([.B1]+[.C1])"},
        {"operators of one level from the left", {ref("A1"), ref("B1"), op(Kind::Subtract), ref("C1"), op(Kind::Subtract)},
         "A1-B1-C1", "[.A1]-[.B1]-[.C1]"},
        {"operators of one level from the right", {ref("A1"), ref("B1"), ref("C1"), op(Kind::Subtract), op(Kind::Subtract)},
         "A1-(B1-C1)", "[.A1]-([.B1]-[.C1])"},
        {"a power of a power", {number(2), number(3), op(Kind::Power), number(2), op(Kind::Power)}, "(2^3)^2", "(2^3)^2"},
        {"a power of a negation", {ref("A1"), op(Kind::Minus), number(2), op(Kind::Power)}, "-A1^2", "-[.A1]^2"},
        {"a negation of a power", {ref("A1"), number(2), op(Kind::Power), op(Kind::Minus)}, "-(A1^2)", "-([.A1]^2)"},
        {"a percentage of a sum", {ref("A1"), ref("B1"), op(Kind::Add), op(Kind::Percent)}, "(A1+B1)%", "([.A1]+[.B1])%"},
        {"two negations", {ref("A1"), op(Kind::Minus), op(Kind::Minus)}, "--A1", "--[.A1]"},
        {"parentheses the formula keeps", {ref("A1"), ref("B1"), op(Kind::Add), op(Kind::Parentheses), number(2), op(Kind::Divide)},
         "(A1+B1)/2", "([.A1]+[.B1])/2"},
        {"a comparison and a concatenation", {ref("A1"), ref("B1"), op(Kind::Concatenate), text("x"), op(Kind::NotEqual)},
         "A1&B1<>\"x\"", "[.A1]&[.B1]<>\"x\""},
        {"a comparison inside a concatenation", {ref("A1"), ref("B1"), op(Kind::LessEqual), ref("C1"), op(Kind::Concatenate)},
         "(A1<=B1)&C1", "([.A1]<=[.B1])&[.C1]"},
        {"the range operator", {ref("A1"), ref("B2"), op(Kind::Range)}, "A1:B2", "[.A1]:[.B2]"},
        {"an intersection", {ref("A1:B2"), ref("B1:C3"), op(Kind::Intersection)}, "A1:B2 B1:C3", "[.A1:.B2]![.B1:.C3]"},
        {"a union as an argument", {ref("A1"), ref("B1"), op(Kind::Union), call(4, 1)}, "SUM((A1,B1))", "SUM([.A1]~[.B1])"},
        {"spaces around an operator", {ref("A1"), space(1), ref("B1"), space(2), op(Kind::Add)}, "A1  + B1", "[.A1]  + [.B1]"},
        {"a line break before a closing parenthesis", {ref("A1"), space(1, true, true), call(4, 1)}, "SUM(A1\n)", "SUM([.A1]\n)"},
    };
    return table;
}

} // namespace formulatable
