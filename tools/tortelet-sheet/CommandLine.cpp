#include "CommandLine.h"

#include <algorithm>
#include <ostream>

namespace tools {

namespace {

constexpr const char* ProgramName = "tortelet-sheet";

void writeUsage(std::span<const Command> commands, std::ostream& stream)
{
    stream << "Usage:\n";
    for (const Command& command : commands)
        stream << "  " << ProgramName << ' ' << command.synopsis << '\n';
    stream << "  " << ProgramName << " --help\n";
}

void writeHelp(std::span<const Command> commands, std::ostream& stream)
{
    writeUsage(commands, stream);
    stream << "\nCommands:\n";
    for (const Command& command : commands)
        stream << "\n  " << command.synopsis << "\n" << command.description;
    stream << "\nExit status: 0 on success, 1 when a file cannot be read, is not a workbook or cannot be\n"
              "written (one line on standard error names the file), 2 on a usage error.\n";
}

// Error descriptions may span lines; the report is one line.
std::string oneLine(std::string text)
{
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}

}  // namespace

int runCommandLine(std::span<const Command> commands, const Arguments& arguments, std::ostream& output,
                   std::ostream& errors)
{
    if (arguments.empty()) {
        writeUsage(commands, errors);
        return 2;
    }
    if (arguments.front() == "--help" || arguments.front() == "-h" || arguments.front() == "help") {
        writeHelp(commands, output);
        return 0;
    }
    const auto command = std::find_if(commands.begin(), commands.end(),
                                      [&](const Command& candidate) { return arguments.front() == candidate.name; });
    if (command == commands.end()) {
        errors << ProgramName << ": unknown command \"" << arguments.front() << "\"\n";
        writeUsage(commands, errors);
        return 2;
    }
    try {
        return command->run(Arguments(arguments.begin() + 1, arguments.end()), output);
    } catch (const UsageError& error) {
        errors << ProgramName << ": " << oneLine(error.what()) << "\nUsage: " << ProgramName << ' '
               << command->synopsis << '\n';
        return 2;
    } catch (const FileFailure& error) {
        errors << ProgramName << ": " << oneLine(error.what()) << '\n';
        return 1;
    }
}

}  // namespace tools
