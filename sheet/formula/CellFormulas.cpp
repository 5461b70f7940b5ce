#include "sheet/formula/CellFormulas.h"

#include "sheet/Errors.h"
#include "sheet/biff/FormulaGroups.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/formula/TokenReader.h"
#include "sheet/io/ByteWriter.h"
#include "sheet/model/A1Notation.h"

namespace sheet::formula {
namespace {

// Where each record's formula starts: its token count, then its tokens and their data.
constexpr std::size_t FormulaTokens = 20;
constexpr std::size_t SharedTokens = 8;
constexpr std::size_t ArrayTokens = 12;
// FORMULA: a single PtgTbl with the first cell of its data table.
constexpr std::uint8_t PtgTbl = 0x02;
// TABLE: the options and the input cells.
constexpr std::size_t TableOptions = 6;
constexpr std::size_t TableInputs = 8;
constexpr std::uint8_t RowInput = 0x04, TwoInputs = 0x08, FirstDeleted = 0x10, SecondDeleted = 0x20;

bool isGroup(std::uint16_t type)
{
    return type == biff::rt::SharedFormula || type == biff::rt::Array || type == biff::rt::Table;
}

// "[.$B$4]": an OpenFormula reference to a cell that stays where it is.
std::string absolute(int row, int column)
{
    std::string cell = model::cellAddress(row, column);
    cell.insert(cell.find_first_of("0123456789"), "$");
    return "[.$" + cell + "]";
}

CellFormula plainFormula(std::string text)
{
    CellFormula formula;
    formula.text = std::move(text);
    return formula;
}

} // namespace

SheetFormulas::SheetFormulas(const model::Sheet& sheet, int sheetIndex, const WorkbookLinks& links, Grammar grammar)
    : sheet_(sheet), sheetIndex_(sheetIndex), links_(links), grammar_(grammar)
{
    for (const auto& [address, records] : sheet.formulas) {
        for (std::size_t k = 1; k < records.size(); ++k) {
            if (isGroup(records[k].type) && records[k].bytes.size() >= 6) {
                const model::CellRange range = biff::formulaGroupRange(records[k]);
                groups_.emplace(model::CellAddress{range.firstRow, range.firstColumn}, &records[k]);
            }
        }
    }
}

std::optional<CellFormula> SheetFormulas::at(const model::CellAddress& at) const
{
    try {
        return make(at);
    } catch (const FormatError& error) {
        const std::string& name = static_cast<std::size_t>(sheetIndex_) < links_.sheetNames.size()
            ? links_.sheetNames[static_cast<std::size_t>(sheetIndex_)] : sheet_.name;
        throw FormatError("sheet \"" + name + "\", cell " + model::cellAddress(at.row, at.column) + ": " + error.what());
    }
}

std::optional<CellFormula> SheetFormulas::make(const model::CellAddress& at) const
{
    const auto found = sheet_.formulas.find(at);
    if (found == sheet_.formulas.end() || found->second.empty())
        return std::nullopt;
    const model::Record& formula = found->second.front();
    if (formula.bytes.size() < FormulaTokens + 2)
        throw FormatError("damaged workbook: a formula is cut short");
    const std::span<const std::uint8_t> tokens = std::span(formula.bytes).subspan(FormulaTokens);
    const std::optional<model::CellAddress> start = biff::formulaGroupStart(formula);
    if (!start)
        return plainFormula(text(tokens, at));

    const model::Record* record = group(*start, at);
    if (!record)
        throw FormatError("damaged workbook: the cell belongs to a shared formula, array formula or data table "
                          "that the sheet does not hold");
    const model::CellRange range = biff::formulaGroupRange(*record);
    const bool first = at.row == range.firstRow && at.column == range.firstColumn;
    if ((tokens[2] == PtgTbl) != (record->type == biff::rt::Table))
        throw FormatError("damaged workbook: a cell of a data table has a formula of its own");
    if (record->type == biff::rt::Table) {
        if (grammar_ == Grammar::A1 && !first)
            return std::nullopt;
        return dataTable(*record, at);
    }
    if (record->type == biff::rt::SharedFormula) {
        if (record->bytes.size() < SharedTokens + 2)
            throw FormatError("damaged workbook: a shared formula is cut short");
        return plainFormula(text(std::span(record->bytes).subspan(SharedTokens), at));
    }
    if (!first)
        return std::nullopt;
    if (record->bytes.size() < ArrayTokens + 2)
        throw FormatError("damaged workbook: an array formula is cut short");
    CellFormula array;
    array.kind = CellFormula::Kind::Array;
    array.text = text(std::span(record->bytes).subspan(ArrayTokens), at);
    array.range = range;
    return array;
}

const model::Record* SheetFormulas::group(const model::CellAddress& start, const model::CellAddress& at) const
{
    const auto found = sheet_.formulas.find(start);
    if (found != sheet_.formulas.end()) {
        for (std::size_t k = 1; k < found->second.size(); ++k) {
            const model::Record& record = found->second[k];
            if (isGroup(record.type) && biff::formulaGroupRange(record).contains(at.row, at.column))
                return &record;
        }
    }
    const auto group = groups_.find(start);
    if (group != groups_.end() && biff::formulaGroupRange(*group->second).contains(at.row, at.column))
        return group->second;
    return nullptr;
}

CellFormula SheetFormulas::dataTable(const model::Record& table, const model::CellAddress& at) const
{
    if (table.bytes.size() < TableInputs + 8)
        throw FormatError("damaged workbook: a data table is cut short");
    const std::uint8_t* b = table.bytes.data();
    CellFormula formula;
    formula.range = biff::formulaGroupRange(table);
    const std::uint8_t options = b[TableOptions];
    formula.twoInputs = options & TwoInputs;
    formula.rowInput = options & RowInput;
    formula.firstDeleted = options & FirstDeleted;
    formula.secondDeleted = options & SecondDeleted;
    const int firstRow = io::ByteWriter::get16(b + TableInputs), firstColumn = io::ByteWriter::get16(b + TableInputs + 2);
    const int secondRow = io::ByteWriter::get16(b + TableInputs + 4), secondColumn = io::ByteWriter::get16(b + TableInputs + 6);
    if (grammar_ == Grammar::A1) {
        formula.kind = CellFormula::Kind::DataTable;
        formula.firstInput = model::cellAddress(firstRow, firstColumn);
        if (formula.twoInputs)
            formula.secondInput = model::cellAddress(secondRow, secondColumn);
        return formula;
    }
    // Each cell: its table's formula computed with the input cells replaced by its row's and column's values.
    const model::CellRange& range = formula.range;
    if (range.firstRow == 0 || range.firstColumn == 0)
        throw FormatError("damaged workbook: a data table has no row or column for its values");
    const auto input = [](bool deleted, int row, int column) { return deleted ? std::string("#REF!") : absolute(row, column); };
    const std::string top = absolute(range.firstRow - 1, at.column);
    const std::string left = absolute(at.row, range.firstColumn - 1);
    const std::string first = input(formula.firstDeleted, firstRow, firstColumn);
    if (formula.twoInputs)
        formula.text = "MULTIPLE.OPERATIONS(" + absolute(range.firstRow - 1, range.firstColumn - 1) + ";" + first + ";"
            + top + ";" + input(formula.secondDeleted, secondRow, secondColumn) + ";" + left + ")";
    else if (formula.rowInput)
        formula.text = "MULTIPLE.OPERATIONS(" + left + ";" + first + ";" + top + ")";
    else
        formula.text = "MULTIPLE.OPERATIONS(" + top + ";" + first + ";" + left + ")";
    formula.kind = CellFormula::Kind::Cell;
    formula.twoInputs = formula.rowInput = false;
    return formula;
}

std::string SheetFormulas::text(std::span<const std::uint8_t> formula, const model::CellAddress& base) const
{
    const std::size_t count = io::ByteWriter::get16(formula.data());
    if (count + 2 > formula.size())
        throw FormatError("damaged workbook: a formula is cut short");
    const std::vector<Token> tokens = readTokens(formula.subspan(2, count), formula.subspan(2 + count), base, links_.text);
    return formulaText(tokens, grammar_, links_, sheetIndex_);
}

} // namespace sheet::formula
