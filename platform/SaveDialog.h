#pragma once

#include <QString>

namespace platform {

class SaveDialog {
public:
    virtual ~SaveDialog() = default;
    // filter is in the "Name (*.ext)|*.ext|" form; the answer is the chosen path, or empty on Cancel.
    virtual QString askSavePath(const QString& title, const QString& filter) = 0;
};

}  // namespace platform
