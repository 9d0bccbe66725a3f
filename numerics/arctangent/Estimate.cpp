// SPDX-License-Identifier: GPL-3.0-or-later
// Stage one of the arctangent, in double-double arithmetic.
//
// For a in [2^-28, 2^53] it picks c = i/256 nearest a (or nearest 1/a
// when a > 1) and uses
//     atan(a) = atan(c) + atan(z),          z = (a - c) / (1 + a c),  a <= 1,
//     atan(a) = pi/2 - atan(c) - atan(z),   z = (1 - a c) / (a + c),  a > 1,
// with atan(c) and pi/2 from a table of double pairs. Numerator and denominator
// are exact as double pairs: a c by Dekker's product, and by Sterbenz's lemma
// a - c (c = 0 or c/2 <= a <= 2c) and 1 - (a c)_hi (c = 0 or 2/3 <= a c <= 2),
// so the quotient z = zh + zl is off by less than 2^-100 relative, and
// |z| <= 2^-9 (1 + 2^-44). Then atan(z) = z + z^3 Q(z^2) with
//     Q(u) = -1/3 + u/5 - u^2/7 + u^3/9 - ...:
// zh^3/3 as a pair, the rest of Q in doubles from u = zh^2 (off by less than
// 2^-71.2: the rounding, 2^-71.3, and the dropped u^4/11, 2^-75.4), and zl
// through the derivative 1/(1 + z^2) - 1 = -u + u^2 - ... . Relative to
// atan(a), which is at least |z| (1 - 2^-18) and at least |atan(c)|/2:
// Q's doubles give 2^-89.2 (times |zh|^2 <= 2^-18), the roundings of the low
// parts, sums of terms below 2^-38.3 |z|, at most 7 * 2^-91.3, everything else
// (table pairs, quotient, exact products) below 2^-98. So hi + lo is within
// 2^-87.8 atan(a), and the bound used is 2^-85 hi, which also covers rounding
// lo +- bound. Measured against MPFR the error stays below 2^-89.5.
//
// Build with -ffp-contract=off, as for all of the arctangent.

#include "numerics/Arctangent.h"
#include "numerics/arctangent/DoubleDouble.h"
#include "numerics/arctangent/Table.h"

namespace zirkulon::arctangent_stages {

using arctangent::arctanTable;
using arctangent::fastTwoSum;
using arctangent::halfPi;
using arctangent::Pair;
using arctangent::twoProduct;
using arctangent::twoSum;

namespace {

constexpr Pair third = {0x1.5555555555555p-2, 0x1.5555555555555p-56}; // 1/3 = hi + lo exactly
constexpr double fifth = 1.0 / 5;
constexpr double seventh = 1.0 / 7;
constexpr double ninth = 1.0 / 9;

constexpr double relativeBound = 0x1p-85; // the bound, relative to hi

} // namespace

Estimate estimate(double a) {
    const bool reciprocal = a > 1.0;
    // c = i/256 with i = 256 a or 256/a rounded to the nearest integer: adding
    // 1.5 * 2^52 leaves no fraction bits, so |scaled - i| <= 1/2 exactly.
    constexpr double shifter = 0x1.8p52;
    const double scaled = reciprocal ? 256.0 / a : a * 256.0;
    const double nearest = (scaled + shifter) - shifter;
    const int i = static_cast<int>(nearest);
    const double c = nearest * 0x1p-8;

    // z = (a - c) / (1 + a c) or (1 - a c) / (a + c), numerator and
    // denominator exact as pairs.
    const Pair ac = twoProduct(a, c);
    Pair numerator;
    Pair denominator;
    if (!reciprocal) {
        numerator = {a - c, 0.0};
        denominator = fastTwoSum(1.0, ac.hi);
        denominator.lo += ac.lo;
    } else {
        numerator = twoSum(1.0 - ac.hi, -ac.lo);
        denominator = fastTwoSum(a, c);
    }
    // A first quotient zh, then the remainder divided as well: zl.
    const double inverse = 1.0 / denominator.hi;
    const double zh = numerator.hi * inverse;
    const Pair qd = twoProduct(zh, denominator.hi);
    const double rest = (((numerator.hi - qd.hi) - qd.lo) + numerator.lo) - zh * denominator.lo;
    const double zl = rest * inverse;

    // atan(z) - z = z^3 Q(z^2): -zh^3/3 as a pair, zh^3 (u/5 - u^2/7 + u^3/9)
    // in doubles, and the first-order effect of zl, zl (u^2 - u).
    const double u = zh * zh;
    const double tail = u * (fifth - seventh * u) + (u * u) * (ninth * u);
    const Pair zz = twoProduct(zh, zh);
    Pair cube = twoProduct(zh, zz.hi);
    cube.lo += zh * zz.lo;
    Pair correction = twoProduct(cube.hi, -third.hi);
    correction.lo -= cube.hi * third.lo + cube.lo * third.hi;
    correction.lo += cube.hi * tail + (cube.lo * tail + zl * (u * u - u));

    Pair base = arctanTable[i];
    double sign = 1.0;
    if (reciprocal) {
        const Pair b = fastTwoSum(halfPi.hi, -base.hi);
        base = {b.hi, b.lo + (halfPi.lo - base.lo)};
        sign = -1.0;
    }
    // Each fastTwoSum adds a smaller number to a larger one (or to zero).
    const Pair s1 = fastTwoSum(base.hi, sign * zh);
    const Pair s2 = fastTwoSum(s1.hi, sign * correction.hi);
    return {s2.hi, s1.lo + s2.lo + base.lo + sign * (zl + correction.lo), s2.hi * relativeBound};
}

} // namespace zirkulon::arctangent_stages
