#include "sheet/io/FileBytes.h"

#include "sheet/Errors.h"
#include "sheet/io/Descriptor.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sheet::io {
namespace {

constexpr std::uint64_t MaxWorkbookSize = 512ull * 1024 * 1024;

[[noreturn]] void fail(const char* action, const std::string& path, int error)
{
    throw FileError(std::string("cannot ") + action + " " + path + ": " + std::strerror(error));
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

std::vector<std::uint8_t> readFileBytes(const std::string& path)
{
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        fail("open", path, errno);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        fail("read", path, errno);
    if (!S_ISREG(info.st_mode))
        throw FileError("cannot open " + path + ": it is not a regular file");
    if (static_cast<std::uint64_t>(info.st_size) > MaxWorkbookSize)
        throw FileError("cannot open " + path + ": the file is too large to be a workbook");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(file.get(), bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            fail("read", path, errno);
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

void writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes)
{
    if (path.empty())
        throw FileError("cannot write a file without a name");
    std::string pattern = folderOf(path) + "/.tortelet-save-XXXXXX";
    Descriptor file(::mkostemp(pattern.data(), O_CLOEXEC));
    if (file.get() < 0)
        fail("write", path, errno);
    const std::string temporary = pattern;
    auto abandon = [&](int error) {
        ::unlink(temporary.c_str());
        fail("write", path, error);
    };
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(file.get(), bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote < 0)
            abandon(errno);
        done += static_cast<std::size_t>(wrote);
    }
    struct stat existing {};
    const mode_t mode = ::lstat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode) ? existing.st_mode & 07777
                                                                                          : 0644;
    if (::fchmod(file.get(), mode) != 0 || ::fsync(file.get()) != 0)
        abandon(errno);
    if (::close(file.release()) != 0)
        abandon(errno);
    if (::rename(temporary.c_str(), path.c_str()) != 0)
        abandon(errno);
}

} // namespace sheet::io
