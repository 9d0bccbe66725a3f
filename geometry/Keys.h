// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/Legs.h"

#include <cstdint>
#include <optional>

namespace zirkulon::geometry {

// The keys that turn the blue leg, by their Windows virtual-key codes, which
// every platform translates its own key events into.
enum KeyCode : std::int16_t {
    KeyPageUp = 33,
    KeyPageDown = 34,
    KeyEnd = 35,
    KeyHome = 36,
    KeyLeft = 37,
    KeyUp = 38,
    KeyRight = 39,
    KeyDown = 40,
};

// Where a key turns the blue leg, in whole degrees counter-clockwise from the
// red leg, starting from the set angle rounded to whole degrees (0 to 360).
// Right and Up turn 1 degree on, Left and Down 1 back, Page Up and Page Down
// 10; Home goes to 1 degree and End to 360. A pointer level to the right of
// the vertex sets 360 degrees, never 0, so the leg's positions are 1 to 360
// and the steps wrap round within them: 360 and one more is 1, 1 and one
// less is 360. Other keys turn nothing.
std::optional<int> degreesAfterKey(std::int16_t keyCode, int degrees);

// The pointer position in the direction `degrees` (whole degrees
// counter-clockwise from the red leg) at `reach` scale units from the vertex,
// screen y downwards, so that the pointer rule reads that angle back. The
// sines come from a table of correctly rounded values rather than the C
// library, so every platform computes the same bits.
Point pointerAt(int degrees, Point vertex, float reach);

// sin(degrees) for whole degrees 0 to 360, the double nearest to the true value.
double sineOfDegrees(int degrees);

// How far from the vertex a key places the pointer: the leg length, or an
// inch (1440 scale units) where the leg is shorter than that and too short to
// carry the direction well.
float keyReach(float legLength);

} // namespace zirkulon::geometry
