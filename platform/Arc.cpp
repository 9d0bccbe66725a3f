// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Arc.h"

#include "numerics/Error.h"

#include <cmath>
#include <numbers>

namespace zirkulon {

Arc makeArc(float x, float y, float radius, float start, float end) {
    constexpr float fullTurn = static_cast<float>(2 * std::numbers::pi);
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(radius) || radius < 0) {
        throw OperationError("Ungültiger Kreis");
    }
    if (!(std::fabs(start) <= fullTurn) || !(std::fabs(end) <= fullTurn)) {
        throw OperationError("Ungültiger Winkel für einen Kreisbogen");
    }
    Arc arc;
    arc.centreX = x;
    arc.centreY = y;
    arc.radius = radius;
    arc.radiusToStart = std::signbit(start) && start != 0;
    arc.radiusToEnd = std::signbit(end) && end != 0;
    const double s = std::fabs(static_cast<double>(start));
    const double e = std::fabs(static_cast<double>(end));
    arc.start = s;
    // An end at or before the start wraps round through the full turn.
    arc.sweep = e > s ? e - s : e - s + 2 * std::numbers::pi;
    return arc;
}

} // namespace zirkulon
