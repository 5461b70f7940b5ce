#include "sheet/Errors.h"
#include "sheet/biff/WorkbookFile.h"
#include "sheet/formula/CellFormulas.h"
#include "sheet/formula/FormulaParser.h"
#include "sheet/formula/TokenReader.h"
#include "sheet/formula/TokenWriter.h"
#include "sheet/TestFiles.h"

#include "FormulaTable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using namespace sheet::formula;

// The text again after the text is read, its tokens stored as the file stores them and read back.
std::string again(const std::string& text, Grammar grammar, FormulaContext& context)
{
    const EncodedFormula encoded = encodeTokens(parseFormula(text, grammar, context));
    const std::vector<Token> tokens = readTokens(encoded.tokens, encoded.extra, {}, sheet::biff::RecordText{});
    return formulaText(tokens, grammar, context.links, context.sheet);
}

TEST(FormulaParser, ReadsBackEveryTextOfTheTableInBothGrammars)
{
    for (const formulatable::Row& row : formulatable::rows()) {
        SCOPED_TRACE(row.what);
        FormulaContext context({});
        context.links = formulatable::links();
        context.sheet = 0;
        EXPECT_EQ(again(row.a1, Grammar::A1, context), row.a1);
        EXPECT_EQ(again(row.openFormula, Grammar::OpenFormula, context), row.openFormula);
    }
}

// Forms that other programs write read as what they mean, which is then written in the usual way.
TEST(FormulaParser, ReadsTheFormsOtherProgramsWrite)
{
    struct Form {
        const char* text;
        Grammar grammar;
        const char* written;
    };
    const Form forms[] = {
        {"=sum(a1:a1048576)", Grammar::A1, "SUM(A:A)"},
        {"$A$1:$XFD$2", Grammar::A1, "$1:$2"},
        {"IFERROR(1/0,\"\")", Grammar::A1, "_xlfn.IFERROR(1/0,\"\")"},
        {"Sheet1!A1:Sheet1!B2", Grammar::A1, "Sheet1!A1:Sheet1!B2"},
        {"'Sheet1'!A1 + _xlnm.Print_Area", Grammar::A1, "Sheet1!A1 + _xlnm.Print_Area"},
        {"of:=SUM([.A1:.A1048576];[.A1:.AMJ1])", Grammar::OpenFormula, "SUM([.A1:.A65536];[.A1:.IV1])"},
        {"of:=[$Sheet1.A1:$Sheet1.B2]", Grammar::OpenFormula, "[$Sheet1.A1:.B2]"},
        {"of:=['Sheet1'.A1]*Excel_BuiltIn_Print_Area", Grammar::OpenFormula, "[$Sheet1.A1]*Excel_BuiltIn_Print_Area"},
        {"msoxl:=A1*2", Grammar::OpenFormula, "[.A1]*2"},
        {"oooc:=TRUE()", Grammar::OpenFormula, "TRUE()"},
    };
    for (const Form& form : forms) {
        SCOPED_TRACE(form.text);
        FormulaContext context({"Sheet1"});
        EXPECT_EQ(again(form.text, form.grammar, context), form.written);
    }
    FormulaContext context({"Sheet1"});
    EXPECT_THROW(parseFormula("SUM(Table1[Amount])", Grammar::A1, context), sheet::FormatError);

    // A shared formula at its other cells: relative rows and columns move, off the sheet to #REF!.
    const std::vector<Token> shared = parseFormula("A2*$B$2+Sheet1!C$3:D4+SUM(1:1)", Grammar::A1, context);
    const auto at = [&](int rows, int columns) {
        return formulaText(movedFormula(shared, rows, columns), Grammar::A1, context.links, 0);
    };
    EXPECT_EQ(at(2, 1), "B4*$B$2+Sheet1!D$3:E6+SUM(3:3)");
    EXPECT_EQ(at(-1, 0), "A1*$B$2+Sheet1!C$3:D3+SUM(#REF!)");
    EXPECT_EQ(at(0, 256), "#REF!*$B$2+#REF!+SUM(1:1)");
}

// Cells and areas are references, computed for a whole range where a function takes arrays.
TEST(FormulaParser, GivesOperandsTheClassesExcelExpects)
{
    FormulaContext context({"Sheet1"});
    const auto bytes = [&](const char* text) { return encodeTokens(parseFormula(text, Grammar::A1, context)).tokens; };
    // SUM of one area: PtgAreaR and PtgAttrSum; a cell under an operator, PtgRefR.
    EXPECT_EQ(bytes("SUM(B4:B9)"), (std::vector<std::uint8_t>{0x25, 3, 0, 8, 0, 1, 0xC0, 1, 0xC0, 0x19, 0x10, 0, 0}));
    EXPECT_EQ(bytes("$A$1+1"), (std::vector<std::uint8_t>{0x24, 0, 0, 0, 0, 0x1E, 1, 0, 0x03}));
    // Within SUMPRODUCT the areas and LEN are arrays (PtgAreaA, PtgFuncA); SUMPRODUCT a value (PtgFuncVarV).
    EXPECT_EQ(bytes("SUMPRODUCT(LEN($A$1:$A$2))"),
              (std::vector<std::uint8_t>{0x65, 0, 0, 1, 0, 0, 0, 0, 0, 0x61, 32, 0, 0x42, 1, 228, 0}));
    // OFFSET gives SUM a reference (PtgFuncVarR); INDEX at the top a value.
    EXPECT_EQ(bytes("SUM(OFFSET($A$1,1,1))").at(11), 0x22);
    EXPECT_EQ(bytes("INDEX($A$1:$A$2,1)").at(12), 0x42);
}

