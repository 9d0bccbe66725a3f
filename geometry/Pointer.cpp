// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/Pointer.h"

#include "numerics/Arctangent.h"
#include "numerics/Rounding.h"
#include "numerics/Variant.h"

#include <cmath>

namespace zirkulon::geometry {

namespace {

constexpr float arcStart = -0.001f; // negative: a radius is drawn along the red leg

double angleOf(Variant dx, float dy, double pi) {
    if (dx > Variant::integer(0)) {
        // The quotient of two singles is itself a single.
        const double q = (-Variant::single(dy) / dx).value();
        return dy < 0.0f ? arctan(q) : arctan(q) + (pi + pi);
    }
    if (dx == Variant::integer(0)) {
        return dy < 0.0f ? pi / 2 : (pi * 3) / 2;
    }
    const double q = (-Variant::single(dy) / dx).value();
    return arctan(q) + pi;
}

} // namespace

Turn turnTowards(Point pointer, Point vertex, Point blueStart, float legLength, double pi) {
    Turn turn;
    turn.deltaX = toSingle(static_cast<double>(pointer.x) - vertex.x);
    turn.deltaY = toSingle(static_cast<double>(pointer.y) - vertex.y);
    const Variant dx = Variant::single(turn.deltaX);
    const float dy = turn.deltaY;
    turn.angle = angleOf(dx, dy, pi);

    const double r =
        std::sqrt(power(dx, Variant::integer(2)) + power(Variant::real(dy), Variant::real(2.0)));
    if (r > 0) {
        turn.blueEnd = {toSingle(blueStart.x + (dx / Variant::real(r)).value() * legLength),
                        toSingle((dy / r) * legLength + blueStart.y)};
    } else {
        turn.blueEnd = {blueStart.x, toSingle(static_cast<double>(legLength) + blueStart.y)};
    }
    return turn;
}

AngleArc angleArc(Point vertex, float legLength, double angle) {
    return {vertex, toSingle(legLength * 0.3), arcStart, toSingle(angle)};
}

} // namespace zirkulon::geometry
