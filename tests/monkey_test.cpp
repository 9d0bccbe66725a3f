// Random play: hundreds of thousands of events against the window object, the
// pointer anywhere from the vertex to far outside, the window from nothing to
// enormous, every menu command with any text typed, and the game's invariants
// checked after each event.
//
// The runs are seeded: each prints its seed, and ZIRKULON_MONKEY_SEED=<n>
// repeats it (ZIRKULON_MONKEY_SEED=random picks a fresh one).
// ZIRKULON_MONKEY_EVENTS=<n> changes the number of events per run.

#include "FakeWindow.h"
#include "numerics/Error.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <numbers>
#include <random>
#include <sstream>
#include <string>

using namespace zirkulon;
using zirkulon::test::FakeWindow;
using zirkulon::test::ScriptedRandom;
using zirkulon::test::TestAusgabe;

namespace {

std::uint64_t seedFor(std::uint64_t fallback) {
    const char* text = std::getenv("ZIRKULON_MONKEY_SEED");
    if (text == nullptr || *text == '\0') {
        return fallback;
    }
    if (std::string(text) == "random") {
        std::random_device device;
        return (static_cast<std::uint64_t>(device()) << 32) | device();
    }
    return std::stoull(text, nullptr, 0);
}

long eventsFor(long fallback) {
    const char* text = std::getenv("ZIRKULON_MONKEY_EVENTS");
    return text == nullptr || *text == '\0' ? fallback : std::stol(text);
}

constexpr double twoPi = 2 * 3.14159265358979;
constexpr float largestPixels = 16777215.0f * 15; // the largest window Qt allows, in twips

enum class Kind { Load, Move, Press, AimedPress, Resize, New, Exact, Guess, Help, Info };

const char* nameOf(Kind kind) {
    switch (kind) {
    case Kind::Load:
        return "Form_Load";
    case Kind::Move:
        return "Form_MouseMove";
    case Kind::Press:
        return "Form_MouseDown";
    case Kind::AimedPress:
        return "Form_MouseDown (aimed)";
    case Kind::Resize:
        return "Form_Resize";
    case Kind::New:
        return "MNew_Click";
    case Kind::Exact:
        return "MExact_Click";
    case Kind::Guess:
        return "MGuess_Click";
    case Kind::Help:
        return "MHelp_Click";
    case Kind::Info:
        return "MInfo_Click";
    }
    return "?";
}

// One event as it was raised, kept to tell what led up to a failure.
struct Event {
    long index = 0;
    Kind kind = Kind::Move;
    std::int16_t button = 0;
    std::int16_t shift = 0;
    float x = 0;
    float y = 0;
    std::size_t answers = 0;
};

std::ostream& operator<<(std::ostream& out, const Event& e) {
    out << "#" << e.index << " " << nameOf(e.kind);
    switch (e.kind) {
    case Kind::Move:
    case Kind::Press:
    case Kind::AimedPress:
        out << "(Button " << e.button << ", Shift " << e.shift << ", X " << e.x << ", Y " << e.y
            << ")";
        break;
    case Kind::Resize:
        out << " to " << e.x << " x " << e.y;
        break;
    case Kind::Exact:
        out << " with " << e.answers << " answers";
        break;
    default:
        break;
    }
    return out;
}

struct Options {
    long events = 100000;
    std::int16_t startHits = 0;
    int aimedShare = 6; // per cent of events that point at the target before a check
};

class Monkey {
public:
    Monkey(std::uint64_t seed, const NumberFormat& format)
        : seed_(seed), random_(seed), format_(format), ausgabe_(window_, numbers_, format) {}

