#pragma once

#include <QString>

namespace platform {

// What the save dialog answered: the chosen path, empty on Cancel, and the filter that was chosen, by its
// place in the filter text (0 for the first).
struct SaveAnswer {
    QString path;
    int filter = 0;
};

class SaveDialog {
public:
    virtual ~SaveDialog() = default;
    // filter is in the "Name (*.ext)|*.ext|" form, one pair per file type; the first is chosen at first.
    // The dialog opens in startFolder.
    virtual SaveAnswer askSavePath(const QString& title, const QString& filter, const QString& startFolder) = 0;
};

}  // namespace platform
