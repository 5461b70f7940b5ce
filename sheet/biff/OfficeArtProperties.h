#pragma once

#include "sheet/model/Drawing.h"
#include "sheet/model/Palette.h"

#include <cstdint>
#include <map>
#include <span>
#include <string>

namespace sheet::biff {

// The properties of a shape (its FOPT record) that the engine carries over: the values by property id,
// and the texts of the complex ones that name it.
struct ShapeProperties {
    std::map<int, std::uint32_t> values;
    std::u16string name;

    // Reads the properties of an FOPT record with `count` of them (the record's instance) into this.
    void read(std::span<const std::uint8_t> body, int count);
    // The picture's index in the store, from 0; -1 when the shape shows none.
    int picture() const;
    model::Crop crop() const;
    // The fill and the line, colours taken from the workbook's palette where the shape names one of its
    // entries; the flips from the shape's record flags.
    model::ShapeLook look(const model::Palette& palette, std::uint32_t shapeFlags) const;
};

} // namespace sheet::biff
