// SPDX-License-Identifier: GPL-3.0-or-later
// The window object: which boxes, captions, legs and arcs each event shows,
// in which order, driven through a scripted window. The rules behind them
// are tested on their own, the seam's shared pieces in seam_test.cpp.
#include "FakeWindow.h"
#include "game/Task.h"
#include "geometry/Keys.h"
#include "jokes/Catalogue.h"
#include "numerics/Error.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace zirkulon;
using zirkulon::test::Rig;

namespace {

constexpr float target90 = 0.25f;                // 0.25 * 360 = 90
constexpr float target137 = 137.0f / 360;        // rounds to 137
constexpr float drawsLongestJoke = 141.0f / 159; // position 71

const std::string fourthMiss =
    "Das waren nun 4 erfolglose Versuche. Vielleicht hast du beim nächsten mehr Glück.";

// A loaded and laid-out window object whose first target is `firstTarget`.
class Game : public ::testing::Test, protected Rig {
protected:
    explicit Game(float firstTarget = target90) {
        random.numbers = {firstTarget};
        ausgabe.Form_Load();
        ausgabe.Form_Resize();
        window.log.clear();
    }

    // Presses the left button at (x, y) twips, as a player turning the leg.
    void press(float x, float y) { ausgabe.Form_MouseDown(LeftButton, 0, x, y); }

    // Chooses "prüfen"; should the check need them, the next draws give a
    // target of 90, or joke 20 and then a target of 90.
    void check() {
        random.numbers = {target90, target90};
        ausgabe.MGuess_Click();
    }

    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : window.boxes) {
            texts.push_back(box.title + ": " + box.text);
        }
        return texts;
    }
};

class Game137 : public Game {
protected:
    Game137() : Game(target137) {}
};

} // namespace

// ---- Start-up, new task and the simple commands --------------------------

TEST(StartUp, ShowsTheFirstTaskThenTheTolerance) {
    Rig rig;
    rig.random.numbers = {target137};
    rig.ausgabe.Form_Load();
    EXPECT_EQ(rig.window.log, (std::vector<std::string>{"label: Erraten: 0 Winkel",
                                                        "label: Winkel = 137", "label: Versuche: 0",
                                                        "caption: Eingestellte Genauigkeit: 2°"}));
    const GameState& s = rig.ausgabe.state();
    EXPECT_EQ(s.Tolerance.type(), Variant::Type::Integer);
    EXPECT_EQ(s.Pi, 3.14159265358979);
    EXPECT_EQ(s.SetAngle, 0.0);
    EXPECT_EQ(s.Hits, 0);
    EXPECT_EQ(rig.random.reseeds, 1);
    // The joke collection holds the catalogue in order.
    const auto entries = jokes::catalogueEntries();
    ASSERT_EQ(s.Jokes.count(), 160);
    for (int p = 1; p <= 160; ++p) {
        EXPECT_EQ(s.Jokes.item(p), entries[static_cast<std::size_t>(p - 1)]);
    }
}

TEST_F(Game, NewTaskKeepsHitsCaptionLegsAndTheSetAngle) {
    press(3300, 3300);
    check(); // a miss against 90
    const auto before = window;
    const double angle = ausgabe.state().SetAngle;

    random.numbers = {1.0f / 16};
    ausgabe.MNew_Click();
    EXPECT_EQ(window.label(Label::LWinkel), "Winkel = 22");
    EXPECT_EQ(window.label(Label::LKlicks), "Versuche: 0");
    EXPECT_EQ(window.label(Label::LTreffer), before.label(Label::LTreffer));
    EXPECT_EQ(window.caption, before.caption);
    EXPECT_EQ(window.lines, before.lines);
    EXPECT_EQ(window.arcs.size(), 1u);
    EXPECT_EQ(ausgabe.state().SetAngle, angle);
}

TEST_F(Game, HelpInfoAndEnd) {
    ausgabe.MHelp_Click();
    ausgabe.MInfo_Click();
    EXPECT_EQ(boxTexts(),
              (std::vector<std::string>{
                  "Zirkulon Hilfe: Den angegebene Winkel musst Du zwischen dem roten und dem "
                  "blauen Schenkel eingestellen. Den blauen Schenkel kannst Du mit der Maus "
                  "bewegt. Wenn Du meinst den Winkel richtig eingestllt zu haben, klickst Du auf "
                  "'prüfen'. Du hast immer 3 Versuche. Viel Spaß!",
                  "Zirkulon Info: Zirkulon Ver. 1.0. Autor: das Zirkulon-Team. Email: "
                  "zirkulon@example.org."}));
    EXPECT_FALSE(window.unloaded);
    ausgabe.MEnd_Click();
    EXPECT_TRUE(window.unloaded);
}

