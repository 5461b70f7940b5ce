#pragma once

#include "platform/Clipboard.h"

#include <QMimeData>
#include <memory>

namespace chart {

// Takes what the clipboard holds and puts it back when it goes out of scope.
class ClipboardKeeper {
public:
    explicit ClipboardKeeper(platform::Clipboard& clipboard);
    ~ClipboardKeeper();
    ClipboardKeeper(const ClipboardKeeper&) = delete;
    ClipboardKeeper& operator=(const ClipboardKeeper&) = delete;

private:
    platform::Clipboard& clipboard_;
    std::unique_ptr<QMimeData> kept_;
};

}  // namespace chart
