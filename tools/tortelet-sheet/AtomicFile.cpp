#include "AtomicFile.h"

#include "Command.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tools {

namespace {

std::string systemReason() { return std::strerror(errno); }

void writeAll(int descriptor, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            throw std::runtime_error(systemReason());
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

}  // namespace

void writeFileAtomically(const std::string& path, std::string_view bytes)
{
    const std::filesystem::path target(path);
    if (target.filename().empty())
        throw FileFailure(path, "is not a file name");
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');

    const int descriptor = ::mkstemp(name.data());  // O_CREAT | O_EXCL: never opens an existing link
    if (descriptor < 0)
        throw FileFailure(path, "cannot be written: " + systemReason());
    const std::string temporary(name.data());
    try {
        writeAll(descriptor, bytes);
        if (::fchmod(descriptor, 0644) != 0 || ::fsync(descriptor) != 0)
            throw std::runtime_error(systemReason());
    } catch (const std::runtime_error& error) {
        ::close(descriptor);
        ::unlink(temporary.c_str());
        throw FileFailure(path, std::string("cannot be written: ") + error.what());
    }
    if (::close(descriptor) != 0) {
        const std::string reason = systemReason();
        ::unlink(temporary.c_str());
        throw FileFailure(path, "cannot be written: " + reason);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const std::string reason = systemReason();
        ::unlink(temporary.c_str());
        throw FileFailure(path, "cannot be written: " + reason);
    }
}

}  // namespace tools
