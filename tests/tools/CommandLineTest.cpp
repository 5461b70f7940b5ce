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
