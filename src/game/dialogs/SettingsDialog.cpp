#include "game/dialogs/SettingsDialog.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/RegistrySettings.h"
#include "engine/media/GameWindow.h"
#include "engine/media/SoundManager.h"
#include "engine/ui/Button.h"
#include "engine/ui/ControlSupport.h"
#include "engine/ui/Label.h"
#include "engine/ui/Scene.h"
#include "engine/ui/Slider.h"
#include "engine/ui/Switch.h"
#include "game/dialogs/GameSceneHooks.h"
#include "game/dialogs/MenuDialog.h"
#include "game/dialogs/YesNoDialog.h"
#include "game/progress/KR2Player.h"
#include "game/world/SectionList.h"

namespace {

const ClassRegistration registration("SettingsDialog", CreateFromProperty<SettingsDialog>);

// At most one slider sound in this many milliseconds.
constexpr uint32_t kSliderSoundGapMs = 500;
constexpr int32_t kSliderSoundCount = 5;

KR2Player* CurrentPlayer() {
    const Players* players = Players::Instance();
    return ObjectCast<KR2Player>(players != nullptr ? players->GetCurrent() : nullptr);
}

Settings* StoredSettings() {
    RegistrySettings* store = RegistrySettings::Instance();
    return store != nullptr ? &store->GetSettings() : nullptr;
}

// A slider's value as a volume byte: data may give any range.
int32_t VolumeOf(const Slider* slider) {
    return slider != nullptr ? std::clamp(TruncateToInt(slider->GetValue()), 0, 255) : 0;
}

void PlaceSlider(Slider* slider, int32_t value) {
    if (slider != nullptr) {
        slider->SetValue(static_cast<float>(value));
        slider->PlaceKnob();
    }
}

}  // namespace

SettingsDialog::SettingsDialog(Property* definition) : KR2Dialog(definition) {
    effects_ = ObjectCast<Slider>(FindChild("SLIDER_FXVOL"));
    music_ = ObjectCast<Slider>(FindChild("SLIDER_MUSICVOL"));
    fullScreen_ = ObjectCast<Switch>(FindChild("SWITCH_FULLSCREEN"));
    hints_ = ObjectCast<Switch>(FindChild("SWITCH_SHOWHINTS"));
    if (effects_ == nullptr || music_ == nullptr || fullScreen_ == nullptr || hints_ == nullptr) {
        ENGINE_LOG(1, "SettingsDialog: a slider or switch is missing");
    }
    if (const Settings* stored = StoredSettings()) {
        Assign(*stored);
    }
    void* self = static_cast<Object*>(this);
    const struct {
        const char* name;
        ControlCallback::Function handler;
    } controls[] = {{"SLIDER_FXVOL", &SettingsDialog::OnEffectsVolume},
                    {"BUTTON_OK", &SettingsDialog::OnOk},
                    {"BUTTON_INFO", &SettingsDialog::OnInfo},
                    {"BUTTON_CANCEL", &SettingsDialog::OnCancel},
                    {"SLIDER_MUSICVOL", &SettingsDialog::OnMusicVolume}};
    for (const auto& control : controls) {
        BindControlByName(control.name, control.handler, self);
    }
    const GameWindow* window = GameWindow::Instance();
    AttachSwitch(fullScreen_, "LABEL_FULLSCREEN", window != nullptr && window->IsModeSwitchAllowed());
    AttachSwitch(hints_, "LABEL_SHOWHINTS", true);
}

void SettingsDialog::AttachSwitch(Switch* control, const char* labelName, bool enabled) {
    if (control == nullptr) {
        return;
    }
    control->SetEnabled(enabled);
    control->SetLinkedNode(ObjectCast<Label>(FindChild(labelName)));
    GetListenerList()->AddListener(control, true);
}

bool SettingsDialog::GetFullScreen() const {
    return fullScreen_ != nullptr ? fullScreen_->IsChecked() : GameSettings::GetFullScreen();
}

void SettingsDialog::SetFullScreen(bool) {
    const GameWindow* window = GameWindow::Instance();
    const bool fullScreen = window != nullptr && window->IsFullScreen();
    if (fullScreen_ != nullptr) {
        fullScreen_->SetChecked(fullScreen);
    } else {
        GameSettings::SetFullScreen(fullScreen);
    }
}

bool SettingsDialog::GetUseHints() const {
    return hints_ != nullptr ? hints_->IsChecked() : GameSettings::GetUseHints();
}

void SettingsDialog::SetUseHints(bool) {
    const KR2Player* player = CurrentPlayer();
    const bool show = player != nullptr && player->showhints;
    if (hints_ != nullptr) {
        hints_->SetChecked(show);
    } else {
        GameSettings::SetUseHints(show);
    }
}

