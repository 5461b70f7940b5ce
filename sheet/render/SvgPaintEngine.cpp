#include "sheet/render/SvgPaintEngine.h"

#include "sheet/render/PictureEncoding.h"

#include <QIODevice>
#include <QImage>
#include <QPixmap>
#include <QPainter>
#include <QTextItem>

#include <cmath>

namespace sheet::render {

namespace {

constexpr qsizetype flushAt = 1 << 16;

// A coordinate to a thousandth of a pixel, without trailing zeros.
QByteArray number(double value)
{
    const double rounded = std::round(value * 1000) / 1000 + 0.0;
    return QByteArray::number(rounded, 'g', 15);
}

QByteArray point(const QPointF& p) { return number(p.x()) + ' ' + number(p.y()); }

// Text as XML character data, without the characters XML does not allow.
QByteArray escaped(const QString& text)
{
    QString kept;
    kept.reserve(text.size());
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text[k];
        if (c.isHighSurrogate() && k + 1 < text.size() && text[k + 1].isLowSurrogate()) {
            kept += c;
            kept += text[++k];
        } else if (c.isSurrogate() || (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
                   || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF) {
            continue;
        } else if (c == u'&') {
            kept += QStringLiteral("&amp;");
        } else if (c == u'<') {
            kept += QStringLiteral("&lt;");
        } else if (c == u'>') {
            kept += QStringLiteral("&gt;");
        } else if (c == u'"') {
            kept += QStringLiteral("&quot;");
        } else {
            kept += c;
        }
    }
    return kept.toUtf8();
}

QByteArray colour(const QColor& c) { return c.name(QColor::HexRgb).toLatin1(); }

QByteArray opacity(const char* attribute, const QColor& c)
{
    return c.alpha() == 255 ? QByteArray() : QByteArray(" ") + attribute + "=\"" + number(c.alphaF()) + '"';
}

QByteArray pathData(const QPainterPath& path)
{
    QByteArray data;
    QPointF start;
    for (int k = 0; k < path.elementCount(); ++k) {
        const QPainterPath::Element e = path.elementAt(k);
        if (e.isMoveTo()) {
            data += (data.isEmpty() ? "M" : " M") + point(e);
            start = e;
        } else if (e.isLineTo()) {
            const bool closes = QPointF(e) == start && (k + 1 == path.elementCount() || path.elementAt(k + 1).isMoveTo());
            data += closes ? QByteArray("Z") : "L" + point(e);
        } else if (e.isCurveTo() && k + 2 < path.elementCount()) {
            data += "C" + point(e) + ' ' + point(path.elementAt(k + 1)) + ' ' + point(path.elementAt(k + 2));
            k += 2;
        }
    }
    return data;
}

QByteArray matrix(const QTransform& t)
{
    return " transform=\"matrix(" + number(t.m11()) + ' ' + number(t.m12()) + ' ' + number(t.m21()) + ' ' + number(t.m22())
        + ' ' + number(t.dx()) + ' ' + number(t.dy()) + ")\"";
}

// How much a transformation enlarges lengths, for the width of a pen.
double scaleOf(const QTransform& t) { return std::sqrt(std::abs(t.m11() * t.m22() - t.m12() * t.m21())); }

}  // namespace

SvgPaintEngine::SvgPaintEngine(QIODevice& output, QSize size, QString description)
    : QPaintEngine(AllFeatures), output_(output), size_(size), description_(std::move(description))
{
}

bool SvgPaintEngine::begin(QPaintDevice*)
{
    const QByteArray w = QByteArray::number(size_.width());
    const QByteArray h = QByteArray::number(size_.height());
    write("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
          "xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
          "version=\"1.1\" width=\"" + w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + ' ' + h + "\">\n<desc>"
          + escaped(description_) + "</desc>\n");
    return true;
}

bool SvgPaintEngine::end()
{
    closeClip();
    write("</svg>\n");
    flush();
    return written_;
}

void SvgPaintEngine::write(const QByteArray& text)
{
    buffer_ += text;
    if (buffer_.size() >= flushAt)
        flush();
}

void SvgPaintEngine::flush()
{
    if (written_ && !buffer_.isEmpty())
        written_ = output_.write(buffer_) == buffer_.size();
    buffer_.clear();
}

void SvgPaintEngine::updateState(const QPaintEngineState& state)
{
    const DirtyFlags dirty = state.state();
    if (dirty & DirtyPen)
        pen_ = state.pen();
    if (dirty & DirtyBrush)
        brush_ = state.brush();
    if (dirty & DirtyFont)
        font_ = state.font();
    if (dirty & (DirtyClipPath | DirtyClipRegion)) {
        QPainterPath given;
        if (dirty & DirtyClipPath) {
            given = state.clipPath();
        } else {
            given.addRegion(state.clipRegion());
        }
        given = state.transform().map(given);
        switch (state.clipOperation()) {
        case Qt::NoClip: clip_.reset(); break;
        case Qt::ReplaceClip: clip_ = given; break;
        case Qt::IntersectClip: clip_ = clip_ ? clip_->intersected(given) : given; break;
        }
        clipChanged_ = true;
    }
    if (dirty & DirtyClipEnabled) {
        clipEnabled_ = state.isClipEnabled();
        clipChanged_ = true;
    }
    if (dirty & DirtyTransform)
        transform_ = state.transform();
}

void SvgPaintEngine::clipFor(const QRectF& bounds)
{
    if (!clipEnabled_ || !clip_ || clip_->contains(bounds)) {
        closeClip();
        return;
    }
    if (clipOpen_ && !clipChanged_)
        return;
    closeClip();
    const QByteArray id = "c" + QByteArray::number(++clips_);
    // Within definitions, which a reader without clipping (SVG Tiny) does not draw either.
    write("<defs><clipPath id=\"" + id + "\"><path d=\"" + pathData(*clip_) + "\"/></clipPath></defs><g clip-path=\"url(#" + id
          + ")\">\n");
    clipOpen_ = true;
    clipChanged_ = false;
}

void SvgPaintEngine::closeClip()
{
    if (clipOpen_)
        write("</g>\n");
    clipOpen_ = false;
}

QByteArray SvgPaintEngine::fillOf(const QBrush& brush)
{
    const Qt::BrushStyle style = brush.style();
    if (style == Qt::NoBrush)
        return " fill=\"none\"";
    if (style < Qt::Dense1Pattern || style > Qt::DiagCrossPattern)
        return " fill=\"" + colour(brush.color()) + '"' + opacity("fill-opacity", brush.color());
    // Qt's patterns repeat every 8 pixels from the device's corner.
    auto [at, added] = patterns_.try_emplace({style, brush.color().rgba()}, static_cast<int>(patterns_.size()) + 1);
    const QByteArray id = "p" + QByteArray::number(at->second);
    if (added) {
        QImage tile(8, 8, QImage::Format_ARGB32);
        tile.fill(Qt::transparent);
        QPainter painter(&tile);
        painter.fillRect(tile.rect(), QBrush(Qt::black, style));
        painter.end();
        QByteArray dots;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                if (qAlpha(tile.pixel(x, y)) > 127)
                    dots += 'M' + QByteArray::number(x) + ' ' + QByteArray::number(y) + "h1v1h-1z";
            }
        }
        write("<defs><pattern id=\"" + id + "\" width=\"8\" height=\"8\" patternUnits=\"userSpaceOnUse\"><path d=\"" + dots
              + "\" fill=\"" + colour(brush.color()) + '"' + opacity("fill-opacity", brush.color()) + "/></pattern></defs>\n");
    }
    return " fill=\"url(#" + id + ")\"";
}

