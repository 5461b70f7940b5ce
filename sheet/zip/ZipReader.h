#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct zip;

namespace sheet::zip {

// A zip archive to read: the names of its entries, and each entry's content, whole or piece by piece so
// that a part of hundreds of megabytes never has to be held at once. Names are found without regard to
// case, as the package formats compare part names. Damage (a cut archive, a wrong checksum, an entry that
// unpacks to more than it says) gives a FormatError, never a crash.
class ZipReader {
public:
    // Reads the archive from its bytes, which the reader keeps.
    explicit ZipReader(std::vector<std::uint8_t> bytes);
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    // The entries' names, in the archive's order.
    const std::vector<std::string>& names() const { return names_; }
    bool contains(std::string_view name) const;
    // The entry's name as the archive spells it; throws a FormatError when there is none.
    const std::string& spelling(std::string_view name) const;
    // The size of the entry's content, as the archive states it.
    std::uint64_t size(std::string_view name) const;
    // Whether the entry is kept uncompressed.
    bool stored(std::string_view name) const;

    // The entry's content whole; a FormatError when it is missing or larger than `limit` bytes.
    std::string read(std::string_view name, std::uint64_t limit = DefaultLimit) const;
    // Gives the entry's content to `piece` in pieces of at most 64 KiB, in order.
    void stream(std::string_view name, const std::function<void(std::string_view)>& piece) const;

    static constexpr std::uint64_t DefaultLimit = 256ull << 20;

private:
    std::int64_t index(std::string_view name) const;

    std::vector<std::uint8_t> bytes_;
    struct zip* archive_ = nullptr;
    std::vector<std::string> names_;
};

} // namespace sheet::zip
