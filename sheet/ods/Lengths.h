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

// A column width of the workbook (1/256 of a character, as COLINFO holds it) in points, as spreadsheet
// programs read an .xls: so many characters of the width of a digit in the Normal style's font, at
// its size, from the same fonts' advances as digitWidth.
double columnPoints(const model::Workbook& workbook, int width256);

// The width in 1/256 of a character of a sheet's columns without a COLINFO of their own: STANDARDWIDTH,
// or else DEFCOLWIDTH's characters and the room Excel adds beside them, which depends on the font's size.
int defaultColumnWidth(const model::Workbook& workbook, const model::Sheet& sheet);

} // namespace sheet::ods
