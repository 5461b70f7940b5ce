#include "ZoomModel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

namespace preview {

namespace {
// Nearest whole number, halves to the even neighbour (the default rounding mode).
template <typename Whole>
Whole roundToEven(double value)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<Whole>::min() && rounded <= std::numeric_limits<Whole>::max()))
        throw std::overflow_error("Overflow: " + std::to_string(value) + " does not fit the whole number");
    return static_cast<Whole>(rounded);
}

// The length of a painting at a factor: the whole part, rounded down.
std::int32_t scaled(float factor, std::int32_t length)
{
    return roundToEven<std::int32_t>(std::floor(static_cast<double>(factor) * length));
}

// Where a drag may put the picture's near edge on one axis. A picture that fits the viewport on
// that axis stays at its near edge.
float clampDrag(float position, std::int32_t innerLength, std::int32_t pictureLength)
{
    const auto farthest = static_cast<float>(innerLength - pictureLength);
    if (position > 0 || pictureLength <= innerLength)
        return 0;
    if (farthest > position)
        return farthest;
    return position;
}

// The position as a share of the overflow, in per cent; only asked when there is an overflow.
std::int16_t percentOfOverflow(float position, std::int32_t pictureLength, std::int32_t viewportLength)
{
    return roundToEven<std::int16_t>(std::fabs(position) / static_cast<float>(pictureLength - viewportLength) * 100.0f);
}

// The value a percentage asks of a bar, or nothing for a negative one or one above 100.
bool valueForPercent(std::int16_t percent, std::int32_t maximum, std::int32_t& value)
{
    if (percent < 0)
        return false;
    const double wanted = percent / 100.0 * maximum;
    if (wanted > maximum)
        return false;
    value = roundToEven<std::int32_t>(wanted);
    return true;
}
}  // namespace

ZoomModel::ZoomModel(std::function<void()> repaint, std::int32_t widthLimit, std::int32_t heightLimit)
    : repaint_(std::move(repaint)), widthLimit_(widthLimit), heightLimit_(heightLimit)
{
    picture_.width = 2340;
    picture_.height = 3435;
}

void ZoomModel::takePictureSize(std::int32_t width, std::int32_t height)
{
    picture_.width = width;
    picture_.height = height;
}

void ZoomModel::copyPictureSize()
{
    unscaledCopyWidth_ = picture_.width;
    unscaledCopyHeight_ = picture_.height;
    shownFactor_ = 1.0f;
}

void ZoomModel::resetFactor()
{
    factor_ = 1.0f;
    baseWidth_ = unscaledCopyWidth_ - 2;
    baseHeight_ = unscaledCopyHeight_ - 2;
    zoomedWidth_ = scaled(1.0f, baseWidth_);
    zoomedHeight_ = scaled(1.0f, baseHeight_);
}

void ZoomModel::StepZoom(std::int32_t direction)
{
    SetZoom(direction == 0 ? factor_ + 0.25f : factor_ - 0.25f);
}

void ZoomModel::zoomAround(std::int32_t direction, float x, float y)
{
    const float wanted = direction == 0 ? factor_ + 0.25f : factor_ - 0.25f;
    const PictureGeometry before = picture_;
    if (wanted < 0.25f || wanted > 4.0f || before.width <= 0 || before.height <= 0)
        return;
    StepZoom(direction);
    const double scaleX = static_cast<double>(picture_.width) / before.width;
    const double scaleY = static_cast<double>(picture_.height) / before.height;
    placeNear(x - (x - before.left) * scaleX, y - (y - before.top) * scaleY);
}

void ZoomModel::placeNear(double left, double top)
{
    const auto valueFor = [](double position, std::int16_t step, const ScrollBarState& bar) {
        return static_cast<std::int32_t>(std::clamp(std::lround(-position / step), 0L, static_cast<long>(bar.maximum)));
    };
    if (horizontalStep_ != 0)
        scrollHorizontal(valueFor(left, horizontalStep_, horizontalBar_));
    if (verticalStep_ != 0)
        scrollVertical(valueFor(top, verticalStep_, verticalBar_));
}

void ZoomModel::SetZoom(float factor)
{
    if (factor < 0.25f || factor > 4.0f)
        return;
    factor_ = factor;
    ApplyZoom();
    SetupScrollbars();
}

void ZoomModel::ApplyZoom()
{
    zoomedWidth_ = scaled(factor_, baseWidth_);
    zoomedHeight_ = scaled(factor_, baseHeight_);
    const bool fits = zoomedWidth_ < widthLimit_ && zoomedHeight_ < heightLimit_;
    if (fits || factor_ < shownFactor_) {
        shownFactor_ = factor_;
        picture_.width = zoomedWidth_;
        picture_.height = zoomedHeight_;
        repaint_();
        scrollHorizontal(0);
        scrollVertical(0);
        horizontalBar_.enabled = viewportInnerWidth() < zoomedWidth_;
        verticalBar_.enabled = viewportInnerHeight() < zoomedHeight_;
    } else {
        resetFactor();
    }
}

