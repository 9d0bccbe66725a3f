#include "FakePlatform.h"
#include "app/Ausgabe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace zirkulon;
using zirkulon::test::FakePlatform;

namespace {

constexpr float target90 = 0.25f; // 0.25 * 360 = 90

class Game : public ::testing::Test {
protected:
    Game() {
        window.randoms = {target90};
        ausgabe.Form_Load();
        ausgabe.Form_Resize();
        window.log.clear();
        window.boxes.clear();
    }

    GameState& state() { return ausgabe.state(); }

    // A set angle whose conversion to degrees gives `degrees` exactly where
    // some double does, else as closely as doubles allow.
    double angleFor(double degrees) {
        double angle = degrees / 180 * state().Pi;
        double best = angle;
        for (int step = 0; step < 64; ++step) {
            const double d = (angle / state().Pi) * 180;
            if (d == degrees) {
                return angle;
            }
            if (std::fabs(d - degrees) < std::fabs((best / state().Pi) * 180 - degrees)) {
                best = angle;
            }
            angle = std::nextafter(angle, d < degrees ? 10.0 : -10.0);
        }
        EXPECT_NEAR((best / state().Pi) * 180, degrees, 1e-12);
        return best;
    }

    void pose(double target, Variant tolerance) {
        state().TargetAngle = Variant::real(target);
        state().Tolerance = tolerance;
    }

    // Checks with the blue leg at `degrees`; scripts a joke draw (position 20)
    // and the next task's target (90), should either be needed.
    void check(double degrees) {
        state().SetAngle = angleFor(degrees);
        window.randoms.assign({target90, target90});
        ausgabe.MGuess_Click();
    }

    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : window.boxes) {
            texts.push_back(box.text);
        }
        return texts;
    }

    int jokesShown() const {
        return static_cast<int>(
            std::count_if(window.boxes.begin(), window.boxes.end(),
                          [](const auto& b) { return b.title == "Winkel Witze"; }));
    }

    std::size_t logIndex(const std::string& entry) const {
        const auto it = std::find(window.log.begin(), window.log.end(), entry);
        EXPECT_NE(it, window.log.end()) << entry;
        return static_cast<std::size_t>(it - window.log.begin());
    }

    FakePlatform window;
    Ausgabe ausgabe{window};
};

const std::string tooSmall(const char* shown) {
    return std::string("Der eingestellte Winkel ") + shown + "° ist zu klein.";
}
const std::string tooLarge(const char* shown) {
    return std::string("Der eingestellte Winkel ") + shown + "° ist zu groß.";
}
const std::string fourthMiss =
    "Das waren nun 4 erfolglose Versuche. Vielleicht hast du beim nächsten mehr Glück.";

} // namespace

// ---- Start-up and new task ----------------------------------------------

TEST(StartUp, ShowsTheFirstTaskAndTheTolerance) {
    FakePlatform window;
    window.randoms = {0.38055f}; // 136.998 -> 137
    Ausgabe ausgabe(window);
    EXPECT_EQ(ausgabe.state().Hits, 0);
    ausgabe.Form_Load();

    EXPECT_EQ(window.log, (std::vector<std::string>{"label: Erraten: 0 Winkel",
                                                    "label: Winkel = 137", "label: Versuche: 0",
                                                    "caption: Eingestellte Genauigkeit: 2°"}));
    const GameState& s = ausgabe.state();
    EXPECT_EQ(s.Tolerance.type(), Variant::Type::Integer);
    EXPECT_EQ(s.Tolerance.value(), 2);
    EXPECT_EQ(s.TargetAngle.type(), Variant::Type::Double);
    EXPECT_EQ(s.Pi, 3.14159265358979);
    EXPECT_NE(s.Pi, std::numbers::pi);
    EXPECT_EQ(s.SetAngle, 0.0);
    EXPECT_EQ(s.Attempts, 0);
    EXPECT_EQ(window.reseedCount, 1);
}

TEST(StartUp, TargetsRoundTheSingleProductTiesToEven) {
    const std::pair<float, const char*> cases[] = {
        {1.0f / 16, "Winkel = 22"}, {3.0f / 16, "Winkel = 68"},    {0.0f, "Winkel = 0"},
        {0.5f / 360, "Winkel = 0"}, {0.99999994f, "Winkel = 360"}, {0.5f, "Winkel = 180"}};
    for (const auto& [r, shown] : cases) {
        FakePlatform window;
        window.randoms = {r};
        Ausgabe ausgabe(window);
        ausgabe.Form_Load();
        EXPECT_EQ(window.label(Label::LWinkel), shown) << r;
    }
}

