#include "RecordsStripped.h"

#include "sheet/biff/MergedCells.h"

#include <algorithm>

namespace sheet::test {
namespace {

constexpr std::uint16_t SupBook = 0x01AE, ExternName = 0x0023, ExternSheet = 0x0017, Name = 0x0018;

template <typename Drop>
void dropRecords(std::vector<model::Record>& records, Drop drop)
{
    records.erase(std::remove_if(records.begin(), records.end(), drop), records.end());
}

} // namespace

model::Workbook withoutRecords(model::Workbook workbook)
{
    dropRecords(workbook.globalRecords, [](const model::Record& r) {
        return r.type != SupBook && r.type != ExternName && r.type != ExternSheet && r.type != Name;
    });
    workbook.trailingBytes.clear();
    workbook.addedFormats.clear();
    workbook.readXfCount = 0;
    for (model::Xf& xf : workbook.xfs)
        xf.raw = {};
    for (model::Sheet& sheet : workbook.sheets) {
        sheet.mergedAreas = biff::mergedCells(sheet);
        sheet.records.clear();
        for (model::Chart& chart : sheet.charts) {
            chart.records.clear();
            chart.sourceRecords.clear();
        }
    }
    return workbook;
}

void redrawFirstChartAs(model::Workbook& workbook, model::ChartType type)
{
    model::Chart& chart = workbook.sheets.at(0).charts.at(0);
    model::ChartGroup& group = chart.groups.at(0);
    group.type = type;
    const bool pie = type == model::ChartType::Doughnut || type == model::ChartType::Pie;
    group.grouping = type == model::ChartType::Column || type == model::ChartType::Bar ? model::Grouping::Clustered
                                                                                         : model::Grouping::Standard;
    group.varyColours = pie;
    group.holePercent = type == model::ChartType::Doughnut ? 50 : 0;
    chart.view3d.reset();
    chart.legend = model::ChartLegend{};
    chart.legend->text.font = chart.labelText.font;
    chart.axes.clear();
    if (!pie) {
        model::ChartAxis category;
        category.kind = model::ChartAxis::Kind::Category;
        category.position = model::ChartAxis::Position::Bottom;
        model::ChartAxis value;
        value.majorGridlines = model::ChartLine{};
        value.maximum = 300000;
        chart.axes = {category, value};
        group.firstSliceAngle = 0;
        for (auto& [point, format] : chart.series.at(0).points)
            format.explosion.reset();
        chart.series.at(0).format.explosion.reset();
    }
}

} // namespace sheet::test
