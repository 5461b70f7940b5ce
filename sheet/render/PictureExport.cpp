#include "sheet/render/PictureExport.h"

#include "sheet/render/PictureWriter.h"
#include "sheet/render/RenderError.h"

#include <cctype>

namespace sheet::render {

namespace {

bool endsWith(std::string_view name, std::string_view suffix)
{
    if (name.size() < suffix.size())
        return false;
    const std::string_view end = name.substr(name.size() - suffix.size());
    for (std::size_t k = 0; k < suffix.size(); ++k) {
        if (std::tolower(static_cast<unsigned char>(end[k])) != suffix[k])
            return false;
    }
    return true;
}

}  // namespace

std::optional<PictureFormat> pictureFormatOf(std::string_view fileName)
{
    if (endsWith(fileName, ".png"))
        return PictureFormat::Png;
    if (endsWith(fileName, ".bmp"))
        return PictureFormat::Bmp;
    if (endsWith(fileName, ".svg"))
        return PictureFormat::Svg;
    if (endsWith(fileName, ".pdf"))
        return PictureFormat::Pdf;
    return std::nullopt;
}

bool isBitmap(PictureFormat format) { return format == PictureFormat::Png || format == PictureFormat::Bmp; }

QByteArray exportPicture(const SheetDrawing& drawing, PictureFormat format, double scale)
{
    if (drawing.isEmpty() || drawing.size.isEmpty())
        throw RenderError("there is no picture to write");
    QByteArray bytes;
    const io::ByteSink sink = [&bytes](std::span<const std::uint8_t> piece) {
        bytes.append(reinterpret_cast<const char*>(piece.data()), static_cast<qsizetype>(piece.size()));
    };
    PictureWriter writer(format, sink, scale);
    writer.begin(drawing.size);
    for (const QPicture& part : drawing.parts)
        writer.add(part);
    writer.finish();
    return bytes;
}

}  // namespace sheet::render
