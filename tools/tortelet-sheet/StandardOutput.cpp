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

std::streamsize StandardOutput::xsputn(const char* bytes, std::streamsize count)
{
    // A listing goes out in pieces of a megabyte: those pass the buffer by.
    if (count > epptr() - pptr()) {
        writeBuffered();
        if (count >= static_cast<std::streamsize>(buffer_.size())) {
            writeAll(bytes, static_cast<std::size_t>(count));
            return count;
        }
    }
    std::memcpy(pptr(), bytes, static_cast<std::size_t>(count));
    pbump(static_cast<int>(count));
    return count;
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
    const auto count = static_cast<std::size_t>(pptr() - pbase());
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    writeAll(buffer_.data(), count);
}

void StandardOutput::writeAll(const char* bytes, std::size_t count)
{
    while (count > 0) {
        const ssize_t written = ::write(STDOUT_FILENO, bytes, count);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            refused(errno);
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
}

}  // namespace tools
