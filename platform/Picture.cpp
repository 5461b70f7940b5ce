#include "Picture.h"

#include <QBuffer>
#include <QPainter>

namespace platform {

namespace {
// How a recorded drawing's file begins.
constexpr char drawingSignature[] = "QPIC";
}  // namespace

Picture::Picture(QPicture drawing, QImage bitmap) : drawing_(std::move(drawing)), bitmap_(std::move(bitmap)) {}

Picture Picture::drawingOnly() const { return hasDrawing() ? Picture(drawing_) : *this; }

QSize Picture::size() const { return hasDrawing() ? drawing_.boundingRect().size() : bitmap_.size(); }

void Picture::paint(QPainter& painter, const QRectF& target, const QRectF& source) const
{
    if (source.isEmpty() || target.isEmpty())
        return;
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    if (hasDrawing()) {
        painter.translate(target.topLeft());
        painter.scale(target.width() / source.width(), target.height() / source.height());
        painter.translate(-source.topLeft());
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.drawPicture(0, 0, drawing_);
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, bitmap_, source);
    }
    painter.restore();
}

QByteArray Picture::fileBytes() const
{
    if (hasDrawing())
        return QByteArray(drawing_.data(), static_cast<qsizetype>(drawing_.size()));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (bitmap_.isNull() || !bitmap_.save(&buffer, "BMP"))
        return {};
    return bytes;
}

Picture Picture::fromFileBytes(const QByteArray& bytes)
{
    if (bytes.startsWith(drawingSignature)) {
        QPicture drawing;
        drawing.setData(bytes.constData(), static_cast<uint>(bytes.size()));
        if (drawing.boundingRect().isValid())
            return Picture(drawing);
        return {};
    }
    return Picture(QImage::fromData(bytes));
}

}  // namespace platform
