#include "sheet/biff/PointFormats.h"

#include "sheet/biff/RecordTypes.h"
#include "sheet/io/ByteWriter.h"

#include <algorithm>
#include <iterator>
#include <map>

namespace sheet::biff {
namespace {

constexpr std::size_t AreaFormatSize = 16; // rgbFore, rgbBack, fls, flags, icvFore, icvBack

// The index of the END record that closes the block opened by the BEGIN record at `begin`, or the number of
// records when it is never closed.
std::size_t endOfBlock(const std::vector<model::Record>& records, std::size_t begin)
{
    int depth = 0;
    for (std::size_t k = begin; k < records.size(); ++k) {
        if (records[k].type == rt::ChartBegin)
            ++depth;
        else if (records[k].type == rt::ChartEnd && --depth == 0)
            return k;
    }
    return records.size();
}

} // namespace

PointFormats::PointFormats(const model::Chart& chart, std::size_t series) : chart_(chart)
{
    const auto& records = chart.records;
    std::size_t seen = 0;
    std::size_t at = 0;
    while (at < records.size() && !(records[at].type == rt::Series && seen++ == series))
        ++at;
    if (at + 1 >= records.size() || records[at + 1].type != rt::ChartBegin)
        return;
    const std::size_t end = endOfBlock(records, at + 1);
    // The DATAFORMAT records directly inside the series' block, each followed by a block of its own.
    for (std::size_t k = at + 2; k < end; ++k) {
        if (records[k].type == rt::ChartBegin) {
            k = endOfBlock(records, k);
            continue;
        }
        if (records[k].type != rt::DataFormat || k + 1 >= end || records[k + 1].type != rt::ChartBegin)
            continue;
        Block block{chart::dataPoint(records[k]), k, endOfBlock(records, k + 1), std::nullopt};
        for (std::size_t inner = k + 2; inner < block.last; ++inner) {
            if (records[inner].type == rt::AreaFormat && !block.areaFormat)
                block.areaFormat = inner;
        }
        byPoint_.try_emplace(block.point, blocks_.size());
        blocks_.push_back(block);
        k = block.last;
    }
}

const PointFormats::Block* PointFormats::blockOf(unsigned point) const
{
    const auto found = byPoint_.find(point);
    return found == byPoint_.end() ? nullptr : &blocks_[found->second];
}

const PointFormats::Block* PointFormats::predecessorOf(unsigned point) const
{
    auto found = byPoint_.lower_bound(point);
    if (found != byPoint_.begin() && point != chart::WholeSeries) {
        --found;
        if (found->first != chart::WholeSeries)
            return &blocks_[found->second];
    }
    return blockOf(chart::WholeSeries);
}

bool PointFormats::hasOwnFormat(unsigned point) const
{
    return point != chart::WholeSeries && blockOf(point);
}

std::optional<chart::Colour> PointFormats::fillOf(const Block& block) const
{
    if (!block.areaFormat)
        return std::nullopt;
    const chart::AreaFormat area = chart::readAreaFormat(chart_.records[*block.areaFormat]);
    if (area.automatic || area.pattern == 0)
        return std::nullopt;
    return area.foreground;
}

std::optional<chart::Colour> PointFormats::fill(unsigned point) const
{
    const Block* own = blockOf(point);
    if (own && own->areaFormat)
        return fillOf(*own);
    return seriesFill();
}

std::optional<chart::Colour> PointFormats::seriesFill() const
{
    const Block* whole = blockOf(chart::WholeSeries);
    return whole ? fillOf(*whole) : std::nullopt;
}

void addPointFills(model::Sheet& owner, model::Chart& chart, std::size_t series,
                   const std::vector<std::pair<unsigned, chart::Colour>>& fills)
{
    const PointFormats formats(chart, series);
    const PointFormats::Block* whole = formats.blockOf(chart::WholeSeries);
    if (!whole || !formats.seriesFill())
        return;
    // The new blocks, by the chart record they go before: the one after the END of their predecessor's block.
    std::map<std::size_t, std::vector<model::Record>> inserts;
    for (const auto& [point, colour] : fills) {
        const PointFormats::Block* after = formats.predecessorOf(point);
        if (point == chart::WholeSeries || formats.hasOwnFormat(point) || !after)
            continue;
        std::vector<model::Record> block(chart.records.begin() + static_cast<std::ptrdiff_t>(whole->first),
                                         chart.records.begin() + static_cast<std::ptrdiff_t>(whole->last) + 1);
        io::ByteWriter::put16(block.front().bytes.data(), static_cast<std::uint16_t>(point));
        auto& area = block[*whole->areaFormat - whole->first].bytes;
        area.resize(std::max(area.size(), AreaFormatSize));
        area[0] = static_cast<std::uint8_t>(colour.rgb >> 16);
        area[1] = static_cast<std::uint8_t>(colour.rgb >> 8);
        area[2] = static_cast<std::uint8_t>(colour.rgb);
        area[3] = 0;
        io::ByteWriter::put16(area.data() + 10, 0); // neither automatic nor inverted where negative
        io::ByteWriter::put16(area.data() + 12, static_cast<std::uint16_t>(colour.paletteIndex));
        for (model::Record& record : block)
            record.run = false;
        if (series < chart.series.size()) {
            model::PointFormat own = chart.series[series].format;
            own.fill = {model::ChartFill::Kind::Solid, colour.rgb};
            chart.series[series].points[point] = own;
        }
        auto& waiting = inserts[after->last + 1];
        waiting.insert(waiting.end(), std::make_move_iterator(block.begin()), std::make_move_iterator(block.end()));
    }
    if (inserts.empty())
        return;

    // In the sheet's records a new block goes before the record that follows the END record it comes after,
    // past any CONTINUE records of that END.
    std::vector<std::size_t> ownerAts;                  // where each block goes, in order
    std::vector<std::size_t> insertedBefore{0};         // how many records the blocks before each one hold
    for (const auto& [chartAt, block] : inserts) {
        ownerAts.push_back(chartAt < chart.sourceRecords.size() ? chart.sourceRecords[chartAt]
                                                                : chart.sourceRecords.back() + 1);
        insertedBefore.push_back(insertedBefore.back() + block.size());
    }
    // Where a sheet record moves: past every block that goes before it.
    const auto shifted = [&](std::size_t source) {
        const auto blocks = std::upper_bound(ownerAts.begin(), ownerAts.end(), source) - ownerAts.begin();
        return source + insertedBefore[static_cast<std::size_t>(blocks)];
    };

    std::vector<model::Record> ownerRecords;
    ownerRecords.reserve(owner.records.size() + insertedBefore.back());
    std::vector<model::Record> chartRecords;
    chartRecords.reserve(chart.records.size() + insertedBefore.back());
    std::vector<std::size_t> chartSources;
    auto next = inserts.begin();
    std::size_t ownerDone = 0;
    for (std::size_t k = 0; k <= chart.records.size(); ++k) {
        if (next != inserts.end() && next->first == k) {
            const std::size_t ownerAt = k < chart.sourceRecords.size() ? chart.sourceRecords[k]
                                                                       : chart.sourceRecords.back() + 1;
            for (; ownerDone < ownerAt && ownerDone < owner.records.size(); ++ownerDone)
                ownerRecords.push_back(std::move(owner.records[ownerDone]));
            for (model::Record& record : next->second) {
                chartSources.push_back(ownerRecords.size());
                ownerRecords.push_back(record);
                chartRecords.push_back(std::move(record));
            }
            ++next;
        }
        if (k < chart.records.size()) {
            chartSources.push_back(shifted(chart.sourceRecords[k]));
            chartRecords.push_back(std::move(chart.records[k]));
        }
    }
    for (; ownerDone < owner.records.size(); ++ownerDone)
        ownerRecords.push_back(std::move(owner.records[ownerDone]));
    for (model::Chart& other : owner.charts) {
        if (&other == &chart)
            continue;
        for (std::size_t& source : other.sourceRecords)
            source = shifted(source);
    }
    owner.records = std::move(ownerRecords);
    chart.records = std::move(chartRecords);
    chart.sourceRecords = std::move(chartSources);
}

} // namespace sheet::biff
