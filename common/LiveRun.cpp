#include "LiveRun.h"

#include "sheet/automation/PrivateFolder.h"
#include "sheet/io/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace common {

namespace {

const QString kMarkPrefix = QStringLiteral("studio-run-");

bool isOwnRegularFile(const struct stat& status)
{
    return S_ISREG(status.st_mode) && status.st_uid == ::geteuid();
}

bool earlier(const timespec& a, const timespec& b)
{
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

bool isScratchFileName(const QString& name)
{
    static const QRegularExpression scratch(
        QStringLiteral("^(vormel[1-9]{8}\\.xls|Pie Chart\\.xlt|temp\\.bmp|\\.Pie Chart\\.xlt\\.[A-Za-z0-9]{6})$"));
    return scratch.match(name).hasMatch() || sheet::io::isTemporaryFileName(QFile::encodeName(name).toStdString());
}

// The start of the run that holds the mark, or nothing when that run no longer lives; a dead
// run's mark is removed.
std::optional<timespec> liveRunStart(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::optional<timespec> start;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && isOwnRegularFile(status)) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.constData());
        else if (errno == EWOULDBLOCK)
            start = status.st_mtim;
    }
    ::close(fd);
    return start;
}

}  // namespace

LiveRun::LiveRun()
{
    QString folder;
    try {
        folder = QFile::decodeName(QByteArray::fromStdString(sheet::privateFolder(true)));
    } catch (...) {
        return;
    }
    mark_ = folder + QLatin1Char('/') + kMarkPrefix + QString::number(::getpid());
    const QByteArray mark = QFile::encodeName(mark_);
    ::unlink(mark.constData());
    fd_ = ::open(mark.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    struct stat own {};
    if (fd_ < 0 || ::flock(fd_, LOCK_SH | LOCK_NB) != 0 || ::fstat(fd_, &own) != 0)
        return;

    timespec oldestLiveStart = own.st_mtim;
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (!name.startsWith(kMarkPrefix) || dir.filePath(name) == mark_)
            continue;
        if (const std::optional<timespec> start = liveRunStart(QFile::encodeName(dir.filePath(name))))
            oldestLiveStart = earlier(*start, oldestLiveStart) ? *start : oldestLiveStart;
    }
    for (const QString& name : names) {
        if (!isScratchFileName(name))
            continue;
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        struct stat status {};
        if (::lstat(path.constData(), &status) == 0 && isOwnRegularFile(status) &&
            earlier(status.st_mtim, oldestLiveStart))
            ::unlink(path.constData());
    }
}

LiveRun::~LiveRun()
{
    if (fd_ < 0)
        return;
    ::unlink(QFile::encodeName(mark_).constData());
    ::close(fd_);
}

}  // namespace common
