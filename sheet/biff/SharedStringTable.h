#pragma once

#include "sheet/model/Record.h"
#include "sheet/model/Workbook.h"

#include <cstdint>
#include <span>
#include <vector>

namespace sheet::biff {

// Reads the strings of an SST record and its CONTINUE records.
std::vector<model::SharedString> readSharedStrings(const std::vector<std::span<const std::uint8_t>>& segments);

// An XLUnicodeString (two-byte count) that may go on in CONTINUE records, such as a STRING record's.
std::u16string readContinuedString(const std::vector<std::span<const std::uint8_t>>& segments);

// Appends to the Workbook stream the SST record (split into CONTINUE records as needed) followed by
// its EXTSST record, with headers. `references` is the number of cells that use the table.
void writeSharedStrings(const std::vector<model::SharedString>& strings, std::uint32_t references,
                        std::vector<std::uint8_t>& stream);

} // namespace sheet::biff
