// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/Legs.h"

namespace zirkulon::geometry {

// What a key does to the blue leg: a step on or back, counter-clockwise
// being on, of one degree or of ten; or it goes to the first or the last
// position.
enum class KeyTurn { On, Back, PageOn, PageBack, First, Last };

// Where `turn` puts the blue leg, in whole degrees counter-clockwise from the
// red leg, starting from the set angle rounded to whole degrees (0 to 360).
// First is 1 degree and Last 360: a pointer level to the right of the vertex
// sets 360 degrees, never 0, so the leg's positions are 1 to 360 and the
// steps wrap round within them: 360 and one more is 1, 1 and one less is 360.
int degreesAfter(KeyTurn turn, int degrees);

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
