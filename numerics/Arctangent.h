// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zirkulon {

// The arctangent of x rounded to the nearest double: the double nearest the
// exact atan(x), so every IEEE 754 platform (x86-64, WebAssembly) gets the same
// bits. Built from +, -, *, / and conversions alone, without contraction into
// fused multiply-adds and without the C library. arctan(-x) == -arctan(x)
// bit for bit, so the sign of zero is kept; arctan(+-inf) is the double
// nearest +-pi/2, and NaN gives NaN. Checked against MPFR for every single
// widened to double and for random doubles; for the other doubles it rests on
// the error bounds worked out in Arctangent.cpp.
double arctan(double x);

// The two stages behind arctan, for 2^-28 <= a <= 2^53, open to the tests.
namespace arctangent_stages {

// Double-double arithmetic: atan(a) lies in [hi + lo - bound, hi + lo + bound],
// and bound covers the rounding of lo +- bound as well.
struct Estimate {
    double hi;
    double lo;
    double bound;
};
Estimate estimate(double a);

// atan(a) rounded to nearest from exact integer arithmetic: first with
// startBits fraction bits, doubled until the enclosing interval rounds one way.
double accurate(double a, int startBits = 192);

} // namespace arctangent_stages

} // namespace zirkulon
