#pragma once

#include <cstdint>
#include <random>

namespace zirkulon {

// The game's random numbers: singles uniform in [0, 1), reseeded from the clock.
class ClockRandom {
public:
    ClockRandom();
    void reseed();
    void seed(std::uint64_t value) { engine_.seed(value); }
    // A single with 24 random bits: k / 2^24 for k in 0 .. 2^24 - 1.
    float next();

private:
    std::mt19937_64 engine_;
};

} // namespace zirkulon
