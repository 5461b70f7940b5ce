#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <optional>

namespace platform {

// A stored value as the program's text: an unquoted comma in a hand-edited file makes QSettings read
// the value as a list of its parts, which are joined again.
QString settingsText(const QVariant& value);

// Keeps a settings file that could not be read in full beside itself, under a dated name such as
// "Tortelet Studio (unreadable 2026-12-07 20.59.12).conf", before the program writes over it. A copy
// when the file can be read, otherwise the file itself moved there. Returns the kept file's path;
// throws std::runtime_error when it could not be kept.
QString keepUnreadableFile(const QString& path, const QDateTime& when);

// The value of `key` from its own line in a settings file ("key=value", under whatever section a
// damaged header left it), read the way QSettings reads values; nothing without such a line.
std::optional<QString> valueFromOwnLine(const QString& path, const QString& key);

}  // namespace platform
