#include "sheet/biff/RecordStream.h"

#include "sheet/Errors.h"
#include "sheet/biff/CellRecords.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/io/ByteReader.h"
#include "sheet/io/ByteWriter.h"

#include <algorithm>
#include <string>

namespace sheet::biff {
namespace {

constexpr int MaxNesting = 8;

// Where the run of cell table records that starts at `at` ends: before the first record that is not
// one of them (a CONTINUE goes with the record before it) or does not fit in the stream.
std::size_t runEnd(std::span<const std::uint8_t> stream, std::size_t at)
{
    std::size_t end = at;
    while (end + 4 <= stream.size()) {
        const std::uint16_t type = io::ByteWriter::get16(stream.data() + end);
        const std::size_t length = io::ByteWriter::get16(stream.data() + end + 2);
        if (length > stream.size() - end - 4 || !(isCellTableRecord(type) || (type == rt::Continue && end != at)))
            break;
        end += 4 + length;
    }
    return end;
}

} // namespace

Substream readSubstream(std::span<const std::uint8_t> stream, std::size_t offset, bool worksheet)
{
    if (offset >= stream.size())
        throw FormatError("damaged workbook: a sheet starts past the end of the Workbook stream");
    io::ByteReader reader(stream, "a record of the Workbook stream");
    reader.seek(offset);
    Substream result{offset, {}};
    int depth = 0;
    do {
        const std::size_t at = reader.position();
        if (reader.remaining() < 4)
            throw FormatError("damaged workbook: a sheet has no end record");
        model::Record record;
        record.type = reader.u16();
        const std::uint16_t length = reader.u16();
        if (record.type == rt::Eof) {
            // An EOF record has no body. Some programs give one a length that reaches into the next
            // sheet or past the stream's end; it still ends its substream, and is kept without it.
            reader.skip(std::min<std::size_t>(length, reader.remaining()));
            if (result.records.empty())
                throw FormatError("damaged workbook: a sheet does not begin with a BOF record");
            --depth;
            result.records.push_back(std::move(record));
            continue;
        }
        if (length > reader.remaining())
            throw FormatError("damaged workbook: the record at offset " + std::to_string(at) +
                              " runs past the end of the Workbook stream");
        if (worksheet && depth == 1 && isCellTableRecord(record.type)) {
            const std::size_t end = runEnd(stream, at);
            record.run = true;
            record.bytes.assign(stream.begin() + static_cast<std::ptrdiff_t>(at),
                                stream.begin() + static_cast<std::ptrdiff_t>(end));
            reader.seek(end);
            result.records.push_back(std::move(record));
            continue;
        }
        const auto body = reader.bytes(length);
        record.bytes.assign(body.begin(), body.end());
        if (result.records.empty() && record.type != rt::Bof)
            throw FormatError("damaged workbook: a sheet does not begin with a BOF record");
        if (record.type == rt::Bof && ++depth > MaxNesting)
            throw FormatError("damaged workbook: substreams are nested too deep");
        result.records.push_back(std::move(record));
    } while (depth > 0);
    return result;
}

RunRecord runRecordAt(std::span<const std::uint8_t> run, std::size_t at)
{
    io::ByteReader reader(run, "a record of the Workbook stream");
    reader.seek(at);
    RunRecord record;
    record.type = reader.u16();
    record.body = reader.bytes(reader.u16());
    record.next = reader.position();
    return record;
}

std::size_t streamSize(const model::Record& record)
{
    return record.run ? record.bytes.size() : 4 + record.bytes.size();
}

void appendAsRead(std::vector<std::uint8_t>& out, const model::Record& record)
{
    if (record.run)
        out.insert(out.end(), record.bytes.begin(), record.bytes.end());
    else
        appendRecordAsIs(out, record.type, record.bytes);
}

void appendRecordAsIs(std::vector<std::uint8_t>& out, std::uint16_t type, std::span<const std::uint8_t> body)
{
    std::uint8_t header[4];
    io::ByteWriter::put16(header, type);
    io::ByteWriter::put16(header + 2, static_cast<std::uint16_t>(body.size()));
    out.insert(out.end(), header, header + 4);
    out.insert(out.end(), body.begin(), body.end());
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
