#pragma once

#include "sheet/io/FileBytes.h"
#include "sheet/render/PictureExport.h"
#include "sheet/render/SheetDrawing.h"

#include <QPainter>

#include <memory>

namespace sheet::render {

class SinkDevice;

// Writes a picture to a sink as it is recorded: an SVG or a one-page PDF part by part, so that a
// long one is never held whole, and a bitmap, which needs all its pixels anyway, once it is all
// recorded. A bitmap is drawn at the scale (1 is 96 dots per inch); an SVG or a PDF keeps the
// natural size. A PDF is one page of the picture's size, or, for a picture longer or wider than 200
// inches (14,400 points, the largest page a PDF may have), the picture cut into pages of at most that
// size, down its length first and then across, the cuts down it between rows where it can; such a
// PDF is written once the picture is all recorded, since what is drawn last may lie on any of its
// pages.
class PictureWriter final : public DrawingSink {
public:
    PictureWriter(PictureFormat format, const io::ByteSink& sink, double scale = 1.0);
    ~PictureWriter() override;

    void begin(QSize size) override;
    void add(const QPicture& part) override;
    // Ends the file. Throws RenderError for an empty picture or one that cannot be drawn or encoded,
    // and what the sink threw.
    void finish();

private:
    void startSvg();
    void startPdf(QSize page);
    void writePages();

    PictureFormat format_;
    const io::ByteSink& sink_;
    double scale_;
    QSize size_;
    SheetDrawing kept_;    // a bitmap's parts, or those of a PDF of several pages, until the end
    bool drawn_ = false;
    std::unique_ptr<SinkDevice> output_;
    std::unique_ptr<QPaintDevice> document_;
    QPainter painter_;
};

}  // namespace sheet::render
