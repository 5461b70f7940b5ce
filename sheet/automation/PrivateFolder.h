#pragma once

#include <string>

namespace sheet {

// The user's private folder for the engine's registration: $XDG_RUNTIME_DIR/tortelet-studio, or
// tortelet-studio-<uid> in the system's temporary folder. `create` makes it (mode 0700) when missing.
// A FileError when it is a symbolic link, not a folder or owned by someone else; a folder of ours
// that others can open is made private.
std::string privateFolder(bool create);

} // namespace sheet
