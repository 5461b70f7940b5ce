#pragma once

#include "sheet/model/Workbook.h"
#include "sheet/xlsx/PaletteColours.h"
#include "sheet/zip/ZipReader.h"

#include <array>

#include <cstdint>
#include <string>
#include <vector>

namespace sheet::xlsx {

// The styles part read into the workbook: its number formats (by their ids, which the workbook keeps
// as format indices), its fonts (in order, each cell format naming its font as the workbook counts
// them, past the missing index 4), and its cell formats in the part's order, each with its record bytes
// made from its parts; the colours become palette indices, the palette taking the colours it lacks.
// Returns the cell formats; the fonts, formats and palette go into the workbook.
// The palette must be the workbook's, and the part's own palette (indexedColors) is read before any colour
// is placed in it.
std::vector<model::Xf> readStyles(const zip::ZipReader& package, const std::string& part, PaletteColours& colours,
                                  model::Workbook& workbook);

// The font index that an XF gives for the package's font `font`: index 4 does not exist.
inline int xfFontIndex(int font) { return font < 4 ? font : font + 1; }

// The 20 record bytes of an XF from its parts (locked and hidden from the cell protection).
std::array<std::uint8_t, 20> xfRecordBytes(const model::Xf& xf, bool locked, bool hidden);

} // namespace sheet::xlsx
