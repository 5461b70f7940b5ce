#pragma once

#include "sheet/render/SheetDrawing.h"

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSize>

class QPainter;

namespace platform {

// A picture as the clipboard, the picture file and the preview carry it: recorded drawing, which
// paints sharp at any size, or a bitmap.
class Picture {
public:
    Picture() = default;
    explicit Picture(QImage bitmap) : bitmap_(std::move(bitmap)) {}
    explicit Picture(sheet::render::SheetDrawing drawing) : drawing_(std::move(drawing)) {}

    bool isNull() const { return !hasDrawing() && bitmap_.isNull(); }
    bool hasDrawing() const { return !drawing_.isEmpty(); }
    const sheet::render::SheetDrawing& drawing() const { return drawing_; }
    const QImage& bitmap() const { return bitmap_; }
    // The picture as a recorded drawing: its own, or one that draws the bitmap at its natural size.
    sheet::render::SheetDrawing asDrawing() const;

    // The natural size in pixels: the drawing's when there is one.
    QSize size() const;
    // Paints the source rectangle (in natural pixels) into the target rectangle: the drawing is
    // played at the target's scale, a bitmap is scaled smoothly.
    void paint(QPainter& painter, const QRectF& target, const QRectF& source) const;

    // The picture in its own file format: the recorded drawing, or a BMP file for a bitmap.
    QByteArray fileBytes() const;
    // A picture file's bytes, told by their content; a null picture when they are neither.
    static Picture fromFileBytes(const QByteArray& bytes);

private:
    sheet::render::SheetDrawing drawing_;
    QImage bitmap_;
};

}  // namespace platform
