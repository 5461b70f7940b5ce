#include "sheet/render/PictureWriter.h"

#include "sheet/render/PictureEncoding.h"
#include "sheet/render/RangePicture.h"
#include "sheet/render/RenderError.h"
#include "sheet/render/SinkDevice.h"
#include "sheet/render/SvgDocument.h"

#include <QPdfWriter>

#include <algorithm>
#include <cmath>

namespace sheet::render {

namespace {

constexpr int dotsPerInch = 96;
constexpr double pointsPerPixel = 72.0 / dotsPerInch;
// The largest PDF page that every reader takes: 200 inches either way.
constexpr double largestPagePoints = 14400;
const QString creator = QStringLiteral("Tortelet Studio");

}  // namespace

PictureWriter::PictureWriter(PictureFormat format, const io::ByteSink& sink, double scale)
    : format_(format), sink_(sink), scale_(scale)
{
}

PictureWriter::~PictureWriter() = default;

void PictureWriter::begin(QSize size)
{
    if (size.isEmpty())
        throw RenderError("there is no picture to write");
    size_ = size;
    if (isBitmap(format_)) {
        bitmap_.begin(size);
        return;
    }
    output_ = std::make_unique<SinkDevice>(sink_);
    if (format_ == PictureFormat::Svg)
        startSvg();
    else
        startPdf();
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
}

void PictureWriter::startSvg()
{
    document_ = std::make_unique<SvgDocument>(*output_, size_, creator);
    if (!painter_.begin(document_.get()))
        throw RenderError("cannot start drawing the picture into its file");
}

void PictureWriter::startPdf()
{
    auto pdf = std::make_unique<QPdfWriter>(output_.get());
    pdf->setCreator(creator);
    pdf->setResolution(dotsPerInch);
    // A picture longer than the largest page is made smaller to fit it.
    const double longest = std::max(size_.width(), size_.height()) * pointsPerPixel;
    const double scale = std::min(1.0, largestPagePoints / longest);
    // A PDF page measures whole points; the page is never smaller than the picture.
    const QSizeF points(std::ceil(size_.width() * pointsPerPixel * scale), std::ceil(size_.height() * pointsPerPixel * scale));
    const QPageSize page(points, QPageSize::Point, QString(), QPageSize::ExactMatch);
    if (!pdf->setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF())))
        throw RenderError("cannot make a PDF page of the picture's size");
    document_ = std::move(pdf);
    if (!painter_.begin(document_.get()))
        throw RenderError("cannot start drawing the picture into its file");
    painter_.scale(scale, scale);
}

void PictureWriter::add(const QPicture& part)
{
    if (isBitmap(format_)) {
        bitmap_.add(part);
    } else if (painter_.isActive() && SheetDrawing::drawsWithin(part, QRectF(QPointF(0, 0), size_))) {
        painter_.drawPicture(0, 0, part);
    }
    drawn_ = true;
}

void PictureWriter::finish()
{
    if (!drawn_)
        throw RenderError("there is no picture to write");
    if (isBitmap(format_)) {
        const QByteArray bytes = encodePicture(rasterize(bitmap_, scale_), format_ == PictureFormat::Png ? "PNG" : "BMP");
        if (bytes.isEmpty())
            throw RenderError("the picture could not be encoded");
        sink_({reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())});
        return;
    }
    painter_.end();
    output_->rethrow();
    if (format_ == PictureFormat::Svg && !static_cast<const SvgDocument&>(*document_).written())
        throw RenderError("the SVG picture could not be written");
}

}  // namespace sheet::render
