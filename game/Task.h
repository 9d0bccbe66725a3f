// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "numerics/NumberText.h"
#include "numerics/Variant.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zirkulon::game {

// The double nearest to this 15-digit value, seven units in the last place
// below the true pi; set angles are turned into degrees with exactly this.
inline constexpr double pi = 3.14159265358979;

// The tolerance at start, a 16-bit integer of degrees.
inline constexpr std::int16_t startingTolerance = 2;

inline constexpr std::string_view noHitsYetText = "Erraten: 0 Winkel";

// The target for a random r in [0, 1): r times 360 in single arithmetic,
// rounded to whole degrees with ties to even, kept as a double (0 to 360;
// r = 1/16 gives 22.5 and so 22).
Variant targetFor(float r);

std::string targetText(Variant target, const NumberFormat& format); // "Winkel = 137"
std::string attemptsText(std::int16_t attempts);                    // "Versuche: 1"
std::string hitsText(std::int16_t hits);                            // "Erraten: 1 Winkel."
std::string toleranceCaption(Variant tolerance, const NumberFormat& format);

} // namespace zirkulon::game
