// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/Task.h"

#include "numerics/Rounding.h"

namespace zirkulon::game {

Variant targetFor(float r) {
    // A single times an integer stays single: the product rounds once to single.
    const double product = (Variant::single(r) * Variant::integer(360)).value();
    return Variant::real(roundHalfEven(product));
}

std::string targetText(Variant target, const NumberFormat& format) {
    return "Winkel = " + target.toText(format);
}

std::string attemptsText(std::int16_t attempts) {
    return "Versuche: " + intToText(attempts);
}

std::string hitsText(std::int16_t hits) {
    return "Erraten: " + intToText(hits) + " Winkel.";
}

std::string toleranceCaption(Variant tolerance, const NumberFormat& format) {
    return "Eingestellte Genauigkeit: " + tolerance.toText(format) + "°";
}

} // namespace zirkulon::game
