#pragma once

#include "sheet/render/SheetDrawing.h"

#include <QByteArray>

#include <optional>
#include <string_view>

namespace sheet::render {

// The files a recorded drawing is written as: bitmaps drawn at a scale, or the drawing's own
// vectors, in which text stays text.
enum class PictureFormat { Png, Bmp, Svg, Pdf };

// The format a file's name asks for by its extension, in any case; nothing for another one.
std::optional<PictureFormat> pictureFormatOf(std::string_view fileName);
bool isBitmap(PictureFormat format);

// The whole drawing as the bytes of a file of the format. PNG and BMP are drawn at the scale
// (1 is 96 dots per inch, within the limits of rasterize); SVG and PDF ignore it and keep the
// natural size, the PDF as one page of the drawing's size (cut into pages of at most 200 inches,
// the largest a PDF page may be, when it is longer or wider). Throws RenderError for an empty
// drawing or one that cannot be drawn or encoded.
QByteArray exportPicture(const SheetDrawing& drawing, PictureFormat format, double scale = 1.0);

}  // namespace sheet::render
