#pragma once

#include <QString>
#include <optional>

namespace platform {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or nothing when the key was never written or the store cannot be read.
    virtual std::optional<QString> read(const QString& key) = 0;
    // Throws std::runtime_error when the last read() could not read the store in full: the file
    // was refused, unreadable or held a format error. What read() gave is what could be read.
    virtual void checkLastRead() = 0;
    // Throws std::runtime_error when the value could not be stored.
    virtual void write(const QString& key, const QString& value) = 0;
};

}  // namespace platform
