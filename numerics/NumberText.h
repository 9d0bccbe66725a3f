// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zirkulon {

// The characters a locale uses to write numbers. Texts the player reads or
// types go through this, so "2,5" under German and "2.5" under English.
struct NumberFormat {
    std::string decimal = ".";
    std::string group = ",";

    static NumberFormat german() { return {",", "."}; }
    static NumberFormat english() { return {".", ","}; }
};

// Integer in plain decimal digits.
std::string intToText(std::int64_t value);

// A double at `digits` significant digits (15 for doubles, 7 for singles),
// trailing zeros dropped, the locale's decimal separator and no grouping.
// Magnitudes from 1e-4 up to below 10^digits are written plainly; others as
// mantissa and exponent, e.g. "1E+15", "1,5E-07". Zero is always "0".
std::string doubleToText(double x, const NumberFormat& format, int digits = 15);

// Reads a number the player typed: optional surrounding blanks, an optional
// sign, digits with the locale's group separator allowed between digits of the
// whole part, an optional decimal separator with digits, an optional exponent
// (e or E, optional sign, digits). Anything else, and any value too large for
// a double, is not a number. A value too small for a double reads as zero.
std::optional<double> textToDouble(std::string_view text, const NumberFormat& format);

inline bool isNumeric(std::string_view text, const NumberFormat& format) {
    return textToDouble(text, format).has_value();
}

} // namespace zirkulon
