// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace zirkulon {

// The characters a locale uses to write numbers. Texts the player reads or
// types go through this, so "2,5" under German and "2.5" under English.
//
// A platform that learns them only slowly (a browser takes tens of
// milliseconds the first time a page asks) may give a way to ask instead:
// it is asked the first time a text needs a separator, and only once, so
// that whole numbers, all a game shows at its start, never wait for it.
// The game runs on one thread; a format is not shared between threads.
class NumberFormat {
public:
    struct Separators {
        std::string decimal;
        std::string group;
    };

    NumberFormat() : NumberFormat(".", ",") {}
    NumberFormat(std::string decimal, std::string group)
        : known_(Separators{std::move(decimal), std::move(group)}) {}
    using Ask = Separators (*)();
    explicit NumberFormat(Ask ask) : ask_(ask) {}

    const std::string& decimal() const { return separators().decimal; }
    const std::string& group() const { return separators().group; }

    static NumberFormat german() { return {",", "."}; }
    static NumberFormat english() { return {".", ","}; }

private:
    const Separators& separators() const {
        if (!known_) {
            known_ = ask_();
        }
        return *known_;
    }

    mutable std::optional<Separators> known_;
    Ask ask_ = nullptr;
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
