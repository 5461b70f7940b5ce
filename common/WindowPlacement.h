#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <optional>
#include <vector>

namespace common {

// Where a window is: the top-left corner of its frame, the size of its inside, and whether it is
// maximised (then the rectangle is where it goes back to).
struct Placement {
    QRect rect;
    bool maximized = false;
    friend bool operator==(const Placement&, const Placement&) = default;
};

// The rules of a window's place on the screens, in logical pixels.
class WindowPlacement {
public:
    // The stored form: "left,top,width,height", followed by ",maximized" for a maximised window.
    static QString format(const Placement& placement);
    // The placement a stored text holds, or nothing for a text that holds none.
    static std::optional<Placement> parse(const QString& text);

    // Where a window opens. `screens` are the screens' available areas, the first the one a new
    // window opens on; `frame` is what the window's frame adds to its inside. A remembered placement
    // comes back on the screen that holds its middle, when one still does; otherwise the window opens
    // at its design size in the middle of the first screen. Either way it is never larger than the
    // screen's available area, nor smaller than `minimum` while the screen has room for that.
    static Placement choose(const std::optional<Placement>& remembered, QSize design, QSize minimum,
                            const std::vector<QRect>& screens, QSize frame);
};

}  // namespace common