void ZoomModel::SetupScrollbars()
{
    picture_.top = 0;
    picture_.left = 0;
    horizontalStep_ = setupBar(horizontalBar_, picture_.width, viewportWidth_);
    if (horizontalStep_ != 0)
        scrollHorizontal(0);
    verticalStep_ = setupBar(verticalBar_, picture_.height, viewportHeight_);
    if (verticalStep_ != 0)
        scrollVertical(0);
}

std::int16_t ZoomModel::setupBar(ScrollBarState& bar, std::int32_t pictureLength, std::int32_t viewportLength)
{
    if (pictureLength <= viewportLength) {
        bar.enabled = false;
        return 0;
    }
    const auto overflow = static_cast<float>(pictureLength - viewportLength);
    bar.enabled = true;
    if (overflow <= 100) {
        bar.maximum = roundToEven<std::int32_t>(overflow);
        return 1;
    }
    bar.maximum = roundToEven<std::int32_t>(overflow / 10.0f);
    return 10;
}

void ZoomModel::scrollHorizontal(std::int32_t value)
{
    if (value == horizontalBar_.value)
        return;
    horizontalBar_.value = value;
    placeByHorizontalBar();
}

void ZoomModel::scrollVertical(std::int32_t value)
{
    if (value == verticalBar_.value)
        return;
    verticalBar_.value = value;
    placeByVerticalBar();
}

// The products are taken in 32 bits: a delivered picture wider than 32767 twips past the viewport
// still scrolls to its far end.
void ZoomModel::placeByHorizontalBar()
{
    picture_.left = static_cast<float>(-(std::int32_t{horizontalStep_} * horizontalBar_.value));
}

void ZoomModel::placeByVerticalBar()
{
    picture_.top = static_cast<float>(-(std::int32_t{verticalStep_} * verticalBar_.value));
}

void ZoomModel::pressAt(float x, float y)
{
    pressX_ = x;
    pressY_ = y;
}

void ZoomModel::dragTo(int buttons, float x, float y)
{
    if (buttons == 0)
        return;
    const float newLeft = clampDrag(picture_.left - pressX_ + x, viewportInnerWidth(), picture_.width);
    const float newTop = clampDrag(picture_.top - pressY_ + y, viewportInnerHeight(), picture_.height);
    picture_.left = newLeft;
    picture_.top = newTop;
}

void ZoomModel::followHorizontalPosition()
{
    if (picture_.width > viewportWidth_)
        SetHScrollbarByPercent(percentOfOverflow(picture_.left, picture_.width, viewportWidth_));
}

void ZoomModel::followVerticalPosition()
{
    if (picture_.height > viewportHeight_)
        SetVScrollbarByPercent(percentOfOverflow(picture_.top, picture_.height, viewportHeight_));
}

void ZoomModel::SetHScrollbarByPercent(std::int16_t percent)
{
    std::int32_t value = 0;
    if (valueForPercent(percent, horizontalBar_.maximum, value))
        scrollHorizontal(value);
}

void ZoomModel::SetVScrollbarByPercent(std::int16_t percent)
{
    std::int32_t value = 0;
    if (valueForPercent(percent, verticalBar_.maximum, value))
        scrollVertical(value);
}

void ZoomModel::setViewportSize(std::int32_t width, std::int32_t height)
{
    if (width == viewportWidth_ && height == viewportHeight_)
        return;
    viewportWidth_ = width;
    viewportHeight_ = height;
    const auto follow = [](ScrollBarState& bar, std::int16_t step, float& position) {
        if (step == 0) {
            position = 0;
            return;
        }
        bar.value = static_cast<std::int32_t>(std::clamp(std::lround(-position / step), 0L, static_cast<long>(bar.maximum)));
        position = static_cast<float>(-(std::int32_t{step} * bar.value));
    };
    horizontalStep_ = setupBar(horizontalBar_, picture_.width, viewportWidth_);
    follow(horizontalBar_, horizontalStep_, picture_.left);
    verticalStep_ = setupBar(verticalBar_, picture_.height, viewportHeight_);
    follow(verticalBar_, verticalStep_, picture_.top);
}

float ZoomModel::fitFactor() const
{
    for (float factor = 4.0f; factor > 0.25f; factor -= 0.25f) {
        const std::int32_t width = scaled(factor, baseWidth_);
        const std::int32_t height = scaled(factor, baseHeight_);
        if (width <= viewportInnerWidth() && height <= viewportInnerHeight() && width < widthLimit_ && height < heightLimit_)
            return factor;
    }
    return 0.25f;
}

void ZoomModel::fit() { SetZoom(fitFactor()); }

}  // namespace preview
