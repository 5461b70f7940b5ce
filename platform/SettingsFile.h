#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// The largest settings file the store reads.
inline constexpr qint64 kMostSettingsBytes = 64 * 1024 * 1024;

// The user's files that QSettings reads for the program's settings: the program's own file and the
// organisation's, in the configuration folder.
QStringList userSettingsFiles();

// Looks at a settings file before QSettings reads it: opened without blocking, it must be a regular
// file of at most kMostSettingsBytes. A missing file is fine. Throws std::runtime_error otherwise,
// so that a FIFO or a device never stalls the program.
void checkSettingsFile(const QString& path);

}  // namespace platform
