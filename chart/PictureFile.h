#pragma once

#include "platform/Picture.h"

#include <QString>

namespace chart {

// Writes the picture in its own format (a recorded drawing, or else a bitmap) through a temporary
// file that replaces the path. Throws std::runtime_error when there is no picture or it cannot be
// written.
void SavePictureFile(const platform::Picture& picture, const QString& path);

// Reads a picture file, recognising its format by its content. Only a plain file of this user is
// read, never one reached through a symbolic link. Throws std::runtime_error on failure.
platform::Picture LoadPictureFile(const QString& path);

}  // namespace chart
