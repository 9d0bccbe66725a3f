// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for reading and writing numbers as the player sees them:
// the numeric test, text to double, and double to text and back, under the
// German and the English number format.
//
// Properties checked for every input:
//  - isNumeric agrees with textToDouble;
//  - an accepted text always gives a finite number;
//  - blanks around an accepted text and a leading minus do not change what
//    it reads as, beyond the sign;
//  - the text written for an accepted number reads back, and the number read
//    back is written as the same text (at 15 and at 7 significant digits);
//  - the same holds for the raw bytes of the input taken as a double.
// A failed property aborts, which libFuzzer reports as a crash.

#include "numerics/NumberText.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

using zirkulon::NumberFormat;

namespace {

[[noreturn]] void fail(const char* what, std::string_view text, const NumberFormat& format) {
    std::fprintf(stderr, "property failed: %s\n  format decimal '%s'\n  text (%zu bytes) '%.*s'\n",
                 what, format.decimal().c_str(), text.size(), static_cast<int>(text.size()),
                 text.data());
    std::abort();
}

void checkRoundTrip(double x, const NumberFormat& format, int digits) {
    const std::string text = zirkulon::doubleToText(x, format, digits);
    const auto back = zirkulon::textToDouble(text, format);
    if (!back) {
        fail("the text of a number does not read back", text, format);
    }
    if (!std::isfinite(*back)) {
        fail("the text of a number reads back as a non-finite value", text, format);
    }
    if (zirkulon::doubleToText(*back, format, digits) != text) {
        fail("the number read back is written differently", text, format);
    }
}

void checkText(std::string_view text, const NumberFormat& format) {
    const auto value = zirkulon::textToDouble(text, format);
    if (zirkulon::isNumeric(text, format) != value.has_value()) {
        fail("isNumeric disagrees with textToDouble", text, format);
    }
    if (!value) {
        return;
    }
    if (!std::isfinite(*value)) {
        fail("an accepted text gives a non-finite value", text, format);
    }

    const std::string padded = " \t" + std::string(text) + "\t ";
    const auto paddedValue = zirkulon::textToDouble(padded, format);
    if (!paddedValue || std::memcmp(&*paddedValue, &*value, sizeof(double)) != 0) {
        fail("surrounding blanks change the value", text, format);
    }
    const std::string_view trimmed = text.substr(text.find_first_not_of(" \t"));
    if (trimmed.front() != '-' && trimmed.front() != '+') {
        const auto negated = zirkulon::textToDouble("-" + std::string(trimmed), format);
        if (!negated || *negated != -*value) {
            fail("a leading minus does not just negate", text, format);
        }
    }

    checkRoundTrip(*value, format, 15);
    checkRoundTrip(*value, format, 7);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const NumberFormat formats[] = {NumberFormat::german(), NumberFormat::english()};
    for (const NumberFormat& format : formats) {
        checkText(text, format);
    }

    // The same bytes as a double: writing any finite double and reading the
    // text back must round trip too, including subnormals and extremes.
    if (size >= sizeof(double)) {
        double x;
        std::memcpy(&x, data, sizeof x);
        if (std::isfinite(x)) {
            for (const NumberFormat& format : formats) {
                checkRoundTrip(x, format, 15);
                checkRoundTrip(x, format, 7);
            }
        }
    }
    return 0;
}
