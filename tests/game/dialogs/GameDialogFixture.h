#pragma once

#include <string>
#include <vector>

#include "engine/foundation/Defines.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/ui/SceneTestSupport.h"
#include "engine/ui/UiTestSupport.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/GameSceneHooks.h"
#include "game/dialogs/KR2Dialog.h"

// Records what the game dialogs tell the game scene.
class RecordingHooks : public GameSceneHooks {
public:
    bool IsGameScene(const Scene* scene) const override { return scene != nullptr && scene == gameScene; }
    bool IsMapScene(const Scene* scene) const override { return scene != nullptr && scene == mapScene; }
    void OnDialogOpened(Scene*, Dialog* dialog) override { log.push_back("opened " + dialog->GetName()); }
    void OnDialogClosed(Dialog* dialog) override { log.push_back("closed " + dialog->GetName()); }
    void OnLevelStopped() override { log.push_back("level stopped"); }
    void OpenTrophyScreen(Scene*) override { log.push_back("trophies"); }
    void ArrangeLetters() override { log.push_back("arrange letters"); }
    void ShowWelcome(Scene*, bool animate) override { log.push_back(animate ? "welcome animated" : "welcome"); }

    const Scene* gameScene = nullptr;
    const Scene* mapScene = nullptr;
    std::vector<std::string> log;
};

// The controls' resources and a scene manager (SceneTest), the tiny font as
// "FONT_DIALOG_HEADER" in "default" and as "TINY" in "dlgfonts", small
// dialog constants (minimum width 60, centre width 20, centre offset 2,
// fade 100 ms, backdrop alpha 128), a few texts and the recording hooks.
// Dialog definitions come from UseDialogs; Open makes the scene "GAME"
// current and shows the named dialog in it.
class GameDialogTest : public SceneTest {
protected:
    GameDialogTest() {
        auto* fonts = new Section("default", false);
        fonts->AddResource("FONT_DIALOG_HEADER", new HeldResource(font_.Get()));
        sections_.Load(fonts);
        auto* dialogFonts = new Section("dlgfonts", false);
        dialogFonts->AddResource("TINY", new HeldResource(font_.Get()));
        sections_.Load(dialogFonts);
        auto* images = new Section("dialogs", false);
        images->AddResource("BUTTON_OK", new HeldResource(okImage_.Get()));
        sections_.Load(images);
        Defines::Create();
        for (const auto& [id, text] : std::vector<std::pair<std::string, std::wstring>>{
                 {"HINT_NOT_AVAILABLE", L"na"}, {"Q", L"question"}, {"H", L"header"}}) {
            Defines::Instance()->StoreText(Ref<PropertyValue>(PropertyValue::FromText(id, text, false)).Get());
        }
        DIALOG_MINWIDTH = 60;
        DIALOG_MIN_CENTERWIDTH = 20;
        DIALOG_CENTER_OFFSET = 2;
        DIALOG_FADE_TIME = 100;
        DIALOG_BACKGROUND_ALPHA = 128;
        GameSceneHooks::Install(&hooks_);
    }

    ~GameDialogTest() override {
        GameSceneHooks::Install(nullptr);
        SceneManager::ReleaseInstance();
        Defines::ReleaseInstance();
        DIALOG_MINWIDTH = saved_[0];
        DIALOG_MIN_CENTERWIDTH = saved_[1];
        DIALOG_CENTER_OFFSET = saved_[2];
        DIALOG_FADE_TIME = saved_[3];
        DIALOG_BACKGROUND_ALPHA = saved_[4];
    }

    // The scene "GAME", made current (and the game scene of the hooks).
    Scene* GameScene() {
        if (!scene_) {
            scene_ = MakeScene("GAME");
            hooks_.gameScene = scene_.Get();
            manager_->RequestSwitch(scene_.Get());
            manager_->Update(0);
        }
        return scene_.Get();
    }

    template <typename T = KR2Dialog>
    T* Open(const std::string& name) {
        Dialog* dialog = GameScene()->GetDialog(name);
        GameScene()->ShowDialog(dialog);
        return ObjectCast<T>(dialog);
    }

    // Silent sounds of those names in a new section; Played() knows them.
    void AddSounds(const std::string& sectionName, const std::vector<std::string>& names) {
        auto* section = new Section(sectionName, false);
        for (const std::string& name : names) {
            const std::string path = folder_.Path() + "/" + name + ".wav";
            WriteBytes(path, MakeWav(1, 22050, 16, ConstantSamples(220, 1, 1000)));
            Ref<SoundSample> sample(new SoundSample);
            sample->LoadSample(path, SoundSample::kModeFlags, LoadMode::File);
            sampleNames_[sample->Handle()] = name;
            section->AddResource(name, new HeldResource(sample.Get()));
        }
        sections_.Load(section);
    }

    // Runs the current scene's frames for `ms` milliseconds in 10 ms steps.
    void Run(int32_t ms) {
        for (int32_t t = 0; t < ms; t += 10) {
            manager_->Update(10);
        }
    }

    RecordingHooks hooks_;
    Ref<BitmapFont> font_ = MakeTinyFont();
    Ref<MemorySurface> okImage_ = FilledSurface(6, 4, 0xFF00FF00);
    Ref<LoggingScene> scene_;

private:
    int32_t saved_[5] = {DIALOG_MINWIDTH, DIALOG_MIN_CENTERWIDTH, DIALOG_CENTER_OFFSET, DIALOG_FADE_TIME,
                         DIALOG_BACKGROUND_ALPHA};
};