TEST_F(Game, NewTaskKeepsHitsCaptionLegsAndTheSetAngle) {
    check(100); // miss against 90
    state().Hits = 5;
    window.setCaption(Label::LTreffer, "Erraten: 5 Winkel.");
    ausgabe.Form_MouseDown(LeftButton, 0, 3300, 3300);
    const LineShape leg = window.line(Line::Schenkel2);
    const double angle = state().SetAngle;
    const std::string caption = window.windowCaption;

    window.randoms = {1.0f / 16};
    ausgabe.MNew_Click();
    EXPECT_EQ(window.label(Label::LWinkel), "Winkel = 22");
    EXPECT_EQ(window.label(Label::LKlicks), "Versuche: 0");
    EXPECT_EQ(state().Attempts, 0);
    EXPECT_EQ(state().Hits, 5);
    EXPECT_EQ(window.label(Label::LTreffer), "Erraten: 5 Winkel.");
    EXPECT_EQ(window.windowCaption, caption);
    EXPECT_EQ(window.line(Line::Schenkel2), leg);
    EXPECT_EQ(state().SetAngle, angle);
    EXPECT_EQ(window.arcs.size(), 1u);
}

TEST_F(Game, HelpAndInfoChangeNothing) {
    check(100);
    ausgabe.MHelp_Click();
    ausgabe.MInfo_Click();
    ASSERT_EQ(window.boxes.size(), 3u);
    EXPECT_EQ(window.boxes[1].title, "Zirkulon Hilfe");
    EXPECT_EQ(window.boxes[1].text.substr(0, 40), "Den angegebene Winkel musst Du zwischen ");
    EXPECT_EQ(window.boxes[2].title, "Zirkulon Info");
    EXPECT_EQ(window.boxes[2].text,
              "Zirkulon Ver. 1.0. Autor: das Zirkulon-Team. Email: zirkulon@example.org.");
    EXPECT_EQ(state().Attempts, 1);
    EXPECT_FALSE(window.unloaded);
    ausgabe.MEnd_Click();
    EXPECT_TRUE(window.unloaded);
}

// ---- Checking a guess ---------------------------------------------------

TEST_F(Game, HitWindowIsStrictOnBothSides) {
    pose(137, Variant::integer(2));
    check(135);
    check(139);
    check(135.5);
    EXPECT_EQ(boxTexts(),
              (std::vector<std::string>{
                  tooSmall("135"), tooLarge("139"),
                  "Herzlichen Glückwunsch! Der eingestellte Winkel hat den Wert 136° und stimmt im "
                  "Rahmen der Genauigkeit von 2° mit dem gesuchten Winkel 137 überein."}));
    EXPECT_EQ(state().Hits, 1);

    window.boxes.clear();
    pose(137, Variant::integer(2));
    check(138.9);
    EXPECT_EQ(window.boxes[0].text,
              "Herzlichen Glückwunsch! Der eingestellte Winkel hat den Wert 139° und stimmt im "
              "Rahmen der Genauigkeit von 2° mit dem gesuchten Winkel 137 überein.");
    EXPECT_EQ(window.boxes[0].title, "Zirkulon");
}

TEST_F(Game, MissesCountAttemptsAndKeepTheTask) {
    pose(137, Variant::integer(2));
    check(150.6);
    EXPECT_EQ(window.boxes.back().text, tooLarge("151"));
    EXPECT_EQ(window.label(Label::LKlicks), "Versuche: 1");
    EXPECT_EQ(state().TargetAngle.value(), 137);
    EXPECT_LT(logIndex("label: Versuche: 1"), logIndex("box Zirkulon: " + tooLarge("151")));
}

TEST_F(Game, ShownAngleRoundsTiesToEven) {
    pose(300, Variant::integer(2));
    check(136.5);
    check(137.5);
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{tooSmall("136"), tooSmall("138")}));
}

TEST_F(Game, ACheckBeforeAnyPointerActionJudgesZero) {
    const auto checkUnmoved = [&](double target) {
        pose(target, Variant::integer(2));
        window.randoms.assign({target90, target90});
        ausgabe.MGuess_Click();
    };
    checkUnmoved(0);
    checkUnmoved(1);
    checkUnmoved(90);
    EXPECT_EQ(boxTexts()[0],
              "Herzlichen Glückwunsch! Der eingestellte Winkel exakt den gesuchten Wert 0°");
    EXPECT_EQ(boxTexts()[1],
              "Herzlichen Glückwunsch! Der eingestellte Winkel hat den Wert 0° und "
              "stimmt im Rahmen der Genauigkeit von 2° mit dem gesuchten Winkel 1 überein.");
    EXPECT_EQ(boxTexts().back(), tooSmall("0"));
}

TEST_F(Game, PointerStraightAboveIsAnExactNinety) {
    ausgabe.Form_MouseDown(LeftButton, 0, 4110, 50);
    pose(90, Variant::integer(2));
    window.randoms.assign({target90, target90});
    ausgabe.MGuess_Click();
    EXPECT_EQ(window.boxes[0].text,
              "Herzlichen Glückwunsch! Der eingestellte Winkel exakt den gesuchten Wert 90°");
}

