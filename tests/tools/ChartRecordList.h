#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tools::test {

// The records of every chart in a workbook file as written, one a line: the record type, the
// length and the bytes, in hex but for the length.
std::string chartRecordList(std::span<const std::uint8_t> workbookFile);

}  // namespace tools::test
