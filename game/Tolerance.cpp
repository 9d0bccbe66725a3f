#include "app/Ausgabe.h"

namespace zirkulon {

namespace {
constexpr const char* prompt = "Gib die Genauigkeit in Grad ein.";
} // namespace

// Asks until a number is typed, takes its magnitude, and turns anything above
// 10 away with a message before asking again. Each refusal starts a fresh
// entry, just as choosing the command again would; a loop keeps any number of
// refusals from growing the stack. The refused value stays stored meanwhile,
// so the next box offers it as its default.
void Ausgabe::MExact_Click() {
    const NumberFormat& format = platform_.numberFormat();
    for (;;) {
        std::string entered;
        while (entered.empty()) {
            entered = platform_.inputBox(prompt, state_.Tolerance.toText(format));
            if (const auto value = textToDouble(entered, format)) {
                state_.Tolerance = Variant::real(*value);
                if (state_.Tolerance < Variant::integer(0)) {
                    state_.Tolerance = -state_.Tolerance;
                }
            } else {
                entered.clear();
            }
        }
        if (!(state_.Tolerance > Variant::integer(10))) {
            break;
        }
        platform_.messageBox("Eine Genauigkeit von " + state_.Tolerance.toText(format) +
                             "?!? Das ist definitiv zu groß!");
    }
    platform_.setCaption(toleranceCaption());
}

} // namespace zirkulon
