#include "Commands.h"
#include "CommandLine.h"
#include "Interruption.h"

#include <iostream>

int main(int argc, char** argv)
{
    tools::removeUnfinishedFilesWhenInterrupted();
    // A listing of a large workbook is millions of short writes; C's buffers need not see them.
    std::ios::sync_with_stdio(false);
    const tools::Command commands[] = {
        tools::templateCommand(),
        tools::fillCommand(),
        tools::dumpCommand(),
        tools::renderCommand(),
        tools::convertCommand(),
    };
    return tools::runCommandLine(commands, tools::Arguments(argv + 1, argv + argc), std::cout, std::cerr);
}
