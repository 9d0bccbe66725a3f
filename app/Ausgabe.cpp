// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Ausgabe.h"

#include "Version.h"
#include "game/Guess.h"
#include "game/Reading.h"
#include "game/Task.h"
#include "game/Tolerance.h"
#include "geometry/Keys.h"
#include "geometry/Legs.h"
#include "geometry/Pointer.h"
#include "jokes/Catalogue.h"
#include "jokes/Reward.h"

#include <optional>
#include <string>
#include <utility>

namespace zirkulon {

namespace {

constexpr const char* helpTitle = "Zirkulon Hilfe";
constexpr const char* helpText =
    "Den angegebene Winkel musst Du zwischen dem roten und dem blauen Schenkel eingestellen. "
    "Den blauen Schenkel kannst Du mit der Maus bewegt. Wenn Du meinst den Winkel richtig "
    "eingestllt zu haben, klickst Du auf 'prüfen'. Du hast immer 3 Versuche. Viel Spaß!";

constexpr const char* infoTitle = "Zirkulon Info";
constexpr const char* author = "das Zirkulon-Team";
constexpr const char* email = "zirkulon@example.org";

std::string text(std::string_view view) {
    return std::string(view);
}

// The slider pattern's keys: the arrows up and right turn on, down and left
// back, a page ten degrees at a time, Home and End to the ends.
std::optional<geometry::KeyTurn> turnOf(std::int16_t KeyCode) {
    switch (KeyCode) {
    case KeyRight:
    case KeyUp:
        return geometry::KeyTurn::On;
    case KeyLeft:
    case KeyDown:
        return geometry::KeyTurn::Back;
    case KeyPageUp:
        return geometry::KeyTurn::PageOn;
    case KeyPageDown:
        return geometry::KeyTurn::PageBack;
    case KeyHome:
        return geometry::KeyTurn::First;
    case KeyEnd:
        return geometry::KeyTurn::Last;
    default:
        return std::nullopt;
    }
}

} // namespace

Ausgabe::Ausgabe(Window& window, RandomSource& random, NumberFormat format)
    : window_(window), random_(random), format_(std::move(format)) {}

// ---- Start-up and tasks -------------------------------------------------

void Ausgabe::Form_Load() {
    FillJokes();
    state_.Pi = game::pi;
    state_.Tolerance = Variant::integer(game::startingTolerance);
    DescribeAngle();
    window_.setCaption(Label::LTreffer, text(game::noHitsYetText));
    MNew_Click();
    window_.setCaption(game::toleranceCaption(state_.Tolerance, format_));
}

void Ausgabe::MNew_Click() {
    random_.reseed();
    state_.TargetAngle = game::targetFor(random_.next());
    window_.setCaption(Label::LWinkel, game::targetText(state_.TargetAngle, format_));
    state_.Attempts = 0;
    window_.setCaption(Label::LKlicks, game::attemptsText(state_.Attempts));
}

void Ausgabe::MGuess_Click() {
    const double degrees = game::degreesOf(state_.SetAngle, state_.Pi);
    ++state_.Attempts;
    window_.setCaption(Label::LKlicks, game::attemptsText(state_.Attempts));

    const game::Check check = game::judge(degrees, state_.TargetAngle, state_.Tolerance);
    if (check.isHit()) {
        window_.messageBox(game::message(check, format_));
        state_.Hits = game::countHit(state_.Hits);
        window_.setCaption(Label::LTreffer, game::hitsText(state_.Hits));
        if (game::earnsJoke(state_.Hits, state_.Tolerance)) {
            DrawReward();
        }
        MNew_Click();
    } else if (state_.Attempts == game::attemptsPerTask) {
        window_.messageBox(text(game::fourthMissText));
        MNew_Click();
    } else {
        window_.messageBox(game::message(check, format_));
    }
}

// Asks until a number is typed and turns anything above 10 away before
// asking again, each box offering the tolerance stored so far (a refused one
// included). A loop rather than a nested call, so that no number of refusals
// can grow the stack.
void Ausgabe::MExact_Click() {
    for (;;) {
        const auto answer = game::readTolerance(
            window_.inputBox(text(game::tolerancePrompt), state_.Tolerance.toText(format_)),
            format_);
        if (!answer) {
            continue;
        }
        state_.Tolerance = *answer;
        if (game::isAcceptable(state_.Tolerance)) {
            break;
        }
        window_.messageBox(game::refusalText(state_.Tolerance, format_));
    }
    window_.setCaption(game::toleranceCaption(state_.Tolerance, format_));
}

// ---- Legs and pointer ---------------------------------------------------

// Lays both legs out afresh for the inner size; the set angle and any drawn
// arc stay as they are.
void Ausgabe::Form_Resize() {
    const geometry::Layout layout = geometry::layOut(window_.scaleWidth(), window_.scaleHeight());
    state_.LegLength = layout.legLength;
    const geometry::Point vertex = layout.vertex;
    window_.setLine(Line::Schenkel1, {vertex.x, vertex.y, layout.redEnd.x, layout.redEnd.y});
    window_.setLine(Line::Schenkel2, {vertex.x, vertex.y, layout.blueEnd.x, layout.blueEnd.y});
}

void Ausgabe::Form_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y) {
    Form_MouseMove(Button, Shift, X, Y);
}

