// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/Reading.h"

#include "game/Guess.h"
#include "numerics/Error.h"
#include "numerics/Rounding.h"

#include <array>

namespace zirkulon::game {

std::int16_t wholeDegrees(double setAngle, double pi) {
    return toInt16(degreesOf(setAngle, pi));
}

const std::string& angleReading(std::int16_t degrees) {
    static std::array<std::string, 361> texts;
    if (degrees < 0 || degrees > 360) {
        throw OperationError("Kein Winkel von 0 bis 360 Grad");
    }
    std::string& text = texts[static_cast<std::size_t>(degrees)];
    if (!text.empty()) {
        return text;
    }
    const char* kind = degrees <= 0     ? "Nullwinkel"
                       : degrees < 90   ? "spitzer Winkel"
                       : degrees == 90  ? "rechter Winkel"
                       : degrees < 180  ? "stumpfer Winkel"
                       : degrees == 180 ? "gestreckter Winkel"
                       : degrees < 360  ? "überstumpfer Winkel"
                                        : "voller Winkel";
    text = std::to_string(degrees) + " Grad, " + kind;
    return text;
}

} // namespace zirkulon::game
