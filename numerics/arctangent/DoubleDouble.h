// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Double-double arithmetic: a value as the unevaluated sum of two doubles, and
// the error-free sums and products it is built from. Every file that uses these
// is compiled with -ffp-contract=off: a fused multiply-add would change the
// bits and break the exactness of the pair arithmetic as written.

namespace zirkulon::arctangent {

// An unevaluated sum hi + lo of two doubles.
struct Pair {
    double hi;
    double lo;
};

// a + b = hi + lo exactly (Knuth).
inline Pair twoSum(double a, double b) {
    const double s = a + b;
    const double bPart = s - a;
    const double aPart = s - bPart;
    return {s, (a - aPart) + (b - bPart)};
}

// a + b = hi + lo exactly, provided |a| >= |b| or a == 0 (Dekker).
inline Pair fastTwoSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// a = hi + lo with hi and lo of at most 26 significant bits each (Veltkamp).
inline Pair split(double a) {
    const double scaled = 134217729.0 * a; // 2^27 + 1
    const double hi = scaled - (scaled - a);
    return {hi, a - hi};
}

// a * b = hi + lo exactly, barring overflow and underflow (Dekker).
inline Pair twoProduct(double a, double b) {
    const double p = a * b;
    const Pair as = split(a);
    const Pair bs = split(b);
    return {p, ((as.hi * bs.hi - p) + as.hi * bs.lo + as.lo * bs.hi) + as.lo * bs.lo};
}

} // namespace zirkulon::arctangent
