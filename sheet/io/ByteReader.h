#pragma once

#include "sheet/Errors.h"

#include <cstdint>
#include <cstring>
#include <span>
#include <string>

namespace sheet::io {

// Reads little-endian values from a block of bytes; reading past its end throws a FormatError
// naming `what`, the structure being read.
class ByteReader {
public:
    ByteReader(std::span<const std::uint8_t> bytes, const char* what) : bytes_(bytes), what_(what) {}

    std::uint8_t u8() { return take(1)[0]; }
    std::uint16_t u16()
    {
        const std::uint8_t* p = take(2);
        return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
    }
    std::uint32_t u32()
    {
        const std::uint8_t* p = take(4);
        return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
               (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    }
    std::uint64_t u64()
    {
        const std::uint64_t low = u32();
        return low | (static_cast<std::uint64_t>(u32()) << 32);
    }
    double f64()
    {
        const std::uint64_t bits = u64();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    std::span<const std::uint8_t> bytes(std::size_t count) { return {take(count), count}; }
    void skip(std::size_t count) { take(count); }
    void seek(std::size_t position)
    {
        if (position > bytes_.size())
            fail();
        position_ = position;
    }

    std::size_t position() const { return position_; }
    std::size_t remaining() const { return bytes_.size() - position_; }
    bool atEnd() const { return position_ == bytes_.size(); }

private:
    const std::uint8_t* take(std::size_t count)
    {
        if (count > remaining())
            fail();
        const std::uint8_t* start = bytes_.data() + position_;
        position_ += count;
        return start;
    }
    [[noreturn]] void fail() const { throw FormatError(std::string("damaged workbook: ") + what_ + " is cut short"); }

    std::span<const std::uint8_t> bytes_;
    const char* what_;
    std::size_t position_ = 0;
};

} // namespace sheet::io
