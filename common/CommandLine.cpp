#include "CommandLine.h"

#include "tortelet/Version.h"

#include <QCommandLineParser>

#include <cerrno>
#include <cstring>
#include <ostream>

namespace common {

namespace {
constexpr const char* HelpText =
    "Usage: tortelet-studio [options]\n"
    "Turns a short list of labelled amounts into a pie-chart workbook: keep the list in the window,\n"
    "build the chart, preview it and save the workbook as an Excel 97-2003, .xlsx or .ods file.\n"
    "One copy runs per user: starting the program again brings its window to the front.\n"
    "\n"
    "Options:\n"
    "  -h, --help     Shows this help and ends.\n"
    "  -v, --version  Shows the version and ends.\n"
    "  --template FILE\n"
    "                 Builds from FILE, a chart template of your own (.xlt, .xltx, .xltm, .ots, or a\n"
    "                 workbook: .xls, .xlsx, .xlsm, .ods, .fods), from now on, as the window's\n"
    "                 \"Use My Own Template...\" does; \"Use the Built-in Template\" goes back.\n"
    "\n"
    "Qt's own options are accepted as well, such as -platform offscreen or -style Fusion.\n";

// The answer has been written; whether all of it arrived decides the exit code.
int answered(std::ostream& output, std::ostream& errors)
{
    errno = 0;
    if (output.flush())
        return 0;
    const int error = errno;
    errors << "tortelet-studio: cannot write standard output" << (error != 0 ? ": " : "")
           << (error != 0 ? std::strerror(error) : "") << '\n';
    return 1;
}

QCommandLineOption templateOption()
{
    return QCommandLineOption(QStringLiteral("template"), QString(), QStringLiteral("FILE"));
}

}  // namespace

std::optional<QString> TemplateOption(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption option = templateOption();
    parser.addOption(option);
    parser.parse(arguments);
    if (!parser.isSet(option))
        return std::nullopt;
    return parser.value(option);
}

std::optional<int> AnswerCommandLine(const QStringList& arguments, std::ostream& output, std::ostream& errors)
{
    QCommandLineParser parser;
    // One dash and a word is an option name, as in Qt's own -platform, never a cluster of letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(templateOption());
    // Options the parser does not know are Qt's to judge once the application starts.
    parser.parse(arguments);
    if (parser.isSet(help)) {
        output << HelpText;
        return answered(output, errors);
    }
    if (parser.isSet(version)) {
        output << "tortelet-studio " << tortelet::Version << '\n';
        return answered(output, errors);
    }
    return std::nullopt;
}

}  // namespace common
