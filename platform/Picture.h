// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Arc.h"
#include "platform/Design.h"
#include "platform/Window.h"

namespace zirkulon {

// A rectangle of the inner area in scale units, right and bottom exclusive.
struct Area {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;

    bool empty() const { return !(right > left && bottom > top); }
    // The smallest area that holds both; an empty one adds nothing.
    Area united(const Area& other) const;
    Area intersected(const Area& other) const;
    friend bool operator==(const Area&, const Area&) = default;
};

// A rectangle of whole pixels, right and bottom exclusive.
struct Pixels {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The whole pixels that hold all of `area`, and the area that pixels cover,
// at `pixelsPerUnit` pixels to a scale unit.
Pixels pixelsOf(const Area& area, double pixelsPerUnit);
Area areaOf(const Pixels& pixels, double pixelsPerUnit);

// What a platform paints the picture with. Every position, size and width is
// in scale units, so that a platform paints under one scale of its own (the
// monitor's pixels per twip, and the device pixel ratio where it has one).
class Painter {
public:
    virtual ~Painter() = default;

    virtual void fill(const Area& area, design::Rgb colour) = 0;
    // A dotted frame whose middle runs along `frame`.
    virtual void focusFrame(const Area& frame, float width, design::Rgb colour) = 0;
    // A straight line with flat ends.
    virtual void line(const LineShape& shape, float width, design::Rgb colour) = 0;
    // The arc, with the radius to its start or end where it has one.
    virtual void arc(const Arc& arc, float width, design::Rgb colour) = 0;
};

// What a leg or an arc covers on the surface, with room for the pen, for
// antialiasing and for rounding to the platform's pixels.
Area areaOf(const LineShape& shape);
Area areaOf(const Arc& arc);

// The focus frame: a dotted line just inside the edge of the surface.
Area focusFrameOf(const Area& surface);

} // namespace zirkulon
