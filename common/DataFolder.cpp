#include "DataFolder.h"

#include "Main.h"

#include <QDir>

namespace common {

QString DataFolder(const QStringList& candidates)
{
    for (const QString& folder : candidates) {
        if (FileExists(folder + QStringLiteral("/HAND-M.CUR")) || FileExists(folder + QStringLiteral("/x/o.cjs")))
            return folder;
    }
    return candidates.value(0);
}

QString DataFolder()
{
    const QString programFolder = ProgramFolder();
    return DataFolder({programFolder, QDir::cleanPath(programFolder + QStringLiteral("/" TORTELET_DATA_FROM_PROGRAM))});
}

}  // namespace common
