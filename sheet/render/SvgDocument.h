#pragma once

#include "sheet/render/SvgPaintEngine.h"

#include <QPaintDevice>

namespace sheet::render {

// A paint device that writes an SVG document of a size in pixels (96 to the inch) to an output as
// it is painted on: begin a painter on it, draw, end the painter, then ask whether it was written.
class SvgDocument final : public QPaintDevice {
public:
    SvgDocument(QIODevice& output, QSize size, const QString& description);

    QPaintEngine* paintEngine() const override { return &engine_; }
    bool written() const { return engine_.written(); }

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    mutable SvgPaintEngine engine_;
    QSize size_;
};

}  // namespace sheet::render
