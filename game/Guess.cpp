// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/Guess.h"

#include "numerics/Rounding.h"

#include <limits>

namespace zirkulon::game {

double degreesOf(double setAngle, double pi) {
    return checkedFinite((setAngle / pi) * 180);
}

Check judge(double degrees, Variant target, Variant tolerance) {
    using enum Check::Verdict;
    const Variant guess = Variant::real(degrees);
    const bool above = (guess + tolerance) > target;
    const bool below = (guess - tolerance) < target;
    if (above && below) {
        return {degrees == target.value() ? ExactHit : Hit, degrees, target, tolerance};
    }
    return {degrees < target.value() ? TooSmall : TooLarge, degrees, target, tolerance};
}

std::string message(const Check& check, const NumberFormat& format) {
    const std::string shown = doubleToText(roundHalfEven(check.degrees), format);
    switch (check.verdict) {
    case Check::Verdict::ExactHit:
        return "Herzlichen Glückwunsch! Der eingestellte Winkel exakt den gesuchten Wert " + shown +
               "°";
    case Check::Verdict::Hit:
        return "Herzlichen Glückwunsch! Der eingestellte Winkel hat den Wert " + shown +
               "° und stimmt im Rahmen der Genauigkeit von " + check.tolerance.toText(format) +
               "° mit dem gesuchten Winkel " + check.target.toText(format) + " überein.";
    case Check::Verdict::TooSmall:
        return "Der eingestellte Winkel " + shown + "° ist zu klein.";
    case Check::Verdict::TooLarge:
        break;
    }
    return "Der eingestellte Winkel " + shown + "° ist zu groß.";
}

std::int16_t countHit(std::int16_t hits) {
    return hits < std::numeric_limits<std::int16_t>::max() ? static_cast<std::int16_t>(hits + 1)
                                                           : hits;
}

bool earnsJoke(std::int16_t hits, Variant tolerance) {
    if (roundHalfEven(tolerance.value()) == 0.0) {
        return true;
    }
    return intRemainder(Variant::integer(hits), tolerance) == 0;
}

} // namespace zirkulon::game
