// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "numerics/NumberText.h"

#include <cstdint>
#include <string>

namespace zirkulon {

// A number that carries its own numeric type, as the game's loosely typed
// fields do. Arithmetic picks the result type from the operands:
//  - two integers give an integer (32-bit once 16 bits overflow);
//  - a double operand gives a double;
//  - two singles, or a single and a 16-bit integer, give a single;
//  - a quotient of two singles is a single (a double where a single would
//    overflow), any other quotient a double; a power is always a double.
// Every overflow, invalid result or division by zero raises OperationError.
class Variant {
public:
    enum class Type { Integer, Long, Single, Double };

    constexpr Variant() = default;
    static Variant integer(std::int16_t v) { return {Type::Integer, static_cast<double>(v)}; }
    static Variant longInt(std::int32_t v) { return {Type::Long, static_cast<double>(v)}; }
    static Variant single(float v) { return {Type::Single, v}; }
    static Variant real(double v) { return {Type::Double, v}; }

    Type type() const { return type_; }
    // The value; exact for every type, since each fits a double.
    double value() const { return value_; }

    // Number to text: integers in plain digits, doubles at 15 and singles at
    // 7 significant digits in the given locale.
    std::string toText(const NumberFormat& format) const;

    friend Variant operator+(Variant a, Variant b);
    friend Variant operator-(Variant a, Variant b);
    friend Variant operator*(Variant a, Variant b);
    friend Variant operator/(Variant a, Variant b);
    friend Variant operator-(Variant a);

    // Comparisons go by value, whatever the types.
    friend bool operator==(Variant a, Variant b) { return a.value_ == b.value_; }
    friend bool operator<(Variant a, Variant b) { return a.value_ < b.value_; }
    friend bool operator>(Variant a, Variant b) { return a.value_ > b.value_; }

private:
    constexpr Variant(Type type, double value) : type_(type), value_(value) {}

    Type type_ = Type::Integer;
    double value_ = 0.0;
};

// base ^ exponent, always a double.
double power(Variant base, Variant exponent);

// Integer remainder: both operands first rounded to whole numbers (ties to
// even), the result with the sign of the dividend; OperationError on divisor 0.
std::int32_t intRemainder(Variant dividend, Variant divisor);

} // namespace zirkulon
