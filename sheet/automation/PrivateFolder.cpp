#include "sheet/automation/PrivateFolder.h"

#include "sheet/Errors.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace sheet {
namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

std::string privateFolder(bool create)
{
    std::string folder;
    if (const std::string runtime = environment("XDG_RUNTIME_DIR"); !runtime.empty()) {
        folder = runtime + "/tortelet-studio";
    } else {
        std::string temporary = environment("TMPDIR");
        if (temporary.empty())
            temporary = "/tmp";
        folder = temporary + "/tortelet-studio-" + std::to_string(::getuid());
    }
    if (create && ::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        throw FileError("cannot create the folder " + folder + ": " + std::strerror(errno));
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0)
        throw FileError("cannot use the folder " + folder + ": " + std::strerror(errno));
    if (S_ISLNK(info.st_mode))
        throw FileError("refusing the folder " + folder + ": it is a symbolic link");
    if (!S_ISDIR(info.st_mode))
        throw FileError("refusing the folder " + folder + ": it is not a folder");
    if (info.st_uid != ::getuid())
        throw FileError("refusing the folder " + folder + ": another user owns it");
    if ((info.st_mode & 0077) != 0 && ::chmod(folder.c_str(), 0700) != 0)
        throw FileError("cannot make the folder " + folder + " private: " + std::strerror(errno));
    return folder;
}

} // namespace sheet
