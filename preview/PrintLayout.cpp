#include "PrintLayout.h"

#include <QPainter>
#include <QPrinter>

#include <stdexcept>

namespace preview {

QPageLayout::Orientation PrintLayout::orientation() const
{
    return picture_.width() > picture_.height() ? QPageLayout::Landscape : QPageLayout::Portrait;
}

QRectF PrintLayout::placeOn(const QRectF& printable) const
{
    if (picture_.isEmpty() || printable.isEmpty())
        return {};
    const QSizeF size = picture_.scaled(printable.size(), Qt::KeepAspectRatio);
    return QRectF(printable.center() - QPointF(size.width() / 2, size.height() / 2), size);
}

void PrintLayout::print(const sheet::render::SheetDrawing& drawing, QPrinter& printer)
{
    // The drawing's fonts are sized for 96 dots per inch; at that resolution they print at their
    // size. A print dialog may have changed it for the printer it chose; vectors and text stay.
    printer.setResolution(kDotsPerInch);
    QPainter painter;
    if (!painter.begin(&printer))
        throw std::runtime_error("The printer could not start printing");
    // The painter's origin is the printable area's corner.
    const QRectF printable(QPointF(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
    const QRectF place = PrintLayout(drawing.size).placeOn(printable);
    painter.translate(place.topLeft());
    painter.scale(place.width() / drawing.size.width(), place.height() / drawing.size.height());
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setClipRect(QRectF(QPointF(0, 0), drawing.size));
    drawing.play(painter, QRectF(QPointF(0, 0), drawing.size));
    painter.end();
}

}  // namespace preview
