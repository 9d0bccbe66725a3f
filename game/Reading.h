// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace zirkulon::game {

// The set angle in whole degrees, as a check names it (ties to even).
std::int16_t wholeDegrees(double setAngle, double pi);

// The set angle in words for a screen reader: the number and the kind of
// angle, «137 Grad, stumpfer Winkel». The number is said, not only the kind:
// a child who cannot see the legs cannot estimate by eye, and hearing the
// degrees while turning is how such a child plays. For 0 to 360 degrees;
// each text is made once, when first asked for, as a drag asks on every move.
const std::string& angleReading(std::int16_t degrees);

} // namespace zirkulon::game
