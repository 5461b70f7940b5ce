#include "sheet/render/PictureEncoding.h"

#include <QBuffer>

#include <cstring>

namespace sheet::render {

namespace {

constexpr int lightPngCompression = 80;  // Qt's quality scale: higher compresses less

}  // namespace

QByteArray encodePicture(const QImage& picture, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const int quality = std::strcmp(format, "PNG") == 0 ? lightPngCompression : -1;
    if (!picture.convertToFormat(QImage::Format_RGB32).save(&buffer, format, quality))
        return {};
    return bytes;
}

}  // namespace sheet::render
