// SPDX-License-Identifier: GPL-3.0-or-later
// What the platform seam provides for every platform alike: the form with
// its picture, its repaints and its way in; the collection, the arcs, the
// random numbers, and the delivery of events to the window object.
#include "FakeWindow.h"
#include "app/Collection.h"
#include "numerics/Error.h"
#include "platform/Delivery.h"
#include "platform/Form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

using namespace zirkulon;
using zirkulon::test::Rig;
using zirkulon::test::ScriptedRandom;

namespace {

struct Point {
    float x, y;
};

// The shared form with the platform's part recorded: the areas it is asked to
// repaint, the readings it tells, and message boxes that run `whileOpen`.
class RecordedForm final : public Form {
public:
    RecordedForm() : Form([](const std::string&) {}) {}

    std::vector<Area> repainted;
    int readings = 0;
    int wakes = 0;
    std::vector<std::string> boxes;
    std::function<void()> whileOpen;

    void messageBox(const std::string& text, const std::string& = {}) override {
        boxes.push_back(text);
        if (whileOpen) {
            whileOpen();
        }
    }
    std::string inputBox(const std::string&, const std::string&) override { return "1"; }
    void setCaption(const std::string&) override {}
    void setCaption(Label, const std::string&) override {}
    void unload() override { stop(); }

    // Whether every point on the surface lies in an area repainted since the
    // last call.
    bool repaintedAll(const std::vector<Point>& points) {
        const auto in = [](Point p, const Area& a) {
            return p.x >= a.left && p.x < a.right && p.y >= a.top && p.y < a.bottom;
        };
        const bool all = std::all_of(points.begin(), points.end(), [&](Point p) {
            return !in(p, surface()) || std::any_of(repainted.begin(), repainted.end(),
                                                    [&](const Area& a) { return in(p, a); });
        });
        repainted.clear();
        return all;
    }

private:
    void present(const Area& area, bool readingChanged) override {
        if (!area.empty()) {
            repainted.push_back(area);
        }
        readings += readingChanged ? 1 : 0;
    }
    void wakeAfter(int) override { ++wakes; }
};

// The painter's calls, one line each.
class RecordingPainter final : public Painter {
public:
    std::vector<std::string> calls;

    void fill(const Area& a, design::Rgb c) override {
        calls.push_back("fill " + numbers({a.left, a.top, a.right, a.bottom}) + colour(c));
    }
    void focusFrame(const Area& a, float width, design::Rgb c) override {
        calls.push_back("focus " + numbers({a.left, a.top, a.right, a.bottom, width}) + colour(c));
    }
    void line(const LineShape& s, float width, design::Rgb c) override {
        calls.push_back("line " + numbers({s.X1, s.Y1, s.X2, s.Y2, width}) + colour(c));
    }
    void arc(const Arc& a, float width, design::Rgb c) override {
        calls.push_back("arc " + numbers({a.centreX, a.centreY, a.radius, width}) +
                        (a.radiusToStart ? "from the centre " : "") +
                        (a.radiusToEnd ? "to the centre " : "") + colour(c));
    }

private:
    static std::string numbers(std::initializer_list<float> values) {
        std::string text;
        for (float v : values) {
            text += std::to_string(static_cast<int>(std::lround(v))) + " ";
        }
        return text;
    }
    static std::string colour(design::Rgb c) {
        return std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue);
    }
};

// The points a leg runs through, and those of an arc with its radius.
std::vector<Point> along(const LineShape& s) {
    std::vector<Point> points;
    for (int i = 0; i <= 16; ++i) {
        points.push_back({s.X1 + (s.X2 - s.X1) * i / 16, s.Y1 + (s.Y2 - s.Y1) * i / 16});
    }
    return points;
}
std::vector<Point> along(const Arc& arc) {
    std::vector<Point> points{{arc.centreX, arc.centreY}};
    for (int i = 0; i <= 64; ++i) {
        const double phi = arc.start + arc.sweep * i / 64;
        points.push_back({static_cast<float>(arc.centreX + arc.radius * std::cos(phi)),
                          static_cast<float>(arc.centreY - arc.radius * std::sin(phi))});
    }
    return points;
}

// The game in the recorded form, loaded and shown at the designed size.
struct FormRig {
    FormRig() : ausgabe(form, random, NumberFormat::german()) {
        form.setEvents(&ausgabe);
        random.numbers = {0.25f};
        form.resized(8220, 8220);
        form.load();
        form.shown();
        form.repainted.clear();
    }
    RecordedForm form;
    ScriptedRandom random;
    Ausgabe ausgabe;
};

} // namespace

