#include "sheet/Errors.h"
#include "sheet/container/CompoundFile.h"
#include "sheet/io/ByteWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace sheet::container {
namespace {

std::vector<std::uint8_t> pattern(std::size_t size, std::uint8_t seed)
{
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(seed + i * 7 + i / 251);
    return bytes;
}

Entry stream(std::u16string name, std::vector<std::uint8_t> data)
{
    Entry entry;
    entry.name = std::move(name);
    entry.data = std::move(data);
    return entry;
}

CompoundFile sample()
{
    CompoundFile file;
    file.root.type = Entry::Type::Root;
    file.root.name = u"Root Entry";
    file.root.clsid[0] = 0x20;
    file.root.children.push_back(stream(u"Workbook", pattern(70000, 1)));
    file.root.children.push_back(stream(u"\x05SummaryInformation", pattern(300, 2)));
    file.root.children.push_back(stream(u"Empty", {}));
    file.root.children.push_back(stream(u"Edge", pattern(4095, 3)));
    file.root.children.push_back(stream(u"Cutoff", pattern(4096, 4)));
    Entry storage;
    storage.name = u"_VBA_PROJECT_CUR";
    storage.type = Entry::Type::Storage;
    storage.stateBits = 7;
    storage.modified = 0x01D2000000000001ull;
    storage.children.push_back(stream(u"dir", pattern(10, 5)));
    file.root.children.push_back(std::move(storage));
    return file;
}

void expectSame(const Entry& expected, const Entry& actual)
{
    EXPECT_EQ(expected.clsid, actual.clsid);
    EXPECT_EQ(expected.stateBits, actual.stateBits);
    EXPECT_EQ(expected.modified, actual.modified);
    ASSERT_EQ(expected.children.size(), actual.children.size());
    for (const Entry& child : expected.children) {
        const Entry* found = actual.child(child.name);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(child.type, found->type);
        EXPECT_EQ(child.data, found->data);
        expectSame(child, *found);
    }
}

// Offsets in a file written from `oneBigStream()`: the stream in sectors 0-9, the directory in 10,
// the FAT in 11.
constexpr std::size_t DirectoryOffset = 11 * 512;
constexpr std::size_t FatOffset = 12 * 512;

std::vector<std::uint8_t> oneBigStream()
{
    CompoundFile file;
    file.root.type = Entry::Type::Root;
    file.root.name = u"Root Entry";
    file.root.children.push_back(stream(u"Big", pattern(5000, 9)));
    return writeCompoundFile(file);
}

void put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value)
{
    io::ByteWriter::put32(bytes.data() + at, value);
}

TEST(CompoundFile, WritesAndReadsBackEveryStreamAndStorage)
{
    const CompoundFile original = sample();
    const std::vector<std::uint8_t> bytes = writeCompoundFile(original);
    ASSERT_EQ(bytes.size() % 512, 0u);
    const CompoundFile read = readCompoundFile(bytes);
    expectSame(original.root, read.root);
    EXPECT_EQ(writeCompoundFile(read), bytes);
}

TEST(CompoundFile, LargeFilesUseDifatSectors)
{
    CompoundFile file;
    file.root.type = Entry::Type::Root;
    file.root.children.push_back(stream(u"Workbook", pattern(9 * 1024 * 1024, 3)));
    const std::vector<std::uint8_t> bytes = writeCompoundFile(file);
    EXPECT_NE(io::ByteWriter::get32(bytes.data() + 72), 0u) << "the header names DIFAT sectors";
    EXPECT_EQ(readCompoundFile(bytes).root.child(u"workbook")->data, file.root.children[0].data);
}

