#pragma once

#include <cstdint>

namespace platform {

class Randomness {
public:
    virtual ~Randomness() = default;
    // Reseeds the plain generator.
    virtual void seed(std::uint32_t value) = 0;
    // A fraction from 0 up to but not including 1 from the plain generator.
    virtual double fraction() = 0;
    // A whole number from 0 up to but not including bound, from the system's random source.
    virtual std::uint32_t strong(std::uint32_t bound) = 0;
};

}  // namespace platform
