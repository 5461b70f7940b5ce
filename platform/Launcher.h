#pragma once

#include <QUrl>

namespace platform {

class Launcher {
public:
    virtual ~Launcher() = default;
    // Opens the address with the desktop's browser; does not wait and ignores the outcome.
    virtual void openUrl(const QUrl& url) = 0;
};

}  // namespace platform
