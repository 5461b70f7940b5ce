#pragma once

#include "sheet/model/Picture.h"
#include "sheet/model/Record.h"

#include <vector>

namespace sheet::biff {

// The workbook's picture store, from the drawing group that its globals hold (MSODRAWINGGROUP with the
// records that carry it on): one picture for each entry, in the store's order, as drawing objects
// number them from 1. Metafiles come out of their compression with the header a file of their kind
// begins with, and a device-independent bitmap gets the header of a .bmp file. An entry whose image is
// missing, damaged or of an unknown kind is an empty picture.
std::vector<model::Picture> readPictureStore(const std::vector<model::Record>& globals);

} // namespace sheet::biff
