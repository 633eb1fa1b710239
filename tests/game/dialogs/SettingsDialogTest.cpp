#include <gtest/gtest.h>

#include <memory>

#include "GameDialogFixture.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/RegistrySettings.h"
#include "engine/media/SoundManager.h"
#include "engine/ui/Button.h"
#include "engine/ui/Slider.h"
#include "engine/ui/Switch.h"
#include "game/dialogs/SettingsDialog.h"
#include "game/dialogs/YesNoDialog.h"
#include "game/progress/GameSettings.h"
#include "game/progress/KR2Player.h"
#include "game/world/SectionList.h"
#include "support/TempUserFolders.h"

namespace {

std::string SliderXml(const char* name, int32_t y) {
    return std::string(R"(<Slider name=")") + name + R"(" x="10" y=")" + std::to_string(y) +
           R"(" width="100" height="10" minvalue="0" maxvalue="255">)"
           R"(<Button id="button" image="KNOB" section="ui"/><Button id="incbutton" image="KNOB" section="ui"/>)"
           R"(<Button id="decbutton" image="KNOB" section="ui"/></Slider>)";
}

const std::string kSettings =
    R"(<SettingsDialog id="DIALOG_SETTINGS" width="200" height="200"><Vector id="components">)" +
    SliderXml("SLIDER_FXVOL", 10) + SliderXml("SLIDER_MUSICVOL", 30) +
    R"(<Switch name="SWITCH_FULLSCREEN" y="50" image="EIGHT" section="ui"/>)"
    R"(<Label name="LABEL_FULLSCREEN" x="20" y="50" font="TINY" section="dlgfonts" text="full"/>)"
    R"(<Switch name="SWITCH_SHOWHINTS" y="70" image="EIGHT" section="ui"/>)"
    R"(<Label name="LABEL_SHOWHINTS" x="20" y="70" font="TINY" section="dlgfonts" text="hints"/>)"
    R"(<Button name="BUTTON_OK" y="90" image="KNOB" section="ui"/>)"
    R"(<Button name="BUTTON_CANCEL" y="100" image="KNOB" section="ui"/>)"
    R"(<Button name="BUTTON_INFO" y="110" image="KNOB" section="ui"/>)"
    R"(</Vector></SettingsDialog>)"
    R"(<SettingsDialog id="BARE_SETTINGS" width="200" height="200"/>)"
    R"(<KR2Dialog id="DIALOG_FINAL_CREDITS" width="50" height="50"/>)"
    R"(<YesNoDialog id="DIALOG_YESNO" width="100" height="50" minheight="40"><Vector id="components">)"
    R"(<Button name="BUTTON_YES" y="30" image="KNOB" section="ui"/><Button name="BUTTON_NO" y="30" image="KNOB" section="ui"/>)"
    R"(</Vector></YesNoDialog>)";

// Stored: full screen, hints on, effects 200, music 100. The player "Ann"
// has her hints off and every hint flag cleared.
class SettingsDialogTest : public GameDialogTest {
protected:
    SettingsDialogTest() {
        UseDialogs(kSettings);
        RegistrySettings::Create(std::make_unique<GameSettings>());
        Stored().SetFullScreen(true);
        Stored().SetUseHints(true);
        Stored().SetSoundVolume(200);
        Stored().SetMusicVolume(100);
        Players::Create("1", false);
        player_ = new KR2Player("Ann");
        player_->showhints = false;
        player_->hints.fill(false);
        Players::Instance()->SetCurrent(player_.Get());
        AddSounds("dialogs", {"SOUND_SLIDER_1", "SOUND_SLIDER_3", "SOUND_SLIDER_5"});
    }

    ~SettingsDialogTest() override {
        Players::Free();
        RegistrySettings::Free();
        SectionList::ReleaseInstance();
    }

    static Settings& Stored() { return RegistrySettings::Instance()->GetSettings(); }

    SettingsDialog* OpenSettings() {
        auto* dialog = Open<SettingsDialog>("DIALOG_SETTINGS");
        Run(150);
        return dialog;
    }

    template <typename T>
    static T* Child(Dialog* dialog, const char* name) {
        return ObjectCast<T>(dialog->FindChild(name));
    }

    static void Press(Dialog* dialog, const char* name) {
        Button* button = Child<Button>(dialog, name);
        button->Invoke(button);
    }

    static void Slide(Dialog* dialog, const char* name, float value) {
        auto* slider = Child<Slider>(dialog, name);
        slider->SetValue(value);
        slider->Invoke(slider);
    }

    TempUserFolders userFolders_;
    Ref<KR2Player> player_;
};

