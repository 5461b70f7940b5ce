#include "FileRoutines.h"

#include "Main.h"

#include "sheet/io/FileBytes.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace common {

namespace {

std::string systemError(const std::string& what, const QString& path, int error)
{
    return what + " " + path.toStdString() + ": " + std::strerror(error);
}

// Closes the descriptor and removes the temporary file unless it was handed over.
class TemporaryFile {
public:
    explicit TemporaryFile(const QString& destination)
    {
        const QFileInfo info(destination);
        name_ = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                                  QStringLiteral(".XXXXXX"));
        fd_ = ::mkostemp(name_.data(), O_CLOEXEC);
        if (fd_ < 0)
            throw std::runtime_error(systemError("Cannot create a temporary file for", destination, errno));
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!handedOver_)
            ::unlink(name_.constData());
    }

    void write(const QByteArray& data, const QString& destination)
    {
        const char* next = data.constData();
        qsizetype left = data.size();
        while (left > 0) {
            const ssize_t written = ::write(fd_, next, static_cast<size_t>(left));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                const int error = written < 0 ? errno : ENOSPC;
                throw std::runtime_error(systemError("Cannot write the file", destination, error));
            }
            next += written;
            left -= written;
        }
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0)
            throw std::runtime_error(systemError("Cannot write the file", destination, errno));
    }

    const char* name() const { return name_.constData(); }
    void handedOver() { handedOver_ = true; }

private:
    QByteArray name_;
    int fd_ = -1;
    bool handedOver_ = false;
};

// Moves the file into place only when nothing at all (not even a dangling link) has that name.
void moveIntoFreeName(TemporaryFile& file, const QString& destination)
{
    const QByteArray target = QFile::encodeName(destination);
    if (::renameat2(AT_FDCWD, file.name(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0) {
        file.handedOver();
        return;
    }
    if (errno != EINVAL && errno != ENOSYS)
        throw std::runtime_error(systemError("Cannot create the file", destination, errno));
    // Filesystems without an exclusive rename still refuse to link over an existing name.
    if (::link(file.name(), target.constData()) != 0)
        throw std::runtime_error(systemError("Cannot create the file", destination, errno));
}

constexpr int anyPicture = 0, enhancedMetafile = 14;

bool isBitmapFormat(int format)
{
    constexpr int bitmap = 2, deviceIndependentBitmap = 8, deviceIndependentBitmapV5 = 17;
    return format == anyPicture || format == bitmap || format == deviceIndependentBitmap ||
           format == deviceIndependentBitmapV5;
}

platform::Picture readPicture(platform::Clipboard& clipboard, int format)
{
    try {
        if (format == anyPicture || format == enhancedMetafile) {
            sheet::render::SheetDrawing drawing = clipboard.drawing();
            if (!drawing.isEmpty())
                return platform::Picture(std::move(drawing));
        }
        if (isBitmapFormat(format))
            return platform::Picture(clipboard.image());
    } catch (...) {
    }
    return {};
}

}  // namespace

void WriteFileIfMissing(const QByteArray& data, const QString& path)
{
    QCoreApplication::processEvents();
    if (FileExists(path))
        return;
    TemporaryFile file(path);
    file.write(data, path);
    moveIntoFreeName(file, path);
}

void WriteFileReplacing(const QByteArray& data, const QString& path)
{
    sheet::io::writeFileAtomically(QFile::encodeName(path).toStdString(),
                                   {reinterpret_cast<const std::uint8_t*>(data.constData()),
                                    static_cast<std::size_t>(data.size())});
}

void DeleteFileForced(const QString& path)
{
    QCoreApplication::processEvents();
    try {
        if (::unlink(QFile::encodeName(path).constData()) != 0)
            DeleteFileViaScripting(path);
    } catch (...) {
        // The caller learns nothing about the outcome.
    }
}

void DeleteFileViaScripting(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    // Opened without following a link, so only the file itself ever has its mode changed.
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0) {
        struct stat status {};
        if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode))
            ::fchmod(fd, (status.st_mode & 07777) | S_IWUSR);
        ::close(fd);
    }
    if (::unlink(name.constData()) != 0)
        throw std::runtime_error(systemError("Cannot delete the file", path, errno));
}

platform::Picture GetClipboardPicture(platform::Clipboard& clipboard, int format)
{
    platform::Picture picture;
    for (int attempts = 0; picture.isNull() && attempts < 1000; ++attempts)
        picture = readPicture(clipboard, format);
    return picture;
}

QString ConvertDecimalSeparator(const QString& text, bool toPoint)
{
    QString converted = text;
    const QString separator = LocaleDecimalSeparator();
    if (toPoint) {
        if (!separator.isEmpty())
            converted.replace(separator, QStringLiteral("."));
        return converted;
    }
    converted.replace(QLatin1Char('.'), separator);
    converted.replace(QLatin1Char(','), LocaleDecimalSeparator());
    return converted;
}

QString LocaleDecimalSeparator()
{
    return QLocale().toString(1.0 / 2).trimmed().mid(1, 1);
}

}  // namespace common
