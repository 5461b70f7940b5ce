#include "sheet/TestFiles.h"
#include "sheet/biff/WorkbookFile.h"
#include "sheet/edit/CellEditing.h"

#include <gtest/gtest.h>

namespace sheet {
namespace {

class ChartRanges : public ::testing::Test {
protected:
    biff::WorkbookFile file = biff::openWorkbookFile(test::templatePath());
    model::Workbook& workbook = file.workbook;

    void write(int row, int column, std::string_view text)
    {
        edit::writeCellText(workbook, 0, row, column, text, NumberLocale{});
    }
    const model::ChartSeries& series() const { return workbook.sheets[0].charts[0].series[0]; }
    void reopen() { file = biff::readWorkbookFile(biff::workbookFileBytes(file)); }
};

TEST_F(ChartRanges, EntriesBelowTheDataExtendTheChartRowByRow)
{
    for (int row = 9; row < 20; ++row) {
        write(row, 0, "entry " + std::to_string(row));
        write(row, 1, std::to_string(row * 100));
    }
    EXPECT_EQ(series().values->range, (model::CellRange{3, 1, 19, 1}));
    EXPECT_EQ(series().categories->range, (model::CellRange{3, 0, 19, 0}));
    reopen();
    EXPECT_EQ(series().values->range, (model::CellRange{3, 1, 19, 1})) << "the chart records were rewritten";
    EXPECT_EQ(series().categories->range, (model::CellRange{3, 0, 19, 0}));
    EXPECT_EQ(series().name->range, (model::CellRange{2, 1, 2, 1}));
}

TEST_F(ChartRanges, NewRowsContinueTheAlternatingLook)
{
    const model::Sheet& sheet = workbook.sheets[0];
    write(9, 0, "Gold");
    write(9, 1, "100");
    write(10, 0, "Art");
    EXPECT_EQ(sheet.cell(9, 0)->xf, sheet.cell(7, 0)->xf);
    EXPECT_EQ(sheet.cell(9, 1)->xf, sheet.cell(7, 1)->xf);
    EXPECT_EQ(sheet.cell(10, 0)->xf, sheet.cell(8, 0)->xf);
    EXPECT_EQ(sheet.cell(10, 1)->xf, sheet.cell(8, 1)->xf) << "the amount cell gets its look with the label";
    EXPECT_EQ(sheet.rowHeight(9), sheet.rowHeight(8));
    EXPECT_EQ(sheet.rowHeight(10), sheet.rowHeight(8));
}

TEST_F(ChartRanges, TheLookGoesOnOverTheFormattedEmptyCellsBelowTheTable)
{
    const model::Sheet& sheet = workbook.sheets[0];
    for (int row = 9; row < 19; ++row) {
        write(row, 0, "entry");
        write(row, 1, "5");
    }
    EXPECT_EQ(sheet.cell(16, 1)->xf, sheet.cell(6, 1)->xf) << "B17 carries the banding on";
    EXPECT_EQ(sheet.cell(18, 1)->xf, sheet.cell(8, 1)->xf) << "so does B19";
}

TEST_F(ChartRanges, OnlyTheCellDirectlyBelowExtends)
{
    write(11, 1, "5");      // a gap: row 10 is empty
    write(9, 2, "5");       // beside the data
    write(2, 1, "Amount");  // inside
    EXPECT_EQ(series().values->range, (model::CellRange{3, 1, 8, 1}));
    EXPECT_EQ(series().categories->range, (model::CellRange{3, 0, 8, 0}));
}

// An entry with an empty amount, or an empty one altogether, keeps the later entries in the chart.
TEST_F(ChartRanges, EmptyCellsBelowTheDataExtendBothRangesInStep)
{
    const std::pair<const char*, const char*> entries[] = {{"Gold", "100"}, {"Art", ""}, {"", ""}, {"Boat", "7"}};
    int row = 9;
    for (const auto& [label, amount] : entries) {
        write(row, 0, label);
        write(row, 1, amount);
        ++row;
    }
    EXPECT_EQ(series().values->range, (model::CellRange{3, 1, 12, 1}));
    EXPECT_EQ(series().categories->range, (model::CellRange{3, 0, 12, 0}));
    write(13, 1, "5");  // an amount without a label
    reopen();
    EXPECT_EQ(series().values->range, (model::CellRange{3, 1, 13, 1}));
    EXPECT_EQ(series().categories->range, (model::CellRange{3, 0, 13, 0}));
}

// Perl's chart names its cells through EXTERNSHEET (Data!$B$2:$B$5), not on the chart's own sheet.
TEST(ChartRangeReferences, ReferencesToANamedSheetExtendToo)
{
    biff::WorkbookFile file = biff::openWorkbookFile(test::dataPath("writeexcel-chart.xls"));
    edit::writeCellText(file.workbook, 1, 5, 0, "other sheet", NumberLocale{});
    EXPECT_EQ(file.workbook.sheets[0].charts[0].series[0].categories->range, (model::CellRange{1, 0, 4, 0}));
    edit::writeCellText(file.workbook, 0, 5, 0, "Birnen", NumberLocale{});
    file = biff::readWorkbookFile(biff::workbookFileBytes(file));
    const model::ChartSeries& series = file.workbook.sheets[0].charts[0].series[0];
    EXPECT_EQ(series.categories->range, (model::CellRange{1, 0, 5, 0}));
    EXPECT_EQ(series.categories->sheet, 0);
    EXPECT_EQ(series.values->range, (model::CellRange{1, 1, 5, 1})) << "the values keep in step";
}

} // namespace
} // namespace sheet
