#include "platform/Numerics.h"

#include "platform/PlatformError.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <tuple>
#include <utility>

namespace zirkulon {

double roundHalfEven(double x) {
    // The default floating-point environment rounds to nearest with ties to
    // even; nearbyint uses it and never raises the inexact exception.
    return std::nearbyint(x);
}

std::int16_t toInt16(double x) {
    const double r = roundHalfEven(x);
    if (!(r >= -32768.0 && r <= 32767.0)) {
        throw PlatformError("Überlauf: " + std::to_string(x) + " passt nicht in 16 Bit");
    }
    return static_cast<std::int16_t>(r);
}

std::int32_t toInt32(double x) {
    const double r = roundHalfEven(x);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) {
        throw PlatformError("Überlauf: " + std::to_string(x) + " passt nicht in 32 Bit");
    }
    return static_cast<std::int32_t>(r);
}

float toSingle(double x) {
    const auto f = static_cast<float>(checkedFinite(x));
    if (std::isinf(f)) {
        throw PlatformError("Überlauf: Zahl zu groß für einfache Genauigkeit");
    }
    return f;
}

double checkedFinite(double x) {
    if (std::isnan(x)) {
        throw PlatformError("Ungültige Gleitkommaoperation");
    }
    if (std::isinf(x)) {
        throw PlatformError("Überlauf in einer Gleitkommaoperation");
    }
    return x;
}

std::string intToText(std::int64_t value) {
    return std::to_string(value);
}

namespace {

// The significant digits of |x| (no point, no sign) rounded to `digits`,
// with the decimal exponent of the first one. to_chars ignores the C locale,
// which Qt sets to the user's.
std::pair<std::string, int> scientific(double x, int digits) {
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf, std::fabs(x),
                                   std::chars_format::scientific, digits - 1)
                         .ptr;
    const std::string_view s(buf, static_cast<std::size_t>(end - buf));
    const auto e = s.find('e');
    int exponent = 0;
    std::from_chars(s.data() + e + 1 + (s[e + 1] == '+'), s.data() + s.size(), exponent);
    std::string mantissa(1, s[0]);
    if (e > 2) {
        mantissa += s.substr(2, e - 2);
    }
    return {mantissa, exponent};
}

bool fitsADouble(const std::string& mantissa, int exponent) {
    const std::string text = mantissa + "e" + std::to_string(exponent - int(mantissa.size()) + 1);
    double value = 0;
    return std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc();
}

} // namespace

std::string doubleToText(double x, const NumberFormat& format, int digits) {
    checkedFinite(x);
    if (x == 0.0) {
        return "0"; // also for -0
    }
    auto [mantissa, exponent] = scientific(x, digits);
    if (exponent >= 308 && !fitsADouble(mantissa, exponent)) {
        // Rounded up past the largest double (as the largest double itself
        // would be): cut the digits instead, so that the text reads back.
        std::tie(mantissa, exponent) = scientific(x, 17);
        mantissa.resize(static_cast<std::size_t>(digits));
    }
    while (mantissa.size() > 1 && mantissa.back() == '0') {
        mantissa.pop_back();
    }

    std::string out = x < 0 ? "-" : "";
    if (exponent >= digits || exponent < -4) {
        out += mantissa[0];
        if (mantissa.size() > 1) {
            out += format.decimal;
            out += mantissa.substr(1);
        }
        out += exponent < 0 ? "E-" : "E+";
        const std::string expDigits = std::to_string(std::abs(exponent));
        if (expDigits.size() < 2) {
            out += '0';
        }
        out += expDigits;
    } else if (exponent >= 0) {
        const auto whole = static_cast<std::size_t>(exponent) + 1;
        if (mantissa.size() <= whole) {
            out += mantissa;
            out.append(whole - mantissa.size(), '0');
        } else {
            out += mantissa.substr(0, whole);
            out += format.decimal;
            out += mantissa.substr(whole);
        }
    } else {
        out += '0';
        out += format.decimal;
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += mantissa;
    }
    return out;
}

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool startsWith(std::string_view text, std::size_t at, std::string_view prefix) {
    return !prefix.empty() && text.substr(at, prefix.size()) == prefix;
}

} // namespace

std::optional<double> textToDouble(std::string_view text, const NumberFormat& format) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }

    // Build a plain "-123.45e-6" form for from_chars, which ignores the C
    // locale (Qt switches LC_NUMERIC to the user's locale).
    std::string plain;
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') {
            plain += '-';
        }
        ++i;
    }
    bool anyDigit = false;
    // Decimal position of the first non-zero digit, counted from the decimal
    // point: tells an underflow from an overflow when the value is out of range.
    long long leadExponent = 0;
    bool seenNonZero = false;
    long long wholeDigits = 0;
    while (i < n) {
        if (isDigit(text[i])) {
            plain += text[i];
            if (text[i] != '0' && !seenNonZero) {
                seenNonZero = true;
                wholeDigits = 0;
            }
            if (seenNonZero) {
                ++wholeDigits;
            }
            anyDigit = true;
            ++i;
        } else if (anyDigit && startsWith(text, i, format.group) && i + format.group.size() < n &&
                   isDigit(text[i + format.group.size()])) {
            i += format.group.size();
        } else {
            break;
        }
    }
    if (seenNonZero) {
        leadExponent = wholeDigits - 1;
    }
    if (startsWith(text, i, format.decimal)) {
        i += format.decimal.size();
        plain += '.';
        long long position = 0;
        while (i < n && isDigit(text[i])) {
            --position;
            if (text[i] != '0' && !seenNonZero) {
                seenNonZero = true;
                leadExponent = position;
            }
            plain += text[i];
            anyDigit = true;
            ++i;
        }
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    long long exponent = 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        bool negative = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            negative = text[i] == '-';
            plain += text[i];
            ++i;
        }
        if (i == n || !isDigit(text[i])) {
            return std::nullopt;
        }
        while (i < n && isDigit(text[i])) {
            plain += text[i];
            if (exponent < 1'000'000'000) {
                exponent = exponent * 10 + (text[i] - '0');
            }
            ++i;
        }
        if (negative) {
            exponent = -exponent;
        }
    }
    if (i != n) {
        return std::nullopt;
    }

    double value = 0.0;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (seenNonZero && leadExponent + exponent < 0) {
            return plain.front() == '-' ? -0.0 : 0.0; // too small: underflows to zero
        }
        return std::nullopt; // too large for a double
    }
    if (result.ec != std::errc() || result.ptr != plain.data() + plain.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace zirkulon
