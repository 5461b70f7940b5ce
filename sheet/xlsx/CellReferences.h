#pragma once

#include "sheet/model/Cell.h"
#include "sheet/model/CellRange.h"

#include <QStringView>

#include <optional>
#include <string>
#include <string_view>

namespace sheet::xlsx {

// The largest row and column a package may name (1,048,576 rows, 16,384 columns), 0-based.
inline constexpr int PackageLastRow = 1048575;
inline constexpr int PackageLastColumn = 16383;

// "B4" or "$B$4" as a 0-based address; nothing for anything else.
std::optional<model::CellAddress> parsedCell(QStringView text);
std::optional<model::CellAddress> parsedCell(std::string_view text);
// "A1:B2", "$A$1:$B$2" or one cell; nothing for anything else.
std::optional<model::CellRange> parsedRange(std::string_view text);

// A chart's reference "'My Sheet'!$A$1:$A$9": the sheet's name and the range; nothing for a reference of
// several areas, to another workbook or to anything but cells.
struct SheetRange {
    std::string sheet;
    model::CellRange range;
};
std::optional<SheetRange> parsedSheetRange(std::string_view formula);

// "$B$4:$B$12", or "$B$4" for one cell.
std::string absoluteRange(const model::CellRange& range);

} // namespace sheet::xlsx
