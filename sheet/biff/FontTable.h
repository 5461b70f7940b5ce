#pragma once

#include "sheet/model/Font.h"

#include <cstdint>
#include <vector>

namespace sheet::biff {

// The FONT records of a workbook written from the model: its own fonts in their order, then the fonts
// that its charts' texts take and that it lacks.
class FontTable {
public:
    explicit FontTable(std::vector<model::Font> fonts) : fonts_(std::move(fonts)) {}

    // The index of a font like `font` (index 4 is never used), added when there is none.
    std::uint16_t indexOf(const model::Font& font);
    // Adds copies of the first font (or a 10-point Arial) until font index `index` exists, so that no
    // cell format names a font that is not there.
    void cover(int index);
    const std::vector<model::Font>& fonts() const { return fonts_; }

private:
    std::vector<model::Font> fonts_;
};

// A FONT record's body.
std::vector<std::uint8_t> fontBody(const model::Font& font);

} // namespace sheet::biff