// With the left button alone, turns the blue leg towards the pointer, stores
// the angle from the red leg and marks it with an arc.
void Ausgabe::Form_MouseMove(std::int16_t Button, std::int16_t /*Shift*/, float X, float Y) {
    if (Button != LeftButton) {
        return;
    }
    window_.cls();
    const LineShape red = window_.line(Line::Schenkel1);
    LineShape blue = window_.line(Line::Schenkel2);
    const geometry::Turn turn = geometry::turnTowards({X, Y}, {red.X1, red.Y1}, {blue.X1, blue.Y1},
                                                      state_.LegLength, state_.Pi);
    state_.DeltaX = Variant::single(turn.deltaX);
    state_.DeltaY = turn.deltaY;
    state_.SetAngle = turn.angle;
    blue.X2 = turn.blueEnd.x;
    blue.Y2 = turn.blueEnd.y;
    window_.setLine(Line::Schenkel2, blue);

    const geometry::AngleArc arc =
        geometry::angleArc({red.X1, blue.Y1}, state_.LegLength, state_.SetAngle);
    window_.circle(arc.centre.x, arc.centre.y, arc.radius, arc.start, arc.end);
    DescribeAngle();
}

// A turning key moves the set angle, rounded to whole degrees, on to its next
// position, and the blue leg follows as it would follow the left button
// dragged to that direction: one rule for the pointer and the keys.
void Ausgabe::Form_KeyDown(std::int16_t KeyCode, std::int16_t Shift) {
    const auto turn = turnOf(KeyCode);
    if (!turn) {
        return;
    }
    const int degrees =
        geometry::degreesAfter(*turn, game::wholeDegrees(state_.SetAngle, state_.Pi));
    const LineShape red = window_.line(Line::Schenkel1);
    const geometry::Point pointer =
        geometry::pointerAt(degrees, {red.X1, red.Y1}, geometry::keyReach(state_.LegLength));
    Form_MouseMove(LeftButton, Shift, pointer.x, pointer.y);
}

// What the drawing surface says to assistive technology: the set angle as
// the check would name it.
void Ausgabe::DescribeAngle() {
    const std::int16_t degrees = game::wholeDegrees(state_.SetAngle, state_.Pi);
    window_.describeAngle(degrees, game::angleReading(degrees));
}

// ---- Simple commands ----------------------------------------------------

void Ausgabe::MHelp_Click() {
    window_.messageBox(helpText, helpTitle);
}

void Ausgabe::MInfo_Click() {
    window_.messageBox("Zirkulon Ver. " + text(shortVersion) + ". Autor: " + author +
                           ". Email: " + email + ".",
                       infoTitle);
}

void Ausgabe::MEnd_Click() {
    window_.unload();
}

// ---- Joke catalogue -----------------------------------------------------

void Ausgabe::FillJokes() {
    state_.Jokes = Collection();
    for (std::string& entry : jokes::catalogueEntries()) {
        state_.Jokes.add(std::move(entry));
    }
}

// Reseeds, then shows the joke that the next random number draws.
void Ausgabe::DrawReward() {
    random_.reseed();
    const std::int32_t position = jokes::rewardPosition(random_.next(), state_.Jokes.count());
    if (position > 0) {
        window_.messageBox(state_.Jokes.item(position), text(jokes::rewardTitle));
    }
}

} // namespace zirkulon
