#pragma once

#include <QPaintDevice>
#include <QPaintEngine>
#include <QRectF>
#include <QString>

#include <vector>

namespace render_testing {

// A run of text as a painter drew it: its characters and where its glyphs stand, from the ascent
// above its baseline to the descent below.
struct DrawnText {
    QString text;
    QRectF extent;
};

// A paint device that keeps the texts drawn on it, to read what a picture says and where, at 96 dots
// per inch.
class DrawnTexts final : public QPaintDevice {
public:
    std::vector<DrawnText> texts;

    QPaintEngine* paintEngine() const override { return &engine_; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: case PdmHeight: return 100000;
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
        case PdmDepth: return 32;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
        default: return 1;
        }
    }

private:
    class Engine final : public QPaintEngine {
    public:
        explicit Engine(std::vector<DrawnText>& texts) : texts_(texts) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF& at, const QTextItem& item) override
        {
            texts_.push_back({item.text(), QRectF(at.x(), at.y() - item.ascent(), item.width(), item.ascent() + item.descent())});
        }
        Type type() const override { return User; }

    private:
        std::vector<DrawnText>& texts_;
    };
    mutable Engine engine_{texts};
};

}  // namespace render_testing
