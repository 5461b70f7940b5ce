#include "sheet/Errors.h"
#include "sheet/biff/WorkbookFile.h"
#include "sheet/formula/CellFormulas.h"
#include "sheet/formula/TokenReader.h"
#include "sheet/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace sheet::formula;

// The cells a written formula stands for: its own, or all of an array formula's or a data table's.
std::size_t cellsOf(const CellFormula& formula)
{
    if (formula.kind == CellFormula::Kind::Cell)
        return 1;
    const sheet::model::CellRange& range = formula.range;
    return static_cast<std::size_t>((range.lastRow - range.firstRow + 1) * (range.lastColumn - range.firstColumn + 1));
}

struct Counts {
    std::size_t formulas = 0;
    std::size_t names = 0;
};

// Writes every formula and name of the workbook in both grammars, checking that the written formulas
// stand for as many cells as the sheet has formula cells.
void writeAll(const sheet::model::Workbook& workbook, Counts& counts)
{
    const WorkbookLinks links = readWorkbookLinks(workbook, modelSheetNames(workbook));
    for (Grammar grammar : {Grammar::A1, Grammar::OpenFormula}) {
        for (std::size_t k = 0; k < workbook.sheets.size(); ++k) {
            const sheet::model::Sheet& sheet = workbook.sheets[k];
            const SheetFormulas formulas(sheet, static_cast<int>(k), links, grammar);
            std::size_t cells = 0;
            for (const auto& [address, records] : sheet.formulas) {
                if (const std::optional<CellFormula> formula = formulas.at(address)) {
                    EXPECT_TRUE(!formula->text.empty() || formula->kind == CellFormula::Kind::DataTable);
                    cells += cellsOf(*formula);
                }
            }
            EXPECT_EQ(cells, sheet.formulas.size()) << sheet.name;
            counts.formulas += grammar == Grammar::A1 ? cells : 0;
        }
        for (const DefinedName& name : links.names) {
            if (name.tokens.empty())
                continue;
            const std::vector<Token> tokens = readTokens(name.tokens, name.extra, {}, links.text);
            EXPECT_FALSE(formulaText(tokens, grammar, links, name.scope).empty()) << name.name;
        }
    }
    counts.names += links.names.size();
}

// Every formula and every defined name of every workbook at hand has its text, the workbooks that
// cannot be written for other reasons (comments, pictures, charts) included.
TEST(WorkbookFormulas, EveryFormulaAndNameOfTheWorkbooksAtHandHasItsText)
{
    std::size_t workbooks = 0;
    Counts counts;
    for (const auto& entry : std::filesystem::directory_iterator(sheet::test::dataPath(""))) {
        if (entry.path().extension() != ".xls")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        try {
            writeAll(sheet::biff::openWorkbookFile(entry.path().string()).workbook, counts);
            ++workbooks;
        } catch (const sheet::PasswordError&) {
            continue;
        } catch (const sheet::Error& error) {
            ADD_FAILURE() << error.what();
        }
    }
    EXPECT_GE(workbooks, 15u);
    EXPECT_GE(counts.formulas, 800u);
    EXPECT_GE(counts.names, 5000u);
}

} // namespace
