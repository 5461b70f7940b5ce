#pragma once

#include "Command.h"

#include <iosfwd>
#include <span>

namespace tools {

// Picks the command named by the first argument and runs it with the rest. Returns the exit
// code: the command's own, 1 after a FileFailure (one line on `errors`), 2 after a usage error.
int runCommandLine(std::span<const Command> commands, const Arguments& arguments, std::ostream& output,
                   std::ostream& errors);

}  // namespace tools
