// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Picture.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zirkulon {

namespace {

constexpr float pixel = design::twipsPerPixel;
// Half the pen, a pixel of antialiasing and a pixel of rounding either way.
constexpr float legMargin = (design::legWidthPixels / 2.0f + 3) * pixel;
constexpr float arcMargin = (design::arcWidthPixels / 2.0f + 3) * pixel;

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

Area areaOf(const LineShape& shape) {
    return around(shape.X1, shape.Y1, shape.X2, shape.Y2, legMargin);
}

// The arc's two ends, the circle's extremes that it passes, and the centre
// where a radius runs to it: most arcs cover far less than their circle.
Area areaOf(const Arc& arc) {
    const double cx = arc.centreX;
    const double cy = arc.centreY;
    const double r = arc.radius;
    const auto at = [&](double angle) {
        const float x = static_cast<float>(cx + r * std::cos(angle));
        const float y = static_cast<float>(cy - r * std::sin(angle));
        return around(x, y, x, y, arcMargin);
    };
    const double end = arc.start + arc.sweep;
    Area area = at(arc.start).united(at(end));
    for (int quarter = 0; quarter <= 8; ++quarter) {
        const double extreme = quarter * std::numbers::pi / 2;
        if (extreme > arc.start && extreme < end) {
            area = area.united(at(extreme));
        }
    }
    if (arc.radiusToStart || arc.radiusToEnd) {
        area = area.united(around(arc.centreX, arc.centreY, arc.centreX, arc.centreY, arcMargin));
    }
    return area;
}

Area focusFrameOf(const Area& surface) {
    constexpr float inset = 2 * pixel;
    return {surface.left + inset, surface.top + inset, surface.right - inset,
            surface.bottom - inset};
}

} // namespace zirkulon
