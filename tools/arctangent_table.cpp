// SPDX-License-Identifier: GPL-3.0-or-later
// Prints the arctangent's constants (numerics/arctangent/Table.cpp and
// Table.h): atan(i/256) for i = 0..256 and pi/2, each as a pair of doubles
// hi + lo where hi is the value rounded to nearest and lo the rest rounded to
// nearest. Computed with MPFR at 320 bits, far beyond the 106 bits a pair
// holds.

#include <mpfr.h>

#include <cstdio>

namespace {

void printPair(mpfr_t value) {
    mpfr_t rest;
    mpfr_init2(rest, 320);
    double hi = mpfr_get_d(value, MPFR_RNDN);
    mpfr_sub_d(rest, value, hi, MPFR_RNDN); // exact: the difference has fewer than 320 bits
    double lo = mpfr_get_d(rest, MPFR_RNDN);
    std::printf("{%a, %a}", hi, lo);
    mpfr_clear(rest);
}

} // namespace

int main() {
    mpfr_t value;
    mpfr_init2(value, 320);
    for (int i = 0; i <= 256; ++i) {
        mpfr_set_ui(value, i, MPFR_RNDN);
        mpfr_div_2ui(value, value, 8, MPFR_RNDN);
        mpfr_atan(value, value, MPFR_RNDN);
        std::printf("    ");
        printPair(value);
        std::printf(",\n");
    }
    mpfr_const_pi(value, MPFR_RNDN);
    mpfr_div_2ui(value, value, 1, MPFR_RNDN);
    std::printf("pi/2: ");
    printPair(value);
    std::printf("\n");
    mpfr_clear(value);
    mpfr_free_cache();
}