TEST_F(Game, NoWrapAroundAtZero) {
    pose(0, Variant::integer(2));
    check(359.2);
    EXPECT_EQ(window.boxes[0].text, tooLarge("359"));
    // Level to the right of the vertex is 360 degrees, a hit on 360 only.
    ausgabe.Form_MouseDown(LeftButton, 0, 9000, 4110);
    pose(360, Variant::integer(2));
    window.randoms.assign({target90, target90});
    ausgabe.MGuess_Click();
    EXPECT_EQ(state().Hits, 1);
}

TEST_F(Game, SmallTolerancesCanContradictTheShownNumber) {
    pose(137, Variant::real(0.3));
    check(136.6);
    EXPECT_EQ(window.boxes[0].text, tooSmall("137"));

    pose(90, Variant::real(0));
    check(90);
    EXPECT_EQ(window.boxes[1].text, tooLarge("90"));
    EXPECT_EQ(state().Hits, 0);
}

TEST_F(Game, FourMissesEndTheTaskWithOneMessage) {
    pose(137, Variant::integer(2));
    for (double degrees : {10.0, 200.0, 100.0}) {
        check(degrees);
    }
    window.log.clear();
    check(20);
    EXPECT_EQ(window.log,
              (std::vector<std::string>{"label: Versuche: 4", "box Zirkulon: " + fourthMiss,
                                        "label: Winkel = 90", "label: Versuche: 0"}));
    EXPECT_EQ(state().Attempts, 0);
    EXPECT_EQ(boxTexts().size(), 4u);
}

TEST_F(Game, AHitOnTheFourthAttemptCountsAsAHit) {
    pose(137, Variant::integer(2));
    for (double degrees : {10.0, 200.0, 100.0, 137.0}) {
        check(degrees);
    }
    EXPECT_EQ(state().Hits, 1);
    EXPECT_EQ(boxTexts().back(),
              "Herzlichen Glückwunsch! Der eingestellte Winkel exakt den gesuchten Wert 137°");
}

TEST_F(Game, AHitCongratulatesThenCountsThenJokesThenPosesTheNextTask) {
    pose(90, Variant::integer(1));
    check(90);
    const auto congratulation = logIndex("box Zirkulon: Herzlichen Glückwunsch! Der eingestellte "
                                         "Winkel exakt den gesuchten Wert 90°");
    const auto counted = logIndex("label: Erraten: 1 Winkel.");
    const auto joke = static_cast<std::size_t>(
        std::find_if(window.log.begin(), window.log.end(),
                     [](const std::string& e) { return e.rfind("box Winkel Witze: ", 0) == 0; }) -
        window.log.begin());
    const auto next = logIndex("label: Winkel = 90");
    EXPECT_LT(congratulation, counted);
    EXPECT_LT(counted, joke);
    EXPECT_LT(joke, next);
    EXPECT_EQ(window.label(Label::LKlicks), "Versuche: 0");
}

TEST_F(Game, JokesComeWhenTheHitCountIsAMultipleOfTheRoundedTolerance) {
    const std::pair<double, int> cases[] = {{1, 20},  {1.5, 10}, {2, 10},   {2.5, 10},
                                            {3.5, 5}, {10, 2},   {0.3, 20}, {0.5, 20}};
    for (const auto& [tolerance, jokes] : cases) {
        window.boxes.clear();
        state().Hits = 0;
        for (int hit = 0; hit < 20; ++hit) {
            pose(90, Variant::real(tolerance));
            check(90);
        }
        EXPECT_EQ(state().Hits, 20);
        EXPECT_EQ(jokesShown(), jokes) << "tolerance " << tolerance;
    }
}

TEST_F(Game, TheStartingToleranceEarnsAJokeEverySecondHit) {
    pose(90, Variant::integer(2));
    check(90);
    EXPECT_EQ(jokesShown(), 0);
    pose(90, Variant::integer(2));
    check(91);
    EXPECT_EQ(jokesShown(), 1);
}

TEST_F(Game, TheHitCounterStopsAtItsLargestValue) {
    state().Hits = 32766;
    for (int hit = 0; hit < 3; ++hit) {
        pose(90, Variant::integer(1));
        check(90);
    }
    EXPECT_EQ(state().Hits, 32767);
    EXPECT_EQ(window.label(Label::LTreffer), "Erraten: 32767 Winkel.");
    EXPECT_EQ(boxTexts().size(), 6u); // every hit still congratulated and joked
}

// ---- Entering the tolerance ---------------------------------------------

