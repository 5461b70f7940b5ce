#include "StandardOutput.h"

#include "Command.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace tools {

namespace {
[[noreturn]] void refused(int error) { throw FileFailure("standard output", std::strerror(error)); }
}  // namespace

StandardOutput::StandardOutput() { setp(buffer_.data(), buffer_.data() + buffer_.size()); }

StandardOutput::int_type StandardOutput::overflow(int_type byte)
{
    writeBuffered();
    if (!traits_type::eq_int_type(byte, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(byte);
        pbump(1);
    }
    return traits_type::not_eof(byte);
}

int StandardOutput::sync()
{
    writeBuffered();
    return 0;
}

void StandardOutput::close()
{
    if (closed_)
        return;
    writeBuffered();
    closed_ = true;
    // A descriptor that was never open lost nothing: every write would have failed first.
    if (::close(STDOUT_FILENO) != 0 && errno != EINTR && errno != EBADF)
        refused(errno);
}

void StandardOutput::writeBuffered()
{
    const char* next = pbase();
    while (next < pptr()) {
        const ssize_t written = ::write(STDOUT_FILENO, next, static_cast<std::size_t>(pptr() - next));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0) {
            setp(buffer_.data(), buffer_.data() + buffer_.size());
            refused(errno);
        }
        next += written;
    }
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

}  // namespace tools
