// SPDX-License-Identifier: GPL-3.0-or-later
// Random play: hundreds of thousands of events against the window object, the
// pointer anywhere from the vertex to far outside, the turning keys and others,
// the window from nothing to
// enormous, every menu command with any text typed, and the game's invariants
// checked after each event.
//
// Runs are seeded: each prints its seed, and ZIRKULON_MONKEY_SEED=<n> repeats
// it (ZIRKULON_MONKEY_SEED=random picks a fresh one); ZIRKULON_MONKEY_EVENTS=<n>
// changes the number of events per run.
#include "FakeWindow.h"
#include "game/Reading.h"
#include "game/Task.h"
#include "geometry/Keys.h"

#include <gtest/gtest.h>

#include <array>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <limits>
#include <map>
#include <numbers>
#include <random>
#include <sstream>
#include <string>

using namespace zirkulon;
using zirkulon::test::Rig;

namespace {

std::uint64_t seedFor(std::uint64_t fallback) {
    const char* text = std::getenv("ZIRKULON_MONKEY_SEED");
    if (text == nullptr || *text == '\0') {
        return fallback;
    }
    if (std::string(text) == "random") {
        return std::random_device{}();
    }
    return std::stoull(text, nullptr, 0);
}

long eventsFor(long fallback) {
    const char* text = std::getenv("ZIRKULON_MONKEY_EVENTS");
    return text == nullptr || *text == '\0' ? fallback : std::stol(text);
}

constexpr float largestWindow = 16777215.0f * 15; // the largest window Qt allows, in twips
constexpr std::int16_t mostHits = std::numeric_limits<std::int16_t>::max();

class Monkey : Rig {
public:
    Monkey(std::uint64_t seed, const NumberFormat& format)
        : Rig(format), seed_(seed), dice_(seed) {}

    // Plays `events` random events after start-up; returns what went wrong, or "".
    std::string play(long events, std::int16_t startHits = 0, int aimedShare = 6) {
        topUp();
        if (!raise("Form_Load", [&] { ausgabe.Form_Load(); }) ||
            !raise("Form_Resize", [&] { ausgabe.Form_Resize(); })) {
            return failure_;
        }
        if (startHits != 0) { // as if that many had been scored already
            ausgabe.state().Hits = startHits;
            window.setCaption(Label::LTreffer, game::hitsText(startHits));
        }
        for (long i = 0; i < events && step(aimedShare); ++i) {
            if (i % 1024 == 0) { // the records are only needed per event
                window.log.clear();
                window.boxes.clear();
                window.defaults.clear();
            }
        }
        return failure_;
    }

    const GameState& state() const { return ausgabe.state(); }
    long hits = 0;
    long jokes = 0;

private:
    double uniform(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(dice_);
    }
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(dice_); }

    // The window's random numbers are k / 2^24; the ends of the range and the
    // edges of the joke draw now and then.
    void topUp() {
        while (random.numbers.size() < 4) {
            const float edges[] = {0.0f, 0x1.fffffep-1f, std::nextafter(1.0f / 159, 0.0f)};
            random.numbers.push_back(below(8) < 3 ? edges[below(3)]
                                                  : static_cast<float>(dice_() >> 40) * 0x1p-24f);
        }
    }

    float coordinate(float vertex, float extent) {
        switch (below(8)) {
        case 0:
            return vertex;
        case 1:
            return std::nextafter(vertex, below(2) ? FLT_MAX : -FLT_MAX);
        case 2:
            return static_cast<float>(uniform(-1e7, 1e7));
        case 3:
            return below(2) ? FLT_MAX / 2 : -FLT_MAX / 2;
        default:
            return static_cast<float>(uniform(-0.1, 1.1) * extent);
        }
    }

    float windowSide() {
        const float sides[] = {0, largestWindow, 8220, static_cast<float>(uniform(0, 100)),
                               static_cast<float>(uniform(0, largestWindow))};
        return below(2) ? sides[below(5)] : static_cast<float>(below(3000)) * 15;
    }

    // Anything a player might type into the tolerance box.
    std::string anyAnswer() {
        static const std::array<const char*, 14> junk{
            "",    "   ",   "abc", "1e",    "--1", "0x1A",          "NaN",
            "inf", "1,2,3", "½",   "1e309", "-0",  "10,0000000001", "1.000,5"};
        switch (below(4)) {
        case 0:
            return junk[static_cast<std::size_t>(below(static_cast<int>(junk.size())))];
        case 1:
            return doubleToText(std::ldexp(uniform(0.5, 1), below(2000) - 1000), NumberFormat{});
        case 2:
            return std::string(static_cast<std::size_t>(below(100000)), '9');
        default:
            return doubleToText(uniform(-12, 12), NumberFormat::german());
        }
    }

