#include "app/Ausgabe.h"

#include <cmath>

namespace zirkulon {

namespace {
constexpr float arcStart = -0.001f; // negative: a radius is drawn along the red leg
} // namespace

void Ausgabe::Form_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y) {
    Form_MouseMove(Button, Shift, X, Y);
}

// With the left button alone, turns the blue leg towards the pointer, stores
// the angle from the red leg in SetAngle and marks it with an arc.
void Ausgabe::Form_MouseMove(std::int16_t Button, std::int16_t /*Shift*/, float X, float Y) {
    if (Button != LeftButton) {
        return;
    }
    platform_.cls();

    const LineShape red = platform_.line(Line::Schenkel1);
    state_.DeltaX = Variant::single(toSingle(static_cast<double>(X) - red.X1));
    state_.DeltaY = toSingle(static_cast<double>(Y) - red.Y1);
    const Variant dx = state_.DeltaX;
    const float dy = state_.DeltaY;
    const double pi = state_.Pi;

    if (dx > Variant::integer(0)) {
        // The quotient of two singles is itself a single.
        const double q = (-Variant::single(dy) / dx).value();
        state_.SetAngle = dy < 0.0f ? std::atan(q) : std::atan(q) + (pi + pi);
    } else if (dx == Variant::integer(0)) {
        state_.SetAngle = dy < 0.0f ? pi / 2 : (pi * 3) / 2;
    } else {
        const double q = (-Variant::single(dy) / dx).value();
        state_.SetAngle = std::atan(q) + pi;
    }

    const double r =
        std::sqrt(power(dx, Variant::integer(2)) + power(Variant::real(dy), Variant::real(2.0)));
    LineShape blue = platform_.line(Line::Schenkel2);
    if (r > 0) {
        blue.X2 = toSingle(blue.X1 + (dx / Variant::real(r)).value() * state_.LegLength);
        blue.Y2 = toSingle((dy / r) * state_.LegLength + blue.Y1);
    } else {
        // The pointer on the vertex has no direction. The angle above is then
        // three right angles, so the leg points straight down to show it.
        blue.X2 = blue.X1;
        blue.Y2 = toSingle(static_cast<double>(state_.LegLength) + blue.Y1);
    }
    platform_.setLine(Line::Schenkel2, blue);

    const float radius = toSingle(state_.LegLength * 0.3);
    platform_.circle(red.X1, blue.Y1, radius, arcStart, toSingle(state_.SetAngle));
}

} // namespace zirkulon
