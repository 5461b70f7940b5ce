#pragma once

#include "sheet/biff/OfficeArtProperties.h"
#include "sheet/model/Drawing.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace sheet::biff {

// A shape of a sheet's drawing that has client data, and so an OBJ record of its own.
struct ClientShape {
    int shapeId = 0;
    int shapeType = 0;
    std::uint32_t flags = 0; // the shape record's: flipped, a group, a child of one, ...
    std::optional<model::Anchor> anchor;
    ShapeProperties properties;
};

// The shapes of a sheet's drawing (the MSODRAWING records' data joined), in drawing order.
std::vector<ClientShape> readClientShapes(std::span<const std::uint8_t> drawing);

// Gathers a sheet's drawing from its records, taken in order at the sheet's own level. The drawing is
// the data of the MSODRAWING records and of the CONTINUE records that carry it on: once a drawing
// grows past what one record holds, the shapes that follow come in CONTINUE records, after an OBJ
// record or after a text box's TXO with the CONTINUE records of its text and formatting runs.
class SheetDrawingData {
public:
    void take(std::uint16_t type, std::span<const std::uint8_t> body);
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    bool inDrawing_ = false;         // a CONTINUE here carries the drawing on
    std::size_t textCharacters_ = 0; // of the last TXO's text, still to come in CONTINUE records
    std::size_t runBytes_ = 0;       // of its formatting runs, still to come
};

} // namespace sheet::biff