    // Runs the events; returns an empty text, or what went wrong and how.
    std::string run(const Options& options) {
        topUpRandoms();
        if (!raise(Event{0, Kind::Load, 0, 0, 0, 0, 0}, [&] { ausgabe_.Form_Load(); }) ||
            !raise(Event{0, Kind::Resize, 0, 0, window_.width, window_.height},
                   [&] { ausgabe_.Form_Resize(); })) {
            return failure_;
        }
        jokes_ = state().Jokes.count();
        if (options.startHits != 0) { // as if that many had been scored already
            state().Hits = options.startHits;
            window_.setCaption(Label::LTreffer,
                               "Erraten: " + intToText(options.startHits) + " Winkel.");
        }
        hits_ = options.startHits;
        started_ = true;
        if (!checkInvariants(Event{0, Kind::Load, 0, 0, 0, 0, 0})) {
            return failure_;
        }

        for (long i = 1; i <= options.events; ++i) {
            if (!step(i, options)) {
                return failure_;
            }
            if (i % 1024 == 0) { // the records are only needed per event
                window_.log.clear();
                window_.boxes.clear();
                window_.defaults.clear();
            }
        }
        return {};
    }

    const GameState& state() const { return ausgabe_.state(); }
    GameState& state() { return ausgabe_.state(); }
    long hitsScored() const { return hitsScored_; }
    long jokesShown() const { return jokesShown_; }

private:
    // ---- random choices ---------------------------------------------------

    double uniform(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random_);
    }
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool chance(int percent) { return below(100) < percent; }

    // Random numbers as the window's generator gives them: k / 2^24, with the
    // ends of the range and the edges of the joke draw now and then.
    float randomNumber() {
        switch (below(8)) {
        case 0:
            return 0.0f;
        case 1:
            return 0x1.fffffep-1f; // the largest below 1
        case 2:
            return std::nextafter(1.0f / 159, below(2) ? 1.0f : 0.0f);
        default:
            return static_cast<float>(random_() >> 40) * 0x1p-24f;
        }
    }

    void topUpRandoms() {
        while (numbers_.numbers.size() < 4) {
            numbers_.numbers.push_back(randomNumber());
        }
    }

    float coordinate(float vertex, float extent) {
        switch (below(10)) {
        case 0:
            return vertex;
        case 1:
            return std::nextafter(vertex, below(2) ? FLT_MAX : -FLT_MAX);
        case 2:
            return static_cast<float>(vertex + uniform(-2, 2));
        case 3:
            return below(2) ? 1e7f : -1e7f;
        case 4:
            return static_cast<float>(uniform(-1e7, 1e7));
        case 5:
            return below(2) ? FLT_MAX / 2 : -FLT_MAX / 2;
        default:
            return static_cast<float>(uniform(-0.1, 1.1) * extent);
        }
    }

    float windowSide() {
        switch (below(8)) {
        case 0:
            return 0;
        case 1:
            return largestPixels;
        case 2:
            return 8220;
        case 3:
            return static_cast<float>(below(4)) * 15;
        case 4:
            return static_cast<float>(uniform(0, largestPixels));
        case 5:
            return static_cast<float>(uniform(0, 100)); // not whole pixels
        default:
            return static_cast<float>(below(3000)) * 15;
        }
    }

    std::string numberText(double value) {
        // Mostly in the window's own format, sometimes in the other one.
        const NumberFormat& format = chance(80) ? format_
                                                : (format_.decimal == "," ? NumberFormat::english()
                                                                          : NumberFormat::german());
        return doubleToText(value, format);
    }

