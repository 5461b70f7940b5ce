#pragma once

#include "sheet/model/Workbook.h"

#include <string>
#include <vector>

namespace sheet::ods {

// An embedded chart object of the package: the folder that holds it and its parts.
struct ChartObject {
    std::string folder;  // "Object 1"
    std::string content; // content.xml
    std::string styles;  // styles.xml
    std::string ranges;  // the cell ranges it draws from, separated by spaces
};

// A chart of sheet `sheetIndex`, the workbook's chart `number` counting from 1, as the chart object
// "Object <number>", `width` by `height` points. A chart whose groups all draw pies is written with
// the look of each slice spelt out: 2-D or 3-D with its first slice angle and elevation, the title and
// its font, each slice's colour and explosion, the data labels and their font, the legend when it has
// one, its series' ranges, and a table of their values for readers that do not look at the sheet.
// A chart of any other type is written as chartDocument writes it. The ranges name their sheets by
// `names`, the names the sheets are written under. A chart of a type the engine does not know (see
// model::Chart::knownType) is a FormatError naming it.
using SheetNames = std::vector<std::string>;
ChartObject chartObject(const model::Workbook& workbook, const SheetNames& names, int sheetIndex,
                        const model::Chart& chart, int number, double width, double height);

// A chart that no drawing object places on its sheet, `chart` among the sheet's charts: one of an Excel 95
// workbook, or of a damaged one. A FormatError naming it, rather than a package without it.
[[noreturn]] void refuseUnplacedChart(const model::Workbook& workbook, const model::Sheet& sheet, std::size_t chart);

} // namespace sheet::ods
