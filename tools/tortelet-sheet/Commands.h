#pragma once

#include "Command.h"

namespace tools {

Command templateCommand();
Command fillCommand();
Command dumpCommand();
Command renderCommand();
Command convertCommand();

}  // namespace tools
