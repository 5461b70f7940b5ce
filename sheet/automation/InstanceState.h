#pragma once

#include "sheet/input/NumberLocale.h"

#include <functional>
#include <optional>

class QImage;

namespace sheet::render {
struct SheetDrawing;
}

namespace sheet {

// What the objects of one instance share: whether it still runs, and its settings.
class InstanceState {
public:
    bool quit = false;
    bool displayAlerts = true;
    NumberLocale locale = NumberLocale::system();
    std::optional<NumberLocale> fallbackLocale; // tried for typed numbers that `locale` does not read
    std::function<void(const render::SheetDrawing& drawing)> pictureSink;

    // Throws a StateError once the instance has quit.
    void checkRunning() const;
};

} // namespace sheet
