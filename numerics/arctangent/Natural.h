// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

// Natural numbers of any size, just what the exact stage of the arctangent
// needs: shifts, sums, differences, products and quotients rounded down.

namespace zirkulon::arctangent {

// 32-bit digits, least significant first, no leading zero digits; zero is empty.
using Natural = std::vector<std::uint32_t>;

Natural natural(std::uint64_t value);

int bitLength(const Natural& x);
bool bitAt(const Natural& x, int k);
// Whether any of the bits below 2^k is set.
bool anyBitBelow(const Natural& x, int k);

// x 2^k and floor(x / 2^k).
Natural shiftedLeft(const Natural& x, int k);
Natural shiftedRight(const Natural& x, int k);

Natural sum(const Natural& a, const Natural& b);
// a - b for a >= b.
Natural difference(const Natural& a, const Natural& b);
Natural product(const Natural& a, const Natural& b);
// floor(a / m) for 0 < m < 2^32.
Natural quotient(const Natural& a, std::uint32_t m);
// floor(a / b) for b > 0.
Natural quotient(const Natural& a, const Natural& b);

} // namespace zirkulon::arctangent
