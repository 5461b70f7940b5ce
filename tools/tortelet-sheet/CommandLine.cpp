#include "CommandLine.h"

#include "sheet/text/Description.h"
#include "tortelet/Version.h"

#include <algorithm>
#include <ostream>

namespace tools {

namespace {

constexpr const char* ProgramName = "tortelet-sheet";

// The usage and help texts follow the GNU layout ("Usage:", "  or:", headings ending in a colon),
// from which help2man makes the manual page.
void writeUsage(std::span<const Command> commands, std::ostream& stream)
{
    const char* lead = "Usage: ";
    for (const Command& command : commands) {
        stream << lead << ProgramName << ' ' << command.synopsis << '\n';
        lead = "  or:  ";
    }
    stream << "  or:  " << ProgramName << " --help\n";
    stream << "  or:  " << ProgramName << " --version\n";
}

void writeHelp(std::span<const Command> commands, std::ostream& stream)
{
    writeUsage(commands, stream);
    stream << "\nCommands:\n";
    const char* separator = "";
    for (const Command& command : commands) {
        stream << separator << "  " << command.synopsis << "\n" << command.description;
        separator = "\n";
    }
    stream << "\nEncrypted workbooks:\n"
              "  A workbook encrypted with the built-in default password opens without one. Another\n"
              "  password is read from the first line of the file named by --password-file FILE, or\n"
              "  from the environment variable TORTELET_PASSWORD. A filled copy of an encrypted\n"
              "  workbook is encrypted with the same password.\n";
    stream << "\nExit status:\n"
              "  0 on success, 1 when a file cannot be read, is not a workbook or cannot be written,\n"
              "  standard output included (one line on standard error names the file), 2 on a usage\n"
              "  error. A signal that ends the program leaves no temporary file behind.\n";
}

// One line on `errors`, cut to a readable length: descriptions may span lines or quote a whole input.
void report(std::ostream& errors, const std::string& text)
{
    std::string line = sheet::text::shownDescription(text);
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::replace(line.begin(), line.end(), '\r', ' ');
    errors << ProgramName << ": " << line << '\n';
}

int run(std::span<const Command> commands, const Arguments& arguments, std::ostream& output, std::ostream& errors)
{
    if (arguments.empty()) {
        writeUsage(commands, errors);
        return 2;
    }
    if (arguments.front() == "--help" || arguments.front() == "-h" || arguments.front() == "help") {
        writeHelp(commands, output);
        return 0;
    }
    if (arguments.front() == "--version") {
        output << ProgramName << ' ' << tortelet::Version << '\n';
        return 0;
    }
    const auto command = std::find_if(commands.begin(), commands.end(),
                                      [&](const Command& candidate) { return arguments.front() == candidate.name; });
    if (command == commands.end()) {
        report(errors, "unknown command \"" + arguments.front() + "\"");
        writeUsage(commands, errors);
        return 2;
    }
    try {
        return command->run(Arguments(arguments.begin() + 1, arguments.end()), output);
    } catch (const UsageError& error) {
        report(errors, error.what());
        errors << "Usage: " << ProgramName << ' ' << command->synopsis << '\n';
        return 2;
    }
}

}  // namespace

int runCommandLine(std::span<const Command> commands, const Arguments& arguments, std::ostream& output,
                   std::ostream& errors)
{
    try {
        const int code = run(commands, arguments, output, errors);
        output.flush();
        if (!output)
            throw FileFailure("standard output", "the output was not written in full");
        return code;
    } catch (const FileFailure& error) {
        report(errors, error.what());
        return 1;
    }
}

}  // namespace tools