    // Anything a player might type into the tolerance box. Each draw sits in
    // a statement of its own, so that the order of the draws, and with it the
    // run for a seed, is the same with every compiler.
    std::string anyAnswer() {
        switch (below(16)) {
        case 0:
            return "";
        case 1: {
            const char blank = below(2) ? ' ' : '\t';
            return std::string(static_cast<std::size_t>(below(4) + 1), blank);
        }
        case 2:
            return numberText(uniform(-10, 10));
        case 3: {
            const double sign = below(2) ? 1 : -1;
            return numberText(sign * uniform(10, 1e6));
        }
        case 4: {
            const int exponent = below(2000) - 1000;
            return numberText(std::ldexp(uniform(0.5, 1), exponent));
        }
        case 5: {
            std::ostringstream text;
            text << below(100) << (below(2) ? "e" : "E") << (below(2) ? "-" : "+") << below(400);
            return text.str();
        }
        case 6: {
            static const std::array<const char*, 16> junk{
                "abc", "1e", "--1", "0x1A", "NaN", "inf", "1,2,3", "1.2.3",
                "12a", "+",  ",",   ".",    "1e+", "- 1", "½",     "1.000,5"};
            return junk[static_cast<std::size_t>(below(static_cast<int>(junk.size())))];
        }
        case 7: {
            std::string text(static_cast<std::size_t>(below(12)), ' ');
            for (char& c : text) {
                c = static_cast<char>(below(95) + 32);
            }
            return text;
        }
        case 8:
            return below(2) ? "-0" : "0";
        case 9: {
            const std::string ten = numberText(10);
            return ten + (below(2) ? "" : "0000000001");
        }
        case 10:
            if (chance(2)) {
                return hugeAnswer();
            }
            return numberText(uniform(0, 10));
        case 11:
            return "1e309";
        default:
            return numberText(std::round(uniform(-12, 12)));
        }
    }

    std::string hugeAnswer() {
        constexpr std::size_t size = 100000;
        switch (below(4)) {
        case 0:
            return std::string(size, '9'); // too large for a double
        case 1:
            return "0" + format_.decimal + std::string(size, '0') + "1"; // reads as 0
        case 2:
            return std::string(size, ' ');
        default: {
            std::string text(size, '1');
            text[size / 2] = 'x';
            return text;
        }
        }
    }

    // An answer the tolerance entry certainly takes.
    std::string acceptedAnswer() {
        switch (below(5)) {
        case 0:
            return "10";
        case 1:
            return "-10";
        case 2:
            return "0";
        default:
            return doubleToText(uniform(-10, 10), format_);
        }
    }

    // ---- events -----------------------------------------------------------

    bool step(long index, const Options& options) {
        topUpRandoms();
        const int roll = below(100);
        Event e{index, Kind::Move, 0, 0, 0, 0, 0};
        const LineShape red = window_.line(Line::Schenkel1);
        if (roll < options.aimedShare) {
            e.kind = Kind::AimedPress;
            aim(e, red);
            return raise(e, [&] { ausgabe_.Form_MouseDown(e.button, e.shift, e.x, e.y); });
        }
        const int pick = below(1000);
        if (pick < 570) {
            e.kind = pick < 420 ? Kind::Move : Kind::Press;
            // Mostly the left button alone, which turns the leg; any other
            // combination of the three buttons must be ignored.
            e.button = static_cast<std::int16_t>(chance(50) ? LeftButton : below(8));
            e.shift = static_cast<std::int16_t>(below(8));
            e.x = coordinate(red.X1, window_.width);
            e.y = coordinate(red.Y1, window_.height);
            if (e.kind == Kind::Move) {
                return raise(e, [&] { ausgabe_.Form_MouseMove(e.button, e.shift, e.x, e.y); });
            }
            return raise(e, [&] { ausgabe_.Form_MouseDown(e.button, e.shift, e.x, e.y); });
        }
        if (pick < 620) {
            e.kind = Kind::Resize;
            window_.width = e.x = windowSide();
            window_.height = e.y = windowSide();
            return raise(e, [&] { ausgabe_.Form_Resize(); });
        }
        if (pick < 670) {
            e.kind = Kind::New;
            return raise(e, [&] { ausgabe_.MNew_Click(); });
        }
        if (pick < 730) {
            e.kind = Kind::Exact;
            return exact(e);
        }
        if (pick < 970) {
            e.kind = Kind::Guess;
            return guess(e);
        }
        e.kind = pick < 985 ? Kind::Help : Kind::Info;
        const std::size_t boxes = window_.boxes.size();
        const bool ok = raise(e, [&] {
            if (e.kind == Kind::Help) {
                ausgabe_.MHelp_Click();
            } else {
                ausgabe_.MInfo_Click();
            }
        });
        return ok && expect(window_.boxes.size() == boxes + 1, e, "one box for help or info");
    }