// ---- Checking a guess ---------------------------------------------------

TEST_F(Game, ACheckBeforeAnyPointerActionJudgesZero) {
    check();
    EXPECT_EQ(boxTexts(),
              (std::vector<std::string>{"Zirkulon: Der eingestellte Winkel 0° ist zu klein."}));
}

TEST_F(Game, PointerStraightAboveIsAnExactNinety) {
    press(4110, 50);
    check();
    EXPECT_EQ(window.boxes[0].text,
              "Herzlichen Glückwunsch! Der eingestellte Winkel exakt den gesuchten Wert 90°");
}

TEST_F(Game137, AMissCountsTheAttemptBeforeItsMessageAndKeepsTheTask) {
    press(2000, 2000); // 135 degrees
    check();
    EXPECT_EQ(window.log, (std::vector<std::string>{
                              "label: Versuche: 1",
                              "box Zirkulon: Der eingestellte Winkel 135° ist zu klein."}));
    EXPECT_EQ(ausgabe.state().TargetAngle.value(), 137);
}

TEST_F(Game137, TheFourthMissEndsTheTaskWithItsOwnMessage) {
    press(2000, 2000);
    for (int i = 0; i < 3; ++i) {
        check();
    }
    window.log.clear();
    check();
    EXPECT_EQ(window.log,
              (std::vector<std::string>{"label: Versuche: 4", "box Zirkulon: " + fourthMiss,
                                        "label: Winkel = 90", "label: Versuche: 0"}));
}

TEST_F(Game137, AHitOnTheFourthAttemptCountsAsAHit) {
    press(2000, 2000);
    for (int i = 0; i < 3; ++i) {
        check();
    }
    press(2000, 2100); // 136.4 degrees
    check();
    EXPECT_EQ(ausgabe.state().Hits, 1);
    EXPECT_EQ(window.label(Label::LTreffer), "Erraten: 1 Winkel.");
}

TEST_F(Game, AHitCongratulatesThenCountsThenJokesThenPosesTheNextTask) {
    press(4110, 50);
    check();
    EXPECT_EQ(window.log,
              (std::vector<std::string>{
                  "label: Versuche: 1",
                  "box Zirkulon: Herzlichen Glückwunsch! Der eingestellte Winkel "
                  "exakt den gesuchten Wert 90°",
                  "label: Erraten: 1 Winkel.", "label: Winkel = 90", "label: Versuche: 0"}));
    window.log.clear();
    check(); // the second hit under the starting tolerance earns a joke
    ASSERT_EQ(window.log.size(), 6u);
    EXPECT_EQ(window.log[2], "label: Erraten: 2 Winkel.");
    EXPECT_EQ(window.log[3], "box Winkel Witze: " + ausgabe.state().Jokes.item(20));
    EXPECT_EQ(window.log[4], "label: Winkel = 90");
    EXPECT_EQ(random.reseeds, 1 + 1 + 2); // load, first task, joke and next task
}

TEST_F(Game, AJokeIsShownWhole) {
    press(4110, 50);
    random.numbers = {target90, drawsLongestJoke, target90};
    ausgabe.MGuess_Click();
    ausgabe.MGuess_Click();
    EXPECT_EQ(window.boxes.back().title, "Winkel Witze");
    EXPECT_EQ(window.boxes.back().text, ausgabe.state().Jokes.item(71));
}

TEST_F(Game, TheHitCounterStopsAtItsLargestValue) {
    window.answers = {"1"}; // a joke on every hit
    ausgabe.MExact_Click();
    press(4110, 50);
    ausgabe.state().Hits = 32766;
    for (int hit = 0; hit < 3; ++hit) {
        check();
    }
    EXPECT_EQ(ausgabe.state().Hits, 32767);
    EXPECT_EQ(window.label(Label::LTreffer), "Erraten: 32767 Winkel.");
    EXPECT_EQ(window.boxes.size(), 6u); // every hit still congratulated and joked
}

