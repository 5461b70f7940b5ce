#include "WorkbookDump.h"

#include "sheet/model/Workbook.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace sheet::model;

std::string dump(const Workbook& workbook, const std::string& usedRange = "A1")
{
    std::ostringstream output;
    tools::writeWorkbookDump(workbook, usedRange, output);
    return output.str();
}

Workbook twoSheets()
{
    Workbook workbook;
    workbook.xfs.resize(17);
    workbook.xfs[16].formatIndex = 10;  // built-in 0.00%
    workbook.sheets.resize(2);
    workbook.sheets[0].name = "Data";
    workbook.sheets[1].name = "It's mine";
    workbook.sheets[1].visible = false;
    workbook.activeSheet = 1;
    return workbook;
}

TEST(WorkbookDump, ListsEveryKindOfValueOnceWithItsFormat)
{
    Workbook workbook = twoSheets();
    auto& cells = workbook.sheets[1].cells;
    workbook.setValue(cells[{0, 0}], std::string("tab\there\nline"));
    workbook.setValue(cells[{0, 1}], 0.25);
    cells[{0, 1}].xf = 16;
    workbook.setValue(cells[{1, 0}], true);
    workbook.setValue(cells[{1, 1}], ErrorCode::DivisionByZero);
    cells[{2, 0}].xf = 16;
    workbook.setValue(cells[{3, 2}], -12.5);
    cells[{3, 2}].setHasFormula(true);

    EXPECT_EQ(dump(workbook, "A1:C4"),
              "sheet\t1\tData\tworksheet\n"
              "sheet\t2\tIt's mine\tworksheet\tactive\thidden\n"
              "used\tA1:C4\n"
              "cell\tA1\ttext\ttab\\there\\nline\tGeneral\ttab\\there\\nline\n"
              "cell\tB1\tnumber\t0.25\t0.00%\t25.00%\n"
              "cell\tA2\tlogical\tTRUE\tGeneral\tTRUE\n"
              "cell\tB2\terror\t#DIV/0!\tGeneral\t#DIV/0!\n"
              "cell\tC4\tformula:number\t-12.5\tGeneral\t-12.5\n");
}

TEST(WorkbookDump, NamesTheSheetsAndRangesOfEachChartSeries)
{
    Workbook workbook = twoSheets();
    workbook.activeSheet = 0;
    Chart pie;
    pie.groups.push_back({});
    pie.groups[0].type = ChartType::Pie;
    pie.view3d.emplace();
    pie.series.emplace_back();
    pie.series[0].name = RangeReference{1, {2, 1, 2, 1}};
    pie.series[0].values = RangeReference{1, {3, 1, 8, 1}};
    pie.series[0].categories = RangeReference{0, {3, 0, 8, 0}};
    Chart other;
    other.series.emplace_back();
    other.series[0].values = RangeReference{-1, {0, 3, 4, 3}};
    workbook.sheets[0].charts = {pie, other};

    EXPECT_EQ(dump(workbook),
              "sheet\t1\tData\tworksheet\tactive\n"
              "used\tA1\n"
              "chart\t1\tpie\t3-D\n"
              "series\t1\tname='It''s mine'!B3\tvalues='It''s mine'!B4:B9\tcategories=Data!A4:A9\n"
              "chart\t2\tother\t2-D\n"
              "series\t1\tname=none\tvalues=D1:D5\tcategories=none\n"
              "sheet\t2\tIt's mine\tworksheet\thidden\n");
}

}  // namespace
