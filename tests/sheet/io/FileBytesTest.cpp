#include "sheet/Errors.h"
#include "sheet/TestFiles.h"
#include "sheet/io/FileBytes.h"

#include <gtest/gtest.h>

namespace sheet {
namespace {

TEST(FileBytes, ASaveThatFailsWhileWritingLeavesTheOldFileAndNoTemporaryFile)
{
    test::ScratchFolder folder;
    const std::string path = folder.path("kept.xls");
    io::writeChosenFile(path, std::vector<std::uint8_t>{'o', 'l', 'd'});
    const io::FileContent failing = [](const io::ByteSink& sink) {
        sink(std::vector<std::uint8_t>(100000, 0xAB));
        throw FormatError("the writer gave up");
    };
    EXPECT_THROW(io::writeChosenFile(path, failing), FormatError);
    EXPECT_EQ(test::fileBytes(path), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(folder.entries().size(), 1u);
}

} // namespace
} // namespace sheet
