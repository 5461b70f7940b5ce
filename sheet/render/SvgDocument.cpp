#include "sheet/render/SvgDocument.h"

namespace sheet::render {

namespace {
constexpr int dotsPerInch = 96;
}

SvgDocument::SvgDocument(QIODevice& output, QSize size, const QString& description)
    : engine_(output, size, description), size_(size)
{
}

int SvgDocument::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth: return size_.width();
    case PdmHeight: return size_.height();
    case PdmWidthMM: return qRound(size_.width() * 25.4 / dotsPerInch);
    case PdmHeightMM: return qRound(size_.height() * 25.4 / dotsPerInch);
    case PdmNumColors: return 0xFFFFFF;
    case PdmDepth: return 32;
    case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return dotsPerInch;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
    }
    return 0;
}

}  // namespace sheet::render
