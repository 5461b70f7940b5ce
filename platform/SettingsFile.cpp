#include "SettingsFile.h"

#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

QStringList userSettingsFiles()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return {folder + QStringLiteral("/Vantrel/Tortelet Studio.conf"), folder + QStringLiteral("/Vantrel.conf")};
}

void checkSettingsFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return;
        throw std::runtime_error("The settings file " + path.toStdString() + " cannot be read: " +
                                 std::strerror(errno));
    }
    struct stat status {};
    const int statError = ::fstat(fd, &status) == 0 ? 0 : errno;
    ::close(fd);
    if (statError != 0)
        throw std::runtime_error("The settings file " + path.toStdString() + " cannot be read: " +
                                 std::strerror(statError));
    if (!S_ISREG(status.st_mode))
        throw std::runtime_error("The settings file " + path.toStdString() + " is not a regular file");
    if (status.st_size > kMostSettingsBytes)
        throw std::runtime_error("The settings file " + path.toStdString() + " is larger than " +
                                 std::to_string(kMostSettingsBytes / (1024 * 1024)) + " MB");
}

}  // namespace platform