    // Points the left button at or near the target, so that checks hit often.
    void aim(Event& e, const LineShape& red) {
        const double degrees =
            state().TargetAngle.value() + uniform(-1.2, 1.2) * (state().Tolerance.value() + 0.5);
        const double radians = degrees * std::numbers::pi / 180;
        const double reach = uniform(1, 2 * static_cast<double>(state().LegLength) + 100);
        e.button = LeftButton;
        e.shift = static_cast<std::int16_t>(below(8));
        e.x = static_cast<float>(red.X1 + reach * std::cos(radians));
        e.y = static_cast<float>(red.Y1 - reach * std::sin(radians));
    }

    bool exact(Event& e) {
        // Some answers of any kind, then one that is taken for sure, so the
        // entry always ends. The first answer taken ends it; its magnitude
        // becomes the tolerance, and each number above 10 before it is
        // refused with a message.
        window_.answers.clear();
        const int count = below(7);
        for (int i = 0; i < count; ++i) {
            window_.answers.push_back(anyAnswer());
        }
        window_.answers.push_back(acceptedAnswer());
        e.answers = window_.answers.size();

        std::size_t asked = 0;
        std::size_t refused = 0;
        double expected = 0;
        for (const std::string& answer : window_.answers) {
            ++asked;
            if (const auto value = textToDouble(answer, format_)) {
                if (std::fabs(*value) <= 10) {
                    expected = std::fabs(*value);
                    break;
                }
                ++refused;
            }
        }
        const std::size_t inputs = window_.defaults.size();
        const std::size_t boxes = window_.boxes.size();
        if (!raise(e, [&] { ausgabe_.MExact_Click(); })) {
            return false;
        }
        window_.answers.clear();
        return expect(window_.defaults.size() - inputs == asked, e,
                      "the entry asks until the first acceptable answer") &&
               expect(window_.boxes.size() - boxes == refused, e,
                      "each number above 10 is refused with a message") &&
               expect(state().Tolerance.value() == expected, e,
                      "the tolerance is the magnitude of the answer taken");
    }

    bool guess(Event& e) {
        const std::int16_t attempts = state().Attempts;
        const std::int16_t hits = state().Hits;
        const std::size_t boxes = window_.boxes.size();
        if (!raise(e, [&] { ausgabe_.MGuess_Click(); })) {
            return false;
        }
        const bool hit = window_.boxes.size() > boxes &&
                         window_.boxes[boxes].text.starts_with("Herzlichen Glückwunsch!");
        if (hit) {
            ++hitsScored_;
            jokesShown_ += static_cast<long>(window_.boxes.size() - boxes - 1);
            return expect(state().Hits == hits + 1 ||
                              (hits == std::numeric_limits<std::int16_t>::max() &&
                               state().Hits == hits),
                          e, "a hit counts once, up to the counter's ceiling") &&
                   expect(state().Attempts == 0, e, "a hit poses a new task");
        }
        return expect(state().Hits == hits, e, "a miss scores nothing") &&
               expect(state().Attempts == (attempts == 3 ? 0 : attempts + 1), e,
                      "a miss counts an attempt; the fourth poses a new task") &&
               expect(window_.boxes.size() == boxes + 1, e, "a miss shows one message");
    }

    // ---- checking ---------------------------------------------------------

    template <typename Handler> bool raise(const Event& e, Handler&& handler) {
        remember(e);
        try {
            handler();
        } catch (const OperationError& error) {
            return fail(e, std::string("handler ended with OperationError: ") + error.what());
        } catch (const std::exception& error) {
            return fail(e, std::string("handler ended with an exception: ") + error.what());
        } catch (...) {
            return fail(e, "handler ended with an unknown exception");
        }
        if (!started_) {
            return true;
        }
        if (e.kind == Kind::Move || e.kind == Kind::Press || e.kind == Kind::AimedPress) {
            if (e.button == LeftButton && !checkLegFollowsAngle(e)) {
                return false;
            }
        }
        return checkInvariants(e);
    }

