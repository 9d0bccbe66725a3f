// SPDX-License-Identifier: GPL-3.0-or-later
// Laying out the legs, turning the blue one towards the pointer, and the arc.
#include "game/Reading.h"
#include "game/Task.h"
#include "geometry/Keys.h"
#include "geometry/Legs.h"
#include "geometry/Pointer.h"
#include "numerics/Arctangent.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zirkulon;
using namespace zirkulon::geometry;

namespace {

constexpr Point vertex{4110, 4110};
constexpr float legLength = 3699;

Turn towards(float x, float y) {
    return turnTowards({x, y}, vertex, vertex, legLength, game::pi);
}

} // namespace

TEST(Layout, TheDesignSizePutsTheLegsAboutTheCentre) {
    const Layout layout = layOut(8220, 8220);
    EXPECT_EQ(layout.legLength, 3699.0f);
    EXPECT_EQ(layout.vertex, (Point{4110, 4110}));
    EXPECT_EQ(layout.redEnd, (Point{7809, 4110}));
    EXPECT_EQ(layout.blueEnd, (Point{4110, 411}));
}

TEST(Layout, OddAndWideAndEmptySizes) {
    const Layout odd = layOut(8221, 6001);
    EXPECT_EQ(odd.legLength, 3699.449951171875f);
    EXPECT_EQ(odd.vertex, (Point{4110.5f, 3000.5f}));
    EXPECT_EQ(odd.redEnd.x, static_cast<float>(4110.5 + 3699.449951171875));
    // Wider than 10/9 of the height: the blue leg reaches past the top edge.
    EXPECT_LT(odd.blueEnd.y, 0.0f);

    const Layout empty = layOut(0, 0);
    EXPECT_EQ(empty.legLength, 0.0f);
    EXPECT_EQ(empty.redEnd, (Point{0, 0}));
    EXPECT_EQ(empty.blueEnd, (Point{0, 0}));
}

TEST(Pointer, WorkedExampleUpAndToTheLeft) {
    const Turn turn = towards(3300, 3300);
    EXPECT_EQ(turn.deltaX, -810.0f);
    EXPECT_EQ(turn.deltaY, -810.0f);
    EXPECT_EQ(turn.angle, 2.3561944901923417);
    EXPECT_EQ(turn.blueEnd, (Point{1494.4119873046875f, 1494.4119873046875f}));

    const AngleArc arc = angleArc(vertex, legLength, turn.angle);
    EXPECT_EQ(arc.centre, vertex);
    EXPECT_EQ(arc.radius, 1109.699951171875f);
    EXPECT_EQ(arc.start, -0.0010000000474974513f);
    EXPECT_EQ(arc.end, 2.356194496154785f);
}

TEST(Pointer, TheAngleIsTheArctangentOfTheSingleQuotient) {
    // Up and to the right, dx = 3 and dy = -1: 1/3 is no single, so the
    // quotient rounds before the arctangent is taken.
    const double q = static_cast<double>(1.0f / 3.0f);
    const Turn turn = towards(4113, 4109);
    EXPECT_EQ(turn.angle, arctan(q));
    EXPECT_NE(turn.angle, arctan(1.0 / 3.0));
}

TEST(Pointer, StraightDirectionsComeFromTheGamesPi) {
    const double pi = game::pi;
    EXPECT_EQ(towards(9000, 4110).angle, pi + pi); // right: 2 pi, not 0
    EXPECT_EQ(towards(9000, 4110).angle, 6.28318530717958);
    EXPECT_EQ(angleArc(vertex, legLength, pi + pi).end, 6.2831855f);
    EXPECT_EQ(towards(100, 4110).angle, pi);
    EXPECT_EQ(towards(4110, 10).angle, 1.570796326794895);
    EXPECT_EQ(towards(4110, 8000).angle, 4.712388980384685);
    EXPECT_EQ(towards(9000, 4110).blueEnd, (Point{7809, 4110}));
    EXPECT_EQ(towards(100, 4110).blueEnd, (Point{411, 4110}));
    EXPECT_EQ(towards(4110, 10).blueEnd, (Point{4110, 411}));
    EXPECT_EQ(towards(4110, 8000).blueEnd, (Point{4110, 7809}));
}

