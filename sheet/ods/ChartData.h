#pragma once

#include "sheet/model/Chart.h"
#include "sheet/model/Workbook.h"

#include <QString>
#include <QXmlStreamWriter>

#include <optional>
#include <string>
#include <vector>

// What every chart object is written from: the ranges and cells of its series, and the colours and
// fonts of its styles.
namespace sheet::ods::charts {

using SheetNames = std::vector<std::string>;

inline constexpr model::Rgb Black = 0x000000;

// A reference as an OpenDocument range address on the sheet it names by `names`; nothing for none.
std::optional<std::string> rangeOf(const SheetNames& names, const std::optional<model::RangeReference>& ref);
// The cells of a reference in reading order, nullptr where the sheet holds none.
std::vector<const model::Cell*> cellsOf(const model::Workbook& workbook, const std::optional<model::RangeReference>& ref);
// What a cell holds as a text.
QString textOf(const model::Workbook& workbook, const model::Cell* cell);

// The cells of a chart's own table (which readers that do not follow the ranges show): a category's
// text, its place from 1 when the category has no cell; and a value, an empty cell for none that is a
// finite number.
void writeCategoryCell(QXmlStreamWriter& xml, const model::Workbook& workbook,
                       const std::vector<const model::Cell*>& categories, std::size_t point);
void writeValueCell(QXmlStreamWriter& xml, const model::Cell* cell);

// A series' name that is no reference, as LibreOffice keeps it (loext:label-string): a quoted string.
QString quotedName(const std::string& name);

// "#rrggbb"
QString colourName(model::Rgb colour);
model::Rgb colourOf(const model::ChartText& text);
// style:text-properties of a text in a font and colour.
void writeFont(QXmlStreamWriter& xml, const model::Font& font, model::Rgb colour);
// A style of the chart family, left open for its properties.
void startStyle(QXmlStreamWriter& xml, const QString& name);

} // namespace sheet::ods::charts
