#include "app/Ausgabe.h"

namespace zirkulon {

namespace {
constexpr const char* rewardTitle = "Winkel Witze";
} // namespace

// Shows one joke from the first half of the catalogue: position
// r * (n - 1) * 0.5 rounded, so with 160 entries positions 1 to 79.
void Ausgabe::DrawReward() {
    platform_.reseed();
    const std::int32_t n = state_.Jokes.count();
    const float r = platform_.nextRandom();
    const auto span = static_cast<double>(n - 1);
    const double x = static_cast<double>(r) * span * 0.5;
    std::int16_t position = toInt16(x);
    if (n == 0) {
        return; // nothing to show
    }
    // r below 1/(n-1) rounds to position 0, which names no entry; the player
    // has earned a joke all the same, so the draw shows the first one.
    if (position < 1) {
        position = 1;
    }
    platform_.messageBox(state_.Jokes.item(position), rewardTitle);
}

} // namespace zirkulon
