#include "Commands.h"
#include "CommandLine.h"
#include "Interruption.h"
#include "StandardOutput.h"

#include <iostream>

int main(int argc, char** argv)
{
    tools::removeUnfinishedFilesWhenInterrupted();
    const tools::Command commands[] = {
        tools::templateCommand(),
        tools::fillCommand(),
        tools::dumpCommand(),
        tools::renderCommand(),
        tools::convertCommand(),
    };
    // A write that standard output refuses ends the command at once, as a failure.
    tools::StandardOutput standardOutput;
    std::ostream output(&standardOutput);
    output.exceptions(std::ios::badbit);
    const int code = tools::runCommandLine(commands, tools::Arguments(argv + 1, argv + argc), output, std::cerr);
    try {
        standardOutput.close();
    } catch (const tools::FileFailure& failure) {
        std::cerr << "tortelet-sheet: " << failure.what() << '\n';
        return code == 0 ? 1 : code;
    }
    return code;
}
