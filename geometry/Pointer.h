// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/Legs.h"

namespace zirkulon::geometry {

// The blue leg turned towards the pointer.
struct Turn {
    float deltaX = 0; // pointer minus vertex, rounded to single
    float deltaY = 0;
    // Radians counter-clockwise from the red leg as the player sees the
    // screen, in (0, 2 pi]: level to the right of the vertex is 2 pi, not 0.
    double angle = 0;
    Point blueEnd; // legLength from the blue leg's start, towards the pointer
};

// Turns the blue leg (starting at blueStart) towards `pointer`, measuring the
// angle from the red leg at `vertex` with the game's `pi`. The angle takes
// the arctangent of the single quotient -deltaY / deltaX; straight up and down
// come from pi itself. A pointer on the vertex has no direction: the angle is
// then that of straight down, and the blue leg points straight down to match.
Turn turnTowards(Point pointer, Point vertex, Point blueStart, float legLength, double pi);

// The arc that marks the angle: about the vertex at 0.3 of the leg length,
// from just past the red leg (a negative start, which also draws a radius
// along the red leg) counter-clockwise to the angle rounded to single.
struct AngleArc {
    Point centre;
    float radius = 0;
    float start = 0;
    float end = 0;
};

AngleArc angleArc(Point vertex, float legLength, double angle);

} // namespace zirkulon::geometry
