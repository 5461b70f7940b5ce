#include "StartingFolder.h"

#include <QDir>
#include <QFileInfo>

namespace preview {

QString StartingFolder(const std::optional<QString>& lastFolder, QStandardPaths::StandardLocation usual)
{
    if (lastFolder && !lastFolder->isEmpty() && QFileInfo(*lastFolder).isDir())
        return *lastFolder;
    const QString folder = QStandardPaths::writableLocation(usual);
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

}  // namespace preview
