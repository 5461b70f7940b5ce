#include "Picture.h"

#include <QBuffer>
#include <QPainter>
#include <QPicture>

namespace platform {

QSize Picture::size() const { return hasDrawing() ? drawing_.size : bitmap_.size(); }

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
        // Only the parts under what the clip leaves visible are played.
        drawing_.play(painter, painter.clipBoundingRect() & source);
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, bitmap_, source);
    }
    painter.restore();
}

sheet::render::SheetDrawing Picture::asDrawing() const
{
    if (hasDrawing() || bitmap_.isNull())
        return drawing_;
    QPicture recording;
    QPainter painter(&recording);
    painter.drawImage(QPointF(0, 0), bitmap_);
    painter.end();
    recording.setBoundingRect(bitmap_.rect());
    return sheet::render::SheetDrawing{bitmap_.size(), {recording}};
}

QByteArray Picture::fileBytes() const
{
    if (hasDrawing())
        return drawing_.toBytes();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (bitmap_.isNull() || !bitmap_.save(&buffer, "BMP"))
        return {};
    return bytes;
}

Picture Picture::fromFileBytes(const QByteArray& bytes)
{
    if (sheet::render::SheetDrawing::looksLikeDrawing(bytes)) {
        sheet::render::SheetDrawing drawing = sheet::render::SheetDrawing::fromBytes(bytes);
        return drawing.isEmpty() ? Picture() : Picture(std::move(drawing));
    }
    return Picture(QImage::fromData(bytes));
}

}  // namespace platform
