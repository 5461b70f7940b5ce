#pragma once

#include "sheet/model/Workbook.h"

#include <string>

namespace sheet::ods {

// A number in its shortest decimal form that reads back as the same double ("25000", "0.1").
std::string decimal(double value);

// A length in points, to a hundredth of a point ("12.75pt").
std::string points(double value);

// Pixels at 96 dots per inch in points.
inline double pixelPoints(double pixels) { return pixels * 0.75; }

// The widest digit of the Normal style's font in whole pixels, as a spreadsheet measures column widths,
// estimated from the font's size alone (a digit takes about 0.55 of the size), so that a file comes
// out the same on every machine whatever fonts it has.
int digitWidth(const model::Workbook& workbook);

} // namespace sheet::ods
