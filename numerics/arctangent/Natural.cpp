// SPDX-License-Identifier: GPL-3.0-or-later
#include "numerics/arctangent/Natural.h"

#include <bit>

namespace zirkulon::arctangent {

namespace {

void trim(Natural& x) {
    while (!x.empty() && x.back() == 0) {
        x.pop_back();
    }
}

int compare(const Natural& a, const Natural& b) {
    if (a.size() != b.size()) {
        return a.size() < b.size() ? -1 : 1;
    }
    for (std::size_t j = a.size(); j-- > 0;) {
        if (a[j] != b[j]) {
            return a[j] < b[j] ? -1 : 1;
        }
    }
    return 0;
}

} // namespace

Natural natural(std::uint64_t value) {
    Natural x;
    for (; value != 0; value >>= 32) {
        x.push_back(static_cast<std::uint32_t>(value));
    }
    return x;
}

int bitLength(const Natural& x) {
    return x.empty() ? 0 : 32 * static_cast<int>(x.size()) - std::countl_zero(x.back());
}

bool bitAt(const Natural& x, int k) {
    const auto digit = static_cast<std::size_t>(k / 32);
    return digit < x.size() && ((x[digit] >> (k % 32)) & 1) != 0;
}

bool anyBitBelow(const Natural& x, int k) {
    const auto digits = static_cast<std::size_t>(k / 32);
    for (std::size_t j = 0; j < digits && j < x.size(); ++j) {
        if (x[j] != 0) {
            return true;
        }
    }
    return digits < x.size() && (x[digits] & ((std::uint32_t{1} << (k % 32)) - 1)) != 0;
}

Natural shiftedLeft(const Natural& x, int k) {
    if (x.empty()) {
        return x;
    }
    const auto digits = static_cast<std::size_t>(k / 32);
    const int bits = k % 32;
    Natural result(digits + x.size() + 1, 0);
    for (std::size_t j = 0; j < x.size(); ++j) {
        const std::uint64_t moved = std::uint64_t{x[j]} << bits;
        result[j + digits] |= static_cast<std::uint32_t>(moved);
        result[j + digits + 1] = static_cast<std::uint32_t>(moved >> 32);
    }
    trim(result);
    return result;
}

Natural shiftedRight(const Natural& x, int k) {
    const auto digits = static_cast<std::size_t>(k / 32);
    if (digits >= x.size()) {
        return {};
    }
    const int bits = k % 32;
    Natural result(x.size() - digits, 0);
    for (std::size_t j = 0; j < result.size(); ++j) {
        std::uint64_t window = x[j + digits];
        if (j + digits + 1 < x.size()) {
            window |= std::uint64_t{x[j + digits + 1]} << 32;
        }
        result[j] = static_cast<std::uint32_t>(window >> bits);
    }
    trim(result);
    return result;
}

Natural sum(const Natural& a, const Natural& b) {
    const Natural& longer = a.size() >= b.size() ? a : b;
    const Natural& shorter = a.size() >= b.size() ? b : a;
    Natural result(longer.size() + 1, 0);
    std::uint64_t carry = 0;
    for (std::size_t j = 0; j < longer.size(); ++j) {
        carry += std::uint64_t{longer[j]} + (j < shorter.size() ? shorter[j] : 0);
        result[j] = static_cast<std::uint32_t>(carry);
        carry >>= 32;
    }
    result[longer.size()] = static_cast<std::uint32_t>(carry);
    trim(result);
    return result;
}

Natural difference(const Natural& a, const Natural& b) {
    Natural result(a.size(), 0);
    std::int64_t borrow = 0;
    for (std::size_t j = 0; j < a.size(); ++j) {
        std::int64_t digit = std::int64_t{a[j]} - (j < b.size() ? b[j] : 0) - borrow;
        borrow = digit < 0 ? 1 : 0;
        result[j] = static_cast<std::uint32_t>(digit + (borrow << 32));
    }
    trim(result);
    return result;
}

Natural product(const Natural& a, const Natural& b) {
    if (a.empty() || b.empty()) {
        return {};
    }
    Natural result(a.size() + b.size(), 0);
    for (std::size_t j = 0; j < a.size(); ++j) {
        std::uint64_t carry = 0;
        for (std::size_t k = 0; k < b.size(); ++k) {
            carry += std::uint64_t{a[j]} * b[k] + result[j + k];
            result[j + k] = static_cast<std::uint32_t>(carry);
            carry >>= 32;
        }
        result[j + b.size()] = static_cast<std::uint32_t>(carry);
    }
    trim(result);
    return result;
}

Natural quotient(const Natural& a, std::uint32_t m) {
    Natural result(a.size(), 0);
    std::uint64_t rest = 0;
    for (std::size_t j = a.size(); j-- > 0;) {
        rest = (rest << 32) | a[j];
        result[j] = static_cast<std::uint32_t>(rest / m);
        rest %= m;
    }
    trim(result);
    return result;
}

// One bit at a time.
Natural quotient(const Natural& a, const Natural& b) {
    Natural result(a.size(), 0);
    Natural rest;
    for (int k = bitLength(a) - 1; k >= 0; --k) {
        rest = shiftedLeft(rest, 1);
        if (bitAt(a, k)) {
            if (rest.empty()) {
                rest.push_back(1);
            } else {
                rest[0] |= 1;
            }
        }
        if (compare(rest, b) >= 0) {
            rest = difference(rest, b);
            result[static_cast<std::size_t>(k / 32)] |= std::uint32_t{1} << (k % 32);
        }
    }
    trim(result);
    return result;
}

} // namespace zirkulon::arctangent