TEST(Pointer, EachQuadrantLiesInItsPartOfTheHalfOpenTurn) {
    const double pi = game::pi;
    const double upRight = towards(5000, 3000).angle;
    EXPECT_GT(upRight, 0);
    EXPECT_LT(upRight, pi / 2);
    EXPECT_GT(towards(5000, 5000).angle, 3 * pi / 2);
    EXPECT_LT(towards(5000, 5000).angle, 2 * pi);
    EXPECT_GT(towards(3000, 5000).angle, pi);
    EXPECT_LT(towards(3000, 5000).angle, 3 * pi / 2);
    // Only the direction counts, however far the pointer is.
    const Turn far = towards(4110 + 890 * 1000.0f, 4110 - 1110 * 1000.0f);
    EXPECT_NEAR(far.angle, upRight, 1e-12);
    EXPECT_NEAR(std::hypot(far.blueEnd.x - 4110, far.blueEnd.y - 4110), 3699, 0.01);
}

TEST(Pointer, OnTheVertexTheLegPointsDownWithoutDividingByZero) {
    const Turn turn = towards(4110, 4110);
    EXPECT_EQ(turn.angle, 4.712388980384685);
    EXPECT_EQ(turn.blueEnd, (Point{4110, 7809}));
}

// ---- Keys ------------------------------------------------------------------

TEST(Keys, StepFromEveryWholeDegreeAndWrapWithinOneTo360) {
    for (int d = 0; d <= 360; ++d) {
        const auto after = [d](KeyTurn turn) { return degreesAfter(turn, d); };
        const int next = d == 360 ? 1 : d + 1;
        const int previous = d <= 1 ? 360 + d - 1 : d - 1; // 0 and 1 both go back to 360, 359
        EXPECT_EQ(after(KeyTurn::On), next) << d;
        EXPECT_EQ(after(KeyTurn::Back), d == 0 ? 359 : previous) << d;
        EXPECT_EQ(after(KeyTurn::PageOn), (d + 9) % 360 + 1) << d;
        EXPECT_EQ(after(KeyTurn::PageBack), (d + 349) % 360 + 1) << d;
        EXPECT_EQ(after(KeyTurn::First), 1);
        EXPECT_EQ(after(KeyTurn::Last), 360);
    }
}

// The key's pointer position, fed through the pointer rule, sets exactly the
// whole degree the key chose, in every direction and for small and large legs.
TEST(Keys, ThePointerRuleReadsEveryKeyedDirectionBack) {
    for (const float leg : {3699.0f, keyReach(6.75f), 123456.0f}) {
        for (int d = 1; d <= 360; ++d) {
            const Point pointer = pointerAt(d, vertex, leg);
            const Turn turn = turnTowards(pointer, vertex, vertex, leg, game::pi);
            EXPECT_EQ(game::wholeDegrees(turn.angle, game::pi), d) << d << " at " << leg;
            EXPECT_NEAR(std::hypot(turn.blueEnd.x - pointer.x, turn.blueEnd.y - pointer.y), 0,
                        leg * 1e-6);
        }
    }
    // The straight directions are the game's own multiples of pi.
    const auto angleAt = [](int d) {
        return towards(pointerAt(d, vertex, 3699).x, pointerAt(d, vertex, 3699).y).angle;
    };
    EXPECT_EQ(angleAt(90), game::pi / 2);
    EXPECT_EQ(angleAt(180), game::pi);
    EXPECT_EQ(angleAt(270), game::pi * 3 / 2);
    EXPECT_EQ(angleAt(360), game::pi + game::pi);
}

TEST(Keys, TheReadingNamesTheDegreesAndTheKindOfAngle) {
    EXPECT_EQ(game::angleReading(0), "0 Grad, Nullwinkel");
    EXPECT_EQ(game::angleReading(89), "89 Grad, spitzer Winkel");
    EXPECT_EQ(game::angleReading(90), "90 Grad, rechter Winkel");
    EXPECT_EQ(game::angleReading(137), "137 Grad, stumpfer Winkel");
    EXPECT_EQ(game::angleReading(180), "180 Grad, gestreckter Winkel");
    EXPECT_EQ(game::angleReading(359), "359 Grad, überstumpfer Winkel");
    EXPECT_EQ(game::angleReading(360), "360 Grad, voller Winkel");
    EXPECT_EQ(game::wholeDegrees(0.5 * game::pi / 180 * 273, game::pi), 136); // 136.5, ties to even
}
