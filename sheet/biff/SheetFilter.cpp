#include "sheet/biff/SheetFilter.h"

#include "sheet/io/ByteReader.h"

namespace sheet::biff {
namespace {

constexpr std::uint16_t NameRecord = 0x0018;
constexpr std::uint16_t AutoFilterInfo = 0x009D;
constexpr std::uint16_t AutoFilter = 0x009E;
constexpr std::uint16_t BuiltInName = 0x0020;
constexpr std::uint8_t FilterDatabase = 0x0D;

// The range of a built-in _FilterDatabase name of the sheet `itab` (counting from 1): an area, 3-D or
// not, in any of its token classes.
std::optional<model::CellRange> filterDatabase(const model::Record& record, int itab)
{
    io::ByteReader reader(record.bytes, "a NAME record");
    const std::uint16_t flags = reader.u16();
    reader.u8();
    const int length = reader.u8();
    const int formulaSize = reader.u16();
    reader.u16();
    const int sheet = reader.u16();
    reader.skip(4);
    if (!(flags & BuiltInName) || length != 1 || sheet != itab)
        return std::nullopt;
    const bool wide = reader.u8() & 1;
    const int name = wide ? reader.u16() : reader.u8();
    if (name != FilterDatabase || formulaSize < 9)
        return std::nullopt;
    const std::uint8_t token = reader.u8();
    if ((token & 0x1F) == 0x1B)
        reader.u16();
    else if ((token & 0x1F) != 0x05)
        return std::nullopt;
    model::CellRange range;
    range.firstRow = reader.u16();
    range.lastRow = reader.u16();
    range.firstColumn = reader.u16() & 0x00FF;
    range.lastColumn = reader.u16() & 0x00FF;
    if (range.firstRow > range.lastRow || range.firstColumn > range.lastColumn)
        return std::nullopt;
    return range;
}

} // namespace

std::optional<SheetFilter> readSheetFilter(const model::Workbook& workbook, int sheetIndex)
{
    const model::Sheet& sheet = workbook.sheets.at(static_cast<std::size_t>(sheetIndex));
    bool filtered = false, criteria = false;
    for (const model::Record& record : sheet.records) {
        filtered = filtered || record.type == AutoFilterInfo;
        criteria = criteria || record.type == AutoFilter;
    }
    if (!filtered || workbook.biff < 8)
        return std::nullopt;
    for (const model::Record& record : workbook.globalRecords) {
        if (record.type != NameRecord)
            continue;
        try {
            if (const auto range = filterDatabase(record, sheetIndex + 1))
                return SheetFilter{*range, criteria};
        } catch (const FormatError&) {
            // A name cut short names no filter.
        }
    }
    return std::nullopt;
}

} // namespace sheet::biff
