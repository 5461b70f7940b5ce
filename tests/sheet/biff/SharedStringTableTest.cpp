#include "sheet/Errors.h"
#include "sheet/biff/SharedStringTable.h"
#include "sheet/io/ByteReader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <stdexcept>
#include <string>

namespace sheet::biff {
namespace {

struct Written {
    std::vector<std::span<const std::uint8_t>> sst; // SST and CONTINUE bodies
    std::vector<std::size_t> bodyOffsets;           // where each body starts in the stream
    std::span<const std::uint8_t> extSst;
};

Written split(std::span<const std::uint8_t> bytes, std::size_t streamOffset)
{
    Written written;
    io::ByteReader reader(bytes, "test records");
    while (!reader.atEnd()) {
        const std::uint16_t type = reader.u16();
        const std::uint16_t length = reader.u16();
        const std::size_t at = streamOffset + reader.position();
        const auto body = reader.bytes(length);
        EXPECT_LE(length, 8224u);
        if (type == 0x00FF) {
            written.extSst = body;
        } else {
            written.sst.push_back(body);
            written.bodyOffsets.push_back(at);
        }
    }
    return written;
}

TEST(SharedStringTable, LongTablesSplitIntoRecordsAndReadBack)
{
    std::mt19937 random(7);
    std::vector<model::SharedString> strings;
    for (int i = 0; i < 3000; ++i) {
        model::SharedString string;
        const std::size_t length = i == 10 ? 20000 : random() % 40;
        const bool wide = random() % 3 == 0;
        for (std::size_t c = 0; c < length; ++c)
            string.text.push_back(wide ? static_cast<char16_t>(0x3040 + random() % 80)
                                       : static_cast<char16_t>('a' + random() % 26));
        if (random() % 10 == 0)
            string.runs = std::vector<std::uint8_t>(4 * (1 + random() % 3), 0x11);
        if (random() % 15 == 0)
            string.phonetic = std::vector<std::uint8_t>(12 + random() % 30, 0x22);
        strings.push_back(std::move(string));
    }
    constexpr std::size_t StreamOffset = 1000;
    std::vector<std::uint8_t> stream(StreamOffset);
    writeSharedStrings(strings, 4321, stream);
    const Written written = split(std::span(stream).subspan(StreamOffset), StreamOffset);
    ASSERT_GT(written.sst.size(), 5u);

    const std::vector<model::SharedString> read = readSharedStrings(written.sst);
    ASSERT_EQ(read.size(), strings.size());
    for (std::size_t i = 0; i < strings.size(); ++i) {
        EXPECT_EQ(read[i].text, strings[i].text) << i;
        EXPECT_EQ(read[i].runs, strings[i].runs) << i;
        EXPECT_EQ(read[i].phonetic, strings[i].phonetic) << i;
    }

    // Each EXTSST bucket names the stream position of its first string and its offset in the record.
    io::ByteReader index(written.extSst, "EXTSST");
    const std::size_t perBucket = index.u16();
    EXPECT_EQ(perBucket, 24u);
    for (std::size_t bucket = 0; !index.atEnd(); ++bucket) {
        const std::uint32_t position = index.u32();
        const std::uint16_t inRecord = index.u16();
        index.u16();
        std::size_t body = 0;
        while (body + 1 < written.bodyOffsets.size() && written.bodyOffsets[body + 1] <= position)
            ++body;
        EXPECT_EQ(position - written.bodyOffsets[body] + 4, inRecord);
        io::ByteReader at(written.sst[body].subspan(position - written.bodyOffsets[body]), "string");
        EXPECT_EQ(at.u16(), strings[bucket * perBucket].text.size()) << bucket;
    }
}

// Reads a written table as the strictest readers do: a string's header, each formatting run and the
// phonetic data lie whole in one record; a record that goes on with characters starts with an option
// byte; the characters of each record decode on their own, so no record ends inside a surrogate pair.
std::vector<model::SharedString> readStrictly(const std::vector<std::span<const std::uint8_t>>& records)
{
    std::size_t record = 0, at = 8;
    const auto whole = [&](std::size_t size, const char* what) {
        if (at == records[record].size() && record + 1 < records.size())
            ++record, at = 0;
        if (at + size > records[record].size())
            throw std::runtime_error(std::string(what) + " split across records");
        const auto part = records[record].subspan(at, size);
        at += size;
        return part;
    };
    const auto u16 = [](std::span<const std::uint8_t> b, std::size_t i) { return std::size_t(b[i] | b[i + 1] << 8); };
    std::vector<model::SharedString> strings;
    while (record + 1 < records.size() || at < records[record].size()) {
        if (at == records[record].size())
            ++record, at = 0;
        const std::uint8_t flags = records[record].size() > at + 2 ? records[record][at + 2] : 0;
        const auto header = whole(3 + (flags & 0x08 ? 2 : 0) + (flags & 0x04 ? 4 : 0), "a string header");
        model::SharedString string;
        bool wide = flags & 0x01;
        const std::size_t length = u16(header, 0);
        while (string.text.size() < length) {
            if (at == records[record].size()) {
                const std::uint8_t option = whole(1, "an option byte")[0];
                if (option > 1)
                    throw std::runtime_error("a CONTINUE starts with option byte " + std::to_string(option));
                wide = option;
            }
            while (string.text.size() < length && at + (wide ? 2 : 1) <= records[record].size())
                string.text.push_back(static_cast<char16_t>(wide ? u16(whole(2, "a character"), 0) : whole(1, "")[0]));
            if (string.text.size() < length && at != records[record].size())
                throw std::runtime_error("characters end before their record does");
            if (string.text.size() < length && !string.text.empty() && string.text.back() >= 0xD800 &&
                string.text.back() <= 0xDBFF)
                throw std::runtime_error("a surrogate pair split across records");
        }
        for (std::size_t run = 0; flags & 0x08 && run < u16(header, 3); ++run) {
            const auto bytes = whole(4, "a formatting run");
            string.runs.insert(string.runs.end(), bytes.begin(), bytes.end());
        }
        if (flags & 0x04) {
            const std::size_t size = u16(header, header.size() - 4);
            const auto bytes = whole(size, "phonetic data");
            string.phonetic.assign(bytes.begin(), bytes.end());
        }
        strings.push_back(std::move(string));
    }
    return strings;
}

// A rich-text string, one of surrogate pairs and one with phonetic data, placed after a long string so
// that the end of the first record falls on each of their bytes in turn.
TEST(SharedStringTable, RecordsEndOnlyWhereEveryReaderGoesOn)
{
    std::vector<model::SharedString> strings(4);
    strings[1] = {u"abc", {0, 0, 1, 0, 2, 0, 2, 0, 3, 0, 1, 0}, {}};
    strings[2] = {u"x\U0001F600\U0001F601\U0001F602", {}, {}};
    strings[3] = {u"def", {}, std::vector<std::uint8_t>(20, 0x22)};
    constexpr std::size_t FirstRecordRoom = 8224 - 8;
    constexpr std::size_t ThreeStrings = 20 + 17 + 30;
    for (std::size_t before = 1; before < ThreeStrings; ++before) {
        strings[0].text.assign(FirstRecordRoom - 3 - before, u'a');
        std::vector<std::uint8_t> stream;
        writeSharedStrings(strings, 4, stream);
        const Written written = split(stream, 0);
        ASSERT_EQ(written.sst.size(), 2u) << before;
        std::vector<model::SharedString> read;
        try {
            read = readStrictly(written.sst);
        } catch (const std::runtime_error& error) {
            ADD_FAILURE() << error.what() << " with " << before << " bytes left in the first record";
            continue;
        }
        ASSERT_EQ(read.size(), strings.size()) << before;
        for (std::size_t i = 0; i < strings.size(); ++i) {
            EXPECT_EQ(read[i].text, strings[i].text) << before << " " << i;
            EXPECT_EQ(read[i].runs, strings[i].runs) << before << " " << i;
            EXPECT_EQ(read[i].phonetic, strings[i].phonetic) << before << " " << i;
        }
    }
}

TEST(SharedStringTable, ACountBeyondTheDataEndsWithTheData)
{
    const std::vector<std::uint8_t> manyClaimed = {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 'a'};
    EXPECT_EQ(readSharedStrings({manyClaimed}).size(), 1u);
}

// An SST record body with one damage, and what the refusal says.
struct Damage {
    const char* name;
    std::vector<std::uint8_t> body;
    const char* message;
};

void PrintTo(const Damage& damage, std::ostream* out)
{
    *out << damage.name;
}

class DamagedSharedStringTable : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedSharedStringTable, IsRefusedWithAFormatError)
{
    try {
        readSharedStrings({GetParam().body});
        ADD_FAILURE() << "read without complaint";
    } catch (const FormatError& error) {
        EXPECT_THAT(error.what(), ::testing::HasSubstr(GetParam().message));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Damages, DamagedSharedStringTable,
    ::testing::Values(Damage{"StringCutShort", {0, 0, 0, 0, 5, 0, 0, 0, 10, 0, 0, 'a', 'b'}, "cut short"},
                      Damage{"PhoneticDataPastTheTable",
                             {0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0x04, 0xFF, 0xFF, 0xFF, 0x7F, 'a'},
                             "more phonetic data than the table holds"}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

} // namespace
} // namespace sheet::biff
