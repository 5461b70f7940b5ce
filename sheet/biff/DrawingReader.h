#pragma once

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
    std::optional<model::Anchor> anchor;
};

// The shapes of a sheet's drawing (the MSODRAWING records' data joined), in drawing order.
std::vector<ClientShape> readClientShapes(std::span<const std::uint8_t> drawing);

} // namespace sheet::biff
