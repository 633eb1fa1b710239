#pragma once

#include "game/dialogs/HintTriggers.h"
#include "game/rules/LevelHooks.h"

// The hints a running level talks to: the race triggers, the coal hint and
// the gating of game input while a bubble is open. What they read comes
// through the view, which the game scene provides.
class GameHints : public LevelHints {
public:
    // The view and opener must outlive this object; the player is the
    // current one, looked up on each call.
    GameHints(RaceHintView& view, HintOpener& opener) : view_(view), opener_(opener) {}

    bool IsHintOpen() const override;
    bool AllowInput(int hintId) override;
    bool CheckCoalHint() override;
    bool NoteButtonSubmit(bool byButton) override;
    void CheckRaceHints() override;

private:
    RaceHintView& view_;
    HintOpener& opener_;
};
