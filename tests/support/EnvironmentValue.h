#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <optional>

namespace testing_support {

// Sets or unsets an environment variable for the life of the object and then puts the old value back.
class EnvironmentValue {
public:
    EnvironmentValue(const char* name, std::optional<QByteArray> value) : name_(name)
    {
        if (qEnvironmentVariableIsSet(name))
            old_ = qgetenv(name);
        set(value);
    }
    ~EnvironmentValue() { set(old_); }
    EnvironmentValue(const EnvironmentValue&) = delete;
    EnvironmentValue& operator=(const EnvironmentValue&) = delete;

    void set(const std::optional<QByteArray>& value)
    {
        if (value)
            qputenv(name_, *value);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    std::optional<QByteArray> old_;
};

}  // namespace testing_support
