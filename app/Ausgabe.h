// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/GameState.h"
#include "numerics/NumberText.h"
#include "platform/Random.h"
#include "platform/Window.h"

#include <cstdint>

namespace zirkulon {

// The one window object: it owns the game's state, and its handlers, named
// after control and event, run one at a time as the window raises them. Each
// takes what its event gives, asks the rules, and shows the result through
// the window. Handlers call one another through the object, as the window would.
class Ausgabe : public FormEvents {
public:
    // The window, the random source and the locale's number format are the
    // platform's; none of them is owned.
    Ausgabe(Window& window, RandomSource& random, NumberFormat format);

    void Form_Load() override;
    void Form_Resize() override;
    void Form_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y) override;
    void Form_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y) override;
    void Form_KeyDown(std::int16_t KeyCode, std::int16_t Shift) override;
    void MNew_Click() override;
    void MExact_Click() override;
    void MGuess_Click() override;
    void MHelp_Click() override;
    void MInfo_Click() override;
    void MEnd_Click() override;

protected:
    GameState state_;

private:
    void FillJokes();
    void DrawReward();
    void DescribeAngle();

    Window& window_;
    RandomSource& random_;
    const NumberFormat format_;
};

} // namespace zirkulon
