#include "TempFolder.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace app {

namespace {

QString privateFolderPath()
{
    const QString runtime = QFile::decodeName(qgetenv("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QDir::cleanPath(runtime) != QStringLiteral("/"))
        return QDir::cleanPath(runtime) + QStringLiteral("/tortelet-studio");
    return QDir::cleanPath(QDir::tempPath()) + QStringLiteral("/tortelet-studio-") + QString::number(::getuid());
}

std::string describe(const QString& folder, const char* problem)
{
    return "The private folder " + folder.toStdString() + " " + problem;
}

QString privateFolder()
{
    const QString folder = privateFolderPath();
    const QByteArray name = QFile::encodeName(folder);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        throw std::runtime_error(describe(folder, "cannot be created: ") + std::strerror(errno));
    struct stat status {};
    if (::lstat(name.constData(), &status) != 0)
        throw std::runtime_error(describe(folder, "cannot be read: ") + std::strerror(errno));
    if (S_ISLNK(status.st_mode))
        throw std::runtime_error(describe(folder, "is a symbolic link"));
    if (!S_ISDIR(status.st_mode))
        throw std::runtime_error(describe(folder, "is not a folder"));
    if (status.st_uid != ::geteuid())
        throw std::runtime_error(describe(folder, "belongs to another user"));
    if ((status.st_mode & 077) != 0 && ::chmod(name.constData(), 0700) != 0)
        throw std::runtime_error(describe(folder, "cannot be made private: ") + std::strerror(errno));
    return folder;
}

}  // namespace

QString TempFolder()
{
    const QString temp = QFile::decodeName(qgetenv("TEMP"));
    if (temp.isEmpty() || QDir::cleanPath(temp) == QStringLiteral("/"))
        return privateFolder();
    return QDir::cleanPath(temp);
}

QString TempPath(const QString& name) { return TempFolder() + QLatin1Char('/') + name; }

}  // namespace app
