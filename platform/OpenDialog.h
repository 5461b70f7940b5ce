#pragma once

#include <QString>

namespace platform {

// A modal dialog that asks for an existing file.
class OpenDialog {
public:
    virtual ~OpenDialog() = default;
    // filter is in the save dialog's "Name (*.ext)|*.ext|" form; the dialog opens at startPath (a folder, or
    // a file to select). Gives the chosen file's path, empty on Cancel.
    virtual QString askOpenPath(const QString& title, const QString& filter, const QString& startPath) = 0;
};

}  // namespace platform
