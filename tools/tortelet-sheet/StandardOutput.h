#pragma once

#include <array>
#include <streambuf>

namespace tools {

// The program's standard output as a stream buffer that never fails quietly: a write that the
// system refuses (a full disk, /dev/full, a closed pipe whose signal is ignored) throws a FileFailure
// naming "standard output" and the reason, so that a cut listing is a failure and not a success.
class StandardOutput final : public std::streambuf {
public:
    StandardOutput();
    StandardOutput(const StandardOutput&) = delete;
    StandardOutput& operator=(const StandardOutput&) = delete;

    // Writes what is buffered and closes the descriptor, which may report a failure of its own.
    void close();

protected:
    int_type overflow(int_type byte) override;
    std::streamsize xsputn(const char* bytes, std::streamsize count) override;
    int sync() override;

private:
    void writeBuffered();
    void writeAll(const char* bytes, std::size_t count);

    std::array<char, 1 << 16> buffer_{};
    bool closed_ = false;
};

}  // namespace tools
