#pragma once

#include "sheet/io/Descriptor.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sheet::io {

// The largest workbook file the engine reads.
inline constexpr std::size_t LargestWorkbook = 512u << 20;

// Opens a file for reading without waiting on a FIFO or a device, and refuses anything but a regular
// file. A FileError names the file and the reason.
Descriptor openRegularFile(const std::string& path);

// Everything an open descriptor still gives, standard input and devices included, but never more than
// `limit` bytes: reading stops with a FileError naming `name` as soon as the input goes past it.
std::vector<std::uint8_t> readAtMost(int fd, std::size_t limit, const std::string& name);

// The whole content of a regular file of at most `limit` bytes; a FileError names the file and the reason.
std::vector<std::uint8_t> readFileBytes(const std::string& path, std::size_t limit = LargestWorkbook);

// Takes a file's bytes piece by piece, in order.
using ByteSink = std::function<void(std::span<const std::uint8_t>)>;
// Gives a file's bytes to a sink, so that a large file need not be held whole before it is written.
using FileContent = std::function<void(const ByteSink&)>;

// Writes the bytes to a new temporary file in the target's folder and renames it over the target, so
// the target is either the old file or the complete new one. A new file gets mode 0644, a replaced one
// keeps its mode. A symbolic link at the target is replaced, not followed: the way to write in a shared
// folder such as the temporary folder. For scratch files: the content is not synced to the disk first.
void writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);
void writeFileAtomically(const std::string& path, const FileContent& content);

// Writes a file that a person named, as writeFileAtomically does but synced to the disk before it
// replaces the old one; a symbolic link at the path is followed and its target replaced in the
// target's folder; a folder, device or FIFO is refused. A new file gets the mode the umask allows. When the folder takes no temporary file but the file itself
// can be written, it is written in place once the whole content is ready, as a plain copy would.
void writeChosenFile(const std::string& path, std::span<const std::uint8_t> bytes);
void writeChosenFile(const std::string& path, const FileContent& content);

// The writes above make their temporary file beside the target, named by this prefix and a number of
// TemporaryFileDigits digits.
inline constexpr std::string_view TemporaryFilePrefix = ".tortelet-save-";
inline constexpr std::size_t TemporaryFileDigits = 8;

// Whether a file name is one that the writes give their temporary files (also as earlier versions gave
// them, with the number's leading zeros left out), so that a clean-up finds what an interrupted write
// left behind.
bool isTemporaryFileName(std::string_view name);

// Removes the temporary file of a write under way, if any. Safe to call from a signal handler, so
// that an interrupted program leaves no temporary file behind.
void removeUnfinishedFile();

} // namespace sheet::io