// A press, a move, a clear and a resize repaint where the legs and the arc
// were and are, in one area a handler; the picture is painted in one walk,
// beneath the legs first.
TEST(Seam, TheFormRepaintsWhatChangedAndPaintsThePictureInOneWalk) {
    FormRig rig;
    RecordedForm& form = rig.form;
    const LineShape upright = form.line(Line::Schenkel2);
    form.pointerPressed(LeftButton, 0, 3300, 3300);
    // One area a handler, where the blue leg was and is and the arc is.
    ASSERT_EQ(form.repainted.size(), 1u);
    const Area& area = form.repainted[0];
    EXPECT_LT((area.right - area.left) * (area.bottom - area.top), 8220.0f * 8220 / 4);
    RecordingPainter painter;
    form.paint(painter, {0, 0, 8220, 8220});
    EXPECT_EQ(painter.calls,
              (std::vector<std::string>{
                  "fill 0 0 8220 8220 240,240,240", "arc 4110 4110 1110 15 from the centre 0,0,0",
                  "line 4110 4110 7809 4110 30 255,0,0", "line 4110 4110 1494 1494 30 0,0,255"}));
    std::vector<Point> changed = along(upright);
    const LineShape turned = form.line(Line::Schenkel2);
    const Arc pressed = makeArc(4110, 4110, 1109.7f, -0.001f, 2.3561945f);
    for (const auto& points : {along(turned), along(pressed)}) {
        changed.insert(changed.end(), points.begin(), points.end());
    }
    EXPECT_TRUE(form.repaintedAll(changed));

    // A move clears the arc of the press: where it was is repainted too,
    // though the new one, to 10 degrees, and the legs lie elsewhere.
    form.pointerPressed(LeftButton, 0, 2231, 4794); // 200 degrees
    const LineShape lowerLeft = form.line(Line::Schenkel2);
    const Arc wide = makeArc(4110, 4110, 1109.7f, -0.001f, 3.4906585f);
    form.repainted.clear();
    form.pointerMoved(LeftButton, 0, 7064, 3589);
    changed = along(wide);
    for (const auto& points : {along(lowerLeft), along(form.line(Line::Schenkel2))}) {
        changed.insert(changed.end(), points.begin(), points.end());
    }
    EXPECT_TRUE(form.repaintedAll(changed));
    // A move without the button, or the right one, repaints nothing.
    form.pointerMoved(0, 0, 1000, 1000);
    form.pointerPressed(RightButton, 0, 1000, 1000);
    EXPECT_TRUE(form.repainted.empty());

    // A resize moves both legs and leaves the arc; the focus frame lies
    // just inside the edge, beneath the arc.
    const LineShape red = form.line(Line::Schenkel1);
    const LineShape blue = form.line(Line::Schenkel2);
    form.resized(12000, 6000);
    changed = along(red);
    for (const LineShape& s : {blue, form.line(Line::Schenkel1), form.line(Line::Schenkel2)}) {
        const auto points = along(s);
        changed.insert(changed.end(), points.begin(), points.end());
    }
    EXPECT_TRUE(form.repaintedAll(changed));
    EXPECT_EQ(form.line(Line::Schenkel1), (LineShape{6000, 3000, 11400, 3000}));
    form.focusChanged(true);
    EXPECT_EQ(form.repainted, (std::vector<Area>{{0, 0, 12000, 6000}}));
    painter.calls.clear();
    form.paint(painter, {0, 0, 200, 200});
    ASSERT_EQ(painter.calls.size(), 5u);
    EXPECT_EQ(painter.calls[0], "fill 0 0 200 200 240,240,240");
    EXPECT_EQ(painter.calls[1], "focus 30 30 11970 5970 30 80,80,80");
}

// The way in: the menu by its position, the surface's own keys, and a resize
// that comes while a box is open, which waits for the handler and comes once.
TEST(Seam, TheFormTakesItsEventsOneWayOnEveryPlatform) {
    FormRig rig;
    RecordedForm& form = rig.form;
    form.menuChosen(3);
    form.menuChosen(6);
    EXPECT_EQ(form.boxes.size(), 1u); // «Hilfe», and nothing for a seventh entry

    // Assistive technology hears a step at once, then, while the steps go
    // on, only the last of a tenth of a second.
    form.woken();
    const int readings = form.readings;
    const int wakes = form.wakes;
    EXPECT_FALSE(form.keyPressed(KeyReturn, 0));
    EXPECT_FALSE(form.keyPressed(KeyEscape, 0));
    EXPECT_TRUE(form.repainted.empty());
    EXPECT_TRUE(form.keyPressed(KeyHome, 0));
    EXPECT_EQ(form.readings, readings + 1);
    EXPECT_TRUE(form.keyPressed(KeyUp, ShiftMask));
    EXPECT_TRUE(form.keyPressed(KeyUp, 0));
    EXPECT_EQ(form.readings, readings + 1);
    form.woken();
    EXPECT_EQ(form.readings, readings + 2);
    EXPECT_EQ(form.degrees(), 3);
    EXPECT_EQ(form.reading(), "3 Grad, spitzer Winkel");
    form.woken();
    EXPECT_TRUE(form.keyPressed(KeyUp, 0));
    EXPECT_EQ(form.readings, readings + 3);
    EXPECT_EQ(form.wakes, wakes + 3);

    // The window system resizes the window twice while «Hilfe» is open.
    std::vector<float> seen;
    form.whileOpen = [&] {
        form.resized(6000, 3000);
        form.resized(9000, 4500);
        seen = {form.scaleWidth(), form.line(Line::Schenkel1).X1};
    };
    form.menuChosen(3);
    EXPECT_EQ(seen,
              (std::vector<float>{8220, 4110})); // the handler's size is the one it began with
    EXPECT_EQ(form.scaleWidth(), 9000);
    EXPECT_EQ(form.line(Line::Schenkel1), (LineShape{4500, 2250, 8550, 2250}));
}

