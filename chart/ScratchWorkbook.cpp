#include "ScratchWorkbook.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace chart {

QString drawScratchDigits(platform::Randomness& random)
{
    QString digits;
    for (int i = 0; i < 8; ++i)
        digits += QChar(u'1' + static_cast<char16_t>(random.strong(9)));
    return digits;
}

bool claimScratchPath(const QString& path)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (errno == EEXIST)
            return false;
        throw std::runtime_error("Cannot create the scratch workbook " + path.toStdString() + ": " +
                                 std::strerror(errno));
    }
    ::close(fd);
    return true;
}

void releaseEmptyPlaceholder(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (::lstat(name.constData(), &status) == 0 && S_ISREG(status.st_mode) && status.st_size == 0 &&
        status.st_uid == ::geteuid())
        ::unlink(name.constData());
}

}  // namespace chart