// ---- Entering the tolerance ---------------------------------------------

TEST_F(Game, TheToleranceBoxAsksUntilANumberUpToTenIsTyped) {
    window.answers = {"", "abc", "   ", "15", "-3"};
    ausgabe.MExact_Click();
    EXPECT_EQ(window.log, (std::vector<std::string>{
                              "input [2]", "input [2]", "input [2]", "input [2]",
                              "box Zirkulon: Eine Genauigkeit von 15?!? Das ist definitiv zu groß!",
                              "input [15]", "caption: Eingestellte Genauigkeit: 3°"}));
    EXPECT_EQ(ausgabe.state().Tolerance.type(), Variant::Type::Double);
    EXPECT_EQ(ausgabe.state().Tolerance.value(), 3);
    EXPECT_TRUE(window.answers.empty());
}

TEST_F(Game, TheEntryLeavesTheTaskAloneAndShowsFractions) {
    press(2000, 2000);
    check();
    const auto labels = window.labels;
    window.answers = {"2,5"};
    ausgabe.MExact_Click();
    EXPECT_EQ(window.caption, "Eingestellte Genauigkeit: 2,5°");
    EXPECT_EQ(window.labels, labels);
    EXPECT_EQ(ausgabe.state().Attempts, 1);
}

TEST(Tolerance, EnglishNumbersUnderAnEnglishLocale) {
    Rig rig(NumberFormat::english());
    rig.random.numbers = {target90};
    rig.ausgabe.Form_Load();
    rig.window.answers = {"2,5", "3.5", "4"};
    rig.ausgabe.MExact_Click(); // 25: refused
    rig.ausgabe.MExact_Click();
    EXPECT_EQ(rig.window.defaults, (std::vector<std::string>{"2", "25", "3.5"}));
    EXPECT_EQ(rig.window.caption, "Eingestellte Genauigkeit: 4°");
}

// A browser learns its number format slowly. The start, a turn and a check
// in whole numbers never ask for it; reading the first typed number asks,
// once.
namespace {
int formatAsked = 0; // how often the ask below ran
} // namespace

TEST(Tolerance, TheNumberFormatIsAskedForOnlyWhenATextNeedsIt) {
    Rig rig(NumberFormat([] {
        ++formatAsked;
        return NumberFormat::Separators{"#", "_"};
    }));
    rig.random.numbers = {target90};
    rig.ausgabe.Form_Load();
    rig.ausgabe.Form_Resize();
    rig.ausgabe.Form_MouseDown(LeftButton, 0, 8000, 4000);
    rig.ausgabe.MGuess_Click();
    EXPECT_EQ(formatAsked, 0);

    rig.window.answers = {"1_0#5", "2#5"}; // 10.5 is refused
    rig.ausgabe.MExact_Click();
    EXPECT_EQ(rig.window.caption, "Eingestellte Genauigkeit: 2#5°");
    EXPECT_EQ(rig.window.defaults.back(), "10#5");
    EXPECT_EQ(formatAsked, 1);
}

TEST_F(Game, ThousandsOfRefusalsInARowNeitherCrashNorLoseTheLastValue) {
    constexpr std::size_t refusals = 20000;
    window.answers.assign(refusals, "11");
    window.answers.push_back("1");
    ausgabe.MExact_Click();
    EXPECT_EQ(window.boxes.size(), refusals);
    EXPECT_EQ(window.defaults.size(), refusals + 1);
    EXPECT_EQ(window.defaults.back(), "11");
    EXPECT_EQ(window.caption, "Eingestellte Genauigkeit: 1°");
}

// ---- Legs and pointer ---------------------------------------------------

TEST_F(Game, ResizeLaysTheLegsOutAndKeepsTheAngleAndTheArc) {
    EXPECT_EQ(window.lines[Line::Schenkel1], (LineShape{4110, 4110, 7809, 4110}));
    EXPECT_EQ(window.lines[Line::Schenkel2], (LineShape{4110, 4110, 4110, 411}));
    EXPECT_EQ(window.clsCount, 0); // the layout neither clears nor draws
    press(3300, 3300);
    window.width = 6000;
    window.height = 3000;
    ausgabe.Form_Resize();
    EXPECT_EQ(window.lines[Line::Schenkel2], (LineShape{3000, 1500, 3000, -1200}));
    EXPECT_EQ(ausgabe.state().LegLength, 2700.0f);
    EXPECT_EQ(ausgabe.state().SetAngle, 2.3561944901923417);
    ASSERT_EQ(window.arcs.size(), 1u);
    EXPECT_EQ(window.arcs[0].centreX, 4110.0f);
}

