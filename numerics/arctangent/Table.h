// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "numerics/arctangent/DoubleDouble.h"

namespace zirkulon::arctangent {

// atan(i/256) for i = 0..256 as hi + lo, hi rounded to nearest and lo the rest
// rounded to nearest (tools/arctangent_table.cpp prints them).
extern const Pair arctanTable[257];

// pi/2 in the same form.
inline constexpr Pair halfPi = {0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};

} // namespace zirkulon::arctangent
