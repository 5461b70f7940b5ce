#include "sheet/biff/MergedCells.h"

#include "sheet/biff/RecordTypes.h"
#include "sheet/io/ByteReader.h"

#include <algorithm>

namespace sheet::biff {

std::vector<model::CellRange> mergedCells(const model::Sheet& sheet)
{
    constexpr std::size_t AreaSize = 8;
    std::vector<model::CellRange> areas = sheet.mergedAreas;
    int depth = 0; // the sheet's own records lie at depth 1, an embedded chart's deeper
    for (const model::Record& record : sheet.records) {
        if (record.run)
            continue;
        if (record.type == rt::Bof)
            ++depth;
        else if (record.type == rt::Eof)
            --depth;
        if (record.type != rt::MergeCells || depth > 1 || record.bytes.size() < 2)
            continue;
        io::ByteReader reader(record.bytes, "a MERGECELLS record");
        const std::size_t count = std::min<std::size_t>(reader.u16(), reader.remaining() / AreaSize);
        for (std::size_t k = 0; k < count; ++k) {
            model::CellRange area;
            area.firstRow = reader.u16();
            area.lastRow = reader.u16();
            area.firstColumn = reader.u16();
            area.lastColumn = reader.u16();
            if (area.firstRow <= area.lastRow && area.firstColumn <= area.lastColumn)
                areas.push_back(area);
        }
    }
    return areas;
}

} // namespace sheet::biff
