#include "sheet/biff/ChartReader.h"

#include "sheet/biff/RecordTypes.h"
#include "sheet/io/ByteReader.h"

namespace sheet::biff {
namespace {

int sheetOf(std::uint16_t ixti, const SheetReferences& references)
{
    return ixti < references.size() ? references[ixti] : -1;
}

} // namespace

std::size_t readChartRecords(const std::vector<model::Record>& records, std::size_t first, model::Chart& chart)
{
    // The records up to the chart's EOF are counted first, so that each list takes one allocation.
    std::size_t kept = 0;
    int depth = 0;
    for (std::size_t i = first; i < records.size(); ++i) {
        kept += records[i].type != rt::Continue;
        if (records[i].type == rt::Bof)
            ++depth;
        else if (records[i].type == rt::Eof && --depth == 0)
            break;
    }
    chart.records.reserve(chart.records.size() + kept);
    chart.sourceRecords.reserve(chart.sourceRecords.size() + kept);
    depth = 0;
    std::size_t i = first;
    for (; i < records.size(); ++i) {
        const model::Record& record = records[i];
        if (record.type == rt::Continue && !chart.records.empty()) {
            auto& previous = chart.records.back().bytes;
            previous.insert(previous.end(), record.bytes.begin(), record.bytes.end());
        } else {
            chart.records.push_back(record);
            chart.sourceRecords.push_back(i);
        }
        if (record.type == rt::Bof)
            ++depth;
        else if (record.type == rt::Eof && --depth == 0)
            break;
    }
    return i;
}

std::optional<model::RangeReference> readAreaFormula(std::span<const std::uint8_t> formula, int ownSheet,
                                                    const SheetReferences& references)
{
    if (formula.empty())
        return std::nullopt;
    io::ByteReader reader(formula.subspan(1), "a chart formula");
    model::RangeReference reference;
    switch (formula[0]) {
    case 0x3B: case 0x5B: case 0x7B: // area on a named sheet
        reference.sheet = sheetOf(reader.u16(), references);
        [[fallthrough]];
    case 0x25: case 0x45: case 0x65: // area on the chart's own sheet
        if ((formula[0] & 0x1F) == 0x05)
            reference.sheet = ownSheet;
        reference.range.firstRow = reader.u16();
        reference.range.lastRow = reader.u16();
        reference.range.firstColumn = reader.u16() & 0x3FFF;
        reference.range.lastColumn = reader.u16() & 0x3FFF;
        return reference;
    case 0x3A: case 0x5A: case 0x7A: // one cell on a named sheet
        reference.sheet = sheetOf(reader.u16(), references);
        [[fallthrough]];
    case 0x24: case 0x44: case 0x64:
        if ((formula[0] & 0x1F) == 0x04)
            reference.sheet = ownSheet;
        reference.range.firstRow = reference.range.lastRow = reader.u16();
        reference.range.firstColumn = reference.range.lastColumn = reader.u16() & 0x3FFF;
        return reference;
    default:
        return std::nullopt;
    }
}

} // namespace sheet::biff
