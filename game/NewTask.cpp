#include "app/Ausgabe.h"

namespace zirkulon {

namespace {
// The double nearest to this 15-digit value, a little below the true pi; the
// conversion of the set angle to degrees relies on exactly this constant.
constexpr double piConstant = 3.14159265358979;
} // namespace

std::string Ausgabe::toleranceCaption() const {
    return "Eingestellte Genauigkeit: " + state_.Tolerance.toText(platform_.numberFormat()) + "°";
}

void Ausgabe::Form_Load() {
    FillJokes();
    state_.Pi = piConstant;
    state_.Tolerance = Variant::integer(2);
    platform_.setCaption(Label::LTreffer, "Erraten: 0 Winkel");
    MNew_Click();
    platform_.setCaption(toleranceCaption());
}

void Ausgabe::MNew_Click() {
    platform_.reseed();
    const float r = platform_.nextRandom();
    // A single times an integer stays single: round the product once to single.
    const float product = (Variant::single(r) * Variant::integer(360)).value();
    state_.TargetAngle = Variant::real(roundHalfEven(static_cast<double>(product)));
    platform_.setCaption(Label::LWinkel,
                         "Winkel = " + state_.TargetAngle.toText(platform_.numberFormat()));
    state_.Attempts = 0;
    platform_.setCaption(Label::LKlicks, "Versuche: " + intToText(state_.Attempts));
}

} // namespace zirkulon
