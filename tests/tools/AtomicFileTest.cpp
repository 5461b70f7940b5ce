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

TEST_F(AtomicFileTest, WritesNewFilesAndReplacesOldOnesWholly)
{
    const fs::path path = folder_ / "out.xlt";
    tools::writeFileAtomically(path.string(), std::string("first\0bytes", 11));
    EXPECT_EQ(contents(path), std::string("first\0bytes", 11));
    tools::writeFileAtomically(path.string(), "second");
    EXPECT_EQ(contents(path), "second");
    EXPECT_EQ(entries(), 1u);
    struct stat status {};
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0644u);
}

TEST_F(AtomicFileTest, ReplacesAPlantedSymbolicLinkInsteadOfWritingThroughIt)
{
    const fs::path victim = folder_ / "victim";
    std::ofstream(victim) << "keep me";
    const fs::path link = folder_ / "out.xlt";
    fs::create_symlink(victim, link);
    tools::writeFileAtomically(link.string(), "template");
    EXPECT_FALSE(fs::is_symlink(link));
    EXPECT_EQ(contents(link), "template");
    EXPECT_EQ(contents(victim), "keep me");
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
