#include "game/dialogs/GameHints.h"

#include "game/dialogs/HintDialog.h"
#include "game/progress/KR2Player.h"

bool GameHints::IsHintOpen() const { return HintDialog::Open() != nullptr; }

bool GameHints::AllowInput(int hintId) { return HintDialog::OnGameInput(hintId, view_.WordBarMoveState()); }

bool GameHints::CheckCoalHint() {
    KR2Player* player = CurrentHintPlayer();
    if (player == nullptr ||
        !::CheckCoalHint(*player, view_.HandReturnsToSupply(), view_.WordRackHasTypedCoal(), view_.CoalAtHand(),
                         opener_)) {
        return false;
    }
    // The change waits for the bubble: it finishes when the hint closes.
    if (HintDialog* bubble = HintDialog::Open()) {
        RaceHintView* view = &view_;
        bubble->SetOnFinished([view] { view->FinishWordBarChange(); });
    }
    return true;
}

bool GameHints::NoteButtonSubmit(bool byButton) {
    if (byButton && view_.HoldsNewValidWord() && view_.WordRackHasTypedCoal()) {
        view_.SetTypedWordFlag();
    }
    return false;
}

void GameHints::CheckRaceHints() {
    if (KR2Player* player = CurrentHintPlayer()) {
        ::CheckRaceHints(*player, view_, opener_);
    }
}
