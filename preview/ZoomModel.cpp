#include "ZoomModel.h"

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

ZoomModel::ZoomModel(std::function<void()> repaint) : repaint_(std::move(repaint))
{
    picture1_.width = 2340;
    picture1_.height = 3435;
}

void ZoomModel::takePictureSize(std::int32_t width, std::int32_t height)
{
    picture1_.width = width;
    picture1_.height = height;
}

void ZoomModel::copySizeToZoomOri()
{
    zoomOriWidth_ = picture1_.width;
    zoomOriHeight_ = picture1_.height;
}

void ZoomModel::resetFactor()
{
    mZoom = 1.0f;
    mBaseWidth = zoomOriWidth_ - 2;
    mBaseHeight = zoomOriHeight_ - 2;
    mZoomWidth = scaled(1.0f, mBaseWidth);
    mZoomHeight = scaled(1.0f, mBaseHeight);
}

void ZoomModel::StepZoom(std::int32_t direction)
{
    SetZoom(direction == 0 ? mZoom + 0.25f : mZoom - 0.25f);
}

void ZoomModel::SetZoom(float factor)
{
    if (factor < 0.25f || factor > 4.0f)
        return;
    mZoom = factor;
    ApplyZoom();
    SetupScrollbars();
}

void ZoomModel::ApplyZoom()
{
    mZoomWidth = scaled(mZoom, mBaseWidth);
    mZoomHeight = scaled(mZoom, mBaseHeight);
    if (mZoomWidth < kWidthLimit && mZoomHeight < kHeightLimit) {
        picture1_.width = mZoomWidth;
        picture1_.height = mZoomHeight;
        repaint_();
        scrollHorizontal(0);
        scrollVertical(0);
        hScroll1_.enabled = kViewportInnerWidth < mZoomWidth;
        vScroll1_.enabled = kViewportInnerHeight < mZoomHeight;
    } else {
        resetFactor();
    }
}

void ZoomModel::SetupScrollbars()
{
    picture1_.top = 0;
    picture1_.left = 0;
    mHStep = setupBar(hScroll1_, picture1_.width, kViewportWidth);
    if (mHStep != 0)
        scrollHorizontal(0);
    mVStep = setupBar(vScroll1_, picture1_.height, kViewportHeight);
    if (mVStep != 0)
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
    if (value == hScroll1_.value)
        return;
    hScroll1_.value = value;
    HScroll1_Change();
}

void ZoomModel::scrollVertical(std::int32_t value)
{
    if (value == vScroll1_.value)
        return;
    vScroll1_.value = value;
    VScroll1_Change();
}

// The products are taken in 32 bits: a delivered picture wider than 32767 twips past the viewport
// still scrolls to its far end.
void ZoomModel::HScroll1_Change() { picture1_.left = static_cast<float>(-(std::int32_t{mHStep} * hScroll1_.value)); }

void ZoomModel::VScroll1_Change() { picture1_.top = static_cast<float>(-(std::int32_t{mVStep} * vScroll1_.value)); }

void ZoomModel::pressAt(float x, float y)
{
    mDownX = x;
    mDownY = y;
}

void ZoomModel::dragTo(int buttons, float x, float y)
{
    if (buttons == 0)
        return;
    const float newLeft = clampDrag(picture1_.left - mDownX + x, kViewportInnerWidth, picture1_.width);
    const float newTop = clampDrag(picture1_.top - mDownY + y, kViewportInnerHeight, picture1_.height);
    picture1_.left = newLeft;
    picture1_.top = newTop;
}

void ZoomModel::followHorizontalPosition()
{
    if (picture1_.width > kViewportWidth)
        SetHScrollbarByPercent(percentOfOverflow(picture1_.left, picture1_.width, kViewportWidth));
}

void ZoomModel::followVerticalPosition()
{
    if (picture1_.height > kViewportHeight)
        SetVScrollbarByPercent(percentOfOverflow(picture1_.top, picture1_.height, kViewportHeight));
}

void ZoomModel::SetHScrollbarByPercent(std::int16_t percent)
{
    std::int32_t value = 0;
    if (valueForPercent(percent, hScroll1_.maximum, value))
        scrollHorizontal(value);
}

void ZoomModel::SetVScrollbarByPercent(std::int16_t percent)
{
    std::int32_t value = 0;
    if (valueForPercent(percent, vScroll1_.maximum, value))
        scrollVertical(value);
}

}  // namespace preview
