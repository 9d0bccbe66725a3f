// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Random.h"

#include <chrono>

namespace zirkulon {

void ClockRandom::reseed() {
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    engine_.seed(static_cast<std::uint64_t>(now));
}

float ClockRandom::next() {
    const auto bits = static_cast<std::uint32_t>(engine_() >> 40); // top 24 bits
    return static_cast<float>(bits) * 0x1p-24f;
}

} // namespace zirkulon
