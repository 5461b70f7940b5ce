#pragma once

#include <QByteArray>
#include <QImage>

namespace sheet::render {

// A picture as the bytes of a PNG or BMP file ("PNG" or "BMP"), opaque, 24 or 32 bits a pixel.
// PNG uses light compression: drawing takes a millisecond or two, and the
// default compression would take ten times as long. Empty on failure.
QByteArray encodePicture(const QImage& picture, const char* format);

}  // namespace sheet::render
