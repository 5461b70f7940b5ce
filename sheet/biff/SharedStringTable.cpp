#include "sheet/biff/SharedStringTable.h"

#include "sheet/Errors.h"
#include "sheet/biff/RecordStream.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/biff/UnicodeText.h"
#include "sheet/io/ByteWriter.h"

#include <algorithm>

namespace sheet::biff {
namespace {

// Reads across the SST's CONTINUE records; characters split between records carry a new flags byte.
class ContinuedReader {
public:
    explicit ContinuedReader(const std::vector<std::span<const std::uint8_t>>& segments) : segments_(segments) {}

    bool atEnd()
    {
        while (segment_ < segments_.size() && position_ == segments_[segment_].size())
            ++segment_, position_ = 0;
        return segment_ == segments_.size();
    }
    std::uint8_t u8()
    {
        if (atEnd())
            fail();
        return segments_[segment_][position_++];
    }
    std::uint16_t u16()
    {
        const std::uint16_t low = u8();
        return static_cast<std::uint16_t>(low | (u8() << 8));
    }
    std::uint32_t u32()
    {
        const std::uint32_t low = u16();
        return low | (static_cast<std::uint32_t>(u16()) << 16);
    }
    std::vector<std::uint8_t> bytes(std::size_t count)
    {
        std::vector<std::uint8_t> out;
        while (out.size() < count) {
            if (atEnd())
                fail();
            const auto& segment = segments_[segment_];
            const std::size_t take = std::min(count - out.size(), segment.size() - position_);
            out.insert(out.end(), segment.begin() + static_cast<std::ptrdiff_t>(position_),
                       segment.begin() + static_cast<std::ptrdiff_t>(position_ + take));
            position_ += take;
        }
        return out;
    }
    std::u16string characters(std::size_t count, bool wide)
    {
        std::u16string text;
        text.reserve(std::min<std::size_t>(count, 8224));
        while (text.size() < count) {
            if (segment_ < segments_.size() && position_ == segments_[segment_].size()) {
                ++segment_, position_ = 0;
                wide = u8() & 0x01;
            }
            if (segment_ >= segments_.size())
                fail();
            const auto& segment = segments_[segment_];
            const std::size_t width = wide ? 2 : 1;
            const std::size_t take = std::min(count - text.size(), (segment.size() - position_) / width);
            if (take == 0)
                fail();
            for (std::size_t i = 0; i < take; ++i, position_ += width)
                text.push_back(wide ? static_cast<char16_t>(segment[position_] | (segment[position_ + 1] << 8))
                                    : segment[position_]);
        }
        return text;
    }

private:
    [[noreturn]] static void fail() { throw FormatError("damaged workbook: the shared string table is cut short"); }

    const std::vector<std::span<const std::uint8_t>>& segments_;
    std::size_t segment_ = 0;
    std::size_t position_ = 0;
};

// Writes the SST record and its CONTINUE records straight into the stream, each filled up to the
// largest record size, and tells where each string starts.
class SegmentWriter {
public:
    explicit SegmentWriter(std::vector<std::uint8_t>& out) : out_(out) { startRecord(rt::Sst); }

    std::size_t room() const { return rt::MaxRecordSize - bodySize(); }
    void newSegment()
    {
        finish();
        startRecord(rt::Continue);
    }
    void u8(std::uint8_t value)
    {
        if (room() == 0)
            newSegment();
        out_.push_back(value);
    }
    void u16(std::uint16_t value) { io::ByteWriter(out_).u16(value); }
    void u32(std::uint32_t value) { io::ByteWriter(out_).u32(value); }
    // Bytes that the caller has made room for.
    void bytes(std::span<const std::uint8_t> data) { out_.insert(out_.end(), data.begin(), data.end()); }
    void character(char16_t c, bool wide)
    {
        if (wide)
            u16(c);
        else
            out_.push_back(static_cast<std::uint8_t>(c));
    }
    // Where the next byte goes: its position in the stream and in its record, header included.
    std::pair<std::size_t, std::size_t> here() const { return {out_.size(), 4 + bodySize()}; }
    // Sets the last record's length.
    void finish() { io::ByteWriter::put16(out_.data() + record_ + 2, static_cast<std::uint16_t>(bodySize())); }

private:
    std::size_t bodySize() const { return out_.size() - record_ - 4; }
    void startRecord(std::uint16_t type)
    {
        record_ = out_.size();
        io::ByteWriter w(out_);
        w.u16(type);
        w.u16(0);
    }

