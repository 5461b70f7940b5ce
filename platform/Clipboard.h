#pragma once

#include <QImage>
#include "sheet/render/SheetDrawing.h"

#include <memory>

class QMimeData;

namespace platform {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // The picture on the clipboard, or a null image when it holds none.
    virtual QImage image() = 0;
    virtual void setImage(const QImage& image) = 0;
    // The recorded drawing on the clipboard, or a null drawing when it holds none.
    virtual sheet::render::SheetDrawing drawing() = 0;
    // Offers a drawing in two formats: as it is, and as a bitmap for other programs, made when
    // one is asked for.
    virtual void setPicture(const sheet::render::SheetDrawing& drawing) = 0;
    // Offers a drawing to other programs: as a PNG at its natural size times the pixel ratio, as
    // vector SVG, and as Qt's own image, the same bitmap as the PNG. Each is made when first asked for.
    virtual void offerPicture(const sheet::render::SheetDrawing& drawing, double pixelRatio) = 0;
    // What the clipboard holds now, to be put back later; null when it is empty.
    virtual std::unique_ptr<QMimeData> snapshot() = 0;
    // Puts back a snapshot; null empties the clipboard.
    virtual void restore(std::unique_ptr<QMimeData> content) = 0;
};

}  // namespace platform