QByteArray SvgPaintEngine::strokeOf(const QPen& pen) const
{
    if (pen.style() == Qt::NoPen)
        return " stroke=\"none\"";
    const double width = pen.isCosmetic() ? std::max(pen.widthF(), 1.0) : pen.widthF() * scaleOf(transform_);
    QByteArray stroke = " stroke=\"" + colour(pen.color()) + '"' + opacity("stroke-opacity", pen.color())
        + " stroke-width=\"" + number(width) + '"';
    switch (pen.capStyle()) {
    case Qt::SquareCap: stroke += " stroke-linecap=\"square\""; break;
    case Qt::RoundCap: stroke += " stroke-linecap=\"round\""; break;
    default: break;
    }
    switch (pen.joinStyle()) {
    case Qt::BevelJoin: stroke += " stroke-linejoin=\"bevel\""; break;
    case Qt::RoundJoin: stroke += " stroke-linejoin=\"round\""; break;
    default: stroke += " stroke-miterlimit=\"" + number(pen.miterLimit()) + '"'; break;
    }
    if (pen.style() != Qt::SolidLine) {
        // Dashes are measured in pen widths, and a hairline's in pixels.
        const double unit = std::max(width, 1.0);
        QByteArray dashes;
        for (double dash : pen.dashPattern())
            dashes += (dashes.isEmpty() ? "" : ",") + number(dash * unit);
        if (!dashes.isEmpty())
            stroke += " stroke-dasharray=\"" + dashes + "\" stroke-dashoffset=\"" + number(pen.dashOffset() * unit) + '"';
    }
    return stroke;
}

