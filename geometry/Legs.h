// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zirkulon::geometry {

// A point in scale units: twips from the inner area's top left corner, x to
// the right, y downwards, single precision as the window stores it.
struct Point {
    float x = 0;
    float y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Both legs laid out about the centre of the inner area: the red leg to the
// right, the blue leg straight up, each 0.45 of the inner width long.
struct Layout {
    float legLength = 0;
    Point vertex;
    Point redEnd;
    Point blueEnd;
};

// The layout for an inner area of width x height scale units. Sums and
// products are formed in double precision and each stored value is rounded
// to single, so the design size 8220 x 8220 gives legs 3699 long from (4110, 4110).
Layout layOut(float width, float height);

} // namespace zirkulon::geometry
