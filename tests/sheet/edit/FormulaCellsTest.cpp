#include "sheet/Errors.h"
#include "sheet/TestFiles.h"
#include "sheet/biff/WorkbookFile.h"
#include "sheet/edit/CellEditing.h"
#include "sheet/io/ByteWriter.h"

#include <gtest/gtest.h>

namespace sheet {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint16_t FormulaType = 0x0006;
constexpr std::uint16_t SharedFormulaType = 0x04BC;
constexpr std::uint16_t ArrayType = 0x0221;
constexpr std::uint16_t TableType = 0x0236;
constexpr std::uint8_t PtgExp = 0x01;
constexpr std::uint8_t PtgTbl = 0x02;

// A FORMULA record of a cell (0-based) with a number result and the tokens `tokens`.
model::Record formula(int row, int column, double result, const Bytes& tokens, std::uint16_t options = 0)
{
    model::Record record{FormulaType, {}, false};
    io::ByteWriter w(record.bytes);
    w.u16(static_cast<std::uint16_t>(row));
    w.u16(static_cast<std::uint16_t>(column));
    w.u16(15);
    w.f64(result);
    w.u16(options);
    w.u32(0);
    w.u16(static_cast<std::uint16_t>(tokens.size()));
    w.bytes(tokens);
    return record;
}

// The one token that makes a cell part of the group that starts at (row, column).
Bytes groupToken(std::uint8_t ptg, int row, int column)
{
    return {ptg, static_cast<std::uint8_t>(row), 0, static_cast<std::uint8_t>(column), 0};
}

// A SHRFMLA, ARRAY or TABLE record over rows first..last of one column, then `rest`.
model::Record groupRecord(std::uint16_t type, int first, int last, int column, const Bytes& rest)
{
    model::Record record{type, {}, false};
    io::ByteWriter w(record.bytes);
    w.u16(static_cast<std::uint16_t>(first));
    w.u16(static_cast<std::uint16_t>(last));
    w.u8(static_cast<std::uint8_t>(column));
    w.u8(static_cast<std::uint8_t>(column));
    w.bytes(rest);
    return record;
}

class FormulaCells : public ::testing::Test {
protected:
    biff::WorkbookFile file = biff::openWorkbookFile(test::templatePath());
    model::Workbook& workbook = file.workbook;
    model::Sheet& sheet() { return workbook.sheets[0]; }

