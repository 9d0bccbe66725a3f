// SPDX-License-Identifier: GPL-3.0-or-later
// Stage two of the arctangent: exact, with natural numbers of any size.
//
// With t = p/q, p <= q natural (a or 1/a),
//     atan(t) = w sum_n (2n)!! / (2n+1)!! y^n,   w = pq / (p^2 + q^2),
//                                                y = p^2 / (p^2 + q^2) <= 1/2
// (Euler's series, all terms positive), in fixed point with g fraction bits and
// every division rounded down. That gives S <= atan(t) 2^g <= S + 5g + 10, and
// pi/2 = 2 atan(1) the same way. If both ends of the interval round to the
// same double, that is the answer; otherwise g is doubled. atan(a) for a
// double a != 0 is transcendental, never a midpoint between two doubles, so
// the loop ends.
//
// Build with -ffp-contract=off, as for all of the arctangent.

#include "numerics/Arctangent.h"
#include "numerics/arctangent/Natural.h"

#include <cstdint>
#include <cstring>

namespace zirkulon::arctangent_stages {

using namespace arctangent;

namespace {

// S with S <= atan(p/q) 2^g <= S + 5g + 10, for 0 < p <= q, by Euler's series.
// With W = floor(pq 2^g / D), Y = floor(p^2 2^g / D), D = p^2 + q^2, the terms
// are T_0 = W, T_n = floor(floor(T_(n-1) Y / 2^g) 2n / (2n+1)). Each falls
// short of its exact value by d_n < d_(n-1)/2 + 5/2 < 5 (as y <= 1/2 and
// T_n <= 2^(g-1)); they at least halve, so at most g are nonzero, and after
// the first zero term the exact tail is below 2 * 5.
Natural arctanScaled(const Natural& p, const Natural& q, int g) {
    const Natural d = sum(product(p, p), product(q, q));
    const Natural y = quotient(shiftedLeft(product(p, p), g), d);
    Natural term = quotient(shiftedLeft(product(p, q), g), d);
    Natural total;
    for (std::uint32_t n = 1; !term.empty(); ++n) {
        total = sum(total, term);
        term = quotient(product(shiftedRight(product(term, y), g), natural(2 * n)), 2 * n + 1);
    }
    return total;
}

double powerOfTwo(int k) { // -1022 <= k <= 1023
    const std::uint64_t bits = static_cast<std::uint64_t>(k + 1023) << 52;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// x / 2^g rounded to nearest, ties to even, for 2^-900 <= x / 2^g <= 2^900;
// when x has at most 53 bits, also g <= 1022.
double nearestDouble(const Natural& x, int g) {
    const int drop = bitLength(x) - 53;
    if (drop <= 0) { // exact
        std::uint64_t m = 0;
        for (std::size_t j = x.size(); j-- > 0;) {
            m = (m << 32) | x[j];
        }
        return static_cast<double>(m) * powerOfTwo(-g);
    }
    const Natural top = shiftedRight(x, drop);
    std::uint64_t m = (std::uint64_t{top[1]} << 32) | top[0];
    if (bitAt(x, drop - 1) && (anyBitBelow(x, drop - 1) || (m & 1) != 0)) {
        ++m;
    }
    return static_cast<double>(m) * powerOfTwo(drop - g);
}

} // namespace

double accurate(double a, int startBits) {
    std::uint64_t bits;
    std::memcpy(&bits, &a, sizeof bits);
    const int exponent = static_cast<int>(bits >> 52) - 1075; // a = mantissa 2^exponent
    const std::uint64_t mantissa = (bits & ((std::uint64_t{1} << 52) - 1)) | std::uint64_t{1} << 52;

    // atan(a) = atan(p/q) for a <= 1, pi/2 - atan(p/q) above; p <= q.
    const bool reciprocal = a > 1.0;
    Natural p;
    Natural q;
    if (!reciprocal) {
        p = natural(mantissa);
        q = shiftedLeft(natural(1), -exponent);
    } else if (exponent >= 0) {
        p = natural(1);
        q = shiftedLeft(natural(mantissa), exponent);
    } else {
        p = shiftedLeft(natural(1), -exponent);
        q = natural(mantissa);
    }

    for (int g = startBits;; g *= 2) {
        const Natural s = arctanScaled(p, q, g);
        const Natural slack = natural(5 * static_cast<std::uint64_t>(g) + 10);
        Natural lower;
        Natural upper;
        if (!reciprocal) {
            lower = s;
            upper = sum(s, slack);
        } else {
            const Natural twiceQuarterPi = shiftedLeft(arctanScaled(natural(1), natural(1), g), 1);
            lower = difference(twiceQuarterPi, sum(s, slack));
            upper = difference(sum(twiceQuarterPi, shiftedLeft(slack, 1)), s);
        }
        const double low = nearestDouble(lower, g);
        if (low == nearestDouble(upper, g)) {
            return low;
        }
    }
}

} // namespace zirkulon::arctangent_stages
