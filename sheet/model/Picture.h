#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sheet::model {

// A picture of the workbook's picture store, as a file of its own kind: its bytes are the whole file
// that a viewer opens ("png", "jpeg", "emf", "wmf", "pict", "bmp", "tiff"). Drawing objects of any sheet
// refer to it by its place in the store, so a picture that two sheets show is kept once.
struct Picture {
    std::string extension; // the usual file name extension, without the dot
    std::string mediaType; // "image/png", ...
    std::vector<std::uint8_t> bytes;
};

} // namespace sheet::model