    std::vector<std::uint8_t>& out_;
    std::size_t record_ = 0;
};

bool isHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool isLowSurrogate(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// How many UTF-16 units make up the character at `i`: two for a surrogate pair, which readers decode
// record by record and so must find in one record.
std::size_t characterUnits(const std::u16string& text, std::size_t i)
{
    return isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1]) ? 2 : 1;
}

// The bytes that must lie in the record where a string starts: its header and its first character.
std::size_t startRoom(const model::SharedString& string)
{
    const bool wide = !fitsLatin1(string.text);
    const std::size_t header = 3 + (string.runs.empty() ? 0 : 2) + (string.phonetic.empty() ? 0 : 4);
    return header + (string.text.empty() ? 1 : (wide ? 2 : 1) * characterUnits(string.text, 0));
}

// Writes one string. Readers take the header, each formatting run and the phonetic data as wholes, so
// only the characters are split between records, between two characters, and the record that goes on
// with them starts with the option byte that says their width.
void writeString(SegmentWriter& out, const model::SharedString& string)
{
    const bool wide = !fitsLatin1(string.text);
    const bool rich = !string.runs.empty();
    const bool phonetic = !string.phonetic.empty();
    if (out.room() < startRoom(string))
        out.newSegment();
    out.u16(static_cast<std::uint16_t>(string.text.size()));
    out.u8(static_cast<std::uint8_t>((wide ? 0x01 : 0) | (phonetic ? 0x04 : 0) | (rich ? 0x08 : 0)));
    if (rich)
        out.u16(static_cast<std::uint16_t>(string.runs.size() / 4));
    if (phonetic)
        out.u32(static_cast<std::uint32_t>(string.phonetic.size()));
    const std::size_t width = wide ? 2 : 1;
    for (std::size_t i = 0; i < string.text.size();) {
        const std::size_t units = characterUnits(string.text, i);
        if (out.room() < units * width) {
            out.newSegment();
            out.u8(wide ? 1 : 0);
        }
        for (const std::size_t end = i + units; i < end; ++i)
            out.character(string.text[i], wide);
    }
    for (std::size_t run = 0; run < string.runs.size(); run += 4) {
        if (out.room() < 4)
            out.newSegment();
        out.bytes(std::span(string.runs).subspan(run, std::min<std::size_t>(4, string.runs.size() - run)));
    }
    // Phonetic data longer than a record can hold is the only part that has to be split.
    if (out.room() < string.phonetic.size() && string.phonetic.size() <= rt::MaxRecordSize)
        out.newSegment();
    for (std::uint8_t b : string.phonetic)
        out.u8(b);
}

} // namespace

std::vector<model::SharedString> readSharedStrings(const std::vector<std::span<const std::uint8_t>>& segments)
{
    ContinuedReader reader(segments);
    reader.u32(); // references
    const std::uint32_t unique = reader.u32();
    std::vector<model::SharedString> strings;
    std::size_t total = 0;
    for (const auto& segment : segments)
        total += segment.size();
    strings.reserve(std::min<std::size_t>(unique, total / 3));
    while (strings.size() < unique && !reader.atEnd()) {
        model::SharedString string;
        const std::uint16_t count = reader.u16();
        const std::uint8_t flags = reader.u8();
        const std::uint16_t runs = (flags & 0x08) ? reader.u16() : 0;
        const std::uint32_t phonetic = (flags & 0x04) ? reader.u32() : 0;
        string.text = reader.characters(count, flags & 0x01);
        string.runs = reader.bytes(std::size_t{runs} * 4);
        if (phonetic > total)
            throw FormatError("damaged workbook: a shared string claims more phonetic data than the table holds");
        string.phonetic = reader.bytes(phonetic);
        strings.push_back(std::move(string));
    }
    return strings;
}

std::u16string readContinuedString(const std::vector<std::span<const std::uint8_t>>& segments)
{
    ContinuedReader reader(segments);
    const std::uint16_t count = reader.u16();
    const bool wide = reader.u8() & 0x01;
    return reader.characters(count, wide);
}

void writeSharedStrings(const std::vector<model::SharedString>& strings, std::uint32_t references,
                        std::vector<std::uint8_t>& stream)
{
    SegmentWriter body(stream);
    body.u32(references);
    body.u32(static_cast<std::uint32_t>(strings.size()));
    const std::size_t perBucket = std::max<std::size_t>(8, (strings.size() + 127) / 128);
    std::vector<std::pair<std::size_t, std::size_t>> bucketStarts;
    for (std::size_t i = 0; i < strings.size(); ++i) {
        if (i % perBucket == 0) {
            if (body.room() < startRoom(strings[i]))
                body.newSegment();
            bucketStarts.push_back(body.here());
        }
        writeString(body, strings[i]);
    }
    body.finish();

    std::vector<std::uint8_t> index;
    io::ByteWriter w(index);
    w.u16(static_cast<std::uint16_t>(perBucket));
    for (const auto& [position, inRecord] : bucketStarts) {
        w.u32(static_cast<std::uint32_t>(position));
        w.u16(static_cast<std::uint16_t>(inRecord));
        w.u16(0);
    }
    appendRecord(stream, rt::ExtSst, index);
}

} // namespace sheet::biff
