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
