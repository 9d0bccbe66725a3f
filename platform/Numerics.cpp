#include "platform/Numerics.h"

#include "platform/PlatformError.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

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

std::string doubleToText(double x, const NumberFormat& format, int digits) {
    checkedFinite(x);
    if (x == 0.0) {
        return "0"; // also for -0
    }
    // %e rounds the exact binary value correctly to `digits` significant
    // digits and moves the exponent when the rounding carries (9.99... -> 1e1).
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, x);
    std::string_view s(buf);
    std::string out;
    if (s.front() == '-') {
        out += '-';
        s.remove_prefix(1);
    }
    const auto e = s.find('e');
    int exponent = 0;
    std::from_chars(s.data() + e + 1 + (s[e + 1] == '+'), s.data() + s.size(), exponent);
    std::string mantissa;
    mantissa += s[0];
    mantissa += s.substr(2, e - 2);
    while (mantissa.size() > 1 && mantissa.back() == '0') {
        mantissa.pop_back();
    }

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
