// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Collection.h"
#include "numerics/Variant.h"

#include <cstdint>

namespace zirkulon {

// Everything the window remembers for its whole life; all zero at creation.
struct GameState {
    Variant TargetAngle; // whole degrees 0 to 360, a double once a task is posed
    Variant Tolerance;   // degrees: the integer 2 at start, later a double 0 to 10
    double SetAngle = 0; // radians counter-clockwise from the red leg
    float LegLength = 0; // scale units
    double Pi = 0;       // the game's pi once loaded
    Variant DeltaX;      // holds a single: pointer x minus vertex x
    float DeltaY = 0;    // pointer y minus vertex y
    std::int16_t Attempts = 0;
    std::int16_t Hits = 0;
    Collection Jokes;
};

} // namespace zirkulon
