#pragma once

#include "sheet/io/FileBytes.h"
#include "sheet/render/PictureExport.h"
#include "sheet/render/SheetDrawing.h"

#include <QPainter>

#include <memory>

namespace sheet::render {

class SinkDevice;

// Writes a picture to a sink as it is recorded: an SVG or a PDF part by part, so that a long one is
// never held whole, and a bitmap, which needs all its pixels anyway, once it is all recorded. A
// bitmap is drawn at the scale (1 is 96 dots per inch); an SVG or a PDF keeps the natural size, the
// PDF as one page of the picture's size, made smaller when it is longer than 200 inches (the
// largest page every reader takes).
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
    void startPdf();

    PictureFormat format_;
    const io::ByteSink& sink_;
    double scale_;
    QSize size_;
    SheetDrawing bitmap_;  // a bitmap's parts, until the end
    bool drawn_ = false;
    std::unique_ptr<SinkDevice> output_;
    std::unique_ptr<QPaintDevice> document_;
    QPainter painter_;
};

}  // namespace sheet::render
