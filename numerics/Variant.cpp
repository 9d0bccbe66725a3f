// SPDX-License-Identifier: GPL-3.0-or-later
#include "numerics/Variant.h"

#include "numerics/Error.h"
#include "numerics/Rounding.h"

#include <cmath>
#include <limits>

namespace zirkulon {

namespace {

using Type = Variant::Type;

bool isWhole(Type t) {
    return t == Type::Integer || t == Type::Long;
}

// The type of a sum, difference or product.
Type resultType(Type a, Type b) {
    if (a == Type::Double || b == Type::Double) {
        return Type::Double;
    }
    if (isWhole(a) && isWhole(b)) {
        return a == Type::Long || b == Type::Long ? Type::Long : Type::Integer;
    }
    // A single with a single or a 16-bit integer stays single; with a 32-bit
    // integer it would lose digits, so it widens to double.
    if (a == Type::Long || b == Type::Long) {
        return Type::Double;
    }
    return Type::Single;
}

Variant wholeResult(Type type, double exact) {
    if (type == Type::Integer && exact >= -32768.0 && exact <= 32767.0) {
        return Variant::integer(static_cast<std::int16_t>(exact));
    }
    if (exact >= -2147483648.0 && exact <= 2147483647.0) {
        return Variant::longInt(static_cast<std::int32_t>(exact));
    }
    throw OperationError("Überlauf: ganzzahliges Ergebnis zu groß");
}

// Sums, differences and products of integers up to 32 bits are exact in a
// double; singles are combined in single arithmetic so that they round once.
template <typename DoubleOp, typename FloatOp>
Variant combine(Variant a, Variant b, DoubleOp dop, FloatOp fop) {
    switch (resultType(a.type(), b.type())) {
    case Type::Integer:
    case Type::Long:
        return wholeResult(resultType(a.type(), b.type()), dop(a.value(), b.value()));
    case Type::Single: {
        const float r = fop(static_cast<float>(a.value()), static_cast<float>(b.value()));
        checkedFinite(r);
        return Variant::single(r);
    }
    case Type::Double:
        break;
    }
    return Variant::real(checkedFinite(dop(a.value(), b.value())));
}

} // namespace

std::string Variant::toText(const NumberFormat& format) const {
    switch (type_) {
    case Type::Integer:
    case Type::Long:
        return intToText(static_cast<std::int64_t>(value_));
    case Type::Single:
        return doubleToText(value_, format, 7);
    case Type::Double:
        break;
    }
    return doubleToText(value_, format, 15);
}

Variant operator+(Variant a, Variant b) {
    return combine(
        a, b, [](double x, double y) { return x + y; }, [](float x, float y) { return x + y; });
}

Variant operator-(Variant a, Variant b) {
    return combine(
        a, b, [](double x, double y) { return x - y; }, [](float x, float y) { return x - y; });
}

Variant operator*(Variant a, Variant b) {
    return combine(
        a, b, [](double x, double y) { return x * y; }, [](float x, float y) { return x * y; });
}

Variant operator/(Variant a, Variant b) {
    if (b.value() == 0.0) {
        throw OperationError("Division durch Null");
    }
    if (a.type() == Type::Single && b.type() == Type::Single) {
        const float q = static_cast<float>(a.value()) / static_cast<float>(b.value());
        if (!std::isinf(q)) {
            return Variant::single(q);
        }
    }
    return Variant::real(checkedFinite(a.value() / b.value()));
}

Variant operator-(Variant a) {
    switch (a.type()) {
    case Type::Integer:
    case Type::Long:
        return wholeResult(a.type(), -a.value());
    case Type::Single:
        return Variant::single(-static_cast<float>(a.value()));
    case Type::Double:
        break;
    }
    return Variant::real(-a.value());
}

double power(Variant base, Variant exponent) {
    return checkedFinite(std::pow(base.value(), exponent.value()));
}

std::int32_t intRemainder(Variant dividend, Variant divisor) {
    const std::int64_t a = toInt32(dividend.value());
    const std::int64_t b = toInt32(divisor.value());
    if (b == 0) {
        throw OperationError("Division durch Null");
    }
    return static_cast<std::int32_t>(a % b); // C++ keeps the dividend's sign
}

} // namespace zirkulon
