#include "CommandLine.h"

#include "tortelet/Version.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using tools::Arguments;

int echo(const Arguments& arguments, std::ostream& output)
{
    if (arguments.empty())
        throw tools::UsageError("echo needs words");
    for (const std::string& word : arguments)
        output << word << ';';
    return 0;
}

int failing(const Arguments& arguments, std::ostream&)
{
    throw tools::FileFailure(arguments.at(0), "is not a workbook\n(second line of the reason)");
}

const tools::Command Commands[] = {
    {"echo", "echo WORD...", "    Prints the words.\n", echo},
    {"broken", "broken FILE", "    Fails on FILE.\n", failing},
};

struct Outcome {
    int code;
    std::string output;
    std::string errors;
};

Outcome runWith(const Arguments& arguments)
{
    std::ostringstream output, errors;
    const int code = tools::runCommandLine(Commands, arguments, output, errors);
    return {code, output.str(), errors.str()};
}

TEST(CommandLine, RunsTheNamedCommandWithTheRestOfTheArguments)
{
    const Outcome result = runWith({"echo", "a", "b c"});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.output, "a;b c;");
    EXPECT_EQ(result.errors, "");
}

TEST(CommandLine, UsageErrorsEndWithCodeTwo)
{
    for (const Arguments& arguments : {Arguments{}, Arguments{"nothing"}, Arguments{"echo"}, Arguments{"--echo"}}) {
        const Outcome result = runWith(arguments);
        EXPECT_EQ(result.code, 2);
        EXPECT_EQ(result.output, "");
        EXPECT_NE(result.errors.find("Usage"), std::string::npos);
    }
    EXPECT_NE(runWith({"echo"}).errors.find("echo WORD..."), std::string::npos);
}

TEST(CommandLine, AFileFailureIsOneLineNamingTheFileAndCodeOne)
{
    const Outcome result = runWith({"broken", "/tmp/x.xls"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.errors, "tortelet-sheet: /tmp/x.xls: is not a workbook (second line of the reason)\n");
}

TEST(CommandLine, AnErrorLineIsCutToAReadableLengthWithItsMark)
{
    const std::string longName(100000, 'n');
    for (const Arguments& arguments : {Arguments{"broken", longName}, Arguments{longName}}) {
        const std::string errors = runWith(arguments).errors;
        const std::string firstLine = errors.substr(0, errors.find('\n'));
        EXPECT_LT(firstLine.size(), 400u);
        EXPECT_TRUE(firstLine.ends_with("\xE2\x80\xA6")) << firstLine;
    }
}

// Standard output that does not take what is written to it, as a full disk would not.
class RefusingBuffer final : public std::streambuf {
protected:
    int_type overflow(int_type) override { throw tools::FileFailure("standard output", "No space left on device"); }
};

TEST(CommandLine, AnOutputThatIsRefusedIsAFailure)
{
    for (const Arguments& arguments : {Arguments{"--help"}, Arguments{"--version"}, Arguments{"echo", "a"}}) {
        RefusingBuffer refusing;
        std::ostream output(&refusing);
        output.exceptions(std::ios::badbit);
        std::ostringstream errors;
        EXPECT_EQ(tools::runCommandLine(Commands, arguments, output, errors), 1);
        EXPECT_EQ(errors.str(), "tortelet-sheet: standard output: No space left on device\n");
    }
}

TEST(CommandLine, HelpListsEveryCommandOnStandardOutput)
{
    for (const char* help : {"--help", "-h", "help"}) {
        const Outcome result = runWith({help});
        EXPECT_EQ(result.code, 0);
        EXPECT_NE(result.output.find("echo WORD..."), std::string::npos);
        EXPECT_NE(result.output.find("Fails on FILE."), std::string::npos);
        EXPECT_EQ(result.errors, "");
    }
}

TEST(CommandLine, VersionNamesTheProgramAndTheProjectVersion)
{
    const Outcome result = runWith({"--version"});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.output, std::string("tortelet-sheet ") + tortelet::Version + "\n");
    EXPECT_EQ(result.errors, "");
}

}  // namespace
