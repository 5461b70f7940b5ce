#pragma once

#include <QByteArray>
#include <QImage>

namespace sheet::render {

// A picture as the bytes of a PNG or BMP file ("PNG" or "BMP"), opaque, 24 or 32 bits a pixel.
// PNG is written for speed, unfiltered and lightly deflated: a sheet picture twice the size of
// the screen takes some 15 ms, where Qt's own writer takes four times as long. Empty on failure.
QByteArray encodePicture(const QImage& picture, const char* format);

}  // namespace sheet::render
