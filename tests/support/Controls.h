#pragma once

#include <QObject>
#include <QString>

#include <stdexcept>
#include <string>

namespace testing_support {

// A window's control, found by the object name it keeps from the form ("PushButton6", "Picture1").
// Throws when there is none, so that a lost name fails the test instead of crashing it.
template <typename Control>
Control* control(const QObject& window, const char* objectName)
{
    auto* found = window.findChild<Control*>(QString::fromLatin1(objectName));
    if (found == nullptr)
        throw std::logic_error(std::string("The window has no control named ") + objectName);
    return found;
}

}  // namespace testing_support
