// SPDX-License-Identifier: GPL-3.0-or-later
// Prints, for pointer positions read from standard input, what the window
// computes for them: the bits of the set angle and of the blue leg's end.
//
// Each input line is "X Y" in twips from the inner area's top left corner,
// optionally followed by the inner width and height (8220 x 8220 unless
// given). Each output line is the set angle as 16 hexadecimal digits, then the
// blue leg's end X2 and Y2 as 8 hexadecimal digits each, separated by single
// spaces; a line that cannot be read gives "?".
//
// It also prints how the game writes and reads numbers: for a line "n" and a
// double's 16 hexadecimal digits, its texts at 15 digits in German and at 7
// in English, and the bits that the German text reads back as; for a line
// "t" and a text, the bits that text reads as in German, or "-" where it is
// not a number. Built for the desktop, for WebAssembly and for Windows, so
// that they can be compared line by line.
#include "game/Task.h"
#include "geometry/Legs.h"
#include "geometry/Pointer.h"
#include "numerics/NumberText.h"
#include "platform/Design.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace {

bool readFloat(const char*& text, float& value) {
    char* end = nullptr;
    const float read = std::strtof(text, &end);
    if (end == text) {
        return false;
    }
    value = read;
    text = end;
    return true;
}

// The bits of a value (std::bit_cast, which the WebAssembly toolchain's
// library lacks).
template <typename Bits, typename Value> Bits bitsOf(Value value) {
    static_assert(sizeof(Bits) == sizeof(Value));
    Bits bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void printBits(const std::optional<double>& value) {
    if (value) {
        std::printf("%016llx", static_cast<unsigned long long>(bitsOf<std::uint64_t>(*value)));
    } else {
        std::fputs("-", stdout);
    }
}

// "n" and a double's bits, or "t" and a text; see above.
void printNumberTexts(const char* line) {
    using namespace zirkulon;
    std::string rest(line + 1);
    while (!rest.empty() && (rest.back() == '\n' || rest.back() == '\r')) {
        rest.pop_back();
    }
    try {
        if (line[0] == 't') {
            printBits(textToDouble(rest, NumberFormat::german()));
        } else {
            const auto bits = static_cast<std::uint64_t>(std::strtoull(rest.c_str(), nullptr, 16));
            double x = 0;
            std::memcpy(&x, &bits, sizeof x);
            const std::string german = doubleToText(x, NumberFormat::german());
            std::printf("%s %s ", german.c_str(),
                        doubleToText(x, NumberFormat::english(), 7).c_str());
            printBits(textToDouble(german, NumberFormat::german()));
        }
        std::puts("");
    } catch (const std::exception&) {
        std::puts("?"); // infinite or not a number
    }
}

} // namespace

int main() {
    using namespace zirkulon;
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY); // lines end in "\n" as elsewhere, not "\r\n"
#endif
    char line[256];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        if (line[0] == 'n' || line[0] == 't') {
            printNumberTexts(line);
            continue;
        }
        const char* at = line;
        float x = 0, y = 0;
        float width = design::innerWidth, height = design::innerHeight;
        if (!readFloat(at, x) || !readFloat(at, y)) {
            std::puts("?");
            continue;
        }
        if (readFloat(at, width) && !readFloat(at, height)) {
            std::puts("?");
            continue;
        }
        try {
            const geometry::Layout layout = geometry::layOut(width, height);
            const geometry::Turn turn = geometry::turnTowards({x, y}, layout.vertex, layout.vertex,
                                                              layout.legLength, game::pi);
            std::printf("%016llx %08x %08x\n",
                        static_cast<unsigned long long>(bitsOf<std::uint64_t>(turn.angle)),
                        bitsOf<std::uint32_t>(turn.blueEnd.x),
                        bitsOf<std::uint32_t>(turn.blueEnd.y));
        } catch (const std::exception&) {
            std::puts("?"); // out of range for the window's singles
        }
    }
    return 0;
}
