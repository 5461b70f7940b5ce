#pragma once

#include <QPoint>
#include <Qt>

namespace preview {

// What a turn of the mouse wheel over the picture asks for, as a picture viewer reads it: Ctrl
// zooms, one step a notch; Shift scrolls sideways; a plain turn scrolls up and down.
class WheelGestures {
public:
    // Pixels one notch scrolls: three lines of twenty pixels.
    static constexpr int kNotchPixels = 60;

    struct Action {
        int zoomSteps = 0;  // positive zooms in
        int scrollX = 0;    // pixels, positive moves the view right
        int scrollY = 0;    // pixels, positive moves the view down
    };

    // angleDelta in eighths of a degree, as Qt reports it; fine-grained wheels add up to whole
    // zoom steps over several events.
    Action turn(QPoint angleDelta, Qt::KeyboardModifiers modifiers);

private:
    int pendingZoom_ = 0;
};

}  // namespace preview
