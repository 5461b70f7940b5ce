#include "sheet/render/PictureWriter.h"

#include "sheet/render/PictureEncoding.h"
#include "sheet/render/RangePicture.h"
#include "sheet/render/RenderError.h"
#include "sheet/render/SinkDevice.h"
#include "sheet/render/SvgDocument.h"

#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <vector>

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

// Where the pages across a length end: equal pieces, none longer than a page.
std::vector<int> equalCuts(int length)
{
    const int pages = pagesFor(length);
    std::vector<int> cuts;
    for (int page = 1; page <= pages; ++page)
        cuts.push_back(static_cast<int>(static_cast<long long>(length) * page / pages));
    return cuts;
}

// Where the pages down a drawing end: where a band of rows ends, when one ends on the lower half of a
// page, so that no row is cut in two; else as far down as a page reaches.
std::vector<int> rowCuts(const SheetDrawing& drawing)
{
    // The bands come first, each as wide as the picture and right below the one before.
    std::vector<int> edges;
    for (const QPicture& part : drawing.parts) {
        const int top = edges.empty() ? 0 : edges.back();
        const QRect band = part.boundingRect();
        if (band != QRect(0, top, drawing.size.width(), band.height()))
            break;
        edges.push_back(band.bottom() + 1);
    }
    const int length = drawing.size.height();
    std::vector<int> cuts;
    for (int top = 0; top < length; top = cuts.back()) {
        const int deepest = top + largestPagePixels;
        const auto below = std::upper_bound(edges.begin(), edges.end(), deepest);
        const bool bandEnds = below != edges.begin() && *std::prev(below) > top + largestPagePixels / 2;
        cuts.push_back(deepest >= length ? length : bandEnds ? *std::prev(below) : deepest);
    }
    return cuts;
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
    const bool paged = format_ == PictureFormat::Pdf && (pagesFor(size.width()) > 1 || pagesFor(size.height()) > 1);
    if (isBitmap(format_) || paged) {
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
    const std::vector<int> across = equalCuts(size_.width());
    const std::vector<int> down = rowCuts(kept_);
    output_ = std::make_unique<SinkDevice>(sink_);
    startPdf(QSize(across.front(), down.front()));
    auto& pdf = static_cast<QPdfWriter&>(*document_);
    for (std::size_t column = 0; column < across.size(); ++column) {
        for (std::size_t row = 0; row < down.size(); ++row) {
            const int left = column == 0 ? 0 : across[column - 1];
            const int top = row == 0 ? 0 : down[row - 1];
            const QRect shown(left, top, across[column] - left, down[row] - top);
            if (column + row > 0 && (!pdf.setPageLayout(pageOf(shown.size())) || !pdf.newPage()))
                throw RenderError("cannot start another page of the PDF");
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
