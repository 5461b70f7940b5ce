#pragma once

#include "sheet/format/FormattedText.h"
#include "sheet/format/NumberFormat.h"
#include "sheet/model/Workbook.h"

#include <map>
#include <optional>
#include <string>

namespace sheet::layout {

// Formats cell values with their number formats, reading each code once.
class CellText {
public:
    explicit CellText(const model::Workbook& workbook) : workbook_(workbook) {}

    // What the cell shows; an empty cell shows nothing.
    format::FormattedText formatted(const model::Cell& cell) const;
    // A number in "General" squeezed to at most `characters` characters; nothing when the cell's
    // format does not show numbers through "General".
    std::optional<format::FormattedText> narrowed(const model::Cell& cell, int characters) const;

private:
    const format::NumberFormat& numberFormat(const model::Cell& cell) const;

    const model::Workbook& workbook_;
    mutable std::map<std::string, format::NumberFormat> formats_;
};

}  // namespace sheet::layout
