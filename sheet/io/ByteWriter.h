#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace sheet::io {

// Appends little-endian values to a byte vector, and patches them in place.
class ByteWriter {
public:
    explicit ByteWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void u8(std::uint8_t value) { out_.push_back(value); }
    void u16(std::uint16_t value)
    {
        std::uint8_t bytes[2];
        put16(bytes, value);
        out_.insert(out_.end(), bytes, bytes + 2);
    }
    void u32(std::uint32_t value)
    {
        std::uint8_t bytes[4];
        put32(bytes, value);
        out_.insert(out_.end(), bytes, bytes + 4);
    }
    void f64(double value)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        u32(static_cast<std::uint32_t>(bits));
        u32(static_cast<std::uint32_t>(bits >> 32));
    }
    void bytes(std::span<const std::uint8_t> data) { out_.insert(out_.end(), data.begin(), data.end()); }
    void zeros(std::size_t count) { out_.insert(out_.end(), count, 0); }
    std::size_t size() const { return out_.size(); }

    static void put16(std::uint8_t* at, std::uint16_t value)
    {
        at[0] = static_cast<std::uint8_t>(value);
        at[1] = static_cast<std::uint8_t>(value >> 8);
    }
    static void put32(std::uint8_t* at, std::uint32_t value)
    {
        put16(at, static_cast<std::uint16_t>(value));
        put16(at + 2, static_cast<std::uint16_t>(value >> 16));
    }
    static std::uint16_t get16(const std::uint8_t* at) { return static_cast<std::uint16_t>(at[0] | (at[1] << 8)); }
    static std::uint32_t get32(const std::uint8_t* at)
    {
        return static_cast<std::uint32_t>(get16(at)) | (static_cast<std::uint32_t>(get16(at + 2)) << 16);
    }

private:
    std::vector<std::uint8_t>& out_;
};

} // namespace sheet::io
