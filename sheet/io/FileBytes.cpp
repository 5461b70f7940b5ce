#include "sheet/io/FileBytes.h"

#include "sheet/Errors.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace sheet::io {
namespace {

constexpr std::size_t ReadChunk = 1u << 16;
constexpr std::size_t WriteChunk = 1u << 16;
constexpr int MostLinks = 40;
constexpr int NameAttempts = 100;
constexpr mode_t SharedFileMode = 0644;

[[noreturn]] void fail(const char* action, const std::string& path, int error)
{
    throw FileError(std::string("cannot ") + action + " " + path + ": " + std::strerror(error));
}

// What a file that is not a regular file is, for a person.
const char* kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "it is a folder, not a file";
    if (S_ISFIFO(mode))
        return "it is a FIFO, not a regular file";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "it is a device, not a regular file";
    if (S_ISSOCK(mode))
        return "it is a socket, not a regular file";
    return "it is not a regular file";
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string megabytes(std::size_t bytes)
{
    return std::to_string(bytes >> 20) + " MB";
}

// No temporary file could be made beside the target: its folder cannot be written.
class NoTemporaryFile : public FileError {
public:
    using FileError::FileError;
};

std::string temporaryFileName(std::mt19937_64& random)
{
    std::string name(TemporaryFilePrefix);
    for (std::size_t digit = 0; digit < TemporaryFileDigits; ++digit)
        name += static_cast<char>('0' + random() % 10);
    return name;
}

// The temporary file being written, for removeUnfinishedFile(); a signal handler reads it.
char unfinishedName[PATH_MAX];
volatile std::sig_atomic_t unfinished = 0;

// Where to write matters: a person's file is on the disk before it replaces the old one, a scratch file
// in a shared folder need only be whole when it is renamed into place.
enum class Durability { Scratch, Kept };

// Writes through a new temporary file renamed over `target` at the end. A replaced file keeps its mode;
// a new one gets `newFileMode`, or without it the mode the umask allows.
void replaceFile(const std::string& target, const std::string& named, const FileContent& content,
                 std::optional<mode_t> newFileMode, Durability durability)
{
    const std::string folder = folderOf(target);
    // The names need only be hard to guess and to meet; one seed a thread saves a device read a save.
    thread_local std::mt19937_64 random{std::random_device{}()};
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < NameAttempts && fd < 0; ++attempt) {
        temporary = folder + "/" + temporaryFileName(random);
        if (temporary.size() >= sizeof unfinishedName)
            throw FileError("cannot write " + named + ": the name is too long");
        unfinished = 0;
        std::memcpy(unfinishedName, temporary.c_str(), temporary.size() + 1);
        unfinished = 1;
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            unfinished = 0;
            if (errno == EACCES || errno == EPERM)
                throw NoTemporaryFile("cannot write " + named + ": " + std::strerror(errno));
            if (errno != EEXIST)
                fail("write", named, errno);
        }
    }
    if (fd < 0)
        fail("write", named, EEXIST);
    Descriptor file(fd);
    auto abandon = [&](int error) {
        ::unlink(temporary.c_str());
        unfinished = 0;
        fail("write", named, error);
    };
    auto writeAll = [&](const std::uint8_t* bytes, std::size_t size) {
        std::size_t done = 0;
        while (done < size) {
            const ssize_t wrote = ::write(file.get(), bytes + done, size - done);
            if (wrote < 0 && errno == EINTR)
                continue;
            if (wrote < 0)
                abandon(errno);
            done += static_cast<std::size_t>(wrote);
        }
    };
    // Small pieces are gathered into one write; a large one goes to the file as it is.
    std::vector<std::uint8_t> gathered;
    const ByteSink sink = [&](std::span<const std::uint8_t> bytes) {
        if (gathered.size() + bytes.size() > WriteChunk) {
            writeAll(gathered.data(), gathered.size());
            gathered.clear();
        }
        if (bytes.size() >= WriteChunk) {
            writeAll(bytes.data(), bytes.size());
            return;
        }
        if (gathered.capacity() == 0)
            gathered.reserve(WriteChunk);
        gathered.insert(gathered.end(), bytes.begin(), bytes.end());
    };
    try {
        content(sink);
        writeAll(gathered.data(), gathered.size());
    } catch (...) {
        ::unlink(temporary.c_str());
        unfinished = 0;
        throw;
    }
    struct stat existing {};
    const bool replacing = ::lstat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    const std::optional<mode_t> mode = replacing ? std::optional<mode_t>(existing.st_mode & 07777) : newFileMode;
    if (mode && ::fchmod(file.get(), *mode) != 0)
        abandon(errno);
    if (durability == Durability::Kept && ::fsync(file.get()) != 0)
        abandon(errno);
    if (::close(file.release()) != 0)
        abandon(errno);
    // A rename over a file makes ext4 write the new file's data out at once, as if it were synced. A
    // scratch file needs no such care: it swaps places with the old file, which is then removed.
    if (durability == Durability::Scratch && replacing
        && ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0) {
        if (::unlink(temporary.c_str()) != 0) {
            // What took the old file's place is no file to remove: it goes back, and the write fails.
            const int error = errno;
            ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE);
            abandon(error);
        }
    } else if (::rename(temporary.c_str(), target.c_str()) != 0) {
        abandon(errno);
    }
    unfinished = 0;
}

