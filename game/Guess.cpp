#include "app/Ausgabe.h"

#include <limits>

namespace zirkulon {

namespace {

constexpr const char* fourthMissText =
    "Das waren nun 4 erfolglose Versuche. Vielleicht hast du beim nächsten mehr Glück.";

// A hit earns a joke when the hit count is a multiple of the rounded tolerance.
// A tolerance that rounds to 0 (above 0 and at most 0.5) is the hardest
// setting the game offers, so every hit under it earns a joke, as under 1.
bool earnsJoke(std::int16_t hits, Variant tolerance) {
    if (roundHalfEven(tolerance.value()) == 0.0) {
        return true;
    }
    return intRemainder(Variant::integer(hits), tolerance) == 0;
}

} // namespace

void Ausgabe::MGuess_Click() {
    const NumberFormat& format = platform_.numberFormat();
    const double d = checkedFinite((state_.SetAngle / state_.Pi) * 180);
    const std::string shown = doubleToText(roundHalfEven(d), format);

    ++state_.Attempts;
    platform_.setCaption(Label::LKlicks, "Versuche: " + intToText(state_.Attempts));

    const Variant guess = Variant::real(d);
    const bool above = (guess + state_.Tolerance) > state_.TargetAngle;
    const bool below = (guess - state_.Tolerance) < state_.TargetAngle;

    if (above && below) {
        if (d == state_.TargetAngle.value()) {
            platform_.messageBox(
                "Herzlichen Glückwunsch! Der eingestellte Winkel exakt den gesuchten Wert " +
                shown + "°");
        } else {
            platform_.messageBox("Herzlichen Glückwunsch! Der eingestellte Winkel hat den Wert " +
                                 shown + "° und stimmt im Rahmen der Genauigkeit von " +
                                 state_.Tolerance.toText(format) + "° mit dem gesuchten Winkel " +
                                 state_.TargetAngle.toText(format) + " überein.");
        }
        // The counter is 16 bits wide: from 32767 hits on it stays there
        // rather than wrapping round to a negative count.
        if (state_.Hits < std::numeric_limits<std::int16_t>::max()) {
            ++state_.Hits;
        }
        platform_.setCaption(Label::LTreffer, "Erraten: " + intToText(state_.Hits) + " Winkel.");
        if (earnsJoke(state_.Hits, state_.Tolerance)) {
            DrawReward();
        }
        MNew_Click();
        return;
    }

    if (state_.Attempts == 4) {
        platform_.messageBox(fourthMissText);
        MNew_Click();
        return;
    }
    if (d < state_.TargetAngle.value()) {
        platform_.messageBox("Der eingestellte Winkel " + shown + "° ist zu klein.");
    } else {
        platform_.messageBox("Der eingestellte Winkel " + shown + "° ist zu groß.");
    }
}

} // namespace zirkulon
