#include "PictureFile.h"

#include "common/FileRoutines.h"
#include "sheet/io/Descriptor.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace chart {

namespace {

std::string describe(const char* what, const QString& path) { return what + path.toStdString(); }

}  // namespace

void SavePictureFile(const platform::Picture& picture, const QString& path)
{
    if (picture.isNull())
        throw std::runtime_error(describe("There is no picture to write to ", path));
    const QByteArray bytes = picture.fileBytes();
    if (bytes.isEmpty())
        throw std::runtime_error(describe("The picture cannot be encoded for ", path));
    common::WriteFileReplacing(bytes, path);
}

platform::Picture LoadPictureFile(const QString& path)
{
    const sheet::io::Descriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0)
        throw std::runtime_error(describe("Cannot open the picture ", path) + ": " + std::strerror(errno));
    struct stat status {};
    if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        throw std::runtime_error(describe("The picture is not a plain file: ", path));
    if (status.st_uid != ::geteuid())
        throw std::runtime_error(describe("The picture belongs to another user: ", path));
    QFile reader;
    if (!reader.open(file.get(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        throw std::runtime_error(describe("Cannot read the picture ", path));
    const platform::Picture picture = platform::Picture::fromFileBytes(reader.readAll());
    if (picture.isNull())
        throw std::runtime_error(describe("The file is not a picture: ", path));
    return picture;
}

}  // namespace chart
