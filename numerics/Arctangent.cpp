// SPDX-License-Identifier: GPL-3.0-or-later
// Correctly rounded arctangent in two stages.
//
// Stage one (arctangent/Estimate.cpp) works in double-double arithmetic
// (arctangent/DoubleDouble.h) from a table of atan(i/256) (arctangent/Table.cpp)
// and gives, for a = |x| in [2^-28, 2^53], hi + lo within a bound of atan(a);
// the error bounds are worked out there. If hi + lo - bound and
// hi + lo + bound round to the same double, that is the answer (rounding to
// nearest is monotonic). Otherwise stage two (arctangent/Exact.cpp) computes
// atan(a) with natural numbers of any size (arctangent/Natural.cpp), as
// precisely as it takes to decide the rounding.
//
// Outside [2^-28, 2^53] no arithmetic is needed: below 2^-28 the distance
// a - atan(a) < a^3/3 is under half the gap below a, so a is the answer. And
// pi/2 lies 0.28 ulp (ulp = 2^-52) above its nearest double, so everything
// less than 0.77 ulp below pi/2 rounds to that double; from 2^53 on,
// pi/2 - atan(a) < 1/a <= 2^-53 is half an ulp.
//
// Build this and every file in arctangent/ with -ffp-contract=off: a fused
// multiply-add would change the bits and break the exactness of the pair
// arithmetic as written.

#include "numerics/Arctangent.h"

#include "numerics/arctangent/Table.h"

namespace zirkulon {

namespace {

double positiveArctan(double a) {
    const arctangent_stages::Estimate e = arctangent_stages::estimate(a);
    const double low = e.hi + (e.lo - e.bound);
    const double high = e.hi + (e.lo + e.bound);
    if (low == high) {
        return low;
    }
    return arctangent_stages::accurate(a);
}

} // namespace

double arctan(double x) {
    if (x != x) {
        return x + x; // NaN
    }
    const double a = x < 0 ? -x : x;
    if (a < 0x1p-28) {
        return x; // also +-0 and the subnormals
    }
    const double result = a >= 0x1p53 ? arctangent::halfPi.hi : positiveArctan(a);
    return x < 0 ? -result : result;
}

} // namespace zirkulon
