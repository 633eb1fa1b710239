#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "engine/foundation/Archive.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/Folders.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/SectionManager.h"
#include "engine/media/CanvasTestSupport.h"
#include "engine/scene/DialogTable.h"
#include "engine/scene/RenderPass.h"
#include "engine/scene/SceneTestSupport.h"
#include "engine/ui/Button.h"
#include "engine/ui/InputLabel.h"
#include "engine/ui/Label.h"
#include "engine/ui/Scene.h"
#include "engine/ui/SceneManager.h"
#include "engine/ui/Slider.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/HelpDialog.h"
#include "game/dialogs/KR2Painter.h"
#include "game/dialogs/NameInputDialog.h"
#include "game/dialogs/PlayerSelectDialog.h"
#include "game/dialogs/YesNoDialog.h"
#include "game/progress/KR2Player.h"
#include "platform/PngWriter.h"
#include "support/TempUserFolders.h"

namespace {

const std::string kBuild = WORDRAIL_BUILD_DIR;
constexpr uint32_t kSky = 0x8EC5E8;

// The shipped dialogs over a sky-blue test scene, with the media this build
// generated, the constants and the texts.
class GameDialogsContent : public testing::Test {
protected:
    GameDialogsContent() : previous_(std::filesystem::current_path()) {
        ForgetFoldersForTesting();
        std::filesystem::current_path(kBuild);
        OpenMediaArchive(LoadMode::File, "");
        SectionManager::Start();
        SectionManager* sections = SectionManager::Instance();
        sections->AddDefinitionFile("media/properties/resources.xml");
        sections->LoadSections();
        sections->SetDeclared();
        for (const char* name : {"default", "dialogs"}) {
            while (sections->RequestSection(name)) {
                std::this_thread::yield();
            }
        }
        Defines::Create();
        for (const char* file : {"media/properties/default.xml", "media/properties/text.xml"}) {
            Ref<PropertyFile> constants(new PropertyFile({file}));
            constants->Load();
            ClassFactory::Instance().CreateNamedObjects(*constants);
        }
        XML::Init();
        DialogTable::Create("media/properties/dialogs.xml");
        SceneManager::Create();
        const Ref<PropertyFile> definition = ParseDefinitions(R"(<root><Scene id="TEST"/></root>)");
        scene_ = new Scene(Property::Child(definition.Get(), "TEST"));
        SceneManager::Instance()->RequestSwitch(scene_.Get());
        SceneManager::Instance()->Update(0);
    }

    ~GameDialogsContent() override {
        scene_ = nullptr;
        SceneManager::ReleaseInstance();
        DialogTable::ReleaseInstance();
        Defines::ReleaseInstance();
        XML::ForgetInitForTesting();
        SectionManager::Stop();
        CloseMediaArchive();
        std::filesystem::current_path(previous_);
        ForgetFoldersForTesting();
    }

    // Shows the dialog, lets every fade end and writes the screen to
    // "dialog_<name>.png" in the build folder.
    Ref<MemorySurface> Screenshot(Dialog* dialog, const std::string& name) {
        if (!scene_->IsDialogShown(dialog->GetName())) {
            scene_->ShowDialog(dialog);
        }
        for (int frame = 0; frame < 80; ++frame) {
            SceneManager::Instance()->Update(10);
        }
        const Ref<MemorySurface> screen = FilledSurface(800, 600, 0xFF000000 | kSky);
        RenderPass::DrawNodeTree(*screen->CreateCanvas(), *scene_->GetRootNode());
        platform::WritePng(kBuild + "/dialog_" + name + ".png", screen->Pixels32(), 800, 600);
        return screen;
    }

    static uint32_t Rgb(const Surface& screen, int32_t x, int32_t y) { return PixelAt(screen, x, y) & 0xFFFFFF; }

    // The sky under the backdrop of DIALOG_BACKGROUND_ALPHA black.
    static uint32_t DarkenedSky() {
        uint32_t darkened = 0;
        for (int shift : {0, 8, 16}) {
            const uint32_t channel = (kSky >> shift) & 0xFF;
            darkened |= (channel * static_cast<uint32_t>(255 - DIALOG_BACKGROUND_ALPHA) / 255) << shift;
        }
        return darkened;
    }

