#pragma once

#include "Command.h"

#include <iosfwd>
#include <span>

namespace tools {

// Picks the command named by the first argument and runs it with the rest. Returns the exit
// code: the command's own, 1 after a FileFailure or when `output` cannot take all that was written to
// it (one line on `errors`), 2 after a usage error. Every line on `errors` is cut to a readable length.
int runCommandLine(std::span<const Command> commands, const Arguments& arguments, std::ostream& output,
                   std::ostream& errors);

}  // namespace tools
