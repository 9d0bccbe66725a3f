// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "numerics/NumberText.h"
#include "numerics/Variant.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zirkulon::game {

inline constexpr std::int16_t attemptsPerTask = 4;

inline constexpr std::string_view fourthMissText =
    "Das waren nun 4 erfolglose Versuche. Vielleicht hast du beim nächsten mehr Glück.";

// The set angle in degrees: first divided by the game's pi, then times 180.
double degreesOf(double setAngle, double pi);

// A check of the set angle against the task.
struct Check {
    enum class Verdict { ExactHit, Hit, TooSmall, TooLarge };
    Verdict verdict;
    double degrees; // the set angle, unrounded
    Variant target;
    Variant tolerance;

    bool isHit() const { return verdict == Verdict::ExactHit || verdict == Verdict::Hit; }
};

// A hit lies strictly within the tolerance on either side of the target
// (variant arithmetic, no wrap-around at 0/360); it is exact when the degrees
// equal the target. A miss is too small when the degrees lie below the target.
Check judge(double degrees, Variant target, Variant tolerance);

// What the player is told about the check; the set angle is shown rounded to
// whole degrees, ties to even.
std::string message(const Check& check, const NumberFormat& format);

// The hit count after one more hit: it stops at the largest 16-bit value
// rather than wrapping round to a negative count.
std::int16_t countHit(std::int16_t hits);

// Whether a hit earns a joke: when the hit count is a multiple of the rounded
// tolerance. A tolerance that rounds to 0 (above 0 and at most 0.5) is the
// hardest setting, so every hit under it earns one, as under 1.
bool earnsJoke(std::int16_t hits, Variant tolerance);

} // namespace zirkulon::game