TEST_F(SettingsDialogTest, TheSwitchesShowTheWindowAndThePlayerNotTheStoredValues) {
    SettingsDialog* dialog = OpenSettings();
    EXPECT_FALSE(Child<Switch>(dialog, "SWITCH_FULLSCREEN")->IsChecked());  // no window: not full screen
    EXPECT_FALSE(Child<Switch>(dialog, "SWITCH_FULLSCREEN")->IsEnabled());  // nor may it switch
    EXPECT_FALSE(Child<Switch>(dialog, "SWITCH_SHOWHINTS")->IsChecked());
    EXPECT_EQ(Child<Slider>(dialog, "SLIDER_FXVOL")->GetValue(), 200.0f);
    EXPECT_EQ(Child<Slider>(dialog, "SLIDER_MUSICVOL")->GetValue(), 100.0f);
    EXPECT_EQ(dialog->GetSoundVolume(), 200);
    EXPECT_EQ(Child<Switch>(dialog, "SWITCH_FULLSCREEN")->GetLinkedNode(), dialog->FindChild("LABEL_FULLSCREEN"));

    Press(dialog, "BUTTON_OK");
    EXPECT_FALSE(Stored().GetFullScreen());
    EXPECT_FALSE(Stored().GetUseHints());
    EXPECT_FALSE(dialog->IsInputEnabled());
}

TEST_F(SettingsDialogTest, VolumesActAtOnceOkKeepsThemAndCancelPutsTheStoredOnesBack) {
    for (const char* ending : {"BUTTON_CANCEL", "BUTTON_OK"}) {
        SettingsDialog* dialog = OpenSettings();
        Slide(dialog, "SLIDER_FXVOL", 10.7f);
        Slide(dialog, "SLIDER_MUSICVOL", 20.0f);
        EXPECT_EQ(SoundManager::Get()->GetEffectsVolume(), 10);
        EXPECT_EQ(SoundManager::Get()->GetMusicVolume(), 20);
        Press(dialog, ending);
        const bool kept = std::string(ending) == "BUTTON_OK";
        EXPECT_EQ(Stored().GetSoundVolume(), kept ? 10 : 200) << ending;
        EXPECT_EQ(Stored().GetMusicVolume(), kept ? 20 : 100) << ending;
        EXPECT_EQ(SoundManager::Get()->GetEffectsVolume(), kept ? 10 : 200) << ending;
        EXPECT_EQ(SoundManager::Get()->GetMusicVolume(), kept ? 20 : 100) << ending;
        Run(150);
        EXPECT_FALSE(GameScene()->IsDialogShown("DIALOG_SETTINGS"));
    }
}

TEST_F(SettingsDialogTest, TurningHintsOnResetsThePlayersHintFlagsLeavingThemUnchangedDoesNot) {
    for (const bool turnOn : {false, true}) {
        SettingsDialog* dialog = OpenSettings();
        Child<Switch>(dialog, "SWITCH_SHOWHINTS")->SetChecked(turnOn);
        Press(dialog, "BUTTON_OK");
        EXPECT_EQ(player_->showhints, turnOn);
        EXPECT_EQ(player_->hints[0], turnOn) << turnOn;
        Run(150);
    }
}

TEST_F(SettingsDialogTest, TheEffectsKnobSoundsNowAndThenOnlyWhileDragged) {
    SettingsDialog* dialog = OpenSettings();
    auto* slider = Child<Slider>(dialog, "SLIDER_FXVOL");
    Played();
    slider->SetValue(0.0f);
    Run(600);  // not dragged: silent
    EXPECT_TRUE(Played().empty());
    slider->GetKnob()->SetState(Button::kPressed);
    Run(10);
    slider->SetValue(255.0f);
    Run(400);  // within half a second of the first: silent
    slider->SetValue(128.0f);
    Run(200);
    slider->SetValue(255.0f);
    Run(510);
    EXPECT_EQ(Played(), (std::vector<std::string>{"SOUND_SLIDER_1", "SOUND_SLIDER_3", "SOUND_SLIDER_5"}));
    slider->GetKnob()->SetState(Button::kNormal);
    Run(600);
    EXPECT_TRUE(Played().empty());
}

TEST_F(SettingsDialogTest, InfoShowsTheGameInformationOrWithEveryTrackBoughtTheFinalCredits) {
    SettingsDialog* dialog = OpenSettings();
    Press(dialog, "BUTTON_INFO");
    ASSERT_TRUE(GameScene()->IsDialogShown("TEXT_GAME_INFO"));
    const auto* info = ObjectCast<YesNoDialog>(GameScene()->GetDialogMap().at("TEXT_GAME_INFO").Get());
    ASSERT_NE(info, nullptr);
    EXPECT_FALSE(info->GetNoButton()->IsVisible());
    EXPECT_FALSE(GameScene()->IsDialogShown("DIALOG_FINAL_CREDITS"));

    SectionList::Create();  // no map file: no track is left to buy
    Press(dialog, "BUTTON_INFO");
    EXPECT_TRUE(GameScene()->IsDialogShown("DIALOG_FINAL_CREDITS"));
    EXPECT_TRUE(GameScene()->IsDialogShown("DIALOG_SETTINGS"));
}

TEST_F(SettingsDialogTest, ADefinitionWithoutControlsKeepsTheValuesItself) {
    auto* dialog = Open<SettingsDialog>("BARE_SETTINGS");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetSoundVolume(), 200);
    EXPECT_FALSE(dialog->GetFullScreen());
    SettingsDialog::OnOk(static_cast<Object*>(dialog), nullptr);
    EXPECT_EQ(Stored().GetSoundVolume(), 200);
}

}  // namespace
