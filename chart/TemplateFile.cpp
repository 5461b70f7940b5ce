#include "TemplateFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace chart {

namespace {
std::runtime_error refused(const QString& path, const char* reason)
{
    return std::runtime_error("The chart template " + path.toStdString() + " was not used: " + reason);
}
}  // namespace

bool existingTemplateFile(const QString& path)
{
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0) {
        if (errno == ENOENT)
            return false;
        throw refused(path, std::strerror(errno));
    }
    if (S_ISLNK(status.st_mode))
        throw refused(path, "it is a symbolic link");
    if (!S_ISREG(status.st_mode))
        throw refused(path, "it is not a regular file");
    if (status.st_uid != ::geteuid())
        throw refused(path, "another user owns it");
    return true;
}

}  // namespace chart
