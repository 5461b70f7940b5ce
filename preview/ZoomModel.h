#pragma once

#include "common/Twips.h"

#include <cstdint>
#include <functional>

namespace preview {

// A scroll bar as the arithmetic sees it; its minimum is always 0.
struct ScrollBarState {
    bool enabled = true;
    std::int32_t maximum = 32767;
    std::int32_t value = 0;
};

// The picture (Picture1) inside the viewport: position from the viewport's inner top-left corner
// and outer size.
struct PictureGeometry {
    float left = 0;
    float top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The preview's zoom, scroll and pan, all in twips. The window shows what this computes; it paints
// when asked to and moves the picture and the bars to match.
class ZoomModel {
public:
    // The viewport (Picture2) at the window's design size: outer size and a one-pixel sunken border.
    static constexpr std::int32_t kViewportWidth = 9330;
    static constexpr std::int32_t kViewportHeight = 7425;
    static constexpr std::int32_t kViewportBorder = 15;
    static constexpr std::int32_t kViewportInnerWidth = kViewportWidth - 2 * kViewportBorder;
    static constexpr std::int32_t kViewportInnerHeight = kViewportHeight - 2 * kViewportBorder;
    // A zoomed picture stays below the largest widget Qt makes on either axis. Its painting costs no
    // memory by its size: the picture box plays the drawing for the part on screen only.
    static constexpr std::int32_t kLargestSide = ((1 << 24) - 1) * common::kTwipsPerPixel;

    // repaint is asked to paint the unscaled copy (Zoom_Ori) into the picture at the zoomed size,
    // the picture's own picture removed, and to return the pointer to the ordinary state. A zoom that
    // grows the picture to the width or height limit (twips) is refused; one that shrinks it never is.
    explicit ZoomModel(std::function<void()> repaint, std::int32_t widthLimit = kLargestSide,
                       std::int32_t heightLimit = kLargestSide);

    // Set-up after a delivery: the picture takes the delivered picture's natural size...
    void takePictureSize(std::int32_t width, std::int32_t height);
    // ...the unscaled copy takes the picture's outer size (it has no border, so inner and outer
    // agree)...
    void copyPictureSize();
    // ...and the factor starts at 1.0 on the unscaled size.
    void resetFactor();

    // Zoom In is direction 0, any other direction zooms out.
    void StepZoom(std::int32_t direction);
    // A step that keeps the picture's point under (x, y), in twips from the viewport's inner corner,
    // where it is, as near as the scroll grid allows; the buttons' steps go to the corner instead.
    void zoomAround(std::int32_t direction, float x, float y);
    void SetZoom(float factor);
    void ApplyZoom();
    void SetupScrollbars();

    // A bar's new value, from the user or from the code; the picture follows when it changed.
    void scrollHorizontal(std::int32_t value);
    void scrollVertical(std::int32_t value);

    // Mouse on the picture, x and y in the picture's own coordinates.
    void pressAt(float x, float y);
    void dragTo(int buttons, float x, float y);
    // Mouse-up: each bar follows the position as a percentage of the overflow.
    void followHorizontalPosition();
    void followVerticalPosition();

    void SetHScrollbarByPercent(std::int16_t percent);
    void SetVScrollbarByPercent(std::int16_t percent);

    // The viewport's outer size, which the window's size decides. The bars take the new overflow,
    // and the picture stays where it was as near as their grid allows.
    void setViewportSize(std::int32_t width, std::int32_t height);
    std::int32_t viewportWidth() const { return viewportWidth_; }
    std::int32_t viewportHeight() const { return viewportHeight_; }
    std::int32_t viewportInnerWidth() const { return viewportWidth_ - 2 * kViewportBorder; }
    std::int32_t viewportInnerHeight() const { return viewportHeight_ - 2 * kViewportBorder; }

    // The largest zoom step at which the whole picture fits inside the viewport, 0.25 when none
    // does; fit() zooms to it.
    float fitFactor() const;
    void fit();

    const PictureGeometry& picture() const { return picture_; }
    std::int32_t unscaledCopyWidth() const { return unscaledCopyWidth_; }
    std::int32_t unscaledCopyHeight() const { return unscaledCopyHeight_; }
    const ScrollBarState& horizontalBar() const { return horizontalBar_; }
    const ScrollBarState& verticalBar() const { return verticalBar_; }

    // The zoom factor: 1.0 after set-up, then a multiple of 0.25 from 0.25 to 4.0.
    float factor() const { return factor_; }
    // The factor of what the picture shows: the factor, or the last step that was painted when a
    // step reached the size limits and set the factor back to 1.0.
    float shownFactor() const { return shownFactor_; }
    // The unscaled picture as the zoom source: the unscaled copy's inner size less 2.
    std::int32_t baseWidth() const { return baseWidth_; }
    std::int32_t baseHeight() const { return baseHeight_; }
    // The picture's size at the current factor.
    std::int32_t zoomedWidth() const { return zoomedWidth_; }
    std::int32_t zoomedHeight() const { return zoomedHeight_; }
    // The twips the picture moves per unit of a bar: 0 (the bar is disabled), 1 or 10.
    std::int16_t horizontalStep() const { return horizontalStep_; }
    std::int16_t verticalStep() const { return verticalStep_; }

private:
    // A bar's change: the picture moves to minus step times value.
    void placeByHorizontalBar();
    void placeByVerticalBar();
    // One axis of SetupScrollbars: the enabled state and maximum; returns the step, 0 when disabled.
    std::int16_t setupBar(ScrollBarState& bar, std::int32_t pictureLength, std::int32_t viewportLength);
    // Puts the picture's near corner as close to (left, top) as the bars can, through the bars.
    void placeNear(double left, double top);

    std::function<void()> repaint_;
    std::int32_t viewportWidth_ = kViewportWidth;
    std::int32_t viewportHeight_ = kViewportHeight;
    std::int32_t widthLimit_;
    std::int32_t heightLimit_;
    // The factor of what the picture shows: 1.0 for the delivered picture at its natural size.
    float shownFactor_ = 1.0f;
    PictureGeometry picture_;
    std::int32_t unscaledCopyWidth_ = 735;
    std::int32_t unscaledCopyHeight_ = 375;
    ScrollBarState horizontalBar_;
    ScrollBarState verticalBar_;
    // Where the last mouse press on the picture was, in the picture's own coordinates.
    float pressX_ = 0;
    float pressY_ = 0;
    std::int16_t horizontalStep_ = 0;
    std::int16_t verticalStep_ = 0;
    std::int32_t baseWidth_ = 0;
    std::int32_t baseHeight_ = 0;
    std::int32_t zoomedWidth_ = 0;
    std::int32_t zoomedHeight_ = 0;
    float factor_ = 1.0f;
};

}  // namespace preview
