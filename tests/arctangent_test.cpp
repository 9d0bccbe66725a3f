// SPDX-License-Identifier: GPL-3.0-or-later
// zirkulon::arctan against MPFR's atan rounded to nearest, bit for bit, and
// its two stages against their own promises.

#include "geometry/Keys.h"
#include "numerics/Arctangent.h"

#include <gtest/gtest.h>
#include <mpfr.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <unordered_set>
#include <vector>

using zirkulon::arctan;
namespace stages = zirkulon::arctangent_stages;

namespace {

// An MPFR number that frees itself.
struct Big {
    mpfr_t v;
    explicit Big(mpfr_prec_t bits) { mpfr_init2(v, bits); }
    ~Big() { mpfr_clear(v); }
    Big(const Big&) = delete;
    Big& operator=(const Big&) = delete;
};

// atan(x) rounded to nearest as a double, subnormals included: 53 bits within
// the exponent range of doubles, then subnormalized, so rounded only once.
double reference(double x) {
    mpfr_set_emin(-1073);
    mpfr_set_emax(1024);
    Big y(53);
    mpfr_set_d(y.v, x, MPFR_RNDN);
    const int inexact = mpfr_atan(y.v, y.v, MPFR_RNDN);
    mpfr_subnormalize(y.v, inexact, MPFR_RNDN);
    return mpfr_get_d(y.v, MPFR_RNDN);
}

std::string hex(double x) {
    char text[40];
    std::snprintf(text, sizeof text, "%a", x);
    return text;
}

// Compares arctan(x) with MPFR and arctan(-x) with -arctan(x), bit for bit,
// and keeps the first few disagreements.
class Comparison {
public:
    void check(double x) {
        ++checked_;
        const double ours = arctan(x);
        const double expected = reference(x);
        if (std::bit_cast<std::uint64_t>(ours) != std::bit_cast<std::uint64_t>(expected)) {
            fail("arctan(" + hex(x) + ") = " + hex(ours) + ", MPFR " + hex(expected));
        }
        if (std::bit_cast<std::uint64_t>(arctan(-x)) != std::bit_cast<std::uint64_t>(-ours)) {
            fail("arctan(-" + hex(x) + ") is not -arctan(" + hex(x) + ")");
        }
    }

    long checked() const { return checked_; }

    ::testing::AssertionResult allAgree() const {
        if (failed_ == 0) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure()
               << failed_ << " disagreements in " << checked_ << " inputs:" << examples_.str();
    }

private:
    void fail(const std::string& what) {
        if (++failed_ <= 10) {
            examples_ << "\n  " << what;
        }
    }

    long checked_ = 0;
    long failed_ = 0;
    std::ostringstream examples_;
};

double single(std::uint32_t bits) {
    return std::bit_cast<float>(bits);
}

// A double with the given exponent and 52 random fraction bits.
double randomDouble(std::mt19937_64& random, int exponent) {
    const double fraction = static_cast<double>(random() >> 12) * 0x1p-52;
    return std::ldexp(1.0 + fraction, exponent);
}

bool stageOneDecides(double a) {
    const stages::Estimate e = stages::estimate(a);
    return e.hi + (e.lo - e.bound) == e.hi + (e.lo + e.bound);
}

} // namespace

