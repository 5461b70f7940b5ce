#include "sheet/render/PictureEncoding.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

class PictureEncodingTest : public ::testing::TestWithParam<QImage::Format> {};

// Every pixel of the PNG is the colour Qt's own conversion to RGB gives, whatever the picture's format,
// in opaque rows and in rows with see-through pixels (premultiplied or not).
TEST_P(PictureEncodingTest, ThePngHoldsTheColoursQtsConversionGives)
{
    QImage picture(37, 6, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const int alpha = y % 2 == 0 ? 255 : (x * 53 + y * 11) % 256;
            picture.setPixel(x, y, qRgba((x * 7) % 256, (y * 40 + x) % 256, (x * x) % 256, alpha));
        }
    }
    picture = picture.convertToFormat(GetParam());
    const QImage png = QImage::fromData(sheet::render::encodePicture(picture, "PNG"), "PNG");
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.convertToFormat(QImage::Format_RGB888), picture.convertToFormat(QImage::Format_RGB888));
}

INSTANTIATE_TEST_SUITE_P(Formats, PictureEncodingTest,
                         ::testing::Values(QImage::Format_ARGB32_Premultiplied, QImage::Format_ARGB32,
                                           QImage::Format_RGB32, QImage::Format_RGB888, QImage::Format_RGB16));

}  // namespace
