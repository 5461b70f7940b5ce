#pragma once

#include <QString>
#include <optional>

namespace platform {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or nothing when the key was never written.
    virtual std::optional<QString> read(const QString& key) = 0;
    // Throws std::runtime_error when the value could not be stored.
    virtual void write(const QString& key, const QString& value) = 0;
};

}  // namespace platform
