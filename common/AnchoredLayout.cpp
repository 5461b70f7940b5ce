#include "AnchoredLayout.h"

#include <algorithm>
#include <cmath>

namespace common {

namespace {
int moved(int edge, double share, int extra) { return edge + static_cast<int>(std::lround(share * extra)); }
}  // namespace

AnchoredLayout::AnchoredLayout(QSize designSize) : designSize_(designSize) {}

int AnchoredLayout::add(const QRect& design, Anchors anchors)
{
    controls_.push_back({design, anchors});
    return static_cast<int>(controls_.size()) - 1;
}

QRect AnchoredLayout::place(int index, QSize size) const
{
    const Control& control = controls_.at(static_cast<std::size_t>(index));
    const int extraWidth = size.width() - designSize_.width();
    const int extraHeight = size.height() - designSize_.height();
    const QRect& d = control.design;
    const int left = moved(d.left(), control.anchors.left, extraWidth);
    const int right = moved(d.left() + d.width(), control.anchors.right, extraWidth);
    const int top = moved(d.top(), control.anchors.top, extraHeight);
    const int bottom = moved(d.top() + d.height(), control.anchors.bottom, extraHeight);
    return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

}  // namespace common
