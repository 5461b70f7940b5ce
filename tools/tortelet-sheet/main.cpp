#include "Commands.h"
#include "CommandLine.h"

#include <iostream>

int main(int argc, char** argv)
{
    const tools::Command commands[] = {
        tools::templateCommand(),
        tools::fillCommand(),
        tools::dumpCommand(),
        tools::renderCommand(),
    };
    return tools::runCommandLine(commands, tools::Arguments(argv + 1, argv + argc), std::cout, std::cerr);
}
