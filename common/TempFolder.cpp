#include "TempFolder.h"

#include "sheet/automation/PrivateFolder.h"

#include <QDir>
#include <QFile>

namespace common {

QString TempFolder()
{
    const QString temp = QFile::decodeName(qgetenv("TEMP"));
    if (temp.isEmpty() || QDir::cleanPath(temp) == QStringLiteral("/"))
        return QFile::decodeName(QByteArray::fromStdString(sheet::privateFolder(true)));
    return QDir::cleanPath(temp);
}

QString TempPath(const QString& name) { return TempFolder() + QLatin1Char('/') + name; }

}  // namespace common
