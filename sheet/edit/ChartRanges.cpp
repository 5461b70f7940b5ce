#include "sheet/edit/ChartRanges.h"

#include "sheet/biff/RecordTypes.h"
#include "sheet/io/ByteWriter.h"

#include <set>

namespace sheet::edit {
namespace {

constexpr std::size_t FormulaStart = 8; // id, kind, flags, format, length
constexpr std::uint8_t ReferenceKind = 2;
constexpr std::uint8_t ValuesId = 1;
constexpr std::uint8_t CategoriesId = 2;

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

// Where rwLast stands in a BRAI record whose formula is one area reference, or 0.
std::size_t lastRowOffset(const std::vector<std::uint8_t>& brai)
{
    if (brai.size() < FormulaStart + 1 || brai[1] != ReferenceKind)
        return 0;
    switch (brai[FormulaStart]) {
    case 0x3B: case 0x5B: case 0x7B:
        return brai.size() >= FormulaStart + 11 ? FormulaStart + 5 : 0;
    case 0x25: case 0x45: case 0x65:
        return brai.size() >= FormulaStart + 9 ? FormulaStart + 3 : 0;
    default:
        return 0;
    }
}

// Rewrites the last row of the chart's BRAI record for `id` in the given series (counted in order).
void patchReference(model::Sheet& owner, model::Chart& chart, std::size_t seriesIndex, std::uint8_t id, int newLast)
{
    std::size_t seriesSeen = 0;
    for (std::size_t k = 0; k < chart.records.size(); ++k) {
        model::Record& record = chart.records[k];
        if (record.type == biff::rt::Series)
            ++seriesSeen;
        if (record.type != biff::rt::Brai || record.bytes.empty() || record.bytes[0] != id ||
            seriesSeen != seriesIndex + 1)
            continue;
        const std::size_t at = lastRowOffset(record.bytes);
        if (!at)
            return;
        io::ByteWriter::put16(record.bytes.data() + at, static_cast<std::uint16_t>(newLast));
        if (k < chart.sourceRecords.size() && chart.sourceRecords[k] < owner.records.size()) {
            auto& raw = owner.records[chart.sourceRecords[k]].bytes;
            if (at + 2 <= raw.size())
                io::ByteWriter::put16(raw.data() + at, static_cast<std::uint16_t>(newLast));
        }
        return;
    }
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
                const std::pair<std::optional<model::RangeReference>*, std::uint8_t> parts[] = {
                    {&series.values, ValuesId}, {&series.categories, CategoriesId}};
                for (auto [part, id] : parts) {
                    if (!extendable(*part, sheetIndex))
                        continue;
                    lookColumns.insert((*part)->range.firstColumn);
                    if ((*part)->range.lastRow < row) {
                        patchReference(owner, chart, s, id, row);
                        (*part)->range.lastRow = row;
                    }
                }
            }
        }
    }
    if (!lookColumns.empty())
        giveRowTheLook(workbook, sheetIndex, row, lookColumns);
}

} // namespace sheet::edit
