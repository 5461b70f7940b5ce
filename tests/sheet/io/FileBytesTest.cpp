#include "sheet/Errors.h"
#include "sheet/TestFiles.h"
#include "sheet/io/FileBytes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

// A scratch file replacing an old one: the pieces arrive whole and in order, small and large mixed, the
// file keeps the old one's mode, another name of the old file keeps the old bytes, and nothing else is left.
TEST(FileBytes, AScratchFileReplacesTheOldOneWholeAndLeavesNothingBehind)
{
    test::ScratchFolder folder;
    const std::string path = folder.path("scratch.xls");
    const std::string other = folder.path("old name.xls");
    io::writeFileAtomically(path, std::vector<std::uint8_t>{'o', 'l', 'd'});
    ASSERT_EQ(::link(path.c_str(), other.c_str()), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    std::vector<std::uint8_t> expected;
    const io::FileContent pieces = [&expected](const io::ByteSink& sink) {
        for (const std::size_t size : {3u, 40000u, 30000u, 70000u, 1u, 65536u, 7u}) {
            std::vector<std::uint8_t> piece(size);
            for (std::size_t k = 0; k < size; ++k)
                piece[k] = static_cast<std::uint8_t>(expected.size() + k * 7);
            expected.insert(expected.end(), piece.begin(), piece.end());
            sink(piece);
        }
    };
    io::writeFileAtomically(path, pieces);
    EXPECT_EQ(test::fileBytes(path), expected);
    EXPECT_EQ(test::fileBytes(other), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(folder.entries().size(), 2u);
}

// A writable file in a folder that takes no new file, as a person meets it: the save goes in place
// and the file keeps its mode and its other name. Root writes anywhere, so it saves as nobody.
TEST(FileBytes, AWritableFileInAFolderThatTakesNoNewFileIsWrittenInPlace)
{
    test::ScratchFolder folder;
    const std::string path = folder.path("shared.xls");
    const std::string other = folder.path("other name.xls");
    io::writeChosenFile(path, std::vector<std::uint8_t>(5000, 'o'));
    ASSERT_EQ(::link(path.c_str(), other.c_str()), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    const std::string folderPath = path.substr(0, path.rfind('/'));
    ASSERT_EQ(::chmod(folderPath.c_str(), 0555), 0);
    const std::vector<std::uint8_t> fresh{'n', 'e', 'w'};
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        try {
            io::writeChosenFile(path, fresh);
        } catch (...) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::chmod(folderPath.c_str(), 0700);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(test::fileBytes(path), fresh);
    EXPECT_EQ(test::fileBytes(other), fresh);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0666u);
    EXPECT_EQ(folder.entries().size(), 2u);
}

} // namespace
} // namespace sheet