    bool expect(bool condition, const Event& e, const char* what) {
        return condition || fail(e, what);
    }

    static bool finite(const LineShape& s) {
        return std::isfinite(s.X1) && std::isfinite(s.Y1) && std::isfinite(s.X2) &&
               std::isfinite(s.Y2);
    }

    bool checkInvariants(const Event& e) {
        const GameState& s = state();
        const LineShape red = window_.line(Line::Schenkel1);
        const LineShape blue = window_.line(Line::Schenkel2);
        const NumberFormat& format = format_;
        const double tolerance = s.Tolerance.value();
        const double target = s.TargetAngle.value();

        bool ok = expect(s.Attempts >= 0 && s.Attempts <= 4, e, "attempts within 0 to 4") &&
                  expect(s.Hits >= 0, e, "hits never negative") &&
                  expect(s.Hits >= hits_, e, "hits never decrease") &&
                  expect(s.SetAngle == 0 || (s.SetAngle > 0 && s.SetAngle <= 2 * s.Pi), e,
                         "the set angle is 0 or within (0, 2 pi]") &&
                  expect(tolerance >= 0 && tolerance <= 10, e, "the tolerance within 0 to 10") &&
                  expect(target >= 0 && target <= 360 && target == std::floor(target), e,
                         "the target a whole number of degrees from 0 to 360") &&
                  expect(finite(red) && finite(blue), e, "the legs are finite") &&
                  expect(red.X1 == blue.X1 && red.Y1 == blue.Y1, e, "both legs share the vertex") &&
                  expect(red.Y2 == red.Y1 && red.X2 >= red.X1, e, "the red leg points right") &&
                  expect(s.Jokes.count() == jokes_, e, "the joke collection stays as loaded");
        for (const Arc& arc : window_.arcs) {
            ok = ok && expect(std::isfinite(arc.centreX) && std::isfinite(arc.centreY) &&
                                  std::isfinite(arc.radius) && std::isfinite(arc.start) &&
                                  std::isfinite(arc.sweep) && arc.radius >= 0 && arc.sweep > 0 &&
                                  arc.sweep <= twoPi + 1e-6,
                              e, "every arc is finite with a sweep in (0, 2 pi]");
        }
        // What the labels and the caption show matches the state.
        ok = ok &&
             expect(window_.label(Label::LKlicks) == "Versuche: " + intToText(s.Attempts), e,
                    "the attempts label shows the attempts") &&
             expect(window_.label(Label::LTreffer)
                        .starts_with("Erraten: " + intToText(s.Hits) + " Winkel"),
                    e, "the hits label shows the hits") &&
             expect(window_.label(Label::LWinkel) == "Winkel = " + s.TargetAngle.toText(format), e,
                    "the target label shows the target") &&
             expect(window_.caption ==
                        "Eingestellte Genauigkeit: " + s.Tolerance.toText(format) + "°",
                    e, "the caption shows the tolerance");
        hits_ = s.Hits;
        return ok;
    }

    // After the left button alone, the blue leg points in the direction of
    // the set angle, and one arc marks that angle from the red leg.
    bool checkLegFollowsAngle(const Event& e) {
        const LineShape blue = window_.line(Line::Schenkel2);
        const double dx = static_cast<double>(blue.X2) - blue.X1;
        const double dy = static_cast<double>(blue.Y1) - blue.Y2; // up is positive
        const double length = std::hypot(dx, dy);
        const double magnitude = std::max(
            {std::fabs(blue.X1), std::fabs(blue.Y1), std::fabs(blue.X2), std::fabs(blue.Y2), 1.0f});
        if (!expect(window_.arcs.size() == 1, e, "one arc marks the angle")) {
            return false;
        }
        if (length < 1e-3 * magnitude) {
            return true; // a leg too short to have a direction (window of no width)
        }
        double difference = std::remainder(std::atan2(dy, dx) - state().SetAngle, twoPi);
        const double allowed = 1e-6 + 8 * FLT_EPSILON * magnitude / length;
        return expect(std::fabs(difference) <= allowed, e,
                      "the blue leg points in the direction of the set angle");
    }

