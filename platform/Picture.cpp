// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Picture.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zirkulon {

namespace {

constexpr float pixel = design::twipsPerPixel;
// Half the pen, then a pixel of antialiasing and one of rounding: the
// platforms round the area outwards to whole pixels themselves.
constexpr float legMargin = (design::legWidthPixels / 2.0f + 2) * pixel;
constexpr float arcMargin = (design::arcWidthPixels / 2.0f + 2) * pixel;

Area around(float x1, float y1, float x2, float y2, float margin) {
    return {std::min(x1, x2) - margin, std::min(y1, y2) - margin, std::max(x1, x2) + margin,
            std::max(y1, y2) + margin};
}

} // namespace

Area Area::united(const Area& other) const {
    if (other.empty()) {
        return *this;
    }
    if (empty()) {
        return other;
    }
    return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
            std::max(bottom, other.bottom)};
}

Area Area::intersected(const Area& other) const {
    return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
            std::min(bottom, other.bottom)};
}

Pixels pixelsOf(const Area& area, double pixelsPerUnit) {
    const auto down = [=](float units) {
        return static_cast<int>(std::floor(units * pixelsPerUnit));
    };
    const auto up = [=](float units) { return static_cast<int>(std::ceil(units * pixelsPerUnit)); };
    return {down(area.left), down(area.top), up(area.right), up(area.bottom)};
}

Area areaOf(const Pixels& pixels, double pixelsPerUnit) {
    const auto units = [=](int p) { return static_cast<float>(p / pixelsPerUnit); };
    return {units(pixels.left), units(pixels.top), units(pixels.right), units(pixels.bottom)};
}

Area areaOf(const LineShape& shape) {
    return around(shape.X1, shape.Y1, shape.X2, shape.Y2, legMargin);
}

// The quarters of the circle that the arc passes through, each of which
// holds the centre and so the radii too: most arcs cover far less than their
// circle.
Area areaOf(const Arc& arc) {
    const float x = arc.centreX;
    const float y = arc.centreY;
    const float r = arc.radius;
    // Counter-clockwise from the right, screen y downwards.
    const Area quarters[4] = {
        {x, y - r, x + r, y}, {x - r, y - r, x, y}, {x - r, y, x, y + r}, {x, y, x + r, y + r}};
    const double end = arc.start + arc.sweep;
    Area area;
    for (int quarter = 0; quarter < 8; ++quarter) {
        const double from = quarter * std::numbers::pi / 2;
        if (from < end && from + std::numbers::pi / 2 > arc.start) {
            area = area.united(quarters[quarter % 4]);
        }
    }
    return {area.left - arcMargin, area.top - arcMargin, area.right + arcMargin,
            area.bottom + arcMargin};
}

Area focusFrameOf(const Area& surface) {
    constexpr float inset = 2 * pixel;
    return {surface.left + inset, surface.top + inset, surface.right - inset,
            surface.bottom - inset};
}

} // namespace zirkulon
