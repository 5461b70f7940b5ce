#pragma once

#include <QRect>
#include <QSize>

#include <vector>

namespace common {

// How the edges of a control follow its window's size: each number is the share of the window's
// extra width (or height) over its design size that moves that edge. A control that keeps its place
// by the near edge has 0 and 0, one that keeps it by the far edge 1 and 1, one that grows with the
// window 0 and 1; two controls side by side that share the growth have 0 and 0.5, and 0.5 and 1.
struct Anchors {
    double left = 0;
    double right = 0;
    double top = 0;
    double bottom = 0;
};

// The controls of a window laid out at any size from their places at the design size, all in twips.
// At the design size every control is exactly where the design has it; a smaller window shrinks the
// growing controls as a larger one grows them.
class AnchoredLayout {
public:
    explicit AnchoredLayout(QSize designSize);

    // Adds a control at its design rectangle and returns its index.
    int add(const QRect& design, Anchors anchors);

    // The control's rectangle in a window whose inside is `size`.
    QRect place(int index, QSize size) const;

    QSize designSize() const { return designSize_; }

private:
    struct Control {
        QRect design;
        Anchors anchors;
    };

    QSize designSize_;
    std::vector<Control> controls_;
};

// Anchors of the common cases.
inline constexpr Anchors kKeepTopLeft{0, 0, 0, 0};
inline constexpr Anchors kGrow{0, 1, 0, 1};

}  // namespace common