// A context as a package reader makes it: the sheets, the other workbooks in their order, the names.
FormulaContext contextOf(const WorkbookLinks& links)
{
    FormulaContext context(links.sheetNames);
    for (const LinkedBook& book : links.books) {
        if (book.kind == LinkedBook::Kind::External)
            context.addExternalBook(book.target, book.sheets);
    }
    for (const DefinedName& name : links.names) {
        if (name.standsForFunction())
            context.newerFunction(name.name.substr(6));
        else
            context.addName(writtenName(name, Grammar::A1), name.scope, name.hidden);
    }
    return context;
}

// Every formula and name of the workbooks at hand, written in either grammar, reads back to itself.
TEST(FormulaParser, ReadsBackEveryFormulaOfTheWorkbooksAtHand)
{
    std::size_t formulas = 0;
    for (const auto& entry : std::filesystem::directory_iterator(sheet::test::dataPath(""))) {
        if (entry.path().extension() != ".xls")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        sheet::model::Workbook workbook;
        try {
            workbook = sheet::biff::openWorkbookFile(entry.path().string()).workbook;
        } catch (const sheet::PasswordError&) {
            continue;
        }
        const WorkbookLinks links = readWorkbookLinks(workbook, modelSheetNames(workbook));
        for (Grammar grammar : {Grammar::A1, Grammar::OpenFormula}) {
            FormulaContext context = contextOf(links);
            const auto check = [&](const std::string& text) {
                SCOPED_TRACE(text);
                try {
                    EXPECT_EQ(again(text, grammar, context), text);
                } catch (const sheet::Error& error) {
                    ADD_FAILURE() << error.what();
                }
                ++formulas;
            };
            for (std::size_t k = 0; k < workbook.sheets.size(); ++k) {
                context.sheet = static_cast<int>(k);
                const SheetFormulas sheet(workbook.sheets[k], context.sheet, links, grammar);
                for (const auto& [address, records] : workbook.sheets[k].formulas) {
                    const std::optional<CellFormula> formula = sheet.at(address);
                    if (formula && formula->kind != CellFormula::Kind::DataTable && !formula->text.starts_with("MULTIPLE.OPERATIONS"))
                        check(formula->text);
                }
            }
            for (const DefinedName& name : links.names) {
                if (name.tokens.empty())
                    continue;
                context.sheet = name.scope;
                check(formulaText(readTokens(name.tokens, name.extra, {}, links.text), grammar, links, name.scope));
            }
        }
    }
    EXPECT_GE(formulas, 10000u);
}

// Text that makes no formula, or none the file format holds, is refused by name, never by a crash.
TEST(FormulaParser, RefusesWhatMakesNoFormula)
{
    const std::string deep = std::string(10000, '(') + "1" + std::string(10000, ')');
    const std::string signs = std::string(10000, '-') + "1";
    const std::string longText = "\"" + std::string(300, 'x') + "\"";
    const std::vector<std::string> either = {"", "  ", "SUM(1", "1)", "1+", "(1,2", "\"open", "1e999", "1e-999", "#WHAT!",
                                             "ROUND(1)", "PI(1)", deep, signs, longText, "[.A1", "[$Nowhere.A1]", "[.IW1]",
                                             "[7]Sheet1!A1", "'Sheet1'", "A1:", "@"};
    const auto refused = [](const std::string& text, Grammar grammar) {
        SCOPED_TRACE(text.substr(0, 40));
        FormulaContext context({"Sheet1"});
        EXPECT_THROW(encodeTokens(parseFormula(text, grammar, context)), sheet::FormatError);
    };
    for (const std::string& text : either) {
        refused(text, Grammar::A1);
        refused(text, Grammar::OpenFormula);
    }
    std::string manyArguments = "SUM(1";
    for (int k = 0; k < 30; ++k)
        manyArguments += ",1";
    refused(manyArguments + ")", Grammar::A1);
    for (const char* text : {"IV65537", "Nowhere!A1", "XFD1", "{1,2;3}", "[1]!Name", "Sheet1!#DIV/0!"})
        refused(text, Grammar::A1);
    for (const char* text : {"{1;2|3}", "[.A1:.B]", "[$Sheet1.A1", "'file:///x.ods'Name", "[.#N/A]"})
        refused(text, Grammar::OpenFormula);
}

} // namespace
