// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

namespace zirkulon::jokes {

inline constexpr std::string_view rewardTitle = "Winkel Witze";

// The position, from 1, of the joke a random r in [0, 1) draws from `count`
// entries: r * (count - 1) * 0.5 rounded to a 16-bit integer, ties to even, so
// with 160 entries positions 1 to 79. r below 1/(count - 1) rounds to 0, which
// names no entry; the player has earned a joke all the same, so that draws the
// first one. 0 only when there is no entry at all.
std::int32_t rewardPosition(float r, std::int32_t count);

} // namespace zirkulon::jokes
