#include "sheet/biff/CellRecords.h"

#include "sheet/biff/RecordTypes.h"

#include <cstring>

namespace sheet::biff {

bool isCellTableRecord(std::uint16_t type)
{
    switch (type) {
    case rt::Row: case rt::DbCell: case rt::Number: case rt::Rk: case rt::MulRk: case rt::LabelSst:
    case rt::Label: case rt::RString: case rt::Blank: case rt::MulBlank: case rt::BoolErr: case rt::Formula:
    case rt::String: case rt::SharedFormula: case rt::Array: case rt::Table: case rt::Biff4Formula:
        return true;
    default:
        return false;
    }
}

double decodeRk(std::uint32_t rk)
{
    double value;
    if (rk & 0x02) {
        value = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        const std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 0x01) ? value / 100 : value;
}

} // namespace sheet::biff
