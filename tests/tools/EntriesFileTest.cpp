#include "Command.h"
#include "EntriesFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using tools::Entry;
using tools::FileFailure;
using tools::parseEntries;

TEST(EntriesText, ReadsLabelTabAmountLinesWithAnyLineEnding)
{
    EXPECT_EQ(parseEntries("Savings\t25000\nCar\t7500", "e"),
              (std::vector<Entry>{{"Savings", "25000"}, {"Car", "7500"}}));
    EXPECT_EQ(parseEntries("Savings\t25000\r\nCar\t7500\r\n", "e"),
              (std::vector<Entry>{{"Savings", "25000"}, {"Car", "7500"}}));
}

TEST(EntriesText, KeepsTextExactlyAsTypedAndSkipsEmptyLines)
{
    EXPECT_EQ(parseEntries("\xEF\xBB\xBF\n  Épargne \t 1,5 \n\n\t\nЖильё\t-3e2\n", "e"),
              (std::vector<Entry>{{"  Épargne ", " 1,5 "}, {"", ""}, {"Жильё", "-3e2"}}));
    EXPECT_TRUE(parseEntries("", "e").empty());
    EXPECT_TRUE(parseEntries("\n\r\n", "e").empty());
}

TEST(EntriesText, RefusesLinesThatAreNotOneLabelAndOneAmount)
{
    for (const char* text : {"Savings 25000\n", "ok\t1\nSavings\t25000\textra\n"}) {
        try {
            parseEntries(text, "list.txt");
            FAIL() << text;
        } catch (const FileFailure& failure) {
            const std::string message = failure.what();
            EXPECT_EQ(message.rfind("list.txt: line ", 0), 0u) << message;
        }
    }
    EXPECT_NO_THROW(parseEntries("a\t1\nb\t2\nc\t3", "list.txt"));
    EXPECT_THROW(parseEntries("a\t1\n\nbad", "list.txt"), FileFailure);
}

TEST(EntriesText, RefusesBytesThatAreNotUtf8)
{
    for (const char* text : {"Caf\xE9\t1\n", "a\t\xC0\xAF\n", "a\t\xED\xA0\x80\n", "ok\t1\n\xFF\t2\n"}) {
        try {
            parseEntries(text, "list.txt");
            FAIL() << "accepted " << text;
        } catch (const FileFailure& failure) {
            EXPECT_NE(std::string(failure.what()).find("UTF-8"), std::string::npos);
        }
    }
    try {
        parseEntries("ok\t1\n\xFF\t2\n", "list.txt");
    } catch (const FileFailure& failure) {
        EXPECT_STREQ(failure.what(), "list.txt: line 2 is not UTF-8 text");
    }
}

TEST(EntriesFile, NamesTheFileThatCannotBeRead)
{
    const auto folder = std::filesystem::temp_directory_path();
    const std::string missing = (folder / "tortelet-no-such-entries.txt").string();
    try {
        tools::readEntriesFile(missing);
        FAIL();
    } catch (const FileFailure& failure) {
        EXPECT_EQ(std::string(failure.what()).rfind(missing + ": ", 0), 0u);
    }
    EXPECT_THROW(tools::readEntriesFile(folder.string()), FileFailure);

    const std::string path = (folder / "tortelet-entries-test.txt").string();
    std::ofstream(path, std::ios::binary) << "House\t250000\n";
    EXPECT_EQ(tools::readEntriesFile(path), (std::vector<Entry>{{"House", "250000"}}));
    std::filesystem::remove(path);
}

}  // namespace
