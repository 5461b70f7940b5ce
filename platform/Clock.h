#pragma once

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    virtual int secondsSinceMidnight() = 0;
};

}  // namespace platform
