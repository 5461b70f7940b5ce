#pragma once

#include <cstdint>
#include <vector>

namespace sheet::model {

// One record of a workbook stream: its type and its bytes (without the four-byte header).
struct Record {
    std::uint16_t type = 0;
    std::vector<std::uint8_t> bytes;
};

} // namespace sheet::model
