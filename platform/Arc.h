// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zirkulon {

// An arc as the drawing surface understands it, in scale units and radians.
struct Arc {
    float centreX = 0;
    float centreY = 0;
    float radius = 0;
    double start = 0; // radians, counter-clockwise on the screen from the +x direction
    double sweep = 0; // radians, counter-clockwise, in (0, 2*pi]
    bool radiusToStart = false;
    bool radiusToEnd = false;
};

// Interprets an arc request: angles in radians counter-clockwise from the +x
// direction as seen on the screen, drawn counter-clockwise from start to end.
// A negative angle stands for its absolute value and adds a straight radius
// from the centre to that end. Equal angles draw the full circle. Angles whose
// magnitude exceeds 2*pi rounded to single (6.2831855) are rejected with
// OperationError, as are a negative radius and non-finite values.
Arc makeArc(float x, float y, float radius, float start, float end);

} // namespace zirkulon