TEST(Arctangent, SpecialValues) {
    constexpr double infinity = std::numeric_limits<double>::infinity();
    Big halfPi(53);
    mpfr_const_pi(halfPi.v, MPFR_RNDN);
    mpfr_div_2ui(halfPi.v, halfPi.v, 1, MPFR_RNDN);
    EXPECT_EQ(arctan(infinity), mpfr_get_d(halfPi.v, MPFR_RNDN));
    EXPECT_EQ(arctan(-infinity), -mpfr_get_d(halfPi.v, MPFR_RNDN));
    EXPECT_TRUE(std::isnan(arctan(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_TRUE(std::isnan(arctan(-std::numeric_limits<double>::quiet_NaN())));
    EXPECT_TRUE(std::isnan(arctan(std::numeric_limits<double>::signaling_NaN())));
    EXPECT_FALSE(std::signbit(arctan(0.0)));
    EXPECT_TRUE(std::signbit(arctan(-0.0)));
    EXPECT_EQ(arctan(1.0), 0x1.921fb54442d18p-1); // pi/4 rounded
}

// The ends of each range the code treats on its own, and both sides of every
// point where the table entry changes: i/256 and 256/i, (i +- 1/2)/256 and
// 256/(i +- 1/2), each with its two neighbours.
TEST(Arctangent, BoundariesAndBreakpoints) {
    std::vector<double> points = {0.0,
                                  std::numeric_limits<double>::denorm_min(),
                                  2 * std::numeric_limits<double>::denorm_min(),
                                  std::numeric_limits<double>::min() -
                                      std::numeric_limits<double>::denorm_min(),
                                  std::numeric_limits<double>::min(),
                                  0x1p-28,
                                  0x1p-9,
                                  0x1p-8,
                                  1.0,
                                  2.0,
                                  0x1p8,
                                  0x1p9,
                                  0x1p53,
                                  std::numeric_limits<double>::max()};
    for (int i = 1; i <= 512; ++i) {
        points.push_back(i / 512.0);
        points.push_back(512.0 / i);
    }
    Comparison comparison;
    for (double x : points) {
        comparison.check(x);
        comparison.check(std::nextafter(x, 0.0));
        comparison.check(std::nextafter(x, HUGE_VAL));
    }
    EXPECT_TRUE(comparison.allAgree());
}

// Random bit patterns reach every exponent; the other half is drawn from the
// exponents where the arithmetic happens.
void checkRandomSingles(std::uint64_t seed) {
    std::mt19937_64 random(seed);
    Comparison comparison;
    for (int n = 0; n < 2'000'000; ++n) {
        std::uint32_t bits = static_cast<std::uint32_t>(random());
        if (n % 2 == 1) {
            const auto exponent = static_cast<std::uint32_t>(127 - 30 + random() % 86);
            bits = (bits & 0x807fffffu) | exponent << 23;
        }
        if ((bits & 0x7f800000u) != 0x7f800000u) { // finite
            comparison.check(single(bits));
        }
    }
    std::printf("random singles checked: %ld (and their negatives)\n", comparison.checked());
    EXPECT_TRUE(comparison.allAgree());
}

TEST(Arctangent, RandomSinglesFirstHalf) {
    checkRandomSingles(20240601);
}
TEST(Arctangent, RandomSinglesSecondHalf) {
    checkRandomSingles(20240602);
}

// Every pointer position within 600 pixels of the vertex, as the game forms
// the quotient.
TEST(Arctangent, PixelGrid) {
    std::unordered_set<float> quotients;
    long positions = 0;
    for (int dx = -600; dx <= 600; ++dx) {
        for (int dy = -600; dy <= 600; ++dy) {
            if (dx != 0) {
                quotients.insert(-static_cast<float>(dy) / static_cast<float>(dx));
                ++positions;
            }
        }
    }
    Comparison comparison;
    for (float q : quotients) {
        comparison.check(q);
    }
    std::printf("pixel grid: %ld positions, %zu distinct quotients\n", positions, quotients.size());
    EXPECT_TRUE(comparison.allAgree());
}

TEST(Arctangent, RandomDoubles) {
    std::mt19937_64 random(7);
    Comparison comparison;
    for (int n = 0; n < 1'000'000; ++n) {
        const double x = n % 2 == 0 ? std::bit_cast<double>(random())
                                    : randomDouble(random, -30 + static_cast<int>(random() % 86));
        if (std::isfinite(x)) {
            comparison.check(x);
        }
    }
    std::printf("random doubles checked: %ld (and their negatives)\n", comparison.checked());
    EXPECT_TRUE(comparison.allAgree());
}

// Inputs whose atan lies within 2^-35 ulp of a midpoint between two doubles,
// closer than stage one can resolve, so stage two must decide. Near 2^-k,
// x - atan(x) grows by only about x^2 ulp from one double to the next, and
// near 2^k atan(x) by about 2^-k ulp: some x come that close to a midpoint.
TEST(Arctangent, InputsNextToMidpoints) {
    std::mt19937_64 random(11);
    std::vector<double> inputs;
    Big t(256);
    Big s(256);
    for (int k = 20; k <= 26; ++k) { // small x: x - atan(x) = (J + 1/2) ulp
        for (int n = 0; n < 10; ++n) {
            double x = randomDouble(random, -k);
            const double ulp = std::ldexp(1.0, -k - 52);
            for (int step = 0; step < 6; ++step) { // Newton on the gap measured in ulps
                mpfr_set_d(t.v, x, MPFR_RNDN);
                mpfr_atan(s.v, t.v, MPFR_RNDN);
                mpfr_sub(s.v, t.v, s.v, MPFR_RNDN);
                mpfr_div_d(s.v, s.v, ulp, MPFR_RNDN);
                const double gap = mpfr_get_d(s.v, MPFR_RNDN);
                const double target = std::floor(gap) + 0.5;
                x += std::nearbyint((target - gap) / (x * x)) * ulp;
            }
            inputs.push_back(x);
        }
    }
    for (int k = 34; k <= 50; k += 4) { // large x: x = tan(y + ulp/2) rounded, y = atan(x0)
        for (int n = 0; n < 10; ++n) {
            const double y = reference(randomDouble(random, k)); // in [1, 2)
            mpfr_set_d(t.v, y, MPFR_RNDN);
            mpfr_add_d(t.v, t.v, 0x1p-53, MPFR_RNDN);
            mpfr_tan(t.v, t.v, MPFR_RNDN);
            inputs.push_back(mpfr_get_d(t.v, MPFR_RNDN));
        }
    }
    Comparison comparison;
    int leftToStageTwo = 0;
    for (double x : inputs) {
        comparison.check(x);
        leftToStageTwo += stageOneDecides(x) ? 0 : 1;
    }
    EXPECT_TRUE(comparison.allAgree());
    EXPECT_EQ(leftToStageTwo, static_cast<int>(inputs.size()));
}

// Stage one's error against MPFR at 256 bits never exceeds its bound.
TEST(ArctangentStages, EstimateStaysWithinItsBound) {
    std::mt19937_64 random(3);
    std::vector<double> inputs = {0x1p-28, 1.0, 0x1p53, std::nextafter(1.0, 0.0),
                                  std::nextafter(1.0, 2.0)};
    for (int i = 1; i <= 512; ++i) {
        inputs.push_back(std::nextafter(i / 512.0, 0.0));
        inputs.push_back(std::nextafter(512.0 / i, 1e300));
    }
    for (int n = 0; n < 300'000; ++n) {
        const int exponent = n % 2 == 0 ? -28 + static_cast<int>(random() % 81)
                                        : -10 + static_cast<int>(random() % 20);
        inputs.push_back(randomDouble(random, exponent));
    }
    Big exact(256);
    Big error(256);
    double worst = 0;
    for (double a : inputs) {
        const stages::Estimate e = stages::estimate(a);
        mpfr_set_d(exact.v, a, MPFR_RNDN);
        mpfr_atan(exact.v, exact.v, MPFR_RNDN);
        mpfr_set_d(error.v, e.hi, MPFR_RNDN);
        mpfr_add_d(error.v, error.v, e.lo, MPFR_RNDN);
        mpfr_sub(error.v, error.v, exact.v, MPFR_RNDN);
        const double ratio = std::fabs(mpfr_get_d(error.v, MPFR_RNDN)) / e.bound;
        ASSERT_LE(ratio, 1.0) << "a = " << hex(a);
        worst = std::max(worst, ratio);
    }
    std::printf("stage one: largest error %.3g of its bound over %zu inputs\n", worst,
                inputs.size());
}

// Stage two alone, started at 64 fraction bits so that it mostly has to double
// them, and at its usual start.
TEST(ArctangentStages, AccurateStageRoundsCorrectly) {
    std::mt19937_64 random(5);
    std::vector<double> inputs = {0x1p-28, 1.0, 0x1p53, std::nextafter(0x1p53, 0.0)};
    for (int n = 0; n < 3000; ++n) {
        inputs.push_back(randomDouble(random, -28 + static_cast<int>(random() % 81)));
    }
    for (double a : inputs) {
        const double expected = reference(a);
        ASSERT_EQ(stages::accurate(a, 64), expected) << "a = " << hex(a);
        ASSERT_EQ(stages::accurate(a), expected) << "a = " << hex(a);
    }
}

// The keys place the pointer with a table of sines rather than the C
// library's sin, so that every platform computes the same bits; each entry
// must be the double nearest to the true sine.
TEST(SineTable, EveryWholeDegreeIsCorrectlyRounded) {
    Big pi(256), x(256), sine(256);
    mpfr_const_pi(pi.v, MPFR_RNDN);
    for (int d = 0; d <= 360; ++d) {
        mpfr_mul_si(x.v, pi.v, d, MPFR_RNDN);
        mpfr_div_ui(x.v, x.v, 180, MPFR_RNDN);
        mpfr_sin(sine.v, x.v, MPFR_RNDN);
        const double expected = d % 180 == 0 ? 0.0 : mpfr_get_d(sine.v, MPFR_RNDN);
        EXPECT_EQ(zirkulon::geometry::sineOfDegrees(d), expected) << d << " degrees";
    }
}
