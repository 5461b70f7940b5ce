#include "sheet/render/SheetDrawing.h"

#include <QDataStream>
#include <QIODevice>
#include <QPainter>

namespace sheet::render {

namespace {
constexpr char signature[] = "TDRW";
constexpr quint32 maxParts = 1 << 16;
}  // namespace

void SheetDrawing::play(QPainter& painter, const QRectF& area) const
{
    for (const QPicture& part : parts) {
        if (drawsWithin(part, area))
            painter.drawPicture(0, 0, part);
    }
}

bool SheetDrawing::drawsWithin(const QPicture& part, const QRectF& area)
{
    // Borders and leader lines may reach a few pixels past their part.
    return QRectF(part.boundingRect()).intersects(area.adjusted(-4, -4, 4, 4));
}


QByteArray SheetDrawing::toBytes() const
{
    QByteArray bytes(signature, 4);
    QDataStream out(&bytes, QIODevice::Append);
    out << qint32(size.width()) << qint32(size.height()) << quint32(parts.size());
    for (const QPicture& part : parts)
        out.writeBytes(part.data(), part.size());
    return bytes;
}

bool SheetDrawing::looksLikeDrawing(const QByteArray& bytes) { return bytes.startsWith(signature); }

SheetDrawing SheetDrawing::fromBytes(const QByteArray& bytes)
{
    if (!looksLikeDrawing(bytes))
        return {};
    QDataStream in(bytes);
    in.skipRawData(4);
    qint32 width = 0;
    qint32 height = 0;
    quint32 count = 0;
    in >> width >> height >> count;
    if (in.status() != QDataStream::Ok || width <= 0 || height <= 0 || count == 0 || count > maxParts)
        return {};
    SheetDrawing drawing;
    drawing.size = QSize(width, height);
    for (quint32 k = 0; k < count; ++k) {
        quint32 length = 0;
        in >> length;
        // The part is taken straight from the bytes, which must hold all of it.
        const qint64 at = in.device()->pos();
        if (in.status() != QDataStream::Ok || length == 0 || length > static_cast<quint64>(bytes.size() - at))
            return {};
        QPicture part;
        part.setData(bytes.constData() + at, length);
        in.skipRawData(static_cast<int>(length));
        if (!part.boundingRect().isValid())
            return {};
        drawing.parts.push_back(part);
    }
    return drawing;
}

}  // namespace sheet::render
