#include "common/CommandLine.h"

#include "tortelet/Version.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

struct Answer {
    std::optional<int> code;
    std::string output;
    std::string errors;
};

Answer answer(QStringList arguments)
{
    arguments.prepend(QStringLiteral("tortelet-studio"));
    std::ostringstream output, errors;
    const std::optional<int> code = common::AnswerCommandLine(arguments, output, errors);
    return {code, output.str(), errors.str()};
}

TEST(StudioCommandLine, VersionAndHelpAnswerAndEndWithCodeZero)
{
    for (const QString& option : {QStringLiteral("--version"), QStringLiteral("-v")}) {
        const Answer version = answer({option});
        EXPECT_EQ(version.code, 0);
        EXPECT_EQ(version.output, std::string("tortelet-studio ") + tortelet::Version + "\n");
    }
    for (const QString& option : {QStringLiteral("--help"), QStringLiteral("-h")}) {
        const Answer help = answer({QStringLiteral("-platform"), QStringLiteral("offscreen"), option});
        EXPECT_EQ(help.code, 0);
        EXPECT_NE(help.output.find("Usage: tortelet-studio [options]"), std::string::npos);
        EXPECT_NE(help.output.find("--version"), std::string::npos);
    }
}

TEST(StudioCommandLine, AnyOtherCommandLineStartsTheProgramAndLeavesQtItsOptions)
{
    // "-reverse" holds a "v": one dash and a word is one option, not a cluster of letters.
    for (const QStringList& arguments :
         {QStringList{}, QStringList{QStringLiteral("-reverse")}, QStringList{QStringLiteral("-style"), QStringLiteral("Fusion")},
          QStringList{QStringLiteral("--unknown"), QStringLiteral("file.xls")}}) {
        const Answer started = answer(arguments);
        EXPECT_EQ(started.code, std::nullopt) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(started.output, "");
    }
}

}  // namespace
