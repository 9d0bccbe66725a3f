// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace zirkulon {

// Nearest whole number, ties to the even neighbour (136.5 -> 136, 137.5 -> 138).
double roundHalfEven(double x);

// Nearest whole number as a 16-bit / 32-bit integer, ties to even; raises
// OperationError when the result does not fit or x is not a number.
std::int16_t toInt16(double x);
std::int32_t toInt32(double x);

// Rounds to single precision; raises OperationError when a finite value is
// too large for a single or the value is not finite.
float toSingle(double x);

// A double that must be finite, or OperationError (overflow or invalid result).
double checkedFinite(double x);

} // namespace zirkulon
