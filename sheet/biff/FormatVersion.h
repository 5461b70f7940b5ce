#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace sheet::biff {

// The BOF versions of the workbook streams that the engine reads.
inline constexpr std::uint16_t Biff8Version = 0x0600; // Excel 97 to 2003
inline constexpr std::uint16_t Biff5Version = 0x0500; // Excel 5.0 and 95 (BIFF5 and BIFF7)

// The version that the BOF record at the start of a workbook stream gives; 0 when it has none.
std::uint16_t streamVersion(std::span<const std::uint8_t> stream);

// What an Excel 2.1, 3.0 or 4.0 file is ("an Excel 4.0 worksheet (BIFF4)"), found from its first
// record: those files are a sheet's records alone, without a compound file around them. Nothing for
// other files.
std::optional<std::string> olderFormatName(std::span<const std::uint8_t> file);

} // namespace sheet::biff
