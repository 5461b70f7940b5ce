#include "sheet/Errors.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/biff/WorkbookFile.h"
#include "sheet/formula/CellFormulas.h"
#include "sheet/formula/FormulaParser.h"
#include "sheet/formula/FormulaRecords.h"
#include "sheet/formula/TokenReader.h"
#include "sheet/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

namespace {

using namespace sheet::formula;
using sheet::model::CellAddress;
using sheet::model::Record;
using sheet::model::Workbook;

constexpr std::uint16_t NameRecord = 0x0018, ExternNameRecord = 0x0023;

// A cell's value as text, of each kind its own.
std::string valueText(const sheet::CellValue& value)
{
    if (const double* number = std::get_if<double>(&value))
        return "number " + std::to_string(*number);
    if (const std::string* text = std::get_if<std::string>(&value))
        return "text " + *text;
    if (const bool* logical = std::get_if<bool>(&value))
        return *logical ? "TRUE" : "FALSE";
    if (const sheet::ErrorCode* error = std::get_if<sheet::ErrorCode>(&value))
        return sheet::model::errorText(*error);
    return "empty";
}

// Every text of the workbook in one grammar: the cells' formulas by sheet and cell with their
// results, then the names'.
std::vector<std::string> texts(const Workbook& workbook, Grammar grammar)
{
    const WorkbookLinks links = readWorkbookLinks(workbook, modelSheetNames(workbook));
    std::vector<std::string> all;
    for (std::size_t k = 0; k < workbook.sheets.size(); ++k) {
        const SheetFormulas formulas(workbook.sheets[k], static_cast<int>(k), links, grammar);
        for (const auto& [at, records] : workbook.sheets[k].formulas) {
            const sheet::model::Cell* cell = workbook.sheets[k].cell(at.row, at.column);
            const std::string result = cell ? valueText(workbook.value(*cell)) : "none";
            if (const std::optional<CellFormula> formula = formulas.at(at))
                all.push_back(std::to_string(k) + "!" + std::to_string(at.row) + "," + std::to_string(at.column) + " "
                              + formula->text + " = " + result);
        }
    }
    for (const DefinedName& name : links.names) {
        all.push_back(writtenName(name, grammar) + (name.hidden ? " hidden " : " ") + std::to_string(name.scope) + " ");
        if (!name.tokens.empty())
            all.back() += formulaText(readTokens(name.tokens, name.extra, {}, links.text), grammar, links, name.scope);
    }
    return all;
}

// The cell of an A1 address ("B26"), A1 for none.
CellAddress cellOf(const std::string& address)
{
    if (address.empty())
        return {};
    FormulaContext context({});
    const std::vector<Token> tokens = parseFormula(address, Grammar::A1, context);
    return {tokens.at(0).first.row, tokens.at(0).first.column};
}

// Remakes the workbook's formulas and names from their A1 text, as a reader of a package does.
void remake(Workbook& workbook)
{
    const WorkbookLinks links = readWorkbookLinks(workbook, modelSheetNames(workbook));
    FormulaContext context(links.sheetNames);
    for (const LinkedBook& book : links.books) {
        if (book.kind == LinkedBook::Kind::External)
            context.addExternalBook(book.target, book.sheets);
    }
    std::vector<int> indexes;
    for (const DefinedName& name : links.names) {
        indexes.push_back(name.standsForFunction() ? context.newerFunction(name.name.substr(6))
                                                   : context.addName(writtenName(name, Grammar::A1), name.scope, name.hidden));
    }
    for (std::size_t k = 0; k < links.names.size(); ++k) {
        const DefinedName& name = links.names[k];
        if (!name.tokens.empty())
            parseNameFormula(context, indexes[k],
                             formulaText(readTokens(name.tokens, name.extra, {}, links.text), Grammar::A1, links, name.scope),
                             Grammar::A1);
    }
    for (std::size_t k = 0; k < workbook.sheets.size(); ++k) {
        sheet::model::Sheet& sheet = workbook.sheets[k];
        context.sheet = static_cast<int>(k);
        std::map<CellAddress, std::vector<Record>> remade;
        const SheetFormulas formulas(sheet, context.sheet, links, Grammar::A1);
        for (const auto& [at, records] : sheet.formulas) {
            const std::optional<CellFormula> formula = formulas.at(at);
            if (!formula)
                continue;
            const auto result = [&](int row, int column) {
                const sheet::model::Cell* cell = sheet.cell(row, column);
                return std::pair(cell ? cell->xf : 15, cell ? workbook.value(*cell) : sheet::CellValue());
            };
            if (formula->kind == CellFormula::Kind::DataTable) {
                DataTable table{formula->range, formula->twoInputs, formula->rowInput, cellOf(formula->firstInput),
                                cellOf(formula->secondInput), formula->firstDeleted, formula->secondDeleted};
                for (int row = table.range.firstRow; row <= table.range.lastRow; ++row) {
                    for (int column = table.range.firstColumn; column <= table.range.lastColumn; ++column) {
                        const auto [xf, value] = result(row, column);
                        remade[{row, column}] = dataTableRecords(table, {row, column}, xf, value);
                    }
                }
                continue;
            }
            const EncodedFormula encoded = encodeTokens(parseFormula(formula->text, Grammar::A1, context));
            if (formula->kind == CellFormula::Kind::Cell) {
                const auto [xf, value] = result(at.row, at.column);
                remade[at] = formulaRecords(at, xf, encoded, value);
                continue;
            }
            const sheet::model::CellRange& range = formula->range;
            for (int row = range.firstRow; row <= range.lastRow; ++row) {
                for (int column = range.firstColumn; column <= range.lastColumn; ++column) {
                    const auto [xf, value] = result(row, column);
                    remade[{row, column}] = arrayFormulaRecords(range, {row, column}, xf, encoded, value);
                }
            }
        }
        sheet.formulas = std::move(remade);
        sheet.modified = true;
    }
    // The links and names take the place of those the workbook had.
    auto& records = workbook.globalRecords;
    std::size_t place = records.size();
    std::vector<Record> kept;
    bool dropping = false;
    for (Record& record : records) {
        const bool link = record.type == NameRecord || record.type == ExternNameRecord || record.type == sheet::biff::rt::SupBook
            || record.type == sheet::biff::rt::ExternSheet;
        if (link && place == records.size())
            place = kept.size();
        if (!(link || (dropping && record.type == sheet::biff::rt::Continue)))
            kept.push_back(std::move(record));
        dropping = link || (dropping && record.type == sheet::biff::rt::Continue);
    }
    if (place == records.size()) {
        const auto last = std::find_if(kept.rbegin(), kept.rend(), [](const Record& record) {
            return record.type == sheet::biff::rt::BoundSheet;
        });
        place = static_cast<std::size_t>(kept.rend() - last);
    }
    std::vector<Record> links_ = linkRecords(context.links);
    kept.insert(kept.begin() + static_cast<std::ptrdiff_t>(place), links_.begin(), links_.end());
    records = std::move(kept);
    workbook.modified = true;
}

// The formulas and names of every workbook at hand, remade from their text into records, are written
// as before in both grammars, and again once the workbook is saved and read back.
TEST(FormulaRecords, RemakeTheFormulasAndNamesOfTheWorkbooksAtHand)
{
    std::size_t workbooks = 0;
    for (const auto& entry : std::filesystem::directory_iterator(sheet::test::dataPath(""))) {
        if (entry.path().extension() != ".xls")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        sheet::biff::WorkbookFile file;
        try {
            file = sheet::biff::openWorkbookFile(entry.path().string());
        } catch (const sheet::PasswordError&) {
            continue;
        }
        if (file.workbook.biff != 8)
            continue;
        const std::vector<std::string> a1 = texts(file.workbook, Grammar::A1);
        const std::vector<std::string> openFormula = texts(file.workbook, Grammar::OpenFormula);
        try {
            remake(file.workbook);
            EXPECT_EQ(texts(file.workbook, Grammar::A1), a1);
            EXPECT_EQ(texts(file.workbook, Grammar::OpenFormula), openFormula);
            const sheet::biff::WorkbookFile saved = sheet::biff::readWorkbookFile(sheet::biff::workbookFileBytes(file));
            EXPECT_EQ(texts(saved.workbook, Grammar::A1), a1);
            ++workbooks;
        } catch (const sheet::Error& error) {
            ADD_FAILURE() << error.what();
        }
    }
    EXPECT_GE(workbooks, 12u);
}

// A text result longer than a record holds is carried on in CONTINUE records and read back whole.
TEST(FormulaRecords, KeepALongTextResult)
{
    sheet::biff::WorkbookFile file = sheet::biff::openWorkbookFile(sheet::test::dataPath("writeexcel-formulas-and-names.xls"));
    sheet::model::Sheet& sheet = file.workbook.sheets.at(0);
    const CellAddress at{0, 2};
    ASSERT_NE(sheet.cell(at.row, at.column), nullptr);
    sheet::model::Cell& cell = sheet.cells[at];
    std::string text;
    for (int k = 0; k < 5000; ++k)
        text += "\xE2\x82\xAC"; // €, which takes two bytes in the record
    FormulaContext context(modelSheetNames(file.workbook));
    context.sheet = 0;
    sheet.formulas[at] = formulaRecords(at, cell.xf, encodeTokens(parseFormula("REPT(\"\xE2\x82\xAC\",5000)", Grammar::A1, context)), text);
    ASSERT_EQ(sheet.formulas[at].size(), 3u); // FORMULA, STRING and one CONTINUE
    file.workbook.setValue(cell, text);
    sheet.modified = true;

    const sheet::biff::WorkbookFile saved = sheet::biff::readWorkbookFile(sheet::biff::workbookFileBytes(file));
    const sheet::model::Sheet& again = saved.workbook.sheets.at(0);
    EXPECT_EQ(saved.workbook.value(*again.cell(at.row, at.column)), sheet::CellValue(text));
    const WorkbookLinks links = readWorkbookLinks(saved.workbook, modelSheetNames(saved.workbook));
    EXPECT_EQ(SheetFormulas(again, 0, links, Grammar::A1).at(at)->text, "REPT(\"\xE2\x82\xAC\",5000)");
}

} // namespace
