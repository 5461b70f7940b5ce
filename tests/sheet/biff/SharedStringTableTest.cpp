#include "sheet/Errors.h"
#include "sheet/biff/SharedStringTable.h"
#include "sheet/io/ByteReader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <random>

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
