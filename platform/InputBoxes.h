#pragma once

#include <QString>

namespace platform {

class InputBoxes {
public:
    virtual ~InputBoxes() = default;
    // A modal prompt with one text field; Cancel gives the empty text.
    virtual QString ask(const QString& prompt, const QString& title, const QString& defaultText) = 0;
};

}  // namespace platform
