#include "sheet/Errors.h"
#include "sheet/formula/FormulaText.h"
#include "sheet/formula/Functions.h"
#include "sheet/formula/TokenReader.h"

#include "FormulaTable.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

using namespace sheet::formula;
using namespace formulatable;
using Kind = Token::Kind;

TEST(FormulaText, WritesEveryKindOfTokenInBothGrammars)
{
    const WorkbookLinks workbook = links();
    for (const Row& row : rows()) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(formulaText(row.tokens, Grammar::A1, workbook, 0), row.a1);
        EXPECT_EQ(formulaText(row.tokens, Grammar::OpenFormula, workbook, 0), row.openFormula);
    }
}

// The table serves both ways: every function's names, in any case, lead back to it.
TEST(Functions, EveryNameLeadsBackToItsFunction)
{
    int functions = 0;
    for (int id = 0; id < 400; ++id) {
        const Function* function = functionById(id);
        if (!function)
            continue;
        ++functions;
        EXPECT_EQ(functionByName(function->name), function) << function->name;
        // OpenFormula knows Excel's USDOLLAR as DOLLAR, which is DOLLAR's too.
        EXPECT_EQ(functionByName(function->nameIn(true))->nameIn(true), function->nameIn(true));
    }
    EXPECT_EQ(functions, 370);
    EXPECT_EQ(functionByName("legacy.normsdist")->id, 294);
    EXPECT_EQ(functionById(NamedFunctionId), nullptr);
    EXPECT_EQ(functionByName("IFERROR"), nullptr);
}

// Names that Excel 97 took but the package formats do not are written so that they do, each still its own.
TEST(WorkbookLinks, MendsTheNamesThePackagesCannotTake)
{
    std::vector<DefinedName> names;
    for (const char* text : {"Total", "my name", "my_name", "1st", "?x", "a\x15" "b", "Tax2019", "IV1", "r2c3", "TOTAL", "My_Name"}) {
        DefinedName name;
        name.name = text;
        names.push_back(name);
    }
    names.back().scope = 0;
    mendNames(names);
    std::vector<std::string> written;
    for (const DefinedName& name : names)
        written.push_back(writtenName(name, Grammar::A1));
    EXPECT_EQ(written, (std::vector<std::string>{"Total", "my_name_2", "my_name", "_1st", "_?x", "a_b", "_Tax2019", "_IV1",
                                                 "_r2c3", "TOTAL_2", "My_Name"}));
}

TEST(FormulaText, RefusesTokensThatMakeNoFormula)
{
    const WorkbookLinks workbook = links();
    const std::vector<std::vector<Token>> broken = {
        {}, {op(Kind::Add)}, {ref("A1"), ref("B1")}, {call(4, 2)}, {name(9)}, {ref("A1", 40)}};
    for (const auto& tokens : broken)
        EXPECT_THROW(formulaText(tokens, Grammar::A1, workbook, 0), sheet::FormatError);
}

// The bytes of a formula as the file keeps them, through the tokens to their text.
std::string textOf(std::vector<std::uint8_t> tokens, std::vector<std::uint8_t> extra = {}, sheet::model::CellAddress base = {})
{
    static const WorkbookLinks workbook = links();
    return formulaText(readTokens(tokens, extra, base, sheet::biff::RecordText{}), Grammar::A1, workbook, 0);
}

TEST(TokenReader, ReadsTheTokensOfTheFile)
{
    // SUM(B4:B9) as Excel stores it: PtgArea, then PtgAttr's one-argument sum.
    EXPECT_EQ(textOf({0x25, 3, 0, 8, 0, 1, 0xC0, 1, 0xC0, 0x19, 0x10, 0, 0}), "SUM(B4:B9)");
    // A shared formula's relative cell one row up and one column left of the cell using it, at C5.
    EXPECT_EQ(textOf({0x4C, 0xFF, 0xFF, 0xFF, 0xC0, 0x1E, 2, 0, 0x05}, {}, {4, 2}), "B4*2");
    // IF with its jumps and a Unicode text; the jumps leave no trace.
    EXPECT_EQ(textOf({0x1D, 1, 0x19, 0x02, 4, 0, 0x17, 2, 1, 0xE4, 0, 0x4E, 0, 0x19, 0x08, 3, 0, 0x42, 2, 1, 0}),
              "IF(TRUE,\"\xC3\xA4N\")");
    // An array constant, its values after the tokens; a 3-D area on entry 1; a name; a number.
    EXPECT_EQ(textOf({0x60, 0, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0x01, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0x02, 1, 0, 0, 'z'}),
              "{1,\"z\"}");
    EXPECT_EQ(textOf({0x3B, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0x1F, 0, 0, 0, 0, 0, 0, 0x04, 0x40, 0x05}), "'My Sheet'!$A$1:$B$2*2.5");
    EXPECT_EQ(textOf({0x23, 1, 0, 0, 0}), "Total");
    // A memory token ahead of its sub-expression, and a deleted cell.
    EXPECT_EQ(textOf({0x29, 5, 0, 0x2A, 0, 0, 0, 0, 0x15}), "(#REF!)");
    EXPECT_THROW(textOf({0x25, 3, 0}), sheet::FormatError);
    EXPECT_THROW(textOf({0x21, 0xFF, 0x7F}), sheet::FormatError);
    EXPECT_THROW(textOf({0xFF}), sheet::FormatError);
}

} // namespace