TEST_F(Game, APressTurnsTheBlueLegAndRedrawsTheArc) {
    press(3300, 3300);
    press(3300, 3300);
    const GameState& s = ausgabe.state();
    EXPECT_EQ(s.DeltaX.type(), Variant::Type::Single);
    EXPECT_EQ(s.DeltaX.value(), -810.0);
    EXPECT_EQ(s.DeltaY, -810.0f);
    EXPECT_EQ(s.SetAngle, 2.3561944901923417);
    EXPECT_EQ(window.lines[Line::Schenkel2],
              (LineShape{4110, 4110, 1494.4119873046875f, 1494.4119873046875f}));
    EXPECT_EQ(window.clsCount, 2);
    ASSERT_EQ(window.arcs.size(), 1u); // each action clears the last arc
    EXPECT_EQ(window.lastCircle.x, 4110.0f);
    EXPECT_EQ(window.lastCircle.y, 4110.0f);
    EXPECT_EQ(window.lastCircle.radius, 1109.699951171875f);
    EXPECT_EQ(window.lastCircle.start, -0.001f);
    EXPECT_EQ(window.lastCircle.end, 2.356194496154785f);
}

TEST_F(Game, OnlyTheLeftButtonAloneTurnsTheLeg) {
    press(3300, 3300);
    const auto before = window.lines;
    for (std::int16_t buttons : {0, 2, 3, 4, 5, 6, 7}) {
        ausgabe.Form_MouseMove(buttons, 0, 5000, 5000);
        ausgabe.Form_MouseDown(buttons, 0, 5000, 5000);
    }
    EXPECT_EQ(window.lines, before);
    EXPECT_EQ(window.clsCount, 1);
    ausgabe.Form_MouseMove(LeftButton, 7, 5000, 4110); // shift keys play no part
    EXPECT_EQ(ausgabe.state().SetAngle, 6.28318530717958);
}

// A key is a left-button move to the direction it chooses: the same angle,
// leg, arc and reading as that move, and a check judges it alike.
TEST_F(Game, AKeyTurnsTheLegAsALeftButtonMoveToItsDirection) {
    EXPECT_EQ(window.reading, (std::pair<std::int16_t, std::string>{0, "0 Grad, Nullwinkel"}));
    press(3300, 3300); // 135 degrees
    EXPECT_EQ(window.reading.second, "135 Grad, stumpfer Winkel");
    ausgabe.Form_KeyDown(KeyPageUp, 0);
    ausgabe.Form_KeyDown(KeyRight, 0);
    ausgabe.Form_KeyDown(KeyRight, 0);

    Rig dragged;
    dragged.random.numbers = {0.5f};
    dragged.ausgabe.Form_Load();
    dragged.ausgabe.Form_Resize();
    const geometry::Point there = geometry::pointerAt(147, {4110, 4110}, 3699);
    dragged.ausgabe.Form_MouseMove(LeftButton, 0, there.x, there.y);
    EXPECT_EQ(ausgabe.state().SetAngle, dragged.ausgabe.state().SetAngle);
    EXPECT_EQ(window.lines, dragged.window.lines);
    EXPECT_EQ(window.lastCircle.end, dragged.window.lastCircle.end);
    EXPECT_EQ(window.reading,
              (std::pair<std::int16_t, std::string>{147, "147 Grad, stumpfer Winkel"}));
    EXPECT_EQ(window.clsCount, 4);

    ausgabe.Form_KeyDown(KeyReturn, 0); // Enter turns nothing
    EXPECT_EQ(window.clsCount, 4);
    ausgabe.Form_KeyDown(KeyHome, 0);
    ausgabe.Form_KeyDown(KeyLeft, 0);
    EXPECT_EQ(window.reading.first, 360);
    EXPECT_EQ(ausgabe.state().SetAngle, game::pi + game::pi);
}
