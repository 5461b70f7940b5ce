#pragma once

#include "platform/MessageBoxes.h"

namespace app {

// The program's message boxes, until an ending that waits for nobody begins (a signal, the end of the
// desktop session): from then on each message is written to standard error instead and answered with
// its default button. The error report has already cut its description to a readable length.
class EndingBoxes final : public platform::MessageBoxes {
public:
    explicit EndingBoxes(platform::MessageBoxes& boxes) : boxes_(boxes) {}

    void writeToStandardError() { toStandardError_ = true; }
    int show(const platform::MessageRequest& request) override;

private:
    platform::MessageBoxes& boxes_;
    bool toStandardError_ = false;
};

}  // namespace app
