#pragma once

#include "sheet/biff/ChartRecords.h"
#include "sheet/model/Sheet.h"

#include <cstddef>
#include <map>
#include <optional>
#include <vector>

namespace sheet::biff {

// The formats of the points of one series of a chart: the DATAFORMAT blocks inside its SERIES block, one for
// the whole series and one for each point that has a format of its own.
class PointFormats {
public:
    PointFormats(const model::Chart& chart, std::size_t series);

    bool hasOwnFormat(unsigned point) const;
    // The colour a point is filled with: its own area format's, or the whole series' for a point without one;
    // nothing when that fill is automatic, paints nothing, or there is none.
    std::optional<chart::Colour> fill(unsigned point) const;
    // The fixed colour the whole series gives the points without a format of their own.
    std::optional<chart::Colour> seriesFill() const;

    struct Block {
        unsigned point = 0;
        std::size_t first = 0; // the DATAFORMAT record
        std::size_t last = 0;  // the END record of its block
        std::optional<std::size_t> areaFormat;
    };
    const Block* blockOf(unsigned point) const;
    // The block a new point's block goes after: the last one of a point before it, or the whole series'.
    const Block* predecessorOf(unsigned point) const;

private:
    std::optional<chart::Colour> fillOf(const Block& block) const;

    const model::Chart& chart_;
    std::vector<Block> blocks_;              // in the order of the records
    std::map<unsigned, std::size_t> byPoint_; // each point's block in blocks_, the whole series' included
};

// Gives each of `fills`' points (in increasing order) of series `series` a format of its own, a copy of the whole
// series' filled with its colour, in the chart's records and in the records of `owner`, the chart's sheet (which
// holds the chart), that the workbook is written from, and in the chart's description. Each new block follows the block of the nearest point
// before it. A point that has a format already is left as it is; nothing changes when the series has no fixed
// fill to copy. One pass over the records, however many points.
void addPointFills(model::Sheet& owner, model::Chart& chart, std::size_t series,
                   const std::vector<std::pair<unsigned, chart::Colour>>& fills);

} // namespace sheet::biff
