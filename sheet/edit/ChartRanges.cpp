#include "sheet/edit/ChartRanges.h"

#include "sheet/biff/ChartWriter.h"

#include <set>

namespace sheet::edit {
namespace {

// A range of one column on the sheet, which a row written below it can extend.
bool extendable(const std::optional<model::RangeReference>& reference, int sheetIndex)
{
    return reference && reference->sheet == sheetIndex && reference->range.firstColumn == reference->range.lastColumn &&
           reference->range.firstRow <= reference->range.lastRow;
}

bool directlyBelow(const std::optional<model::RangeReference>& reference, int sheetIndex, int row, int column)
{
    return extendable(reference, sheetIndex) && reference->range.firstColumn == column &&
           reference->range.lastRow + 1 == row;
}

// A cell format that paints no fill, such as the formatted empty cells below the data rows.
bool unfilled(const model::Workbook& workbook, int xf)
{
    return xf >= 0 && static_cast<std::size_t>(xf) < workbook.xfs.size() &&
           workbook.xfs[static_cast<std::size_t>(xf)].fillPattern == 0;
}

void giveRowTheLook(model::Workbook& workbook, int sheetIndex, int row, const std::set<int>& columns)
{
    model::Sheet& sheet = workbook.sheets[static_cast<std::size_t>(sheetIndex)];
    if (row >= 2) {
        for (int column : columns) {
            const model::Cell* pattern = sheet.cell(row - 2, column);
            if (!pattern)
                continue;
            const int patternXf = pattern->xf;
            model::Cell& target = sheet.cells[model::CellAddress{row, column}];
            if (target.xf == model::DefaultCellXf || unfilled(workbook, target.xf))
                target.xf = patternXf;
        }
    }
    auto above = sheet.rows.find(row - 1);
    if (above == sheet.rows.end())
        return;
    model::RowInfo look = above->second;
    auto existing = sheet.rows.find(row);
    if (existing == sheet.rows.end()) {
        sheet.rows[row] = look;
        return;
    }
    existing->second.height = look.height;
    existing->second.customHeight = look.customHeight;
    if (existing->second.raw.size() == 16 && look.raw.size() == 16) {
        existing->second.raw[6] = look.raw[6];
        existing->second.raw[7] = look.raw[7];
        existing->second.raw[12] = static_cast<std::uint8_t>((existing->second.raw[12] & ~0x40) | (look.raw[12] & 0x40));
    }
}

} // namespace

void extendChartRanges(model::Workbook& workbook, int sheetIndex, int row, int column)
{
    std::set<int> lookColumns;
    for (model::Sheet& owner : workbook.sheets) {
        for (model::Chart& chart : owner.charts) {
            for (std::size_t s = 0; s < chart.series.size(); ++s) {
                model::ChartSeries& series = chart.series[s];
                if (!directlyBelow(series.values, sheetIndex, row, column) &&
                    !directlyBelow(series.categories, sheetIndex, row, column))
                    continue;
                const std::pair<std::optional<model::RangeReference>*, biff::chart::SeriesPart> parts[] = {
                    {&series.values, biff::chart::SeriesPart::Values},
                    {&series.categories, biff::chart::SeriesPart::Categories}};
                for (auto [reference, part] : parts) {
                    if (!extendable(*reference, sheetIndex))
                        continue;
                    lookColumns.insert((*reference)->range.firstColumn);
                    const model::CellRange before = (*reference)->range;
                    if (before.lastRow < row) {
                        biff::setSeriesLastRow(owner, chart, s, part, row);
                        (*reference)->range.lastRow = row;
                        if (part == biff::chart::SeriesPart::Values)
                            chart.addedPoints.try_emplace(s, static_cast<unsigned>(before.lastRow + 1 - before.firstRow));
                    }
                }
            }
        }
    }
    if (!lookColumns.empty())
        giveRowTheLook(workbook, sheetIndex, row, lookColumns);
}

} // namespace sheet::edit
