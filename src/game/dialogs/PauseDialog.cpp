#include "game/dialogs/PauseDialog.h"

#include <cmath>

#include "engine/foundation/ClassFactory.h"
#include "engine/media/MusicStream.h"
#include "engine/media/SoundAvailable.h"
#include "engine/media/SoundManager.h"
#include "engine/scene/ModifierWait.h"
#include "engine/ui/ControlSupport.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/GameSceneHooks.h"

namespace {

const ClassRegistration registration("PauseDialog", CreateFromProperty<PauseDialog>);

// The shortest time the pause screen stays, so a hasty click cannot skip it.
constexpr int32_t kHoldMs = 1000;
// The music fades by this much of its level per millisecond.
constexpr float kMusicFadePerMs = 0.005f;

// Fades the playing music towards `target`; nothing without music.
void FadeMusic(SoundManager& sound, float target) {
    MusicStream* stream = sound.GetCurrentStream();
    if (stream == nullptr || stream->GetStream() == 0) {
        return;
    }
    const float level = stream->GetFadeLevel();
    stream->SetFade(level, target, std::fabs(target - level) * kMusicFadePerMs);
}

}  // namespace

PauseDialog::PauseDialog(Property* definition) : KR2Dialog(definition) { SetPlaySounds(false); }

void PauseDialog::OnShow() {
    KR2Dialog::OnShow();
    FadeIn(this, DIALOG_FADE_TIME);
    SoundManager* sound = SoundManager::Get();
    if (sound != nullptr && IsSoundAvailable() && sound->IsMuted()) {
        sound->SetMuted(false);
    }
    PlayControlSound("SOUND_PAUSE", "gamescene");
    if (sound != nullptr && IsSoundAvailable()) {
        FadeMusic(*sound, 0.0f);
    }
    const Ref<Modifier> hold(new ModifierWait(kHoldMs));
    hold->SetOptions(Modifier::kBlockFollowing);
    AddModifier(hold.Get());
}

bool PauseDialog::OnLButtonUp(int32_t, int32_t, uint32_t) {
    Resume(this);
    return true;
}

void PauseDialog::Resume(PauseDialog* dialog) {
    PlayControlSound("SOUND_UNPAUSE", "gamescene");
    SoundManager* sound = SoundManager::Get();
    if (sound != nullptr && IsSoundAvailable()) {
        FadeMusic(*sound, 1.0f);
        sound->SetMuted(false);
    }
    if (dialog != nullptr) {
        dialog->Close();
    }
    if (GameSceneHooks* hooks = GameSceneHooks::Installed()) {
        hooks->ArrangeLetters();
    }
}
