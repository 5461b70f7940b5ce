#include "sheet/biff/CellRangeList.h"

namespace sheet::biff {

std::vector<model::CellRange> readCellRanges(io::ByteReader& reader, int count)
{
    std::vector<model::CellRange> ranges;
    for (int k = 0; k < count; ++k) {
        model::CellRange range;
        range.firstRow = reader.u16();
        range.lastRow = reader.u16();
        range.firstColumn = reader.u16();
        range.lastColumn = reader.u16();
        if (range.firstRow <= range.lastRow && range.firstColumn <= range.lastColumn && range.lastColumn < 256)
            ranges.push_back(range);
    }
    return ranges;
}

} // namespace sheet::biff
