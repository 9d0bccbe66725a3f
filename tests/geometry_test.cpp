#include "FakePlatform.h"
#include "app/Ausgabe.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zirkulon;
using zirkulon::test::FakePlatform;

namespace {

class Geometry : public ::testing::Test {
protected:
    Geometry() {
        window.randoms = {0.5f};
        ausgabe.Form_Load();
        ausgabe.Form_Resize();
    }
    const GameState& state() const { return ausgabe.state(); }
    LineShape blue() const { return window.line(Line::Schenkel2); }
    LineShape red() const { return window.line(Line::Schenkel1); }
    void press(float x, float y) { ausgabe.Form_MouseDown(LeftButton, 0, x, y); }

    FakePlatform window;
    Ausgabe ausgabe{window};
};

} // namespace

TEST_F(Geometry, DesignSizeLaysTheLegsOutAboutTheCentre) {
    EXPECT_EQ(state().LegLength, 3699.0f);
    EXPECT_EQ(red(), (LineShape{4110, 4110, 7809, 4110}));
    EXPECT_EQ(blue(), (LineShape{4110, 4110, 4110, 411}));
    EXPECT_EQ(window.clsCount, 0); // layout neither clears nor draws
    EXPECT_TRUE(window.arcs.empty());
}

TEST_F(Geometry, OddSizesPutTheVertexOnAHalfUnit) {
    window.width = 8221;
    window.height = 6001;
    ausgabe.Form_Resize();
    EXPECT_EQ(state().LegLength, 3699.449951171875f);
    EXPECT_EQ(red().X1, 4110.5f);
    EXPECT_EQ(red().Y1, 3000.5f);
    EXPECT_EQ(red().X2, static_cast<float>(4110.5 + 3699.449951171875));
    // Wider than 10/9 of the height: the blue leg reaches past the top edge.
    EXPECT_LT(blue().Y2, 0.0f);
}

TEST_F(Geometry, ZeroWidthShrinksBothLegsToThePointAndComesBack) {
    window.width = 0;
    window.height = 0;
    ausgabe.Form_Resize();
    EXPECT_EQ(red(), (LineShape{0, 0, 0, 0}));
    EXPECT_EQ(blue(), (LineShape{0, 0, 0, 0}));
    window.width = 8220;
    window.height = 8220;
    ausgabe.Form_Resize();
    EXPECT_EQ(blue(), (LineShape{4110, 4110, 4110, 411}));
}

TEST_F(Geometry, WorkedExampleUpAndToTheLeft) {
    press(3300, 3300);
    EXPECT_EQ(state().DeltaX.type(), Variant::Type::Single);
    EXPECT_EQ(state().DeltaX.value(), -810.0);
    EXPECT_EQ(state().DeltaY, -810.0f);
    EXPECT_EQ(state().SetAngle, 2.3561944901923417);
    EXPECT_EQ(blue().X2, 1494.4119873046875f);
    EXPECT_EQ(blue().Y2, 1494.4119873046875f);
    EXPECT_EQ(blue().X1, 4110.0f);
    EXPECT_EQ(window.clsCount, 1);
    ASSERT_EQ(window.arcs.size(), 1u);
    EXPECT_EQ(window.lastCircle.x, 4110.0f);
    EXPECT_EQ(window.lastCircle.y, 4110.0f);
    EXPECT_EQ(window.lastCircle.radius, 1109.699951171875f);
    EXPECT_EQ(window.lastCircle.start, -0.0010000000474974513f);
    EXPECT_EQ(window.lastCircle.end, 2.356194496154785f);
}

