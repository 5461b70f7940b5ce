#pragma once

#include "sheet/model/CellRange.h"

#include <QStringView>

#include <optional>
#include <string>
#include <vector>

namespace sheet::ods {

// A cell range as OpenDocument addresses it: "Assets.B4:Assets.B9", "$Assets.$B$4:.$B$9",
// "'My sheet'.A1"; the sheet's name unquoted, empty when the address has none.
struct RangeAddress {
    std::string sheet;
    model::CellRange range;
};

// The ranges of an address list (separated by spaces); nothing when one of them cannot be read.
std::optional<std::vector<RangeAddress>> rangeAddresses(QStringView text);
std::optional<RangeAddress> rangeAddress(QStringView text);

} // namespace sheet::ods
