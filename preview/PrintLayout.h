#pragma once

#include "sheet/render/SheetDrawing.h"

#include <QPageLayout>
#include <QRectF>
#include <QSizeF>

class QPrinter;

namespace preview {

// How a picture goes onto a printed page: turned to suit its shape, as large as the page's
// printable area allows, its proportions kept, in the middle.
class PrintLayout {
public:
    explicit PrintLayout(QSizeF picture) : picture_(picture) {}

    // Landscape for a picture wider than it is tall.
    QPageLayout::Orientation orientation() const;
    // Where the picture goes within the printable area.
    QRectF placeOn(const QRectF& printable) const;

    // The resolution a recorded drawing prints at: the one its fonts are sized for.
    static constexpr int kDotsPerInch = 96;
    // Prints the drawing on one page of the printer, as the printer is set up.
    static void print(const sheet::render::SheetDrawing& drawing, QPrinter& printer);

private:
    QSizeF picture_;
};

}  // namespace preview
