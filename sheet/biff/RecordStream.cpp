#include "sheet/biff/RecordStream.h"

#include "sheet/Errors.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/io/ByteReader.h"
#include "sheet/io/ByteWriter.h"

#include <algorithm>
#include <string>

namespace sheet::biff {
namespace {

constexpr int MaxNesting = 8;

// How many records the substream at `offset` holds, counted on the headers alone, so that its records
// take no more room than they need; a damaged stream gives a count the reading below then refuses.
std::size_t countRecords(std::span<const std::uint8_t> stream, std::size_t offset)
{
    std::size_t count = 0;
    int depth = 0;
    while (offset + 4 <= stream.size()) {
        const std::uint16_t type = io::ByteWriter::get16(stream.data() + offset);
        offset += 4 + io::ByteWriter::get16(stream.data() + offset + 2);
        if (++count == 1 && type != rt::Bof)
            break;
        if (type == rt::Bof)
            ++depth;
        else if (type == rt::Eof && --depth <= 0)
            break;
    }
    return count;
}

} // namespace

Substream readSubstream(std::span<const std::uint8_t> stream, std::size_t offset)
{
    if (offset >= stream.size())
        throw FormatError("damaged workbook: a sheet starts past the end of the Workbook stream");
    io::ByteReader reader(stream, "a record of the Workbook stream");
    reader.seek(offset);
    Substream result{offset, {}};
    result.records.reserve(countRecords(stream, offset));
    int depth = 0;
    do {
        const std::size_t at = reader.position();
        if (reader.remaining() < 4)
            throw FormatError("damaged workbook: a sheet has no end record");
        model::Record record;
        record.type = reader.u16();
        const std::uint16_t length = reader.u16();
        if (length > reader.remaining())
            throw FormatError("damaged workbook: the record at offset " + std::to_string(at) +
                              " runs past the end of the Workbook stream");
        const auto body = reader.bytes(length);
        record.bytes.assign(body.begin(), body.end());
        if (result.records.empty() && record.type != rt::Bof)
            throw FormatError("damaged workbook: a sheet does not begin with a BOF record");
        if (record.type == rt::Bof && ++depth > MaxNesting)
            throw FormatError("damaged workbook: substreams are nested too deep");
        if (record.type == rt::Eof)
            --depth;
        result.records.push_back(std::move(record));
    } while (depth > 0);
    return result;
}

void appendRecordAsIs(std::vector<std::uint8_t>& out, std::uint16_t type, std::span<const std::uint8_t> body)
{
    io::ByteWriter w(out);
    w.u16(type);
    w.u16(static_cast<std::uint16_t>(body.size()));
    w.bytes(body);
}

void appendRecord(std::vector<std::uint8_t>& out, std::uint16_t type, std::span<const std::uint8_t> body)
{
    std::size_t done = 0;
    do {
        const std::size_t chunk = std::min(body.size() - done, rt::MaxRecordSize);
        appendRecordAsIs(out, done == 0 ? type : rt::Continue, body.subspan(done, chunk));
        done += chunk;
    } while (done < body.size());
}

std::uint16_t substreamKind(const model::Record& bof)
{
    return bof.bytes.size() >= 4 ? io::ByteWriter::get16(bof.bytes.data() + 2) : 0;
}

} // namespace sheet::biff