    static bool Near(uint32_t pixel, uint32_t colour, int tolerance) {
        for (int shift : {0, 8, 16}) {
            if (std::abs(static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((colour >> shift) & 0xFF)) >
                tolerance) {
                return false;
            }
        }
        return true;
    }

    TempUserFolders userFolders_;
    std::filesystem::path previous_;
    Ref<Scene> scene_;
};

TEST_F(GameDialogsContent, TheQuestionStandsCentredWithItsHeaderMessageAndButtons) {
    YesNoDialog* question = YesNoDialog::Ask("TEXT_QUESTION_QUIT", "TEXT_QUIT_HEADER", nullptr, nullptr, nullptr,
                                             nullptr, scene_.Get());
    ASSERT_NE(question, nullptr);
    const Ref<MemorySurface> screen = Screenshot(question, "yesno");
    const int32_t left = question->GetX();
    const int32_t top = question->GetY();
    EXPECT_EQ(left, (800 - question->GetWidth()) / 2);
    EXPECT_TRUE(question->IsInputEnabled());
    EXPECT_EQ(Rgb(*screen, 5, 5), kSky);  // no backdrop
    // The parchment body between the message and the buttons, and the header on its tab.
    EXPECT_TRUE(Near(Rgb(*screen, left + 40, top + question->GetHeight() / 2), 0xF3E6C8, 40));
    const auto* painter = ObjectCast<KR2Painter>(question->GetPainter());
    ASSERT_TRUE(painter && painter->GetHeaderLabel());
    EXPECT_EQ(painter->GetHeaderLabel()->GetText(), L"Leave the station?");
    EXPECT_GT(question->GetMessageLabel()->GetLines().size(), 0u);
    // Yes left of the middle, no right of it, both inside the box.
    const Button* yes = question->GetYesButton();
    const Button* no = question->GetNoButton();
    EXPECT_LT(yes->GetAbsoluteX(), left + question->GetWidth() / 2);
    EXPECT_GT(no->GetAbsoluteX(), left + question->GetWidth() / 2 - 1);
    EXPECT_LT(yes->GetAbsoluteY() + yes->GetHeight(), top + question->GetHeight());

    // A two-line message makes a taller box; the buttons keep their gap to the bottom.
    YesNoDialog* longer = YesNoDialog::Ask("TEXT_DIALOG_FULLSCREEN", "TEXT_DIALOG_FULLSCREEN_HEADER", nullptr,
                                           nullptr, nullptr, nullptr, scene_.Get());
    Screenshot(longer, "yesno_two_lines");
    EXPECT_EQ(longer->GetMessageLabel()->GetLines().size(), 2u);
    EXPECT_GT(longer->GetHeight(), question->GetHeight());
    EXPECT_EQ(longer->GetHeight() - longer->GetYesButton()->GetY(), question->GetHeight() - yes->GetY());
}

TEST_F(GameDialogsContent, EveryGameDialogOpensInATestScene) {
    const struct {
        const char* id;
        bool darkened;
    } dialogs[] = {{"DIALOG_MENU", true},     {"DIALOG_PAUSE", true},    {"DIALOG_SETTINGS", false},
                   {"DIALOG_HELP", true},     {"DIALOG_CREDITS", false}};
    for (const auto& d : dialogs) {
        Dialog* dialog = scene_->GetDialog(d.id);
        ASSERT_NE(dialog, nullptr) << d.id;
        const Ref<MemorySurface> screen = Screenshot(dialog, d.id);
        EXPECT_TRUE(dialog->IsInputEnabled()) << d.id;
        EXPECT_EQ(dialog->GetAlpha(), 255) << d.id;
        EXPECT_TRUE(Near(Rgb(*screen, 3, 3), d.darkened ? DarkenedSky() : kSky, 3)) << d.id << std::hex << Rgb(*screen, 3, 3);
        // The middle of the screen shows the dialog, not the sky.
        EXPECT_FALSE(Near(Rgb(*screen, 400, 300), kSky, 30)) << d.id;
        scene_->CloseDialog(dialog);
    }
}

TEST_F(GameDialogsContent, TheSettingsAndHelpControlsWork) {
    Dialog* settings = scene_->GetDialog("DIALOG_SETTINGS");
    Screenshot(settings, "settings_controls");
    auto* effects = ObjectCast<Slider>(settings->FindChild("SLIDER_FXVOL"));
    ASSERT_NE(effects, nullptr);
    EXPECT_EQ(effects->GetMaximum(), 255.0f);
    ASSERT_NE(effects->GetKnob(), nullptr);

    auto* help = ObjectCast<HelpDialog>(scene_->GetDialog("DIALOG_HELP"));
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->GetPageCount(), 5);
    Screenshot(help, "help_page1");
    auto* next = ObjectCast<Button>(help->FindChild("BUTTON_NEXT"));
    next->Invoke(next);
    const Ref<MemorySurface> second = Screenshot(help, "help_page2");
    EXPECT_EQ(ObjectCast<Label>(help->FindChild("LABEL_INDEX"))->GetText(), L"Page 2 of 5");
    EXPECT_EQ(ObjectCast<Label>(help->FindChild("LABEL_PANELHEADER"))->GetText(), L"The race");
    EXPECT_TRUE(help->FindChild("panel1")->IsVisible());
    EXPECT_FALSE(help->FindChild("panel0")->IsVisible());
}

