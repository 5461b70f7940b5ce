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

// The widest digit of the Normal style's font in whole pixels, the unit of column widths: what the
// engine's drawing measures (render::maxDigitWidth) with the fonts the program depends on, the
// Liberation fonts for Arial, Times New Roman, Courier New and their kin, DejaVu for any other
// family. Worked out from those fonts' digit advances rather than measured, so that a file comes
// out the same on every machine whatever fonts it has.
int digitWidth(const model::Workbook& workbook);

} // namespace sheet::ods
