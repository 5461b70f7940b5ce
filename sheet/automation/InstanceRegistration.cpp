#include "sheet/automation/InstanceRegistration.h"

#include "sheet/automation/PrivateFolder.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sheet {
namespace {

constexpr const char* Prefix = "sheet-instance-";

// The process's registration file, shared by all its instances.
struct ProcessRegistration {
    std::mutex mutex;
    int instances = 0;
    int fd = -1;
    std::string path;
};

ProcessRegistration& processRegistration()
{
    static ProcessRegistration registration;
    return registration;
}

void registerProcess(ProcessRegistration& registration)
{
    try {
        const std::string pid = std::to_string(::getpid());
        registration.path = privateFolder(true) + "/" + Prefix + pid;
        ::unlink(registration.path.c_str());
        const int fd = ::open(registration.path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0)
            return;
        if (::flock(fd, LOCK_SH | LOCK_NB) != 0 || ::write(fd, pid.data(), pid.size()) < 0) {
            ::close(fd);
            ::unlink(registration.path.c_str());
            return;
        }
        registration.fd = fd;
    } catch (...) {
        // Without a private folder the instance works all the same; other processes just cannot find it.
        registration.fd = -1;
    }
}

// Whether the registration file is locked by a live process; a stale file is removed.
bool liveRegistration(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat info {};
    bool live = false;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::getuid()) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.c_str());
        else
            live = errno == EWOULDBLOCK;
    }
    ::close(fd);
    return live;
}

} // namespace

InstanceRegistration::InstanceRegistration()
{
    ProcessRegistration& registration = processRegistration();
    std::lock_guard lock(registration.mutex);
    if (registration.instances++ == 0)
        registerProcess(registration);
}

InstanceRegistration::~InstanceRegistration()
{
    ProcessRegistration& registration = processRegistration();
    std::lock_guard lock(registration.mutex);
    if (--registration.instances == 0 && registration.fd >= 0) {
        ::unlink(registration.path.c_str());
        ::close(registration.fd);
        registration.fd = -1;
    }
}

bool InstanceRegistration::anotherProcessRuns()
{
    try {
        const std::string folder = privateFolder(false);
        DIR* directory = ::opendir(folder.c_str());
        if (!directory)
            return false;
        const std::string own = Prefix + std::to_string(::getpid());
        bool found = false;
        while (const dirent* entry = ::readdir(directory)) {
            const std::string name = entry->d_name;
            if (name.rfind(Prefix, 0) == 0 && name != own && liveRegistration(folder + "/" + name)) {
                found = true;
                break;
            }
        }
        ::closedir(directory);
        return found;
    } catch (...) {
        return false;
    }
}

} // namespace sheet
