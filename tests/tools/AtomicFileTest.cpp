#include "AtomicFile.h"
#include "Command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() /
                  ("tortelet-atomic-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    static std::string contents(const fs::path& path)
    {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    std::size_t entries() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }

    fs::path folder_;
};

TEST_F(AtomicFileTest, NewFilesTakeTheUmaskAndReplacedOnesKeepTheirMode)
{
    const fs::path path = folder_ / "out.xlt";
    const mode_t old = ::umask(027);
    tools::writeFileAtomically(path.string(), std::string("first\0bytes", 11));
    ::umask(old);
    EXPECT_EQ(contents(path), std::string("first\0bytes", 11));
    struct stat status {};
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);

    ASSERT_EQ(::chmod(path.c_str(), 0604), 0);
    tools::writeFileAtomically(path.string(), "second");
    EXPECT_EQ(contents(path), "second");
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0604u);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicFileTest, FollowsALinkAndReplacesItsTargetInTheTargetsFolder)
{
    fs::create_directories(folder_ / "documents");
    const fs::path target = folder_ / "documents" / "budget.xls";
    std::ofstream(target) << "old";
    ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
    fs::create_symlink("documents/budget.xls", folder_ / "link.xls");
    fs::create_symlink(folder_ / "link.xls", folder_ / "chain.xls");
    tools::writeFileAtomically((folder_ / "chain.xls").string(), "new");
    EXPECT_TRUE(fs::is_symlink(folder_ / "chain.xls"));
    EXPECT_TRUE(fs::is_symlink(folder_ / "link.xls"));
    EXPECT_EQ(contents(target), "new");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(entries(), 3u);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "documents"), fs::directory_iterator()), 1);

    fs::create_symlink("documents/new.xls", folder_ / "dangling.xls");
    tools::writeFileAtomically((folder_ / "dangling.xls").string(), "created");
    EXPECT_EQ(contents(folder_ / "documents" / "new.xls"), "created");
}

TEST_F(AtomicFileTest, RefusesFoldersDevicesAndFifosWithoutWaiting)
{
    const fs::path fifo = folder_ / "pipe.xls";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink("/dev/null", folder_ / "device.xls");
    fs::create_directories(folder_ / "folder.xls");
    for (const char* name : {"pipe.xls", "device.xls", "folder.xls"}) {
        try {
            tools::writeFileAtomically((folder_ / name).string(), "x");
            FAIL() << name;
        } catch (const tools::FileFailure& failure) {
            EXPECT_NE(std::string(failure.what()).find("not a"), std::string::npos) << failure.what();
        }
    }
    EXPECT_EQ(fs::status(fifo).type(), fs::file_type::fifo);
    EXPECT_EQ(entries(), 3u);
}

TEST_F(AtomicFileTest, FailsNamingThePathAndLeavesNothingBehind)
{
    const fs::path missingFolder = folder_ / "missing" / "out.xlt";
    try {
        tools::writeFileAtomically(missingFolder.string(), "x");
        FAIL();
    } catch (const tools::FileFailure& failure) {
        EXPECT_EQ(std::string(failure.what()).rfind(missingFolder.string() + ": cannot write", 0), 0u);
    }
    const fs::path folderInTheWay = folder_ / "taken";
    fs::create_directories(folderInTheWay / "inside");
    EXPECT_THROW(tools::writeFileAtomically(folderInTheWay.string(), "x"), tools::FileFailure);
    EXPECT_TRUE(fs::is_directory(folderInTheWay / "inside"));
    EXPECT_EQ(entries(), 1u);
}

}  // namespace
