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
// The largest page a PDF may have: 200 inches either way.
constexpr double largestPagePoints = 14400;
constexpr int largestPagePixels = static_cast<int>(largestPagePoints / pointsPerPixel);
const QString creator = QStringLiteral("Tortelet Studio");

// The pages a length of pixels is cut into.
int pagesFor(int pixels)
{
    return (pixels + largestPagePixels - 1) / largestPagePixels;
}

// A PDF page measures whole points; a page is never smaller than its piece of the picture.
QPageLayout pageOf(QSize pixels)
{
    const QSizeF points(std::ceil(pixels.width() * pointsPerPixel), std::ceil(pixels.height() * pointsPerPixel));
    return QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch), QPageLayout::Portrait,
                       QMarginsF());
}

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
    if (format_ == PictureFormat::Pdf)
        pages_ = QSize(pagesFor(size.width()), pagesFor(size.height()));
    if (isBitmap(format_) || pages_ != QSize(1, 1)) {
        kept_.begin(size);
        return;
    }
    output_ = std::make_unique<SinkDevice>(sink_);
    if (format_ == PictureFormat::Svg)
        startSvg();
    else
        startPdf(size_);
}

void PictureWriter::startSvg()
{
    document_ = std::make_unique<SvgDocument>(*output_, size_, creator);
    if (!painter_.begin(document_.get()))
        throw RenderError("cannot start drawing the picture into its file");
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
}

void PictureWriter::startPdf(QSize page)
{
    auto pdf = std::make_unique<QPdfWriter>(output_.get());
    pdf->setCreator(creator);
    pdf->setResolution(dotsPerInch);
    if (!pdf->setPageLayout(pageOf(page)))
        throw RenderError("cannot make a PDF page of the picture's size");
    document_ = std::move(pdf);
    if (!painter_.begin(document_.get()))
        throw RenderError("cannot start drawing the picture into its file");
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
}

void PictureWriter::add(const QPicture& part)
{
    if (!kept_.size.isEmpty()) {
        kept_.add(part);
    } else if (painter_.isActive() && SheetDrawing::drawsWithin(part, QRectF(QPointF(0, 0), size_))) {
        painter_.drawPicture(0, 0, part);
    }
    drawn_ = true;
}

void PictureWriter::writePages()
{
    // Equal pieces, the last one or two perhaps a pixel shorter.
    const int width = (size_.width() + pages_.width() - 1) / pages_.width();
    const int height = (size_.height() + pages_.height() - 1) / pages_.height();
    const auto piece = [&](int across, int down) {
        return QRect(across * width, down * height, width, height) & QRect(QPoint(0, 0), size_);
    };
    output_ = std::make_unique<SinkDevice>(sink_);
    startPdf(piece(0, 0).size());
    auto& pdf = static_cast<QPdfWriter&>(*document_);
    for (int across = 0; across < pages_.width(); ++across) {
        for (int down = 0; down < pages_.height(); ++down) {
            const QRect shown = piece(across, down);
            if (across + down > 0) {
                if (!pdf.setPageLayout(pageOf(shown.size())) || !pdf.newPage())
                    throw RenderError("cannot start another page of the PDF");
            }
            painter_.save();
            painter_.translate(-shown.topLeft());
            painter_.setClipRect(shown);
            kept_.play(painter_, shown);
            painter_.restore();
        }
    }
}

void PictureWriter::finish()
{
    if (!drawn_)
        throw RenderError("there is no picture to write");
    if (isBitmap(format_)) {
        const QByteArray bytes = encodePicture(rasterize(kept_, scale_), format_ == PictureFormat::Png ? "PNG" : "BMP");
        if (bytes.isEmpty())
            throw RenderError("the picture could not be encoded");
        sink_({reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())});
        return;
    }
    if (!output_)
        writePages();
    painter_.end();
    output_->rethrow();
    if (format_ == PictureFormat::Svg && !static_cast<const SvgDocument&>(*document_).written())
        throw RenderError("the SVG picture could not be written");
}

}  // namespace sheet::render
