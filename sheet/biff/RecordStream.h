#pragma once

#include "sheet/biff/RecordTypes.h"
#include "sheet/model/Record.h"

#include <cstdint>
#include <span>
#include <vector>

namespace sheet::biff {

// A substream as read: its records and where it began in the stream.
struct Substream {
    std::size_t offset = 0;
    std::vector<model::Record> records;
};

// Reads the substream that begins with a BOF record at `offset`, up to its own EOF (nested substreams,
// such as embedded charts, included). For a worksheet the cell table records come as runs (see Record).
// Throws a FormatError when a record runs past the stream's end, the substream does not start with BOF
// or has no EOF.
Substream readSubstream(std::span<const std::uint8_t> stream, std::size_t offset, bool worksheet = false);

// One record inside a run: its type, its body and where the next one starts.
struct RunRecord {
    std::uint16_t type = 0;
    std::span<const std::uint8_t> body;
    std::size_t next = 0;
};

// The record of a run that starts at `at`; `at` lies before the run's end.
RunRecord runRecordAt(std::span<const std::uint8_t> run, std::size_t at);

// The bytes a record takes in the stream, its header (or its records' headers) included.
std::size_t streamSize(const model::Record& record);

// Appends a record as it was read: its header and body, or a run's bytes.
void appendAsRead(std::vector<std::uint8_t>& out, const model::Record& record);

// Appends a record with its header, the body in one piece, as it came.
void appendRecordAsIs(std::vector<std::uint8_t>& out, std::uint16_t type, std::span<const std::uint8_t> body);

// Appends a record with its header; bodies longer than a record may hold go on in CONTINUE records.
void appendRecord(std::vector<std::uint8_t>& out, std::uint16_t type, std::span<const std::uint8_t> body);

// Calls `visit(index)` for each record of a sheet's own level, its BOF and EOF included but not the
// records of the substreams it holds (embedded charts), in order, until `visit` returns true.
template <typename Visit>
void forEachSheetRecord(const std::vector<model::Record>& records, Visit visit)
{
    int depth = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::uint16_t type = records[i].type;
        if (type == rt::Bof)
            ++depth;
        if (depth == 1 && visit(i))
            return;
        if (type == rt::Eof)
            --depth;
    }
}

// The BOF record's substream kind (0x0005 globals, 0x0010 worksheet, 0x0020 chart, ...).
std::uint16_t substreamKind(const model::Record& bof);

} // namespace sheet::biff