    bool step(int aimedShare) {
        topUp();
        const LineShape red = window.lines[Line::Schenkel1];
        const int roll = below(100);
        if (roll < aimedShare) { // at the target, so that checks hit often
            const double degrees =
                state().TargetAngle.value() + uniform(-1.2, 1.2) * (state().Tolerance.value() + .5);
            const double reach = uniform(1, 2.0 * state().LegLength + 100);
            const float x =
                static_cast<float>(red.X1 + reach * std::cos(degrees * std::numbers::pi / 180));
            const float y =
                static_cast<float>(red.Y1 - reach * std::sin(degrees * std::numbers::pi / 180));
            return pointer(true, LeftButton, x, y);
        }
        if (roll < 60) {
            const auto buttons = static_cast<std::int16_t>(below(2) ? LeftButton : below(8));
            return pointer(below(3) == 0, buttons, coordinate(red.X1, window.width),
                           coordinate(red.Y1, window.height));
        }
        if (roll < 63) {
            return key(static_cast<std::int16_t>(30 + below(14))); // the turning keys among others
        }
        if (roll < 65) {
            window.width = windowSide();
            window.height = windowSide();
            return raise("Form_Resize", [&] { ausgabe.Form_Resize(); });
        }
        if (roll < 70) {
            return raise("MNew_Click", [&] { ausgabe.MNew_Click(); });
        }
        if (roll < 75) {
            window.answers.clear();
            for (int i = below(5); i > 0; --i) {
                window.answers.push_back(anyAnswer());
            }
            window.answers.push_back(doubleToText(uniform(-10, 10), format));
            return raise("MExact_Click", [&] { ausgabe.MExact_Click(); });
        }
        if (roll < 97) {
            const std::int16_t before = state().Hits;
            const std::size_t boxes = window.boxes.size();
            if (!raise("MGuess_Click", [&] { ausgabe.MGuess_Click(); })) {
                return false;
            }
            if (window.boxes[boxes].text.starts_with("Herzlichen")) {
                ++hits;
                jokes += static_cast<long>(window.boxes.size() - boxes - 1);
                return expect(state().Hits == std::min<int>(before + 1, mostHits), "a hit counts");
            }
            return expect(state().Hits == before && window.boxes.size() == boxes + 1,
                          "a miss shows one message and scores nothing");
        }
        return raise("MHelp_Click / MInfo_Click",
                     [&] { below(2) ? ausgabe.MHelp_Click() : ausgabe.MInfo_Click(); });
    }

    bool pointer(bool press, std::int16_t buttons, float x, float y) {
        std::ostringstream what;
        what.precision(9);
        what << (press ? "Form_MouseDown(" : "Form_MouseMove(") << buttons << ", " << x << ", " << y
             << ")";
        return raise(what.str(),
                     [&] {
                         press ? ausgabe.Form_MouseDown(buttons, 0, x, y)
                               : ausgabe.Form_MouseMove(buttons, 0, x, y);
                     }) &&
               (buttons != LeftButton || legFollowsAngle());
    }

    // A key turns the leg to the whole degree the key rule chooses, in a
    // window of any size; other keys change nothing.
    bool key(std::int16_t code) {
        static const std::map<std::int16_t, geometry::KeyTurn> turns{
            {KeyRight, geometry::KeyTurn::On},      {KeyUp, geometry::KeyTurn::On},
            {KeyLeft, geometry::KeyTurn::Back},     {KeyDown, geometry::KeyTurn::Back},
            {KeyPageUp, geometry::KeyTurn::PageOn}, {KeyPageDown, geometry::KeyTurn::PageBack},
            {KeyHome, geometry::KeyTurn::First},    {KeyEnd, geometry::KeyTurn::Last}};
        const auto turn = turns.find(code);
        const int chosen =
            turn == turns.end()
                ? -1
                : geometry::degreesAfter(turn->second,
                                         game::wholeDegrees(state().SetAngle, state().Pi));
        const double before = state().SetAngle;
        return raise("Form_KeyDown(" + std::to_string(code) + ")",
                     [&] { ausgabe.Form_KeyDown(code, 0); }) &&
               (chosen > 0 ? expect(game::wholeDegrees(state().SetAngle, state().Pi) == chosen,
                                    "a turning key sets the degree it chooses") &&
                                 legFollowsAngle()
                           : expect(state().SetAngle == before, "other keys turn nothing"));
    }

    template <typename Handler> bool raise(const std::string& event, Handler&& handler) {
        recent_.push_back(event);
        if (recent_.size() > 10) {
            recent_.pop_front();
        }
        try {
            handler();
        } catch (const std::exception& error) {
            return expect(false, std::string("the handler ended with: ") + error.what());
        }
        return invariantsHold();
    }

    bool expect(bool condition, const std::string& what) {
        if (!condition && failure_.empty()) {
            std::ostringstream out;
            out << what << "\n  seed " << seed_ << " (ZIRKULON_MONKEY_SEED=" << seed_
                << "), the last events:\n";
            for (const std::string& event : recent_) {
                out << "    " << event << "\n";
            }
            failure_ = out.str();
        }
        return condition;
    }

