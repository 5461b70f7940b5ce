#include "sheet/render/PictureExport.h"

#include "sheet/render/PictureEncoding.h"
#include "sheet/render/RangePicture.h"
#include "sheet/render/RenderError.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSvgGenerator>

#include <algorithm>
#include <cctype>
#include <cmath>
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

QByteArray svgOf(const SheetDrawing& drawing)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setResolution(dotsPerInch);
    svg.setSize(drawing.size);
    svg.setViewBox(QRect(QPoint(0, 0), drawing.size));
    svg.setDescription(creator);
    play(drawing, svg);
    // The generator gives the size in millimetres, which readers turn back into pixels at
    // different resolutions; in pixels it is the same everywhere.
    static const QRegularExpression millimetres(QStringLiteral("<svg width=\"[0-9.]+mm\" height=\"[0-9.]+mm\""));
    // The heading is ASCII, one character to a byte.
    const QRegularExpressionMatch found = millimetres.match(QString::fromLatin1(bytes.left(1024)));
    if (!found.hasMatch())
        throw RenderError("the SVG generator wrote an unexpected heading");
    bytes.replace(found.capturedStart(), found.capturedLength(),
                  QStringLiteral("<svg width=\"%1\" height=\"%2\"").arg(drawing.size.width()).arg(drawing.size.height()).toLatin1());
    return bytes;
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
    if (drawing.isEmpty() || drawing.size.isEmpty())
        throw RenderError("there is no picture to write");
    QByteArray bytes;
    switch (format) {
    case PictureFormat::Png: bytes = encodePicture(rasterize(drawing, scale), "PNG"); break;
    case PictureFormat::Bmp: bytes = encodePicture(rasterize(drawing, scale), "BMP"); break;
    case PictureFormat::Svg: bytes = svgOf(drawing); break;
    case PictureFormat::Pdf: bytes = pdfOf(drawing); break;
    }
    if (bytes.isEmpty())
        throw RenderError("the picture could not be encoded");
    return bytes;
}

}  // namespace sheet::render
