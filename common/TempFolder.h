#pragma once

#include <QString>

namespace common {

// The folder of all scratch files, asked afresh on every call: TEMP when it is set and not empty
// (and not the filesystem root), otherwise the user's private folder ($XDG_RUNTIME_DIR/tortelet-studio,
// or tortelet-studio-<uid> in the system's temporary folder), created with mode 0700. A private folder
// that is a symbolic link, not a folder or another user's is refused with std::runtime_error.
QString TempFolder();

// The name inside TempFolder(), joined with "/".
QString TempPath(const QString& name);

}  // namespace common
