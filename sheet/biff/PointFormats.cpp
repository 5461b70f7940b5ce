#include "sheet/biff/PointFormats.h"

#include "sheet/biff/RecordTypes.h"
#include "sheet/io/ByteWriter.h"

#include <algorithm>

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
        blocks_.push_back(block);
        k = block.last;
    }
}

const PointFormats::Block* PointFormats::blockOf(unsigned point) const
{
    const auto found = std::find_if(blocks_.begin(), blocks_.end(), [point](const Block& b) { return b.point == point; });
    return found == blocks_.end() ? nullptr : &*found;
}

const PointFormats::Block* PointFormats::predecessorOf(unsigned point) const
{
    const Block* found = blockOf(chart::WholeSeries);
    for (const Block& block : blocks_) {
        if (block.point < point && (!found || found->point == chart::WholeSeries || block.point > found->point))
            found = &block;
    }
    return found;
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

void addPointFill(model::Sheet& owner, model::Chart& chart, std::size_t series, unsigned point, chart::Colour colour)
{
    const PointFormats formats(chart, series);
    const PointFormats::Block* whole = formats.blockOf(chart::WholeSeries);
    const PointFormats::Block* after = formats.predecessorOf(point);
    if (point == chart::WholeSeries || formats.hasOwnFormat(point) || !formats.seriesFill() || !whole || !after)
        return;

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

    // In the sheet's records the new block goes before the record that follows the END record it comes after,
    // past any CONTINUE records of that END.
    const std::size_t chartAt = after->last + 1;
    const std::size_t ownerAt = chartAt < chart.sourceRecords.size() ? chart.sourceRecords[chartAt]
                                                                     : chart.sourceRecords.back() + 1;
    for (model::Chart& other : owner.charts) {
        for (std::size_t& source : other.sourceRecords) {
            if (source >= ownerAt)
                source += block.size();
        }
    }
    owner.records.insert(owner.records.begin() + static_cast<std::ptrdiff_t>(ownerAt), block.begin(), block.end());
    std::vector<std::size_t> sources(block.size());
    for (std::size_t k = 0; k < sources.size(); ++k)
        sources[k] = ownerAt + k;
    chart.records.insert(chart.records.begin() + static_cast<std::ptrdiff_t>(chartAt), block.begin(), block.end());
    chart.sourceRecords.insert(chart.sourceRecords.begin() + static_cast<std::ptrdiff_t>(chartAt), sources.begin(),
                               sources.end());
}

} // namespace sheet::biff
