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

// Picture1 inside the viewport: position from the viewport's inner top-left corner and outer size.
struct PictureGeometry {
    float left = 0;
    float top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The preview's zoom, scroll and pan, all in twips. The window shows what this computes; it paints
// when asked to and moves Picture1 and the bars to match.
class ZoomModel {
public:
    // The viewport Picture2: outer size and a one-pixel sunken border.
    static constexpr std::int32_t kViewportWidth = 9330;
    static constexpr std::int32_t kViewportHeight = 7425;
    static constexpr std::int32_t kViewportBorder = 15;
    static constexpr std::int32_t kViewportInnerWidth = kViewportWidth - 2 * kViewportBorder;
    static constexpr std::int32_t kViewportInnerHeight = kViewportHeight - 2 * kViewportBorder;
    // A zoomed painting stays below 4000 pixels wide and 9000 pixels high.
    static constexpr std::int32_t kWidthLimit = 4000 * common::kTwipsPerPixel;
    static constexpr std::int32_t kHeightLimit = 9000 * common::kTwipsPerPixel;

    // repaint is asked to paint Zoom_Ori into Picture1 at mZoomWidth x mZoomHeight, its own picture
    // removed, and to return the pointer to the ordinary state.
    explicit ZoomModel(std::function<void()> repaint);

    // Set-up after a delivery: Picture1 takes the delivered picture's natural size...
    void takePictureSize(std::int32_t width, std::int32_t height);
    // ...Zoom_Ori takes Picture1's outer size (it has no border, so inner and outer agree)...
    void copySizeToZoomOri();
    // ...and the factor starts at 1.0 on the unscaled size.
    void resetFactor();

    // Zoom In is direction 0, any other direction zooms out.
    void StepZoom(std::int32_t direction);
    void SetZoom(float factor);
    void ApplyZoom();
    void SetupScrollbars();

    // A bar's new value, from the user or from the code; the picture follows when it changed.
    void scrollHorizontal(std::int32_t value);
    void scrollVertical(std::int32_t value);

    // Mouse on Picture1, x and y in Picture1's own coordinates.
    void pressAt(float x, float y);
    void dragTo(int buttons, float x, float y);
    // Mouse-up: each bar follows the position as a percentage of the overflow.
    void followHorizontalPosition();
    void followVerticalPosition();

    void SetHScrollbarByPercent(std::int16_t percent);
    void SetVScrollbarByPercent(std::int16_t percent);

    const PictureGeometry& picture1() const { return picture1_; }
    std::int32_t zoomOriWidth() const { return zoomOriWidth_; }
    std::int32_t zoomOriHeight() const { return zoomOriHeight_; }
    const ScrollBarState& hScroll1() const { return hScroll1_; }
    const ScrollBarState& vScroll1() const { return vScroll1_; }

    float mDownX = 0;
    float mDownY = 0;
    std::int16_t mHStep = 0;
    std::int16_t mVStep = 0;
    std::int32_t mBaseWidth = 0;
    std::int32_t mBaseHeight = 0;
    std::int32_t mZoomWidth = 0;
    std::int32_t mZoomHeight = 0;
    float mZoom = 1.0f;

private:
    void HScroll1_Change();
    void VScroll1_Change();
    // One axis of SetupScrollbars: the enabled state and maximum; returns the step, 0 when disabled.
    std::int16_t setupBar(ScrollBarState& bar, std::int32_t pictureLength, std::int32_t viewportLength);

    std::function<void()> repaint_;
    PictureGeometry picture1_;
    std::int32_t zoomOriWidth_ = 735;
    std::int32_t zoomOriHeight_ = 375;
    ScrollBarState hScroll1_;
    ScrollBarState vScroll1_;
};

}  // namespace preview
