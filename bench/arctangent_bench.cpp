// SPDX-License-Identifier: GPL-3.0-or-later
// Nanoseconds per call of zirkulon::arctan against the C library's std::atan,
// on two input sets:
//  (a) the quotients -dy/dx (as singles) of every pointer position within
//      600 pixels of the vertex, dx != 0, in row order;
//  (b) random finite singles over all exponents (random bit patterns);
//  (c) random singles with 2^-28 <= |x| < 2^53, where arctan does arithmetic.
// Each figure is the median of many passes, ours and the library's taking
// turns. A program to run by hand, not a test.
//
// Usage: arctangent_bench [PASSES]

#include "numerics/Arctangent.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

double sink = 0; // keeps the results alive

template <typename Function>
double nanosecondsPerCall(const std::vector<double>& inputs, Function f) {
    const auto start = std::chrono::steady_clock::now();
    double total = 0;
    for (double x : inputs) {
        total += f(x);
    }
    const auto stop = std::chrono::steady_clock::now();
    sink += total;
    return std::chrono::duration<double, std::nano>(stop - start).count() /
           static_cast<double>(inputs.size());
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void measure(const char* name, const std::vector<double>& inputs, int passes) {
    std::vector<double> ours;
    std::vector<double> library;
    for (int pass = 0; pass < passes; ++pass) {
        ours.push_back(nanosecondsPerCall(inputs, [](double x) { return zirkulon::arctan(x); }));
        library.push_back(nanosecondsPerCall(inputs, [](double x) { return std::atan(x); }));
    }
    const double a = median(ours);
    const double b = median(library);
    std::printf("%-28s %9zu inputs  arctan %6.2f ns  std::atan %6.2f ns  ratio %.2f\n", name,
                inputs.size(), a, b, a / b);
}

std::vector<double> randomSingles(std::mt19937& random, bool arithmeticOnly) {
    std::vector<double> inputs;
    while (inputs.size() < 1'000'000) {
        const double x = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        const double a = std::fabs(x);
        if (std::isfinite(x) && (!arithmeticOnly || (a >= 0x1p-28 && a < 0x1p53))) {
            inputs.push_back(x);
        }
    }
    return inputs;
}

} // namespace

int main(int argc, char** argv) {
    const int passes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;

    std::vector<double> grid;
    for (int dy = -600; dy <= 600; ++dy) {
        for (int dx = -600; dx <= 600; ++dx) {
            if (dx != 0) {
                grid.push_back(-static_cast<float>(dy) / static_cast<float>(dx));
            }
        }
    }
    std::mt19937 random(1);
    const std::vector<double> singles = randomSingles(random, false);
    const std::vector<double> working = randomSingles(random, true);

    measure("(a) pixel-grid quotients", grid, passes);
    measure("(b) random singles", singles, passes);
    measure("(c) singles, 2^-28..2^53", working, passes);
    return sink == 0.125 ? 1 : 0;
}
