#pragma once

#include "sheet/io/FileBytes.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace sheet::container {

// A storage or stream of a compound file, with what the directory says about it.
struct Entry {
    enum class Type : std::uint8_t { Storage = 1, Stream = 2, Root = 5 };

    std::u16string name;
    Type type = Type::Stream;
    std::array<std::uint8_t, 16> clsid{};
    std::uint32_t stateBits = 0;
    std::uint64_t created = 0;
    std::uint64_t modified = 0;
    std::vector<std::uint8_t> data; // streams
    std::vector<Entry> children;    // storages and the root

    bool isStorage() const { return type != Type::Stream; }
    // The child stream or storage of that name (compared without regard to ASCII case), or nullptr.
    Entry* child(std::u16string_view childName);
    const Entry* child(std::u16string_view childName) const;
};

// A compound file (structured storage): the root storage and everything below it.
struct CompoundFile {
    Entry root;
};

// Reads every storage and stream. Any damage gives a FormatError; memory stays within a small
// multiple of the input's size whatever the directory and the sector tables claim.
CompoundFile readCompoundFile(std::span<const std::uint8_t> bytes);

// Writes a version 3 file (512-byte sectors, small streams in the mini stream).
std::vector<std::uint8_t> writeCompoundFile(const CompoundFile& file);
// Writes the file to `sink` piece by piece: its streams go out as they are, without a copy.
void writeCompoundFile(const CompoundFile& file, const io::ByteSink& sink);

} // namespace sheet::container