int32_t SettingsDialog::GetSoundVolume() const {
    return effects_ != nullptr ? VolumeOf(effects_) : GameSettings::GetSoundVolume();
}

void SettingsDialog::SetSoundVolume(int32_t value) {
    GameSettings::SetSoundVolume(value);
    PlaceSlider(effects_, value);
}

int32_t SettingsDialog::GetMusicVolume() const {
    return music_ != nullptr ? VolumeOf(music_) : GameSettings::GetMusicVolume();
}

void SettingsDialog::SetMusicVolume(int32_t value) {
    GameSettings::SetMusicVolume(value);
    PlaceSlider(music_, value);
}

void SettingsDialog::Update(int32_t elapsedMs) {
    KR2Dialog::Update(elapsedMs);
    now_ += static_cast<uint32_t>(std::max(elapsedMs, 0));
    const Button* knob = effects_ != nullptr ? effects_->GetKnob() : nullptr;
    if (knob == nullptr || knob->GetState() != Button::kPressed ||
        (sliderSoundPlayed_ && now_ - lastSliderSound_ <= kSliderSoundGapMs)) {
        return;
    }
    sliderSoundPlayed_ = true;
    lastSliderSound_ = now_;
    const double step = std::floor(effects_->GetValue() * 5.0 / (effects_->GetMaximum() + 1.0));
    const int32_t sound = std::clamp(TruncateToInt(step) + 1, 1, kSliderSoundCount);
    PlayControlSound("SOUND_SLIDER_" + std::to_string(sound), "dialogs");
}

SettingsDialog* SettingsDialog::FromContext(void* dialog) {
    return ObjectCast<SettingsDialog>(static_cast<Object*>(dialog));
}

int32_t SettingsDialog::OnEffectsVolume(void* dialog, GameNode*) {
    const SettingsDialog* self = FromContext(dialog);
    if (SoundManager* sound = SoundManager::Get(); self != nullptr && sound != nullptr) {
        sound->SetEffectsVolume(static_cast<uint8_t>(VolumeOf(self->effects_)));
    }
    return 0;
}

int32_t SettingsDialog::OnMusicVolume(void* dialog, GameNode*) {
    const SettingsDialog* self = FromContext(dialog);
    if (SoundManager* sound = SoundManager::Get(); self != nullptr && sound != nullptr) {
        sound->SetMusicVolume(static_cast<uint8_t>(VolumeOf(self->music_)));
    }
    return 0;
}

int32_t SettingsDialog::OnOk(void* dialog, GameNode* sender) {
    SettingsDialog* self = FromContext(dialog);
    if (self == nullptr) {
        return 0;
    }
    if (Settings* stored = StoredSettings()) {
        stored->Assign(*self);
        RegistrySettings::Instance()->Save();
    }
    if (GameWindow* window = GameWindow::Instance()) {
        window->SetFullScreen(self->GetFullScreen());
    }
    KR2Player* player = CurrentPlayer();
    if (player != nullptr && self->hints_ != nullptr && player->showhints != self->hints_->IsChecked()) {
        player->showhints = self->hints_->IsChecked();
        if (player->showhints) {
            player->ResetHintFlags();
        }
    }
    return OnCancel(dialog, sender);
}

void SettingsDialog::ApplyStoredVolumes() const {
    const Settings* stored = StoredSettings();
    SoundManager* sound = SoundManager::Get();
    if (stored == nullptr || sound == nullptr) {
        return;
    }
    sound->SetEffectsVolume(static_cast<uint8_t>(std::clamp(stored->GetSoundVolume(), 0, 255)));
    sound->SetMusicVolume(static_cast<uint8_t>(std::clamp(stored->GetMusicVolume(), 0, 255)));
}

int32_t SettingsDialog::OnCancel(void* dialog, GameNode*) {
    if (SettingsDialog* self = FromContext(dialog)) {
        self->ApplyStoredVolumes();
        self->Close();
    }
    return 0;
}

int32_t SettingsDialog::OnInfo(void*, GameNode*) {
    const SectionList* sections = SectionList::Instance();
    if (sections != nullptr && sections->AllTracksBought()) {
        OpenDialogInCurrentScene("DIALOG_FINAL_CREDITS");
        return 0;
    }
    Scene* scene = CurrentDialogScene();
    YesNoDialog* message =
        YesNoDialog::Ask("TEXT_GAME_INFO", "TEXT_GAME_INFO_HEADER", nullptr, nullptr, nullptr, nullptr, scene);
    if (message != nullptr) {
        YesNoDialog::MakeOkOnly(message);
        scene->ShowDialog(message);
    }
    return 0;
}
