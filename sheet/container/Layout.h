#pragma once

#include <cstddef>
#include <cstdint>

// The fixed numbers of the compound file layout, shared by the reader and the writer.
namespace sheet::container::layout {

constexpr std::uint8_t Signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

// Sector numbers with a meaning of their own.
constexpr std::uint32_t LastRegularSector = 0xFFFFFFFA;
constexpr std::uint32_t DifatSector = 0xFFFFFFFC;
constexpr std::uint32_t FatSector = 0xFFFFFFFD;
constexpr std::uint32_t EndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t FreeSector = 0xFFFFFFFF;
constexpr std::uint32_t NoEntry = 0xFFFFFFFF;

constexpr std::size_t EntrySize = 128;
constexpr std::size_t MiniSectorSize = 64;
constexpr std::size_t MiniCutoff = 4096;  // smaller streams live in the mini stream
constexpr std::size_t HeaderDifatEntries = 109;

}  // namespace sheet::container::layout