TEST(Seam, TheCollectionCountsFromOne) {
    Collection jokes;
    jokes.add("a");
    jokes.add("b");
    EXPECT_EQ(jokes.count(), 2);
    EXPECT_EQ(jokes.item(1), "a");
    EXPECT_EQ(jokes.item(2), "b");
    EXPECT_THROW(jokes.item(0), OperationError);
    EXPECT_THROW(jokes.item(3), OperationError);
}

TEST(Seam, ArcsAreInterpretedAsTheDrawingSurfaceDoes) {
    const Arc arc = makeArc(4110, 4110, 1109.7f, -0.001f, 2.3561945f);
    EXPECT_TRUE(arc.radiusToStart);
    EXPECT_FALSE(arc.radiusToEnd);
    EXPECT_EQ(arc.start, static_cast<double>(0.001f));
    EXPECT_EQ(arc.sweep, static_cast<double>(2.3561945f) - static_cast<double>(0.001f));
    // 2 pi rounded to single lies just above 2 pi and still draws the full turn.
    const Arc full = makeArc(0, 0, 10, -0.001f, 6.2831855f);
    EXPECT_GT(full.start + full.sweep, 2 * std::numbers::pi);
    // An end before the start runs on through almost the whole circle; an
    // end equal to the start through all of it.
    EXPECT_NEAR(makeArc(0, 0, 10, -0.001f, 0.0005f).sweep, 2 * std::numbers::pi - 0.0005, 1e-6);
    EXPECT_EQ(makeArc(0, 0, 10, 1.5f, 1.5f).sweep, 2 * std::numbers::pi);
    EXPECT_TRUE(makeArc(0, 0, 10, 1, -2).radiusToEnd);

    EXPECT_THROW(makeArc(0, 0, 10, 0, 6.2832f), OperationError);
    EXPECT_THROW(makeArc(0, 0, 10, -7, 1), OperationError);
    EXPECT_THROW(makeArc(0, 0, -1, 0, 1), OperationError);
}

TEST(Seam, DeliveryRaisesOneEventAtATimeAndAnErrorEndsOnlyItsHandler) {
    static std::vector<std::string> reported;
    reported.clear();
    EventDelivery deliver([](const std::string& message) { reported.push_back(message); });
    Rig rig;
    rig.random.numbers = {0.25f};
    EXPECT_FALSE(deliver([](FormEvents& e) { e.Form_Load(); })); // no window object yet
    deliver.setEvents(&rig.ausgabe);
    EXPECT_TRUE(deliver([](FormEvents& e) { e.Form_Load(); }));

    // An event that arrives while a handler runs (its box open) is not raised.
    bool nested = true;
    deliver([&](FormEvents&) { nested = deliver([](FormEvents& e) { e.MNew_Click(); }); });
    EXPECT_FALSE(nested);

    // An error is reported once and ends its handler; the next event runs.
    deliver([](FormEvents& e) {
        e.MHelp_Click();
        throw OperationError("Überlauf");
    });
    EXPECT_EQ(reported, std::vector<std::string>{"Überlauf"});
    EXPECT_TRUE(deliver([](FormEvents& e) { e.MInfo_Click(); }));
    EXPECT_EQ(rig.window.boxes.size(), 2u);

    deliver.stop(); // unloaded
    EXPECT_FALSE(deliver([](FormEvents& e) { e.MHelp_Click(); }));
    EXPECT_EQ(rig.window.boxes.size(), 2u);
}

TEST(Seam, RandomSinglesLieInTheHalfOpenUnitInterval) {
    ClockRandom random;
    random.seed(7);
    float lowest = 1, highest = 0;
    for (int i = 0; i < 100000; ++i) {
        const float r = random.next();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        lowest = std::min(lowest, r);
        highest = std::max(highest, r);
    }
    EXPECT_LT(lowest, 0.001f);
    EXPECT_GT(highest, 0.999f);
}
