#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace sheet::io {

// The whole content of a regular file; a FileError names the file and the reason.
std::vector<std::uint8_t> readFileBytes(const std::string& path);

// Writes the bytes to a new temporary file in the target's folder and renames it over the target, so
// the target is either the old file or the complete new one. A symbolic link at the target is replaced,
// not followed.
void writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

} // namespace sheet::io
