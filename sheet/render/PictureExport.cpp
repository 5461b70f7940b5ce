#include "sheet/render/PictureExport.h"

#include "sheet/render/PictureEncoding.h"
#include "sheet/render/RangePicture.h"
#include "sheet/render/RenderError.h"
#include "sheet/render/SvgDocument.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <exception>
#include <string>

namespace sheet::render {

namespace {

constexpr int dotsPerInch = 96;
constexpr double pointsPerPixel = 72.0 / dotsPerInch;
const QString creator = QStringLiteral("Tortelet Studio");

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

// The largest PDF page that every reader takes: 200 inches either way.
constexpr double largestPagePoints = 14400;

void play(const SheetDrawing& drawing, QPaintDevice& device, double scale = 1.0)
{
    QPainter painter;
    if (!painter.begin(&device))
        throw RenderError("cannot start drawing the picture into its file");
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    drawing.play(painter, QRectF(QPointF(0, 0), drawing.size));
    painter.end();
}

// Hands what the SVG writer writes on to a sink. A sink's failure cannot pass through Qt's
// frames, so it is kept and thrown again once the drawing is done.
class SinkDevice final : public QIODevice {
public:
    explicit SinkDevice(const io::ByteSink& sink) : sink_(sink) { open(QIODevice::WriteOnly); }

    void rethrow() const
    {
        if (failure_)
            std::rethrow_exception(failure_);
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override
    {
        if (failure_)
            return -1;
        try {
            sink_({reinterpret_cast<const std::uint8_t*>(data), static_cast<std::size_t>(length)});
        } catch (...) {
            failure_ = std::current_exception();
            return -1;
        }
        return length;
    }

private:
    const io::ByteSink& sink_;
    std::exception_ptr failure_;
};

void writeSvg(const SheetDrawing& drawing, const io::ByteSink& sink)
{
    SinkDevice output(sink);
    SvgDocument svg(output, drawing.size, creator);
    play(drawing, svg);
    output.rethrow();
    if (!svg.written())
        throw RenderError("the SVG picture could not be written");
}

QByteArray pdfOf(const SheetDrawing& drawing)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setCreator(creator);
    pdf.setResolution(dotsPerInch);
    // A picture longer than the largest page is made smaller to fit it.
    const double longest = std::max(drawing.size.width(), drawing.size.height()) * pointsPerPixel;
    const double scale = std::min(1.0, largestPagePoints / longest);
    // A PDF page measures whole points; the page is never smaller than the picture.
    const QSizeF points(std::ceil(drawing.size.width() * pointsPerPixel * scale),
                        std::ceil(drawing.size.height() * pointsPerPixel * scale));
    const QPageSize page(points, QPageSize::Point, QString(), QPageSize::ExactMatch);
    if (!pdf.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF())))
        throw RenderError("cannot make a PDF page of the picture's size");
    play(drawing, pdf, scale);
    return bytes;
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
    QByteArray bytes;
    exportPicture(drawing, format, [&bytes](std::span<const std::uint8_t> piece) {
        bytes.append(reinterpret_cast<const char*>(piece.data()), static_cast<qsizetype>(piece.size()));
    }, scale);
    return bytes;
}

void exportPicture(const SheetDrawing& drawing, PictureFormat format, const io::ByteSink& sink, double scale)
{
    if (drawing.isEmpty() || drawing.size.isEmpty())
        throw RenderError("there is no picture to write");
    QByteArray bytes;
    switch (format) {
    case PictureFormat::Png: bytes = encodePicture(rasterize(drawing, scale), "PNG"); break;
    case PictureFormat::Bmp: bytes = encodePicture(rasterize(drawing, scale), "BMP"); break;
    case PictureFormat::Svg: writeSvg(drawing, sink); return;
    case PictureFormat::Pdf: bytes = pdfOf(drawing); break;
    }
    if (bytes.isEmpty())
        throw RenderError("the picture could not be encoded");
    sink({reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())});
}

}  // namespace sheet::render
