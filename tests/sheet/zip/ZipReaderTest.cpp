#include "sheet/zip/ZipReader.h"

#include "sheet/Errors.h"
#include "sheet/zip/ZipArchive.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using sheet::zip::ZipEntry;
using sheet::zip::ZipReader;

std::vector<std::uint8_t> package()
{
    std::string sheet;
    for (int row = 1; row <= 20000; ++row)
        sheet += "<row r=\"" + std::to_string(row) + "\"/>";
    return sheet::zip::zipArchive({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet", true},
                                   {"xl/worksheets/sheet1.xml", sheet}});
}

// Packages name their parts without regard to case; a large part arrives in pieces that add up to it.
TEST(ZipReader, ReadsEntriesWholeAndInPiecesFindingNamesInAnyCase)
{
    ZipReader reader(package());

    EXPECT_EQ(reader.names(), (std::vector<std::string>{"mimetype", "xl/worksheets/sheet1.xml"}));
    EXPECT_TRUE(reader.stored("mimetype"));
    EXPECT_FALSE(reader.stored("xl/worksheets/sheet1.xml"));
    EXPECT_EQ(reader.spelling("XL/Worksheets/Sheet1.xml"), "xl/worksheets/sheet1.xml");
    std::string whole = reader.read("xl/worksheets/sheet1.xml");
    EXPECT_EQ(whole.size(), reader.size("xl/worksheets/sheet1.xml"));
    std::string pieces;
    int count = 0;
    reader.stream("xl/worksheets/sheet1.xml", [&](std::string_view piece) { pieces.append(piece); ++count; });
    EXPECT_EQ(pieces, whole);
    EXPECT_GT(count, 1);
    EXPECT_THROW(reader.read("xl/worksheets/sheet1.xml", 1000), sheet::FormatError);
    EXPECT_THROW(reader.read("xl/workbook.xml"), sheet::FormatError);
}

// A cut archive, a changed byte of a compressed part, and bytes that are no archive at all are refused
// with a FormatError, never a crash.
TEST(ZipReader, RefusesDamagedArchives)
{
    std::vector<std::uint8_t> bytes = package();
    std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2));
    EXPECT_THROW(ZipReader{cut}, sheet::FormatError);
    EXPECT_THROW(ZipReader{std::vector<std::uint8_t>(100, 'x')}, sheet::FormatError);

    std::vector<std::uint8_t> changed = bytes;
    changed[200] ^= 0xFF; // inside the deflated sheet
    EXPECT_THROW(
        {
            ZipReader reader(changed);
            reader.read("xl/worksheets/sheet1.xml");
        },
        sheet::FormatError);
}

} // namespace
