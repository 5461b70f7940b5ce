#pragma once

#include "sheet/model/Palette.h"
#include "sheet/zip/ZipReader.h"

#include <QXmlStreamReader>

#include <cstdint>
#include <string>
#include <vector>

namespace sheet::xlsx {

// A colour as a styles part gives it: automatic, in red, green and blue, by palette index, or by theme
// colour, lightened or darkened by a tint (-1 to 1).
struct ColourSpec {
    enum class Kind { Automatic, Rgb, Indexed, Theme };
    Kind kind = Kind::Automatic;
    std::uint32_t value = 0;
    double tint = 0;
};

// A colour element's attributes (rgb, indexed, theme, tint, auto).
ColourSpec colourSpec(const QXmlStreamReader& reader);

// The theme's twelve colours (dk1, lt1, dk2, lt2, accent1 to 6, hlink, folHlink) from a theme part;
// Office's defaults where the part has none.
std::vector<std::uint32_t> readThemeColours(const zip::ZipReader& package, const std::string& part);

// Turns the package's colours into the workbook's palette indices: an indexed colour is its own index;
// another takes the palette entry of its colour, or an entry that no indexed colour uses, which is
// given that colour, or, when every entry is taken, the nearest entry.
class PaletteColours {
public:
    PaletteColours(model::Palette& palette, std::vector<std::uint32_t> theme);

    // Keeps the entry of an indexed colour from being given another colour; call for all before index().
    void reserve(const ColourSpec& colour);
    // The palette index of a colour, `automatic` for an automatic one.
    int index(const ColourSpec& colour, int automatic);
    // The colour in red, green and blue; `automatic` for an automatic one.
    std::uint32_t rgb(const ColourSpec& colour, std::uint32_t automatic) const;

private:
    model::Palette& palette_;
    std::vector<std::uint32_t> theme_;
    std::vector<bool> taken_; // for entries 8..63
};

} // namespace sheet::xlsx
