#include "sheet/render/PictureEncoding.h"

#include <QBuffer>

#include <png.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace sheet::render {

namespace {

struct PngOutput {
    QByteArray bytes;
    bool failed = false;
};

void appendPng(png_structp png, png_bytep data, png_size_t length)
{
    auto* output = static_cast<PngOutput*>(png_get_io_ptr(png));
    try {
        output->bytes.append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
    } catch (...) {
        // No exception may cross libpng's C frames; the failure is read once it has returned.
        output->failed = true;
    }
}

void flushNothing(png_structp) {}

void ignoreWarning(png_structp, png_const_charp) {}

// The picture's rows as 8-bit RGB, one at a time. A 32-bit picture is read as it is: an opaque row
// gives its colours, and a row with any see-through pixel is converted by Qt, alone, as the whole
// picture would be. Any other format is converted whole first.
class RgbRows {
public:
    explicit RgbRows(const QImage& picture)
        : direct_(picture.format() == QImage::Format_ARGB32_Premultiplied || picture.format() == QImage::Format_ARGB32
                  || picture.format() == QImage::Format_RGB32),
          image_(direct_ ? picture : picture.convertToFormat(QImage::Format_RGB888)),
          row_(direct_ ? static_cast<std::size_t>(image_.width()) * 3 + 1 : 0)
    {
    }

    bool isNull() const { return image_.isNull(); }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }

    const std::uint8_t* row(int y)
    {
        if (!direct_)
            return image_.constScanLine(y);
        const auto* pixels = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
        const bool opaque = image_.format() == QImage::Format_RGB32;
        QRgb alpha = 0xFF000000u;
        std::uint8_t* out = row_.data();
        const int width = image_.width();
        for (int x = 0; x < width; ++x, out += 3) {
            const QRgb pixel = pixels[x];
            alpha &= pixel;
            // Red, green and blue in this order in memory, and a byte the next pixel writes over.
            static_assert(std::endian::native == std::endian::little);
            const std::uint32_t rgb = __builtin_bswap32(pixel) >> 8;
            std::memcpy(out, &rgb, sizeof rgb);
        }
        if (opaque || alpha == 0xFF000000u)
            return row_.data();
        const QImage line(image_.constScanLine(y), width, 1, image_.bytesPerLine(), image_.format());
        const QImage rgb = line.convertToFormat(QImage::Format_RGB888);
        std::memcpy(row_.data(), rgb.constScanLine(0), static_cast<std::size_t>(width) * 3);
        return row_.data();
    }

private:
    bool direct_;
    QImage image_;
    std::vector<std::uint8_t> row_;
};

// The rows of an 8-bit RGB image. Each row is stored unfiltered and deflated at the fastest
// level: the flat colours of a sheet compress about as well as with filtering, in a quarter of
// the time. libpng reports an error by a jump back here, so nothing here has a destructor.
bool writePngRows(png_structp png, png_infop info, RgbRows& rgb)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, static_cast<png_uint_32>(rgb.width()), static_cast<png_uint_32>(rgb.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    for (int y = 0; y < rgb.height(); ++y)
        png_write_row(png, rgb.row(y));
    png_write_end(png, info);
    return true;
}

QByteArray encodePng(const QImage& picture)
{
    RgbRows rgb(picture);
    if (rgb.isNull())
        return {};
    PngOutput output;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, ignoreWarning);
    if (png == nullptr)
        return {};
    png_infop info = png_create_info_struct(png);
    bool written = false;
    if (info != nullptr) {
        png_set_write_fn(png, &output, appendPng, flushNothing);
        written = writePngRows(png, info, rgb);
    }
    png_destroy_write_struct(&png, &info);
    return written && !output.failed ? output.bytes : QByteArray();
}

}  // namespace

QByteArray encodePicture(const QImage& picture, const char* format)
{
    if (std::strcmp(format, "PNG") == 0)
        return encodePng(picture);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.convertToFormat(QImage::Format_RGB32).save(&buffer, format))
        return {};
    return bytes;
}

}  // namespace sheet::render
