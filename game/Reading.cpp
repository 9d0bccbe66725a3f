// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/Reading.h"

#include "game/Guess.h"
#include "numerics/Rounding.h"

namespace zirkulon::game {

std::int16_t wholeDegrees(double setAngle, double pi) {
    return toInt16(degreesOf(setAngle, pi));
}

std::string angleReading(std::int16_t degrees) {
    const char* kind = degrees <= 0     ? "Nullwinkel"
                       : degrees < 90   ? "spitzer Winkel"
                       : degrees == 90  ? "rechter Winkel"
                       : degrees < 180  ? "stumpfer Winkel"
                       : degrees == 180 ? "gestreckter Winkel"
                       : degrees < 360  ? "überstumpfer Winkel"
                                        : "voller Winkel";
    return std::to_string(degrees) + " Grad, " + kind;
}

} // namespace zirkulon::game