TEST_F(Game, ConfirmingTheDefaultStoresADouble) {
    window.answers = {"2"};
    ausgabe.MExact_Click();
    ASSERT_EQ(window.inputs.size(), 1u);
    EXPECT_EQ(window.inputs[0].prompt, "Gib die Genauigkeit in Grad ein.");
    EXPECT_EQ(window.inputs[0].defaultText, "2");
    EXPECT_EQ(state().Tolerance.type(), Variant::Type::Double);
    EXPECT_EQ(window.windowCaption, "Eingestellte Genauigkeit: 2°");
}

TEST_F(Game, EmptyCancelledOrWrongEntriesAskAgainSilently) {
    window.answers = {"", "abc", "   ", "7"};
    ausgabe.MExact_Click();
    ASSERT_EQ(window.inputs.size(), 4u);
    for (const auto& input : window.inputs) {
        EXPECT_EQ(input.defaultText, "2");
    }
    EXPECT_TRUE(window.boxes.empty());
    EXPECT_EQ(window.windowCaption, "Eingestellte Genauigkeit: 7°");
}

TEST_F(Game, TooLargeIsRefusedAndOfferedAgain) {
    window.answers = {"15", "3"};
    ausgabe.MExact_Click();
    EXPECT_EQ(window.log, (std::vector<std::string>{
                              "input [2]",
                              "box Zirkulon: Eine Genauigkeit von 15?!? Das ist definitiv zu groß!",
                              "input [15]", "caption: Eingestellte Genauigkeit: 3°"}));
    EXPECT_EQ(state().Tolerance.value(), 3);
}

TEST_F(Game, NegativeEntriesCountByTheirSize) {
    window.answers = {"-4"};
    ausgabe.MExact_Click();
    EXPECT_EQ(state().Tolerance.value(), 4);
    EXPECT_EQ(window.windowCaption, "Eingestellte Genauigkeit: 4°");

    window.answers = {"-12", "-0"};
    ausgabe.MExact_Click();
    EXPECT_EQ(window.boxes[0].text, "Eine Genauigkeit von 12?!? Das ist definitiv zu groß!");
    EXPECT_EQ(window.windowCaption, "Eingestellte Genauigkeit: 0°");
}

TEST_F(Game, TheBoundOfTenIsInclusiveAndReadInTheLocale) {
    window.answers = {"10,01", "10"};
    ausgabe.MExact_Click();
    EXPECT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].text, "Eine Genauigkeit von 10,01?!? Das ist definitiv zu groß!");
    EXPECT_EQ(window.windowCaption, "Eingestellte Genauigkeit: 10°");

    window.answers = {"2,5"};
    ausgabe.MExact_Click();
    EXPECT_EQ(window.windowCaption, "Eingestellte Genauigkeit: 2,5°");
    window.format = NumberFormat::english();
    window.answers = {"3.5"};
    ausgabe.MExact_Click();
    EXPECT_EQ(window.inputs.back().defaultText, "2.5");
    EXPECT_EQ(window.windowCaption, "Eingestellte Genauigkeit: 3.5°");
}

TEST_F(Game, ZeroToleranceIsAcceptedAndNothingHitsAnyMore) {
    window.answers = {"0"};
    ausgabe.MExact_Click();
    EXPECT_EQ(window.windowCaption, "Eingestellte Genauigkeit: 0°");
    pose(90, state().Tolerance);
    check(90);
    EXPECT_EQ(window.boxes.back().text, tooLarge("90"));
}

TEST_F(Game, TheEntryLeavesTheTaskAlone) {
    pose(137, Variant::integer(2));
    check(100);
    const auto labels = window.labels;
    window.answers = {"1e400", "1E+300", "5"};
    ausgabe.MExact_Click();
    EXPECT_EQ(window.labels, labels);
    EXPECT_EQ(state().Attempts, 1);
    EXPECT_EQ(state().TargetAngle.value(), 137);
    // An overflowing text is not a number; a huge one is refused with its own text.
    EXPECT_EQ(window.inputs[1].defaultText, "2");
    EXPECT_EQ(window.inputs[2].defaultText, "1E+300");
    EXPECT_EQ(window.windowCaption, "Eingestellte Genauigkeit: 5°");
}

TEST_F(Game, ThousandsOfRefusalsInARowNeitherCrashNorLoseTheLastValue) {
    constexpr int refusals = 20000;
    window.answers.assign(refusals, "11");
    window.answers.push_back("1");
    ausgabe.MExact_Click();
    EXPECT_EQ(window.boxes.size(), static_cast<std::size_t>(refusals));
    EXPECT_EQ(window.inputs.size(), static_cast<std::size_t>(refusals + 1));
    EXPECT_EQ(window.inputs.back().defaultText, "11");
    EXPECT_EQ(window.windowCaption, "Eingestellte Genauigkeit: 1°");
}