// A version 4 file with 4096-byte sectors: header, FAT (sector 0), directory (1), mini FAT (2),
// mini stream (3), a big stream (4-5).
TEST(CompoundFile, ReadsFilesWith4096ByteSectors)
{
    constexpr std::size_t Sector = 4096;
    std::vector<std::uint8_t> bytes(Sector * 7, 0);
    const std::uint8_t signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::copy(std::begin(signature), std::end(signature), bytes.begin());
    io::ByteWriter::put16(bytes.data() + 24, 0x3E);
    io::ByteWriter::put16(bytes.data() + 26, 4);
    io::ByteWriter::put16(bytes.data() + 28, 0xFFFE);
    io::ByteWriter::put16(bytes.data() + 30, 12);
    io::ByteWriter::put16(bytes.data() + 32, 6);
    put32(bytes, 40, 1);
    put32(bytes, 44, 1);          // FAT sectors
    put32(bytes, 48, 1);          // first directory sector
    put32(bytes, 56, 4096);
    put32(bytes, 60, 2);          // first mini FAT sector
    put32(bytes, 64, 1);
    put32(bytes, 68, 0xFFFFFFFE); // no DIFAT sectors
    put32(bytes, 76, 0);          // the FAT is sector 0
    for (std::size_t i = 1; i < 109; ++i)
        put32(bytes, 76 + 4 * i, 0xFFFFFFFF);
    const std::size_t fat = Sector;
    const std::uint32_t chains[] = {0xFFFFFFFD, 0xFFFFFFFE, 0xFFFFFFFE, 0xFFFFFFFE, 5, 0xFFFFFFFE};
    for (std::size_t i = 0; i < Sector / 4; ++i)
        put32(bytes, fat + 4 * i, i < 6 ? chains[i] : 0xFFFFFFFF);
    const std::size_t miniFat = 3 * Sector;
    for (std::size_t i = 0; i < Sector / 4; ++i)
        put32(bytes, miniFat + 4 * i, i == 0 ? 1 : i == 1 ? 0xFFFFFFFE : 0xFFFFFFFF);
    const auto small = pattern(100, 1);
    std::copy(small.begin(), small.end(), bytes.begin() + 4 * Sector);
    const auto big = pattern(5000, 2);
    std::copy(big.begin(), big.end(), bytes.begin() + 5 * Sector);
    auto entry = [&](std::size_t index, std::u16string name, std::uint8_t type, std::uint32_t child,
                     std::uint32_t right, std::uint32_t start, std::uint32_t size) {
        const std::size_t at = 2 * Sector + 128 * index;
        for (std::size_t c = 0; c < name.size(); ++c)
            io::ByteWriter::put16(bytes.data() + at + 2 * c, name[c]);
        io::ByteWriter::put16(bytes.data() + at + 64, static_cast<std::uint16_t>(2 * name.size() + 2));
        bytes[at + 66] = type;
        put32(bytes, at + 68, 0xFFFFFFFF);
        put32(bytes, at + 72, right);
        put32(bytes, at + 76, child);
        put32(bytes, at + 116, start);
        put32(bytes, at + 120, size);
    };
    entry(0, u"Root Entry", 5, 1, 0xFFFFFFFF, 3, 128);
    entry(1, u"Small", 2, 0xFFFFFFFF, 2, 0, 100);
    entry(2, u"Workbook", 2, 0xFFFFFFFF, 0xFFFFFFFF, 4, 5000);
    for (std::size_t i = 3; i < Sector / 128; ++i)
        entry(i, u"", 0, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0);

    const CompoundFile file = readCompoundFile(bytes);
    ASSERT_NE(file.root.child(u"Small"), nullptr);
    EXPECT_EQ(file.root.child(u"Small")->data, small);
    ASSERT_NE(file.root.child(u"Workbook"), nullptr);
    EXPECT_EQ(file.root.child(u"Workbook")->data, big);
}

// A damage done to the bytes of `oneBigStream()`, and what the refusal says.
struct Damage {
    const char* name;
    std::function<void(std::vector<std::uint8_t>&)> apply;
    const char* message;
};

void PrintTo(const Damage& damage, std::ostream* out)
{
    *out << damage.name;
}

class DamagedCompoundFile : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedCompoundFile, IsRefusedWithAClearError)
{
    std::vector<std::uint8_t> bytes = oneBigStream();
    ASSERT_NO_THROW(readCompoundFile(bytes));
    GetParam().apply(bytes);
    try {
        readCompoundFile(bytes);
        ADD_FAILURE() << "read without complaint";
    } catch (const FormatError& error) {
        EXPECT_THAT(error.what(), ::testing::HasSubstr(GetParam().message));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Damages, DamagedCompoundFile,
    ::testing::Values(
        Damage{"RandomBytes", [](auto& b) { b.assign(2048, 0x5A); }, "not a compound document"},
        Damage{"TooShort", [](auto& b) { b.resize(100); }, "not a compound document"},
        Damage{"CutAfterTheHeader", [](auto& b) { b.resize(512 + 3 * 512); }, "past the end of the file"},
        Damage{"FatChainThatLoops", [](auto& b) { put32(b, FatOffset + 4 * 5, 2); }, "loops"},
        Damage{"FatChainIntoFreeSpace", [](auto& b) { put32(b, FatOffset + 4 * 5, 0xFFFFFFFF); }, "leaves the file"},
        Damage{"StreamClaimingTwoGigabytes", [](auto& b) { put32(b, DirectoryOffset + 128 + 120, 0x80000000u); },
               "more bytes than the file holds"},
        Damage{"StreamLongerThanItsChain", [](auto& b) { put32(b, DirectoryOffset + 128 + 120, 5200); },
               "longer than its chain"},
        Damage{"EntryThatIsItsOwnSibling", [](auto& b) { put32(b, DirectoryOffset + 128 + 68, 1); },
               "refers to an entry twice"},
        Damage{"RootThatIsItsOwnChild", [](auto& b) { put32(b, DirectoryOffset + 76, 0); }, "refers to an entry twice"},
        Damage{"ChildPastTheDirectory", [](auto& b) { put32(b, DirectoryOffset + 76, 4000); }, "past the directory"},
        Damage{"DifatChainThatLoops",
               [](auto& b) {
                   put32(b, 68, 11);
                   put32(b, 72, 1000);
                   put32(b, FatOffset + 4 * 127, 11);
               },
               "DIFAT"},
        Damage{"SectorSizeOfAMegabyte", [](auto& b) { io::ByteWriter::put16(b.data() + 30, 20); }, "sector size"}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

} // namespace
} // namespace sheet::container
