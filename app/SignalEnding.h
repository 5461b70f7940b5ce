#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace app {

// Ends the program when the system asks it to: on SIGTERM, SIGHUP and SIGINT, and when the desktop
// session ends (the application's commit-data request). Such an ending waits for nobody: `end` runs on
// the window thread and must show no box (see EndingBoxes); afterwards every dialog still open is left
// and the program ends, also when `end` had already run for an ordinary close. A second signal while
// the ending runs ends the program at once, as the signal does by default.
//
// The signal handler only writes a byte to a pipe; the ending itself runs later on the window thread.
// One at a time per process.
class SignalEnding : public QObject {
public:
    explicit SignalEnding(std::function<void()> end);
    ~SignalEnding() override;
    SignalEnding(const SignalEnding&) = delete;
    SignalEnding& operator=(const SignalEnding&) = delete;

private:
    void signalled();
    void endNow();

    std::function<void()> end_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace app
