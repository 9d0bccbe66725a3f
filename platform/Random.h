// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <random>

namespace zirkulon {

// Where the game's random numbers come from.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Takes a new seed from the clock.
    virtual void reseed() = 0;
    // A single uniform in [0, 1).
    virtual float next() = 0;
};

// The random source of every platform: singles k / 2^24 for k in 0 .. 2^24 - 1,
// reseeded from the high-resolution clock.
class ClockRandom final : public RandomSource {
public:
    ClockRandom() { reseed(); }
    void reseed() override;
    float next() override;
    void seed(std::uint64_t value) { engine_.seed(value); }

private:
    std::mt19937_64 engine_;
};

} // namespace zirkulon
