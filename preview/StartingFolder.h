#pragma once

#include <QStandardPaths>
#include <QString>
#include <optional>

namespace preview {

// The folder a file dialog opens in: the one used last while it still exists, else the person's usual
// folder for such files (Documents, Pictures), else the home folder.
QString StartingFolder(const std::optional<QString>& lastFolder, QStandardPaths::StandardLocation usual);

}  // namespace preview
