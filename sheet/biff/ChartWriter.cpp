#include "sheet/biff/ChartWriter.h"

#include "sheet/biff/RecordTypes.h"
#include "sheet/io/ByteWriter.h"

namespace sheet::biff {
namespace {

constexpr std::size_t FormulaStart = 8; // id, kind, flags, number format, formula length
constexpr std::uint8_t ReferenceKind = 2;

// Where the last row stands in a BRAI record whose formula is one area, or 0.
std::size_t lastRowOffset(const std::vector<std::uint8_t>& brai)
{
    if (brai.size() < FormulaStart + 1 || brai[1] != ReferenceKind)
        return 0;
    switch (brai[FormulaStart]) {
    case 0x3B: case 0x5B: case 0x7B: // sheet index, first row, last row, ...
        return brai.size() >= FormulaStart + 11 ? FormulaStart + 5 : 0;
    case 0x25: case 0x45: case 0x65: // first row, last row, ...
        return brai.size() >= FormulaStart + 9 ? FormulaStart + 3 : 0;
    default:
        return 0;
    }
}

} // namespace

void setSeriesLastRow(model::Sheet& owner, model::Chart& chart, std::size_t series, chart::SeriesPart part,
                      int lastRow)
{
    const auto id = static_cast<std::uint8_t>(part);
    const auto row = static_cast<std::uint16_t>(lastRow);
    std::size_t seriesSeen = 0;
    for (std::size_t k = 0; k < chart.records.size(); ++k) {
        model::Record& record = chart.records[k];
        if (record.type == rt::Series)
            ++seriesSeen;
        if (record.type != rt::Brai || record.bytes.empty() || record.bytes[0] != id || seriesSeen != series + 1)
            continue;
        const std::size_t at = lastRowOffset(record.bytes);
        if (!at)
            return;
        io::ByteWriter::put16(record.bytes.data() + at, row);
        // The record as the stream holds it ends where its first CONTINUE begins.
        if (k < chart.sourceRecords.size() && chart.sourceRecords[k] < owner.records.size()) {
            auto& stored = owner.records[chart.sourceRecords[k]].bytes;
            if (at + 2 <= stored.size())
                io::ByteWriter::put16(stored.data() + at, row);
        }
        return;
    }
}

} // namespace sheet::biff
