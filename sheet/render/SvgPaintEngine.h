#pragma once

#include <QByteArray>
#include <QPaintEngine>
#include <QPainterPath>
#include <QSize>

#include <map>
#include <optional>
#include <utility>

class QIODevice;

namespace sheet::render {

// Writes what a painter draws as an SVG document, element by element as it is drawn, so that a
// large drawing never waits whole in memory. It keeps what a spreadsheet's picture needs and
// QSvgGenerator drops: a clip (a cell's text ends at its cell's edge) becomes a clip path around the
// elements that reach out of it. Paths, polygons and text are written as such, a brush pattern as
// an SVG pattern, an image as an embedded PNG; a gradient or a texture is filled with the brush's
// colour.
class SvgPaintEngine final : public QPaintEngine {
public:
    SvgPaintEngine(QIODevice& output, QSize size, QString description);

    bool begin(QPaintDevice* device) override;
    bool end() override;
    void updateState(const QPaintEngineState& state) override;
    void drawPath(const QPainterPath& path) override;
    void drawPolygon(const QPointF* points, int pointCount, PolygonDrawMode mode) override;
    void drawPixmap(const QRectF& target, const QPixmap& pixmap, const QRectF& source) override;
    void drawImage(const QRectF& target, const QImage& image, const QRectF& source,
                   Qt::ImageConversionFlags flags = Qt::AutoColor) override;
    void drawTextItem(const QPointF& position, const QTextItem& item) override;
    Type type() const override { return SVG; }

    // Whether every byte reached the output.
    bool written() const { return written_; }

private:
    void write(const QByteArray& text);
    void flush();
    // Opens or closes the clip group as an element with these device bounds needs it.
    void clipFor(const QRectF& bounds);
    void closeClip();
    QByteArray fillOf(const QBrush& brush);
    QByteArray strokeOf(const QPen& pen) const;
    void drawShape(const QPainterPath& devicePath, bool fill, bool stroke);

    QIODevice& output_;
    QSize size_;
    QString description_;
    QByteArray buffer_;
    bool written_ = true;

    QPen pen_;
    QBrush brush_;
    QFont font_;
    QTransform transform_;
    std::optional<QPainterPath> clip_;  // in device pixels
    bool clipEnabled_ = true;
    bool clipChanged_ = false;
    bool clipOpen_ = false;
    int clips_ = 0;
    std::map<std::pair<int, QRgb>, int> patterns_;  // brush style and colour to the pattern's number
};

}  // namespace sheet::render
