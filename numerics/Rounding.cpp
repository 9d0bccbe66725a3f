// SPDX-License-Identifier: GPL-3.0-or-later
#include "numerics/Rounding.h"

#include "numerics/Error.h"

#include <cmath>
#include <string>

namespace zirkulon {

double roundHalfEven(double x) {
    // The default floating-point environment rounds to nearest with ties to
    // even; nearbyint uses it and never raises the inexact exception.
    return std::nearbyint(x);
}

std::int16_t toInt16(double x) {
    const double r = roundHalfEven(x);
    if (!(r >= -32768.0 && r <= 32767.0)) {
        throw OperationError("Überlauf: " + std::to_string(x) + " passt nicht in 16 Bit");
    }
    return static_cast<std::int16_t>(r);
}

std::int32_t toInt32(double x) {
    const double r = roundHalfEven(x);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) {
        throw OperationError("Überlauf: " + std::to_string(x) + " passt nicht in 32 Bit");
    }
    return static_cast<std::int32_t>(r);
}

float toSingle(double x) {
    const auto f = static_cast<float>(checkedFinite(x));
    if (std::isinf(f)) {
        throw OperationError("Überlauf: Zahl zu groß für einfache Genauigkeit");
    }
    return f;
}

double checkedFinite(double x) {
    if (std::isnan(x)) {
        throw OperationError("Ungültige Gleitkommaoperation");
    }
    if (std::isinf(x)) {
        throw OperationError("Überlauf in einer Gleitkommaoperation");
    }
    return x;
}

} // namespace zirkulon
