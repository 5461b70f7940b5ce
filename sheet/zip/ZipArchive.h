#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sheet::zip {

// One file of a zip archive: its name inside the archive and its bytes.
struct ZipEntry {
    std::string name;
    std::string bytes;
    bool stored = false; // kept uncompressed, as an OpenDocument package's "mimetype" must be
};

// The bytes of a zip archive holding the entries in their order, deflated (at zlib's fast level 3)
// unless stored. Every entry is dated 1980-01-01 00:00, so the same entries always give the same
// bytes. Throws sheet::Error when the archive cannot be made.
std::vector<std::uint8_t> zipArchive(const std::vector<ZipEntry>& entries);

} // namespace sheet::zip
