#include "sheet/biff/ColumnInfoRecords.h"

#include "sheet/biff/RecordStream.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/io/ByteReader.h"
#include "sheet/io/ByteWriter.h"

namespace sheet::biff {

model::ColumnInfo readColumnInfo(std::span<const std::uint8_t> body)
{
    io::ByteReader reader(body, "a worksheet record");
    model::ColumnInfo info;
    info.first = reader.u16();
    info.last = reader.u16();
    info.width = reader.u16();
    info.xf = reader.u16();
    info.options = reader.u16();
    const auto rest = reader.bytes(reader.remaining());
    info.reserved.assign(rest.begin(), rest.end());
    return info;
}

void writeColumnInfos(const std::vector<model::ColumnInfo>& columns, std::vector<std::uint8_t>& out)
{
    std::vector<std::uint8_t> body;
    for (const model::ColumnInfo& info : columns) {
        body.clear();
        io::ByteWriter w(body);
        w.u16(static_cast<std::uint16_t>(info.first));
        w.u16(static_cast<std::uint16_t>(info.last));
        w.u16(static_cast<std::uint16_t>(info.width));
        w.u16(static_cast<std::uint16_t>(info.xf));
        w.u16(info.options);
        w.bytes(info.reserved);
        appendRecordAsIs(out, rt::ColInfo, body);
    }
}

} // namespace sheet::biff
