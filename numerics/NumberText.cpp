// SPDX-License-Identifier: GPL-3.0-or-later
#include "numerics/NumberText.h"

#include "numerics/Rounding.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#if !defined(_WIN32)
#include <locale.h>
#endif
#include <tuple>
#include <utility>

namespace zirkulon {

namespace {

#if defined(_WIN32)
// The Windows C runtime's printf and strtod are not exact and differ between
// its versions; mingw-w64 brings its own (David Gay's conversions, correctly
// rounded both ways), which these name directly. The program never changes
// the C locale, so they read and write the point.
#if !__USE_MINGW_ANSI_STDIO
#error "mingw's own printf is needed (__USE_MINGW_ANSI_STDIO)"
#endif

void printScientific(char* buf, std::size_t size, int digits, double x) {
    __mingw_snprintf(buf, size, "%.*e", digits - 1, x);
}

double readC(const char* plain) {
    return __mingw_strtod(plain, nullptr);
}
#else
// The C library converts between decimal text and doubles exactly (correctly
// rounded both ways, on glibc and on the musl of the WebAssembly build). It
// does so in the "C" locale here, whatever locale the toolkit has set for the
// program, so that the only separators are the ones a NumberFormat names.
class CNumericLocale {
public:
    CNumericLocale() : previous_(uselocale(cLocale())) {}
    ~CNumericLocale() { uselocale(previous_); }
    CNumericLocale(const CNumericLocale&) = delete;
    CNumericLocale& operator=(const CNumericLocale&) = delete;

private:
    static locale_t cLocale() {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
        return c;
    }
    locale_t previous_;
};

void printScientific(char* buf, std::size_t size, int digits, double x) {
    const CNumericLocale c;
    std::snprintf(buf, size, "%.*e", digits - 1, x);
}

double readC(const char* plain) {
    const CNumericLocale c;
    return std::strtod(plain, nullptr);
}
#endif

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The significant digits of |x| (no point, no sign) rounded to `digits`, with
// the decimal exponent of the first one.
std::pair<std::string, int> scientific(double x, int digits) {
    char buf[64];
    printScientific(buf, sizeof buf, digits, std::fabs(x));
    std::string mantissa;
    const char* p = buf;
    for (; *p != 'e'; ++p) {
        if (isDigit(*p)) {
            mantissa += *p;
        }
    }
    return {mantissa, std::atoi(p + 1)};
}

// Exactly what the C library reads `plain` ("-123.45e-6") as.
double readPlain(const std::string& plain) {
    return readC(plain.c_str());
}

bool fitsADouble(const std::string& mantissa, int exponent) {
    const int shift = exponent - static_cast<int>(mantissa.size()) + 1;
    return std::isfinite(readPlain(mantissa + "e" + std::to_string(shift)));
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool startsWith(std::string_view text, std::size_t at, std::string_view prefix) {
    return !prefix.empty() && text.substr(at, prefix.size()) == prefix;
}

} // namespace

std::string intToText(std::int64_t value) {
    return std::to_string(value);
}

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
            out += format.decimal();
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
            out += format.decimal();
            out += mantissa.substr(whole);
        }
    } else {
        out += '0';
        out += format.decimal();
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += mantissa;
    }
    return out;
}

std::optional<double> textToDouble(std::string_view text, const NumberFormat& format) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }

    // Rewrite the text in the plain form "-123.45e-6" that the C library reads.
    const std::string& decimal = format.decimal();
    const std::string& group = format.group();
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
    while (i < n) {
        if (isDigit(text[i])) {
            plain += text[i++];
            anyDigit = true;
        } else if (anyDigit && startsWith(text, i, group) && i + group.size() < n &&
                   isDigit(text[i + group.size()])) {
            i += group.size();
        } else {
            break;
        }
    }
    if (startsWith(text, i, decimal)) {
        i += decimal.size();
        plain += '.';
        while (i < n && isDigit(text[i])) {
            plain += text[i++];
            anyDigit = true;
        }
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            plain += text[i++];
        }
        if (i == n || !isDigit(text[i])) {
            return std::nullopt;
        }
        while (i < n && isDigit(text[i])) {
            plain += text[i++];
        }
    }
    if (i != n) {
        return std::nullopt;
    }

    // Too large a value reads as infinity, which is not a number here; too
    // small a one rounds to zero (keeping its sign) or to a subnormal.
    const double value = readPlain(plain);
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace zirkulon
