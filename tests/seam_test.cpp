// SPDX-License-Identifier: GPL-3.0-or-later
// What the platform seam provides besides the window, for every platform
// alike: the collection, the arcs, the random numbers, and the delivery of
// events to the window object.
#include "FakeWindow.h"
#include "app/Collection.h"
#include "numerics/Error.h"
#include "platform/Delivery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

using namespace zirkulon;
using zirkulon::test::Rig;

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