    void remember(const Event& e) {
        recent_[recentNext_ % recent_.size()] = e;
        ++recentNext_;
    }

    bool fail(const Event& e, const std::string& what) {
        std::ostringstream out;
        out.precision(9);
        out << what << "\n  at event " << e << "\n  seed " << seed_
            << " (repeat with ZIRKULON_MONKEY_SEED=" << seed_ << ")\n  the events before:\n";
        const std::size_t n = std::min(recentNext_, recent_.size());
        for (std::size_t i = recentNext_ - n; i < recentNext_; ++i) {
            out << "    " << recent_[i % recent_.size()] << "\n";
        }
        const GameState& s = state();
        out << "  state: Attempts " << s.Attempts << ", Hits " << s.Hits << ", SetAngle "
            << s.SetAngle << ", Tolerance " << s.Tolerance.value() << ", TargetAngle "
            << s.TargetAngle.value() << ", LegLength " << s.LegLength << ", window "
            << window_.width << " x " << window_.height;
        failure_ = out.str();
        return false;
    }

    std::uint64_t seed_;
    std::mt19937_64 random_;
    NumberFormat format_;
    FakeWindow window_;
    ScriptedRandom numbers_;
    TestAusgabe ausgabe_;
    bool started_ = false; // loaded and laid out
    std::int32_t jokes_ = 0;
    std::int16_t hits_ = 0;
    long hitsScored_ = 0;
    long jokesShown_ = 0;
    std::array<Event, 12> recent_{};
    std::size_t recentNext_ = 0;
    std::string failure_;
};

struct Run {
    const char* name;
    NumberFormat format;
    std::uint64_t seed;
};

void PrintTo(const Run& run, std::ostream* out) {
    *out << run.name;
}

class RandomPlay : public ::testing::TestWithParam<Run> {};

} // namespace

TEST_P(RandomPlay, KeepsEveryInvariantAfterEveryEvent) {
    const std::uint64_t seed = seedFor(GetParam().seed);
    std::cout << "[ monkey   ] seed " << seed << " (" << GetParam().name << ")" << std::endl;
    RecordProperty("seed", std::to_string(seed));
    Monkey monkey(seed, GetParam().format);
    Options options;
    options.events = eventsFor(150000);
    const std::string failure = monkey.run(options);
    EXPECT_EQ(failure, "");
    // The run must have got somewhere: checks that hit and jokes drawn.
    EXPECT_GT(monkey.hitsScored(), 0);
    EXPECT_GT(monkey.jokesShown(), 0);
    std::cout << "[ monkey   ] " << monkey.hitsScored() << " hits, " << monkey.jokesShown()
              << " jokes" << std::endl;
}

INSTANTIATE_TEST_SUITE_P(Monkey, RandomPlay,
                         ::testing::Values(Run{"German", NumberFormat::german(), 20240611},
                                           Run{"English", NumberFormat::english(), 20240612}),
                         [](const ::testing::TestParamInfo<Run>& info) {
                             return std::string(info.param.name);
                         });

// Many hits in a row from just below the 16-bit ceiling: the counter stops
// there and never wraps round to a negative count.
TEST(Monkey, HitCounterStopsAtItsCeiling) {
    const std::uint64_t seed = seedFor(20240613);
    std::cout << "[ monkey   ] seed " << seed << std::endl;
    Monkey monkey(seed, NumberFormat::german());
    Options options;
    options.events = std::min(eventsFor(150000) / 5, 30000L);
    options.startHits = std::numeric_limits<std::int16_t>::max() - 20;
    options.aimedShare = 45;
    EXPECT_EQ(monkey.run(options), "");
    EXPECT_GT(monkey.hitsScored(), 20);
    EXPECT_EQ(monkey.state().Hits, std::numeric_limits<std::int16_t>::max());
}
