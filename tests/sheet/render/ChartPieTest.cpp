#include "SampleWorkbook.h"

#include "sheet/TestFiles.h"
#include "sheet/biff/WorkbookFile.h"
#include "sheet/edit/CellEditing.h"
#include "sheet/render/ChartPie.h"

#include <gtest/gtest.h>

#include <limits>

using namespace render_testing;
using sheet::render::readPieChart;

namespace {

const sheet::model::Chart& chartOf(const sheet::model::Workbook& wb)
{
    return wb.sheets.front().charts.front();
}

TEST(ChartPie, ReadsTheTemplatesPie)
{
    const auto wb = sampleWorkbook(sampleEntries());
    const auto pie = readPieChart(wb, chartOf(wb));
    ASSERT_TRUE(pie.has_value());
    EXPECT_TRUE(pie->threeD);
    EXPECT_EQ(pie->firstSliceAngle, 210);
    EXPECT_EQ(pie->elevation, 30);
    EXPECT_EQ(pie->heightPercent, 100);
    EXPECT_FALSE(pie->leaderLines);
    EXPECT_EQ(pie->title, "My Assets");
    EXPECT_EQ(pie->titleFont.pointSizeF(), 18);
    EXPECT_TRUE(pie->titleFont.bold());
    EXPECT_EQ(pie->labelFont.pointSizeF(), 13);
    EXPECT_EQ(pie->labelSeparator, " ");
    EXPECT_FALSE(pie->border.has_value());
    ASSERT_TRUE(pie->plotArea.has_value());
    EXPECT_NEAR(pie->plotArea->left(), 471 / 4000.0, 1e-9);
    EXPECT_NEAR(pie->plotArea->height(), 3251 / 4000.0, 1e-9);
    ASSERT_EQ(pie->slices.size(), 6u);
    for (std::size_t k = 0; k < 6; ++k) {
        const auto& slice = pie->slices[k];
        EXPECT_EQ(slice.colour.rgb() & 0xFFFFFF, sliceColours[k]) << k;
        EXPECT_DOUBLE_EQ(slice.explode, 0.1);
        EXPECT_TRUE(slice.showCategory);
        EXPECT_TRUE(slice.showPercent);
        EXPECT_FALSE(slice.showValue);
        EXPECT_EQ(slice.category.toStdString(), sampleEntries()[k].first);
    }
    EXPECT_EQ(pie->slices[3].value, 250000);
    EXPECT_EQ(pie->slices[3].valueText, "$250,000");
}

// A fill that grows the template's pie gives each new slice a fill of its own, written into the workbook: read
// back, no two neighbouring slices share a colour, the last and the first included, and the template's six
// slices keep theirs.
TEST(ChartPie, SlicesThatAFillAddsGetColoursOfTheirOwn)
{
    for (int entries : {7, 12, 13, 20}) {
        sheet::biff::WorkbookFile file = sheet::biff::openWorkbookFile(sheet::test::templatePath());
        for (int k = 0; k < entries; ++k) {
            sheet::edit::writeCellText(file.workbook, 0, 3 + k, 0, "Entry " + std::to_string(k), sheet::NumberLocale{});
            sheet::edit::writeCellText(file.workbook, 0, 3 + k, 1, std::to_string(100 + k), sheet::NumberLocale{});
        }
        const sheet::biff::WorkbookFile written = sheet::biff::readWorkbookFile(sheet::biff::workbookFileBytes(file));
        const auto pie = readPieChart(written.workbook, chartOf(written.workbook));
        ASSERT_TRUE(pie.has_value());
        ASSERT_EQ(pie->slices.size(), static_cast<std::size_t>(entries));
        for (std::size_t k = 0; k < pie->slices.size(); ++k) {
            const QColor next = pie->slices[(k + 1) % pie->slices.size()].colour;
            EXPECT_NE(pie->slices[k].colour, next) << entries << " entries, slice " << k + 1;
            if (k < std::size(sliceColours)) {
                EXPECT_EQ(pie->slices[k].colour.rgb() & 0xFFFFFF, sliceColours[k]) << entries << " entries";
            }
        }
    }
}

TEST(ChartPie, OnlyPositiveNumbersMakeSlices)
{
    auto wb = sampleWorkbook({{"a", 10}, {"b", 0}, {"c", -5}, {"d", 20}, {"e", 30}, {"f", 1}});
    wb.setValue(wb.sheets[0].cells[{6, 1}], std::string("12"));  // a number kept as text
    wb.sheets[0].cells[{8, 1}].setNumber(std::numeric_limits<double>::infinity());
    const auto pie = readPieChart(wb, chartOf(wb));
    ASSERT_TRUE(pie.has_value());
    ASSERT_EQ(pie->slices.size(), 2u);
    EXPECT_EQ(pie->slices[0].category, "a");
    EXPECT_EQ(pie->slices[1].category, "e");
    // A slice keeps the format of its own point, not of its position among the slices.
    EXPECT_EQ(pie->slices[1].colour.rgb() & 0xFFFFFF, sliceColours[4]);
}

TEST(ChartPie, AutomaticColoursComeFromThePaletteFromIndex24)
{
    auto wb = sampleWorkbook(sampleEntries());
    auto records = chartOf(wb).records;
    for (auto& r : records) {
        if (r.type == 0x100A && r.bytes.size() >= 12)
            r.bytes[10] = 1;  // fAuto
    }
    const auto pie = readPieChart(wb, sampleChart(wb, records));
    ASSERT_TRUE(pie.has_value());
    for (std::size_t k = 0; k < pie->slices.size(); ++k)
        EXPECT_EQ(pie->slices[k].colour.rgb() & 0xFFFFFF, wb.palette.rgb(24 + static_cast<int>(k)));
}

TEST(ChartPie, ChartsThatPointAtNothingOrAreDamagedStillRead)
{
    auto wb = sampleWorkbook(sampleEntries());
    auto chart = chartOf(wb);
    chart.series[0].values->sheet = 7;
    auto pie = readPieChart(wb, chart);
    ASSERT_TRUE(pie.has_value());
    EXPECT_TRUE(pie->slices.empty());
    EXPECT_EQ(pie->title, "My Assets");

    chart = chartOf(wb);
    chart.series[0].values->range = {0, 0, 65535, 255};
    EXPECT_NO_THROW(readPieChart(wb, chart));

    auto records = chartOf(wb).records;
    for (auto& r : records)
        r.bytes.resize(r.bytes.size() / 2);
    EXPECT_NO_THROW(readPieChart(wb, sampleChart(wb, records)));

    records = chartOf(wb).records;
    records.erase(records.begin() + 3, records.begin() + 9);  // unbalanced BEGIN/END
    EXPECT_NO_THROW(readPieChart(wb, sampleChart(wb, records)));
}

TEST(ChartPie, OtherChartTypesAreNotPies)
{
    auto wb = sampleWorkbook(sampleEntries());
    auto records = chartOf(wb).records;
    for (auto& r : records) {
        if (r.type == 0x1019)
            r = sheet::model::Record{0x1017, std::vector<std::uint8_t>(6, 0)};
    }
    const auto chart = sampleChart(wb, records);
    EXPECT_EQ(chart.type(), sheet::model::ChartType::Column);
    EXPECT_FALSE(readPieChart(wb, chart).has_value());
}

// A title in several fonts keeps its runs in the model, each in its own font, and draws as one text.
TEST(ChartPie, TitlesKeepTheirRuns)
{
    auto wb = sampleWorkbook(sampleEntries());
    auto records = chartOf(wb).records;
    for (auto at = records.begin(); at != records.end(); ++at) {
        if (at->type == 0x100D && at->bytes.size() > 4 && at->bytes[2] == 9) {  // "My Assets"
            // Characters 0 to 2 in font 5, from character 3 on in font 7.
            at = records.insert(at + 1, sheet::model::Record{0x1050, {2, 0, 0, 0, 5, 0, 3, 0, 7, 0}});
            break;
        }
    }
    const auto chart = sampleChart(wb, records);
    ASSERT_TRUE(chart.title);
    ASSERT_EQ(chart.title->runs.size(), 2u);
    EXPECT_EQ(chart.title->runs[0].text, "My ");
    EXPECT_EQ(chart.title->runs[1].text, "Assets");
    ASSERT_TRUE(chart.title->runs[0].font && chart.title->runs[1].font);
    EXPECT_EQ(chart.title->runs[0].font->height, wb.font(5)->height);
    EXPECT_EQ(chart.title->runs[1].font->height, wb.font(7)->height);
    const auto pie = readPieChart(wb, chart);
    ASSERT_TRUE(pie.has_value());
    EXPECT_EQ(pie->title, "My Assets");
}

}  // namespace
