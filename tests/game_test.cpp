// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of a task: targets, checks, jokes earned and the tolerance box.
#include "game/Guess.h"
#include "game/Task.h"
#include "game/Tolerance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace zirkulon;
using namespace zirkulon::game;
using Verdict = Check::Verdict;

namespace {

const NumberFormat de = NumberFormat::german();

std::string said(double degrees, double target, Variant tolerance) {
    return message(judge(degrees, Variant::real(target), tolerance), de);
}

} // namespace

TEST(Task, TargetsRoundTheSingleProductTiesToEven) {
    const std::pair<float, double> cases[] = {{1.0f / 16, 22},   {3.0f / 16, 68}, {0.0f, 0},
                                              {0.5f / 360, 0},   {0.5f, 180},     {0.38055f, 137},
                                              {0.99999994f, 360}};
    for (const auto& [r, target] : cases) {
        EXPECT_EQ(targetFor(r).type(), Variant::Type::Double);
        EXPECT_EQ(targetFor(r).value(), target) << r;
    }
    // The game's pi lies seven units in the last place below the true one.
    EXPECT_EQ(pi + 7 * 0x1p-51, std::numbers::pi);
}

TEST(Guess, HitsLieStrictlyWithinTheToleranceOfTheTarget) {
    const Variant two = Variant::integer(2);
    EXPECT_EQ(judge(135, Variant::real(137), two).verdict, Verdict::TooSmall);
    EXPECT_EQ(judge(139, Variant::real(137), two).verdict, Verdict::TooLarge);
    EXPECT_EQ(judge(135.5, Variant::real(137), two).verdict, Verdict::Hit);
    EXPECT_EQ(judge(137, Variant::real(137), two).verdict, Verdict::ExactHit);
    // No wrap-around at 0 / 360.
    EXPECT_EQ(judge(359.2, Variant::real(0), two).verdict, Verdict::TooLarge);
    // With no tolerance nothing hits; the target itself counts as too large.
    EXPECT_EQ(judge(90, Variant::real(90), Variant::real(0)).verdict, Verdict::TooLarge);
}

TEST(Guess, MessagesShowTheAngleRoundedTiesToEven) {
    const Variant two = Variant::integer(2);
    EXPECT_EQ(said(138.9, 137, two),
              "Herzlichen Glückwunsch! Der eingestellte Winkel hat den Wert 139° und stimmt im "
              "Rahmen der Genauigkeit von 2° mit dem gesuchten Winkel 137 überein.");
    EXPECT_EQ(said(90, 90, two),
              "Herzlichen Glückwunsch! Der eingestellte Winkel exakt den gesuchten Wert 90°");
    EXPECT_EQ(said(150.6, 137, two), "Der eingestellte Winkel 151° ist zu groß.");
    EXPECT_EQ(said(136.5, 300, two), "Der eingestellte Winkel 136° ist zu klein.");
    EXPECT_EQ(said(137.5, 300, two), "Der eingestellte Winkel 138° ist zu klein.");
    EXPECT_EQ(said(1.5, 3, Variant::real(2.5)),
              "Herzlichen Glückwunsch! Der eingestellte Winkel hat den Wert 2° und stimmt im "
              "Rahmen der Genauigkeit von 2,5° mit dem gesuchten Winkel 3 überein.");
    // Below half a degree of tolerance the shown number can contradict the verdict.
    EXPECT_EQ(said(136.6, 137, Variant::real(0.3)), "Der eingestellte Winkel 137° ist zu klein.");
}

TEST(Guess, DegreesComeFromTheGamesPi) {
    EXPECT_EQ(degreesOf(0, pi), 0.0);
    EXPECT_EQ(degreesOf(pi / 2, pi), 90.0);
    EXPECT_EQ(degreesOf(pi + pi, pi), 360.0);
    EXPECT_EQ(degreesOf(2.3561944901923417, pi), 134.99999999999997);
}

TEST(Guess, JokesComeWhenTheHitCountIsAMultipleOfTheRoundedTolerance) {
    const std::pair<double, int> cases[] = {{1, 20},  {1.5, 10}, {2, 10},   {2.5, 10},
                                            {3.5, 5}, {10, 2},   {0.3, 20}, {0.5, 20}};
    for (const auto& [tolerance, jokes] : cases) {
        int earned = 0;
        for (std::int16_t hits = 1; hits <= 20; ++hits) {
            earned += earnsJoke(hits, Variant::real(tolerance));
        }
        EXPECT_EQ(earned, jokes) << "tolerance " << tolerance;
    }
    EXPECT_FALSE(earnsJoke(1, Variant::integer(2)));
    EXPECT_TRUE(earnsJoke(2, Variant::integer(2)));
}

TEST(Guess, TheHitCounterStopsAtItsLargestValue) {
    EXPECT_EQ(countHit(0), 1);
    EXPECT_EQ(countHit(32766), 32767);
    EXPECT_EQ(countHit(32767), 32767);
}

TEST(Tolerance, AnswersGiveTheMagnitudeOfANumberOrNothing) {
    for (const char* refused : {"", "abc", "   ", "1e400", "2,5°"}) {
        EXPECT_FALSE(readTolerance(refused, de).has_value()) << refused;
    }
    EXPECT_EQ(readTolerance("2", de)->type(), Variant::Type::Double);
    EXPECT_EQ(readTolerance("-4", de)->value(), 4.0);
    EXPECT_EQ(readTolerance("2,5", de)->value(), 2.5);
    EXPECT_EQ(readTolerance("3.5", NumberFormat::english())->value(), 3.5);
    EXPECT_EQ(readTolerance("-0", de)->toText(de), "0");

    EXPECT_TRUE(isAcceptable(*readTolerance("10", de)));
    EXPECT_TRUE(isAcceptable(*readTolerance("0", de)));
    EXPECT_FALSE(isAcceptable(*readTolerance("10,01", de)));
    EXPECT_EQ(refusalText(*readTolerance("-12", de), de),
              "Eine Genauigkeit von 12?!? Das ist definitiv zu groß!");
    EXPECT_EQ(refusalText(*readTolerance("1E+300", de), de),
              "Eine Genauigkeit von 1E+300?!? Das ist definitiv zu groß!");
}
