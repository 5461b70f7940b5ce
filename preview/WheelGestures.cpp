#include "WheelGestures.h"

namespace preview {

namespace {
constexpr int kNotch = 120;

int pixelsFor(int eighths) { return -eighths * WheelGestures::kNotchPixels / kNotch; }
}  // namespace

WheelGestures::Action WheelGestures::turn(QPoint angleDelta, Qt::KeyboardModifiers modifiers)
{
    Action action;
    if (modifiers & Qt::ControlModifier) {
        pendingZoom_ += angleDelta.y() != 0 ? angleDelta.y() : angleDelta.x();
        action.zoomSteps = pendingZoom_ / kNotch;
        pendingZoom_ -= action.zoomSteps * kNotch;
        return action;
    }
    pendingZoom_ = 0;
    if (modifiers & Qt::ShiftModifier) {
        action.scrollX = pixelsFor(angleDelta.x() + angleDelta.y());
        return action;
    }
    action.scrollX = pixelsFor(angleDelta.x());
    action.scrollY = pixelsFor(angleDelta.y());
    return action;
}

}  // namespace preview