TEST_F(GameDialogsContent, ThePlayerDialogsShowTheListAndTakeATypedName) {
    Players::Create("1", false);
    auto* firstName = ObjectCast<NameInputDialog>(scene_->GetDialog("DIALOG_NEWPLAYER"));
    ASSERT_TRUE(firstName && firstName->GetNameInput() && firstName->GetOkButton() && firstName->GetCancelButton());
    EXPECT_TRUE(firstName->GetCancelButton()->IsRemoved());
    Screenshot(firstName, "newplayer_empty");
    for (const char c : std::string("Ann Lee")) {
        firstName->GetNameInput()->OnChar(c);
    }
    const Ref<MemorySurface> typed = Screenshot(firstName, "newplayer_typed");
    EXPECT_TRUE(firstName->GetOkButton()->IsEnabled());
    // The name's dark ink stands in the input on the parchment.
    const InputLabel& input = *firstName->GetNameInput();
    bool ink = false;
    for (int32_t x = input.GetAbsoluteX(); x < input.GetAbsoluteX() + 60; ++x) {
        for (int32_t y = input.GetAbsoluteY(); y < input.GetAbsoluteY() + input.GetHeight(); ++y) {
            ink = ink || Near(Rgb(*typed, x, y), 0x2B2118, 40);
        }
    }
    EXPECT_TRUE(ink);
    scene_->CloseDialog(firstName);

    for (const char* name : {"Bob", "Cy"}) {
        const Ref<KR2Player> player(new KR2Player(name));
        Players::Instance()->Add(player.Get());
    }
    auto* selection = ObjectCast<PlayerSelectDialog>(scene_->GetDialog("DIALOG_PLAYERSELECT"));
    ASSERT_NE(selection, nullptr);
    const Ref<MemorySurface> screen = Screenshot(selection, "playerselect");
    EXPECT_EQ(selection->GetNameLabel(1)->GetText(), L"Cy");
    EXPECT_TRUE(selection->GetRemoveButton()->IsEnabled());
    // Every slot and its name lie inside the dialog, above the buttons.
    for (int32_t slot = 0; slot < PlayerSelectDialog::kSlotCount; ++slot) {
        const Sprite* control = selection->GetNameControl(slot);
        ASSERT_NE(control, nullptr);
        EXPECT_GT(control->GetAbsoluteX(), selection->GetX());
        EXPECT_LT(control->GetAbsoluteY() + control->GetHeight(), selection->GetRemoveButton()->GetAbsoluteY());
    }
    EXPECT_TRUE(Near(Rgb(*screen, 3, 3), DarkenedSky(), 3));
    scene_->CloseDialog(selection);
    Players::Free();
}

}  // namespace