TEST_F(Geometry, StraightDirectionsUseTheGamesPi) {
    const double pi = 3.14159265358979;
    press(9000, 4110); // right, level with the vertex
    EXPECT_EQ(state().SetAngle, pi + pi);
    EXPECT_EQ(state().SetAngle, 6.28318530717958);
    EXPECT_EQ(window.lastCircle.end, 6.2831855f);
    EXPECT_EQ(blue(), (LineShape{4110, 4110, 7809, 4110}));
    press(100, 4110); // left
    EXPECT_EQ(state().SetAngle, pi);
    EXPECT_EQ(blue(), (LineShape{4110, 4110, 411, 4110}));
    press(4110, 10); // above
    EXPECT_EQ(state().SetAngle, 1.570796326794895);
    EXPECT_EQ(blue(), (LineShape{4110, 4110, 4110, 411}));
    press(4110, 8000); // below
    EXPECT_EQ(state().SetAngle, 4.712388980384685);
    EXPECT_EQ(blue(), (LineShape{4110, 4110, 4110, 7809}));
    EXPECT_EQ(window.clsCount, 4);
    EXPECT_EQ(window.arcs.size(), 1u); // each action clears the last arc
}

TEST_F(Geometry, AnglesCoverEachQuadrantWithinTheHalfOpenTurn) {
    press(5000, 3000); // up right
    EXPECT_GT(state().SetAngle, 0);
    EXPECT_LT(state().SetAngle, state().Pi / 2);
    press(5000, 5000); // down right
    EXPECT_GT(state().SetAngle, 3 * state().Pi / 2);
    EXPECT_LT(state().SetAngle, 2 * state().Pi);
    press(3000, 5000); // down left
    EXPECT_GT(state().SetAngle, state().Pi);
    EXPECT_LT(state().SetAngle, 3 * state().Pi / 2);
    // Only the direction counts, however far the pointer is.
    const double near = (press(5000, 3000), state().SetAngle);
    press(4110 + 890 * 1000.0f, 4110 - 1110 * 1000.0f);
    EXPECT_NEAR(state().SetAngle, near, 1e-12);
    EXPECT_NEAR(std::hypot(blue().X2 - 4110, blue().Y2 - 4110), 3699, 0.01);
}

TEST_F(Geometry, JustAboveTheRedLegTheArcRunsAlmostRoundTheCircle) {
    press(4110 + 100000, 4109);
    EXPECT_LT(state().SetAngle, 0.001);
    ASSERT_EQ(window.arcs.size(), 1u);
    EXPECT_GT(window.arcs[0].sweep, 6.28);
}

TEST_F(Geometry, OnlyTheLeftButtonAloneTurnsTheLeg) {
    press(3300, 3300);
    const double before = state().SetAngle;
    const LineShape leg = blue();
    for (std::int16_t buttons : {0, 2, 3, 4, 5, 6, 7}) {
        ausgabe.Form_MouseMove(buttons, 0, 5000, 5000);
        ausgabe.Form_MouseDown(buttons, 0, 5000, 5000);
    }
    EXPECT_EQ(state().SetAngle, before);
    EXPECT_EQ(blue(), leg);
    EXPECT_EQ(window.clsCount, 1);
    // Shift keys play no part.
    ausgabe.Form_MouseMove(LeftButton, 7, 5000, 4110);
    EXPECT_EQ(state().SetAngle, 6.28318530717958);
}

TEST_F(Geometry, PointerOnTheVertexPointsTheLegDownWithoutDividingByZero) {
    press(3300, 3300);
    press(4110, 4110);
    EXPECT_EQ(state().SetAngle, 4.712388980384685);
    EXPECT_EQ(blue(), (LineShape{4110, 4110, 4110, 7809}));
    ASSERT_EQ(window.arcs.size(), 1u);
    EXPECT_EQ(window.lastCircle.end, static_cast<float>(4.712388980384685));
}

TEST_F(Geometry, ResizeStandsTheLegUpButKeepsTheAngleAndTheArc) {
    press(3300, 3300);
    window.width = 6000;
    window.height = 3000;
    ausgabe.Form_Resize();
    EXPECT_EQ(blue(), (LineShape{3000, 1500, 3000, -1200}));
    EXPECT_EQ(state().SetAngle, 2.3561944901923417);
    EXPECT_EQ(window.arcs.size(), 1u);
    EXPECT_EQ(window.arcs[0].centreX, 4110.0f);
}