    void addFormula(int row, int column, double result, std::vector<model::Record> records)
    {
        model::Cell& cell = sheet().cells[model::CellAddress{row, column}];
        cell.setNumber(result);
        cell.setHasFormula(true);
        sheet().formulas[model::CellAddress{row, column}] = std::move(records);
        sheet().modified = true;
    }
    void write(int row, int column, std::string_view text)
    {
        edit::writeCellText(workbook, 0, row, column, text, NumberLocale{U'.', U','});
    }
    void reopen() { file = biff::readWorkbookFile(biff::workbookFileBytes(file)); }
};

// D4:D7 share =B4*2+SUM(B4:B$9), relative to each cell. Writing D6 and then D4, the first cell that
// holds the shared tokens, leaves D5 and D7 with formulas of their own that compute the same.
TEST_F(FormulaCells, TheOtherCellsOfASharedFormulaKeepWhatTheyCompute)
{
    const Bytes shared = {0x4C, 0, 0, 0xFE, 0xC0,                   // B (same row), value class
                          0x1E, 2, 0, 0x05,                          // * 2
                          0x2D, 0, 0, 8, 0, 0xFE, 0xC0, 0xFE, 0x40,  // B(same row):B$9
                          0x19, 0x10, 0, 0, 0x03};                   // SUM, +
    Bytes sharedBody = {0, 4};
    io::ByteWriter(sharedBody).u16(static_cast<std::uint16_t>(shared.size()));
    sharedBody.insert(sharedBody.end(), shared.begin(), shared.end());
    addFormula(3, 3, 40, {formula(3, 3, 40, groupToken(PtgExp, 3, 3), 0x0008),
                          groupRecord(SharedFormulaType, 3, 6, 3, sharedBody)});
    for (int row = 4; row <= 6; ++row)
        addFormula(row, 3, 50 + row, {formula(row, 3, 50 + row, groupToken(PtgExp, 3, 3), 0x0008)});
    reopen();

    write(5, 3, "");
    write(3, 3, "7");
    reopen();
    EXPECT_EQ(sheet().cell(3, 3)->number(), 7);
    EXPECT_FALSE(sheet().cell(3, 3)->hasFormula());
    EXPECT_EQ(sheet().cell(5, 3), nullptr) << "D6 emptied";
    for (int row : {4, 6}) {
        const model::Cell* cell = sheet().cell(row, 3);
        ASSERT_TRUE(cell && cell->hasFormula()) << row;
        EXPECT_EQ(cell->number(), 50 + row);
        const std::vector<model::Record>& records = *sheet().formulaOf({row, 3}, *cell);
        ASSERT_EQ(records.size(), 1u) << "no shared formula is left";
        const auto r = static_cast<std::uint8_t>(row);
        const Bytes own = {0x44, r, 0, 1, 0xC0, 0x1E, 2, 0, 0x05, 0x25, r, 0, 8, 0, 1, 0xC0, 1, 0x40, 0x19, 0x10, 0, 0, 0x03};
        EXPECT_EQ(formula(row, 3, 50 + row, own).bytes, records[0].bytes) << "a formula of its own at row " << row + 1;
    }
}

struct WholeRange {
    const char* name;
    std::uint8_t ptg;
    std::uint16_t recordType;
    Bytes recordRest;
    const char* what;
};

void PrintTo(const WholeRange& range, std::ostream* out)
{
    *out << range.name;
}

class WholeRanges : public FormulaCells, public ::testing::WithParamInterface<WholeRange> {};

// E4:E5 is an array formula or a data table: neither of its cells takes a value, and nothing changes;
// a group of one cell, F4, is replaced whole.
TEST_P(WholeRanges, RefuseAWriteToPartOfThemAndChangeNothing)
{
    const WholeRange& range = GetParam();
    addFormula(3, 4, 1, {formula(3, 4, 1, groupToken(range.ptg, 3, 4)), groupRecord(range.recordType, 3, 4, 4, range.recordRest)});
    addFormula(4, 4, 2, {formula(4, 4, 2, groupToken(range.ptg, 3, 4))});
    addFormula(3, 5, 3, {formula(3, 5, 3, groupToken(range.ptg, 3, 5)), groupRecord(range.recordType, 3, 3, 5, range.recordRest)});
    reopen();
    const Bytes before = biff::workbookFileBytes(file);
    for (const auto& [row, text] : {std::pair{3, "E4"}, std::pair{4, "E5"}}) {
        for (const char* value : {"9", ""}) {
            try {
                write(row, 4, value);
                ADD_FAILURE() << text << " was written";
            } catch (const PartialRangeError& error) {
                EXPECT_EQ(error.what(), std::string("cannot change part of ") + range.what + ": " + text + " lies in E4:E5");
            }
        }
    }
    EXPECT_EQ(biff::workbookFileBytes(file), before);
    write(3, 5, "9");
    reopen();
    EXPECT_EQ(sheet().cell(3, 5)->number(), 9);
    EXPECT_FALSE(sheet().cell(3, 5)->hasFormula());
}

INSTANTIATE_TEST_SUITE_P(
    ArrayAndTable, WholeRanges,
    ::testing::Values(WholeRange{"ArrayFormula", PtgExp, ArrayType, {0, 0, 0, 0, 0, 0, 3, 0, 0x1E, 1, 0}, "an array formula"},
                      WholeRange{"DataTable", PtgTbl, TableType, {0, 0, 1, 0, 2, 0, 0xFF, 0xFF, 0, 0}, "a data table"}),
    [](const ::testing::TestParamInfo<WholeRange>& info) { return std::string(info.param.name); });

} // namespace
} // namespace sheet
