#include "sheet/Errors.h"
#include "sheet/TestFiles.h"
#include "sheet/biff/WorkbookFile.h"
#include "sheet/edit/CellEditing.h"
#include "sheet/edit/SheetView.h"

#include <gtest/gtest.h>

namespace sheet {
namespace {

constexpr const char* Accounting = R"(_($* #,##0_);_($* (#,##0);_($* "-"??_);_(@_))";

class CellEditing : public ::testing::Test {
protected:
    biff::WorkbookFile file = biff::openWorkbookFile(test::templatePath());
    model::Workbook& workbook = file.workbook;
    const NumberLocale english{U'.', U','};

    void write(int row, int column, std::string_view text) { edit::writeCellText(workbook, 0, row, column, text, english); }
    const model::Cell* cell(int row, int column) const { return workbook.sheets[0].cell(row, column); }
    model::CellValue value(int row, int column) const { return workbook.value(*cell(row, column)); }
    std::string format(int row, int column) const
    {
        return workbook.formatCode(edit::cellXf(workbook.sheets[0], row, column));
    }
    // Saves and reads the workbook back.
    void reopen() { file = biff::readWorkbookFile(biff::workbookFileBytes(file)); }
};

TEST_F(CellEditing, TypedTextBecomesNumberOrTextAndSurvivesSaving)
{
    write(3, 0, "Gold 🪙 Ünïcode");
    write(3, 1, "1,234.5");
    write(4, 1, "'42");
    write(20, 3, "TRUE");
    biff::workbookFileBytes(file);  // saving takes the written texts into the string table
    EXPECT_EQ(std::get<std::string>(value(3, 0)), "Gold 🪙 Ünïcode");
    write(6, 0, "Gold 🪙 Ünïcode");
    write(20, 3, "later");
    reopen();
    EXPECT_EQ(std::get<std::string>(value(3, 0)), "Gold 🪙 Ünïcode");
    EXPECT_EQ(std::get<std::string>(value(6, 0)), "Gold 🪙 Ünïcode");
    EXPECT_EQ(cell(6, 0)->textIndex(), cell(3, 0)->textIndex()) << "one string table entry for one text";
    EXPECT_EQ(std::get<double>(value(3, 1)), 1234.5);
    EXPECT_EQ(std::get<std::string>(value(4, 1)), "42");
    EXPECT_EQ(std::get<std::string>(value(20, 3)), "later");
}

TEST_F(CellEditing, EmptyTextEmptiesTheCellButKeepsItsFormat)
{
    const std::string amountFormat = format(3, 1);
    for (int row = 3; row <= 8; ++row) {
        write(row, 0, "");
        write(row, 1, "");
    }
    write(30, 5, "");
    reopen();
    for (int row = 3; row <= 8; ++row) {
        EXPECT_TRUE(std::holds_alternative<std::monostate>(value(row, 1)));
        EXPECT_EQ(format(row, 1), amountFormat);
    }
    EXPECT_EQ(cell(30, 5), nullptr);
    EXPECT_EQ(edit::usedRange(workbook.sheets[0]), (model::CellRange{2, 0, 18, 1})) << "formatted blanks still count";
}

TEST_F(CellEditing, NumberFormatsReadBackAsSetAndReuseWhatExists)
{
    const std::size_t formats = workbook.formats.codes.size();
    const std::size_t xfs = workbook.xfs.size();
    edit::setCellNumberFormat(workbook, 0, 3, 1, Accounting);
    edit::setCellNumberFormat(workbook, 0, 4, 1, Accounting);
    edit::setCellNumberFormat(workbook, 0, 10, 1, Accounting);
    edit::setCellNumberFormat(workbook, 0, 11, 1, "0.00");
    EXPECT_EQ(workbook.formats.codes.size(), formats + 1) << "one new code, 0.00 is built in";
    EXPECT_GE(*workbook.formats.find(Accounting), model::FirstCustomFormat);
    EXPECT_EQ(workbook.xf(cell(11, 1)->xf)->formatIndex, 2);
    EXPECT_LE(workbook.xfs.size(), xfs + 4);
    const int before = cell(5, 1)->xf;
    reopen();
    EXPECT_EQ(format(3, 1), Accounting);
    EXPECT_EQ(format(4, 1), Accounting);
    EXPECT_EQ(format(10, 1), Accounting);
    EXPECT_EQ(format(11, 1), "0.00");
    EXPECT_EQ(cell(5, 1)->xf, before) << "other cells keep their format";
    const model::Xf* changed = workbook.xf(cell(3, 1)->xf);
    const model::Xf* original = workbook.xf(before);
    EXPECT_EQ(changed->fontIndex, original->fontIndex);
    EXPECT_EQ(changed->fillPattern, original->fillPattern);
    EXPECT_EQ(changed->patternForeground, original->patternForeground);
}

TEST_F(CellEditing, PercentInputGetsAPercentFormatOnAGeneralCell)
{
    write(12, 2, "12.5%");
    EXPECT_DOUBLE_EQ(std::get<double>(value(12, 2)), 0.125);
    EXPECT_EQ(format(12, 2), "0.00%");
}

TEST_F(CellEditing, UsedRangeFollowsValuesAndFormats)
{
    write(25, 4, "x");
    EXPECT_EQ(edit::usedRange(workbook.sheets[0]), (model::CellRange{2, 0, 25, 4}));
    write(25, 4, "");
    EXPECT_EQ(edit::usedRange(workbook.sheets[0]), (model::CellRange{2, 0, 18, 1}));
    edit::setCellNumberFormat(workbook, 0, 0, 7, "0");
    EXPECT_EQ(edit::usedRange(workbook.sheets[0]), (model::CellRange{0, 0, 18, 7}));
    model::Sheet empty;
    EXPECT_EQ(edit::usedRange(empty), (model::CellRange{0, 0, 0, 0}));
}

TEST_F(CellEditing, RefusesPositionsOutsideTheSheetAndOverlongTexts)
{
    EXPECT_THROW(write(65536, 0, "x"), ArgumentError);
    EXPECT_THROW(write(-1, 0, "x"), ArgumentError);
    EXPECT_THROW(write(0, 256, "x"), ArgumentError);
    EXPECT_THROW(edit::writeCellText(workbook, 3, 0, 0, "x", english), ArgumentError);
    EXPECT_THROW(write(0, 0, std::string(32768, 'a')), ArgumentError);
    EXPECT_NO_THROW(write(0, 0, std::string(32767, 'a')));
    EXPECT_THROW(edit::setCellNumberFormat(workbook, 0, 0, 0, ""), ArgumentError);
}

TEST_F(CellEditing, ManyRowsKeepTheirOrderAcrossRowBlocks)
{
    for (int row = 3; row < 3 + 1000; ++row) {
        write(row, 0, "label " + std::to_string(row));
        write(row, 1, std::to_string(row * 10));
    }
    reopen();
    for (int row = 3; row < 3 + 1000; ++row) {
        ASSERT_EQ(std::get<std::string>(value(row, 0)), "label " + std::to_string(row));
        ASSERT_EQ(std::get<double>(value(row, 1)), row * 10);
    }
}

// Rows without a ROW record take DEFAULTROWHEIGHT's height and flags; writing a record for them must
// not change how they look.
TEST_F(CellEditing, RowsHiddenByDefaultStayHiddenWhenTheSheetIsWritten)
{
    model::Sheet& sheet = workbook.sheets[0];
    for (model::Record& record : sheet.records)
        if (record.type == 0x0225) {
            record.bytes[0] = 0x03;  // custom height, hidden
            record.bytes[2] = 0x2C;  // 300 twips
            record.bytes[3] = 0x01;
        }
    reopen();
    write(3, 0, "Gold");
    write(40, 2, "in a row without a record");
    reopen();
    const model::Sheet& after = workbook.sheets[0];
    for (int row : {40, 1000}) {
        EXPECT_TRUE(after.rowHidden(row)) << row + 1;
        EXPECT_EQ(after.rowHeight(row), 300) << row + 1;
    }
    EXPECT_TRUE(after.rows.at(40).customHeight);
    EXPECT_FALSE(after.rowHidden(3));
}

TEST_F(CellEditing, GridlinesAndColumnWidthsAreKept)
{
    model::Sheet& sheet = workbook.sheets[0];
    const int secondColumn = sheet.columnWidth(1);
    edit::setShowGridlines(sheet, false);
    edit::setColumnWidth(sheet, 5, 5000);
    edit::setColumnWidth(sheet, 0, 4000);
    reopen();
    EXPECT_FALSE(workbook.sheets[0].showGridlines);
    EXPECT_EQ(workbook.sheets[0].columnWidth(5), 5000);
    EXPECT_EQ(workbook.sheets[0].columnWidth(0), 4000);
    EXPECT_EQ(workbook.sheets[0].columnWidth(1), secondColumn);
    EXPECT_EQ(workbook.sheets[0].charts.size(), 1u);
    EXPECT_THROW(edit::setColumnWidth(workbook.sheets[0], 3, 70000), ArgumentError);
}

TEST_F(CellEditing, AColumnWidthSetInsideARangeSplitsItAndKeepsEverythingElse)
{
    constexpr std::uint16_t HiddenOutlinedCollapsed = 0x1101;
    const std::vector<std::uint8_t> reserved{0x12, 0x34};
    workbook.sheets[0].columns = {model::ColumnInfo{2, 9, 3000, 20, HiddenOutlinedCollapsed, reserved}};
    edit::setColumnWidth(workbook.sheets[0], 4, 5000);
    reopen();
    const std::vector<model::ColumnInfo>& columns = workbook.sheets[0].columns;
    const int expected[][3] = {{2, 3, 3000}, {4, 4, 5000}, {5, 9, 3000}};
    ASSERT_EQ(columns.size(), std::size(expected));
    for (std::size_t k = 0; k < columns.size(); ++k) {
        EXPECT_EQ(columns[k].first, expected[k][0]) << k;
        EXPECT_EQ(columns[k].last, expected[k][1]) << k;
        EXPECT_EQ(columns[k].width, expected[k][2]) << k;
        EXPECT_EQ(columns[k].xf, 20) << k;
        EXPECT_EQ(columns[k].options, HiddenOutlinedCollapsed) << k;
        EXPECT_EQ(columns[k].reserved, reserved) << k;
    }
}

} // namespace
} // namespace sheet