// Writes over a regular file in place, for a target whose folder takes no temporary file: the whole
// content is made first and room for it taken, so the old content is touched only when all is ready.
// The file keeps its owner, mode and hard links. Throws `refused` when the file cannot be opened.
void writeInPlace(const std::string& target, const std::string& named, const FileContent& content,
                  const NoTemporaryFile& refused)
{
    Descriptor file(::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        throw refused;
    std::vector<std::uint8_t> whole;
    content([&whole](std::span<const std::uint8_t> bytes) { whole.insert(whole.end(), bytes.begin(), bytes.end()); });
    const auto size = static_cast<off_t>(whole.size());
    if (size > 0 && ::fallocate(file.get(), 0, 0, size) != 0 && errno != EOPNOTSUPP)
        fail("write", named, errno);
    for (std::size_t done = 0; done < whole.size();) {
        const ssize_t wrote = ::pwrite(file.get(), whole.data() + done, whole.size() - done, static_cast<off_t>(done));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote < 0)
            fail("write", named, errno);
        done += static_cast<std::size_t>(wrote);
    }
    if (::ftruncate(file.get(), size) != 0 || ::fsync(file.get()) != 0 || ::close(file.release()) != 0)
        fail("write", named, errno);
}

FileContent contentOf(std::span<const std::uint8_t> bytes)
{
    return [bytes](const ByteSink& sink) { sink(bytes); };
}

// The file that a symbolic link at `path` finally names, or `path` itself.
std::string followLinks(const std::string& path)
{
    std::string current = path;
    for (int hop = 0; hop < MostLinks; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        char target[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), target, sizeof target - 1);
        if (length < 0)
            fail("write", path, errno);
        const std::string next(target, static_cast<std::size_t>(length));
        current = next.starts_with('/') ? next : folderOf(current) + "/" + next;
    }
    fail("write", path, ELOOP);
}

} // namespace

Descriptor openRegularFile(const std::string& path)
{
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0)
        fail("open", path, errno);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        fail("read", path, errno);
    if (!S_ISREG(info.st_mode))
        throw FileError("cannot open " + path + ": " + kindOf(info.st_mode));
    return file;
}

std::vector<std::uint8_t> readAtMost(int fd, std::size_t limit, const std::string& name)
{
    // A regular file's size is known: one more byte sees its end without growing the buffer.
    std::size_t expected = ReadChunk;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
        expected = static_cast<std::size_t>(info.st_size);
    std::vector<std::uint8_t> bytes(std::min(expected, limit) + 1);
    std::size_t done = 0;
    for (;;) {
        if (done == bytes.size())
            bytes.resize(std::min(limit + 1, bytes.size() * 2));
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            fail("read", name, errno);
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
        if (done > limit)
            throw FileError("cannot read " + name + ": it holds more than " + megabytes(limit));
    }
    bytes.resize(done);
    return bytes;
}

std::vector<std::uint8_t> readFileBytes(const std::string& path, std::size_t limit)
{
    const Descriptor file = openRegularFile(path);
    return readAtMost(file.get(), limit, path);
}

void writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes)
{
    writeFileAtomically(path, contentOf(bytes));
}

void writeFileAtomically(const std::string& path, const FileContent& content)
{
    if (path.empty())
        throw FileError("cannot write a file without a name");
    replaceFile(path, path, content, SharedFileMode, Durability::Scratch);
}

void writeChosenFile(const std::string& path, std::span<const std::uint8_t> bytes)
{
    writeChosenFile(path, contentOf(bytes));
}

void writeChosenFile(const std::string& path, const FileContent& content)
{
    if (path.empty())
        throw FileError("cannot write a file without a name");
    const std::string target = followLinks(path);
    struct stat info {};
    if (::lstat(target.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
        throw FileError("cannot write " + path + ": " + kindOf(info.st_mode));
    try {
        replaceFile(target, path, content, std::nullopt, Durability::Kept);
    } catch (const NoTemporaryFile& refused) {
        writeInPlace(target, path, content, refused);
    }
}

bool isTemporaryFileName(std::string_view name)
{
    if (!name.starts_with(TemporaryFilePrefix))
        return false;
    const std::string_view number = name.substr(TemporaryFilePrefix.size());
    return !number.empty() && number.size() <= TemporaryFileDigits &&
           number.find_first_not_of("0123456789") == std::string_view::npos;
}

void removeUnfinishedFile()
{
    if (unfinished)
        ::unlink(unfinishedName);
}

} // namespace sheet::io
