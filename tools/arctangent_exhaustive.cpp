// SPDX-License-Identifier: GPL-3.0-or-later
// Compares zirkulon::arctan with MPFR's atan, rounded to nearest, for every
// positive finite single widened to double (0x00000001 to 0x7f7fffff); since
// arctan(-x) == -arctan(x) exactly, that covers the negative ones too.
//
// Usage: arctangent_exhaustive [FIRST LAST [THREADS]]
//   FIRST, LAST  the range of single bit patterns, in hexadecimal, both included
//   THREADS      default: the number of hardware threads
//
// Prints the inputs checked, the disagreements (the first few listed), how
// many inputs stage one left to stage two, and the elapsed time.

#include "numerics/Arctangent.h"

#include <mpfr.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::uint64_t chunk = 1 << 16;

struct Shared {
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    std::atomic<std::uint64_t> next{0};
    std::atomic<std::uint64_t> checked{0};
    std::atomic<std::uint64_t> disagreements{0};
    std::atomic<std::uint64_t> stageTwo{0};
    std::mutex examplesLock;
    std::vector<std::string> examples;
};

bool stageOneDecides(double a) {
    if (!(a >= 0x1p-28 && a < 0x1p53)) {
        return true; // no arithmetic outside
    }
    const auto e = zirkulon::arctangent_stages::estimate(a);
    return e.hi + (e.lo - e.bound) == e.hi + (e.lo + e.bound);
}

void work(Shared& shared) {
    mpfr_set_emin(-1073); // thread-local in MPFR
    mpfr_set_emax(1024);
    mpfr_t y;
    mpfr_init2(y, 53);
    for (;;) {
        const std::uint64_t begin = shared.first + shared.next.fetch_add(chunk);
        if (begin > shared.last) {
            break;
        }
        const std::uint64_t end = std::min(begin + chunk - 1, shared.last);
        std::uint64_t checked = 0;
        std::uint64_t stageTwo = 0;
        for (std::uint64_t bits = begin; bits <= end; ++bits) {
            const double x = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
            const double ours = zirkulon::arctan(x);
            mpfr_set_d(y, x, MPFR_RNDN);
            const int inexact = mpfr_atan(y, y, MPFR_RNDN);
            mpfr_subnormalize(y, inexact, MPFR_RNDN);
            const double expected = mpfr_get_d(y, MPFR_RNDN);
            ++checked;
            stageTwo += stageOneDecides(x) ? 0 : 1;
            if (std::bit_cast<std::uint64_t>(ours) != std::bit_cast<std::uint64_t>(expected)) {
                shared.disagreements.fetch_add(1);
                const std::lock_guard lock(shared.examplesLock);
                if (shared.examples.size() < 10) {
                    char line[160];
                    std::snprintf(line, sizeof line, "0x%08llx: x = %a, arctan %a, MPFR %a",
                                  static_cast<unsigned long long>(bits), x, ours, expected);
                    shared.examples.emplace_back(line);
                }
            }
        }
        shared.checked.fetch_add(checked);
        shared.stageTwo.fetch_add(stageTwo);
    }
    mpfr_clear(y);
    mpfr_free_cache();
}

} // namespace

int main(int argc, char** argv) {
    Shared shared;
    shared.first = 0x00000001;
    shared.last = 0x7f7fffff;
    if (argc >= 3) {
        shared.first = std::strtoull(argv[1], nullptr, 16);
        shared.last = std::strtoull(argv[2], nullptr, 16);
    }
    unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    if (argc >= 4) {
        threads = static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10));
    }
    if (argc == 2 || argc > 4 || shared.first > shared.last || shared.last > 0x7f7fffff ||
        threads == 0) {
        std::fprintf(stderr,
                     "usage: %s [FIRST LAST [THREADS]]  (hex bit patterns up to 7f7fffff)\n",
                     argv[0]);
        return 2;
    }
    std::printf("singles 0x%08llx..0x%08llx on %u threads\n",
                static_cast<unsigned long long>(shared.first),
                static_cast<unsigned long long>(shared.last), threads);
    std::fflush(stdout);

    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; ++t) {
        pool.emplace_back(work, std::ref(shared));
    }
    for (auto& thread : pool) {
        thread.join();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf("inputs checked: %llu\n", static_cast<unsigned long long>(shared.checked.load()));
    std::printf("disagreements with MPFR: %llu\n",
                static_cast<unsigned long long>(shared.disagreements.load()));
    for (const auto& line : shared.examples) {
        std::printf("  %s\n", line.c_str());
    }
    std::printf("decided by stage two: %llu\n",
                static_cast<unsigned long long>(shared.stageTwo.load()));
    std::printf("elapsed: %.1f s\n", seconds);
    return shared.disagreements.load() == 0 ? 0 : 1;
}