void SvgPaintEngine::drawShape(const QPainterPath& devicePath, bool fill, bool stroke)
{
    if (devicePath.isEmpty() || (!fill && !stroke))
        return;
    const double reach = stroke ? std::max(pen_.widthF() * scaleOf(transform_), 1.0) : 0;
    clipFor(devicePath.controlPointRect().adjusted(-reach, -reach, reach, reach));
    QByteArray element = "<path d=\"" + pathData(devicePath) + '"';
    element += fill ? fillOf(brush_) : QByteArray(" fill=\"none\"");
    // With four corners or fewer both rules fill alike.
    if (fill && devicePath.fillRule() == Qt::OddEvenFill && devicePath.elementCount() > 5)
        element += " fill-rule=\"evenodd\"";
    if (stroke)
        element += strokeOf(pen_);
    write(element + "/>\n");
}

void SvgPaintEngine::drawPath(const QPainterPath& path)
{
    drawShape(transform_.map(path), brush_.style() != Qt::NoBrush, pen_.style() != Qt::NoPen);
}

void SvgPaintEngine::drawPolygon(const QPointF* points, int pointCount, PolygonDrawMode mode)
{
    if (pointCount < 2)
        return;
    QPainterPath path(points[0]);
    for (int k = 1; k < pointCount; ++k)
        path.lineTo(points[k]);
    if (mode != PolylineMode)
        path.closeSubpath();
    path.setFillRule(mode == OddEvenMode ? Qt::OddEvenFill : Qt::WindingFill);
    drawShape(transform_.map(path), mode != PolylineMode && brush_.style() != Qt::NoBrush, pen_.style() != Qt::NoPen);
}

void SvgPaintEngine::drawPixmap(const QRectF& target, const QPixmap& pixmap, const QRectF& source)
{
    drawImage(target, pixmap.toImage(), source);
}

void SvgPaintEngine::drawImage(const QRectF& target, const QImage& image, const QRectF& source, Qt::ImageConversionFlags)
{
    const QImage shown = image.copy(source.toAlignedRect());
    const QByteArray png = encodePicture(shown, "PNG");
    if (png.isEmpty() || target.isEmpty())
        return;
    clipFor(transform_.mapRect(target));
    QByteArray element = "<image x=\"" + number(target.x()) + "\" y=\"" + number(target.y()) + "\" width=\""
        + number(target.width()) + "\" height=\"" + number(target.height()) + "\" preserveAspectRatio=\"none\"";
    if (!transform_.isIdentity())
        element += matrix(transform_);
    write(element + " xlink:href=\"data:image/png;base64,");
    write(png.toBase64());
    write("\"/>\n");
}

void SvgPaintEngine::drawTextItem(const QPointF& position, const QTextItem& item)
{
    const QString text = item.text();
    if (text.isEmpty() || pen_.style() == Qt::NoPen)
        return;
    const QFont font = item.font();
    const double size = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * 96 / 72;
    // Glyphs may lean or reach a little past their advance.
    const double lean = size / 4;
    clipFor(transform_.mapRect(QRectF(position.x() - lean, position.y() - item.ascent(), item.width() + 2 * lean,
                                      item.ascent() + item.descent())));
    // Blanks need keeping where they lead, trail or follow each other, and tabs and line breaks always.
    const bool blanks = text.startsWith(u' ') || text.endsWith(u' ') || text.contains(QStringLiteral("  "))
        || text.contains(u'\t') || text.contains(u'\n') || text.contains(u'\r');
    QByteArray element = blanks ? "<text xml:space=\"preserve\"" : "<text";
    if (transform_.type() <= QTransform::TxTranslate) {
        element += " x=\"" + number(position.x() + transform_.dx()) + "\" y=\"" + number(position.y() + transform_.dy()) + '"';
    } else {
        element += matrix(transform_) + " x=\"" + number(position.x()) + "\" y=\"" + number(position.y()) + '"';
    }
    element += " font-family=\"" + escaped(font.family()) + "\" font-size=\"" + number(size) + '"';
    if (font.weight() != QFont::Normal)
        element += " font-weight=\"" + QByteArray::number(font.weight()) + '"';
    if (font.style() != QFont::StyleNormal)
        element += font.style() == QFont::StyleItalic ? " font-style=\"italic\"" : " font-style=\"oblique\"";
    // Underlines and strike-outs come as lines of their own: the painter draws them.
    if (pen_.color() != Qt::black)
        element += " fill=\"" + colour(pen_.color()) + '"' + opacity("fill-opacity", pen_.color());
    element += '>' + escaped(text) + "</text>\n";
    write(element);
}

}  // namespace sheet::render
