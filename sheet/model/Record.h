#pragma once

#include <cstdint>
#include <vector>

namespace sheet::model {

// One record of a workbook stream: its type and its bytes (without the four-byte header). A run holds
// a worksheet's consecutive cell table records (rows, cells and what follows them) as they came, headers
// included, and has the type of its first: kept one by one, millions of small records would take
// several times the file's size.
struct Record {
    std::uint16_t type = 0;
    std::vector<std::uint8_t> bytes;
    bool run = false;
};

} // namespace sheet::model
