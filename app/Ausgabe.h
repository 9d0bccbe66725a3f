#pragma once

#include "game/GameState.h"
#include "platform/Platform.h"

#include <cstdint>

namespace zirkulon {

// The one window object: it owns the game's state, and its handlers, named
// after control and event, run one at a time as the window raises them. They
// call one another through the object, as the window would.
class Ausgabe final : public FormEvents {
public:
    explicit Ausgabe(Platform& platform) : platform_(platform) {}

    // Start-up and tasks (game/)
    void Form_Load() override;
    void MNew_Click() override;
    void MGuess_Click() override;
    void MExact_Click() override;

    // Legs and pointer (geometry/)
    void Form_Resize() override;
    void Form_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y) override;
    void Form_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y) override;

    // Simple commands (app/)
    void MHelp_Click() override;
    void MInfo_Click() override;
    void MEnd_Click() override;

    // Joke catalogue (jokes/)
    void FillJokes();
    void DrawReward();

    const GameState& state() const { return state_; }
    GameState& state() { return state_; }

private:
    std::string toleranceCaption() const;

    Platform& platform_;
    GameState state_;
};

} // namespace zirkulon