    bool invariantsHold() {
        const GameState& s = state();
        const LineShape red = window.lines[Line::Schenkel1];
        const LineShape blue = window.lines[Line::Schenkel2];
        const double target = s.TargetAngle.value();
        bool arcsFine = true;
        for (const Arc& arc : window.arcs) {
            arcsFine = arcsFine && std::isfinite(arc.radius) && std::isfinite(arc.start) &&
                       arc.sweep > 0 && arc.sweep <= 2 * std::numbers::pi + 1e-6;
        }
        const bool ok =
            expect(s.Attempts >= 0 && s.Attempts <= 4, "attempts within 0 to 4") &&
            expect(s.Hits >= 0 && s.Hits >= lastHits_, "hits never fall") &&
            expect(s.SetAngle == 0 || (s.SetAngle > 0 && s.SetAngle <= 2 * s.Pi),
                   "the set angle is 0 or within (0, 2 pi]") &&
            expect(s.Tolerance.value() >= 0 && s.Tolerance.value() <= 10,
                   "the tolerance within 0 to 10") &&
            expect(target >= 0 && target <= 360 && target == std::floor(target),
                   "the target a whole number of degrees") &&
            expect(std::isfinite(blue.X2) && std::isfinite(blue.Y2), "the blue leg is finite") &&
            expect(red.X1 == blue.X1 && red.Y1 == blue.Y1, "both legs share the vertex") &&
            expect(red.Y2 == red.Y1 && red.X2 >= red.X1, "the red leg points right") &&
            expect(arcsFine, "every arc is finite with a sweep in (0, 2 pi]") &&
            expect(window.label(Label::LKlicks) == game::attemptsText(s.Attempts),
                   "the attempts label shows the attempts") &&
            expect(window.label(Label::LWinkel) == game::targetText(s.TargetAngle, format),
                   "the target label shows the target") &&
            expect(window.caption == game::toleranceCaption(s.Tolerance, format),
                   "the caption shows the tolerance") &&
            expect(s.Jokes.count() == 160, "the joke collection stays as loaded");
        lastHits_ = s.Hits;
        return ok;
    }

    // After the left button alone, the blue leg points in the direction of
    // the set angle, and one arc marks it.
    bool legFollowsAngle() {
        const LineShape blue = window.lines[Line::Schenkel2];
        const double dx = static_cast<double>(blue.X2) - blue.X1;
        const double dy = static_cast<double>(blue.Y1) - blue.Y2; // up is positive
        const double length = std::hypot(dx, dy);
        const double size = std::max({std::fabs(blue.X1), std::fabs(blue.Y1), 1.0f});
        if (!expect(window.arcs.size() == 1, "one arc marks the angle") || length < 1e-3 * size) {
            return failure_.empty(); // a leg too short to have a direction
        }
        const double off =
            std::remainder(std::atan2(dy, dx) - state().SetAngle, 2 * std::numbers::pi);
        return expect(std::fabs(off) <= 1e-6 + 8 * FLT_EPSILON * size / length,
                      "the blue leg points in the direction of the set angle");
    }

    std::uint64_t seed_;
    std::mt19937_64 dice_;
    std::int16_t lastHits_ = 0;
    std::deque<std::string> recent_;
    std::string failure_;
};

class RandomPlay : public ::testing::TestWithParam<bool> {};

} // namespace

TEST_P(RandomPlay, KeepsEveryInvariantAfterEveryEvent) {
    const bool german = GetParam();
    const std::uint64_t seed = seedFor(german ? 20240611 : 20240612);
    std::cout << "[ monkey   ] seed " << seed << std::endl;
    Monkey monkey(seed, german ? NumberFormat::german() : NumberFormat::english());
    EXPECT_EQ(monkey.play(eventsFor(150000)), "");
    // The run must have got somewhere: checks that hit and jokes drawn.
    EXPECT_GT(monkey.hits, 0);
    EXPECT_GT(monkey.jokes, 0);
    std::cout << "[ monkey   ] " << monkey.hits << " hits, " << monkey.jokes << " jokes"
              << std::endl;
}

INSTANTIATE_TEST_SUITE_P(Monkey, RandomPlay, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "German" : "English"; });

// Many hits in a row from just below the 16-bit ceiling: the counter stops
// there and never wraps round to a negative count.
TEST(Monkey, HitCounterStopsAtItsCeiling) {
    const std::uint64_t seed = seedFor(20240613);
    std::cout << "[ monkey   ] seed " << seed << std::endl;
    Monkey monkey(seed, NumberFormat::german());
    EXPECT_EQ(monkey.play(std::min(eventsFor(150000) / 5, 30000L), mostHits - 20, 45), "");
    EXPECT_GT(monkey.hits, 20);
    EXPECT_EQ(monkey.state().Hits, mostHits);
}
