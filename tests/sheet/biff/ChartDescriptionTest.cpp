#include "sheet/TestFiles.h"
#include "sheet/biff/WorkbookFile.h"

#include <gtest/gtest.h>

namespace sheet {
namespace {

using model::ChartType;

// The template's pie as the model holds it: the view, the title and its font, the labels, each slice's
// fill and explosion.
TEST(ChartDescription, DescribesTheTemplatesPie)
{
    const model::Workbook workbook = biff::openWorkbookFile(test::templatePath()).workbook;
    const model::Chart& chart = workbook.sheets.at(0).charts.at(0);
    ASSERT_EQ(chart.groups.size(), 1u);
    EXPECT_EQ(chart.groups[0].type, ChartType::Pie);
    EXPECT_TRUE(chart.drawsPies());
    ASSERT_TRUE(chart.view3d);
    EXPECT_EQ(chart.view3d->rotation, 210);
    EXPECT_EQ(chart.view3d->elevation, 30);
    ASSERT_TRUE(chart.title);
    EXPECT_EQ(chart.title->plain(), "My Assets");
    EXPECT_EQ(chart.title->font.height, 360);
    EXPECT_TRUE(chart.title->font.bold());
    EXPECT_EQ(chart.labelText.font.height, 260);
    EXPECT_FALSE(chart.legend);
    ASSERT_EQ(chart.series.size(), 1u);
    const model::ChartSeries& series = chart.series[0];
    for (unsigned point = 0; point < 6; ++point) {
        const model::PointFormat format = chart.pointFormat(0, point);
        EXPECT_EQ(format.fill.kind, model::ChartFill::Kind::Solid) << point;
        EXPECT_DOUBLE_EQ(format.explosion.value_or(0), 0.1) << point;
        ASSERT_TRUE(format.labels) << point;
        EXPECT_TRUE(format.labels->category && format.labels->percent && !format.labels->value) << point;
    }
    EXPECT_NE(chart.pointFormat(0, 0).fill.colour, chart.pointFormat(0, 1).fill.colour);
    EXPECT_TRUE(series.cachedValues.empty());
}

// Charts that are no pies are described all the same, with their axes, and the chart of a chart sheet
// is its sheet's chart, with the values its file last saw.
TEST(ChartDescription, DescribesOtherChartsAndChartSheets)
{
    const model::Workbook workbook = biff::openWorkbookFile(test::dataPath("libreoffice-pie.xls")).workbook;
    const model::Chart& columns = workbook.sheets.at(0).charts.at(1);
    ASSERT_FALSE(columns.groups.empty());
    EXPECT_EQ(columns.type(), ChartType::Column);
    EXPECT_EQ(columns.groups[0].grouping, model::Grouping::Clustered);
    EXPECT_FALSE(columns.drawsPies());
    ASSERT_EQ(columns.series.size(), 1u);
    EXPECT_EQ(columns.series[0].values->range, (model::CellRange{3, 4, 5, 4}));
    bool category = false, value = false;
    for (const model::ChartAxis& axis : columns.axes) {
        category = category || axis.kind == model::ChartAxis::Kind::Category;
        value = value || axis.kind == model::ChartAxis::Kind::Value;
    }
    EXPECT_TRUE(category && value);

    const model::Workbook withChartSheet = biff::openWorkbookFile(test::dataPath("chart-sheet-active.xls")).workbook;
    const model::Sheet& chartSheet = withChartSheet.sheets.at(1);
    ASSERT_EQ(chartSheet.kind, model::SheetKind::Chart);
    ASSERT_EQ(chartSheet.charts.size(), 1u);
    EXPECT_NE(chartSheet.charts[0].type(), ChartType::Other);
    ASSERT_EQ(chartSheet.charts[0].series.size(), 1u);
    const model::ChartSeries& series = chartSheet.charts[0].series[0];
    ASSERT_TRUE(series.values);
    EXPECT_EQ(series.values->sheet, 0);
    const model::CellRange& range = series.values->range;
    ASSERT_EQ(series.cachedValues.size(), static_cast<std::size_t>(range.lastColumn - range.firstColumn + 1));
    for (int column = range.firstColumn; column <= range.lastColumn; ++column) {
        const model::Cell* cell = withChartSheet.sheets[0].cell(range.firstRow, column);
        ASSERT_TRUE(cell && cell->number()) << column;
        EXPECT_EQ(series.cachedValues[static_cast<std::size_t>(column - range.firstColumn)], *cell->number()) << column;
    }
}

} // namespace
} // namespace sheet
