#include <gtest/gtest.h>

#include <algorithm>

#include "GameDialogFixture.h"
#include "engine/foundation/Players.h"
#include "engine/media/SoundManager.h"
#include "engine/ui/AlphaTransition.h"
#include "engine/ui/Button.h"
#include "engine/ui/FadeBlackTransition.h"
#include "engine/ui/SceneTransition.h"
#include "game/dialogs/MenuDialog.h"
#include "game/dialogs/PauseDialog.h"
#include "game/dialogs/YesNoDialog.h"
#include "game/progress/KR2Player.h"

namespace {

std::string MenuButton(const char* name) {
    return std::string(R"(<Button name=")") + name + R"(" image="KNOB" section="ui"/>)";
}

const std::string kMenuDialogs =
    R"(<MenuDialog id="DIALOG_MENU" width="100" height="100"><Vector id="components">)" + MenuButton("BUTTON_HELP") +
    MenuButton("BUTTON_SETTINGS") + MenuButton("BUTTON_STOP") + MenuButton("BUTTON_TROPHY") +
    MenuButton("BUTTON_RESUME") +
    R"(</Vector></MenuDialog>)"
    R"(<KR2Dialog id="DIALOG_HELP" width="50" height="50"/>)"
    R"(<YesNoDialog id="DIALOG_YESNO" width="100" height="50" minheight="40"><Vector id="components">)"
    R"(<Button name="BUTTON_YES" y="30" image="KNOB" section="ui"/><Button name="BUTTON_NO" y="30" image="KNOB" section="ui"/>)"
    R"(</Vector></YesNoDialog>)"
    R"(<AlphaTransition id="TRANSITION_DEFAULT"/><FadeBlackTransition id="TRANSITION_SPECIAL"/>)"
    R"(<PauseDialog id="DIALOG_PAUSE" width="800" height="600"/>)"
    R"(<MenuDialog id="BARE_MENU" width="100" height="100"/>)";

class MenuPauseDialogTest : public GameDialogTest {
protected:
    MenuPauseDialogTest() {
        UseDialogs(kMenuDialogs);
        selection_ = MakeScene("SCENE_SELECTION");
        manager_->AddScene("SCENE_SELECTION", selection_.Get());
    }

    ~MenuPauseDialogTest() override { Players::Free(); }

    // A current player whose ticket is of that game mode.
    void UsePlayer(int32_t gameMode) {
        Players::Free();
        Players* players = Players::Create("1", false);
        player_ = new KR2Player("Ann");
        player_->currentTicket = new TicketInfo;
        player_->currentTicket->GameMode = gameMode;
        players->SetCurrent(player_.Get());
    }

    static void Press(Dialog* dialog, const char* name) {
        auto* button = ObjectCast<Button>(dialog->FindChild(name));
        ASSERT_NE(button, nullptr) << name;
        button->Invoke(button);
    }

    Ref<LoggingScene> selection_;
    Ref<KR2Player> player_;
};

TEST_F(MenuPauseDialogTest, StopAsksTheQuestionOfWhereThePlayerIs) {
    const struct {
        bool onMap;
        int32_t gameMode;
        const char* question;
    } cases[] = {{true, 0, "TEXT_MENU_STOP_MAPSCENE"},
                 {false, 0, "TEXT_MENU_STOP_ADVENTURE"},
                 {false, 1, "TEXT_MENU_STOP_CLASSIC"}};
    for (const auto& c : cases) {
        UsePlayer(c.gameMode);
        hooks_.mapScene = c.onMap ? GameScene() : nullptr;
        hooks_.gameScene = c.onMap ? nullptr : GameScene();
        MenuDialog* menu = Open<MenuDialog>("DIALOG_MENU");
        Run(150);
        Press(menu, "BUTTON_STOP");
        EXPECT_TRUE(GameScene()->IsDialogShown(c.question)) << c.question;
        EXPECT_TRUE(GameScene()->IsDialogShown("DIALOG_MENU"));
        GameScene()->CloseDialog(GameScene()->GetDialog(c.question));
    }
}

TEST_F(MenuPauseDialogTest, ANoClosesOnlyTheQuestion) {
    MenuDialog* menu = Open<MenuDialog>("DIALOG_MENU");
    Run(150);
    Press(menu, "BUTTON_STOP");
    Run(150);
    Press(GameScene()->GetDialog("TEXT_MENU_STOP_CLASSIC"), "BUTTON_NO");
    Run(150);
    EXPECT_FALSE(GameScene()->IsDialogShown("TEXT_MENU_STOP_CLASSIC"));
    EXPECT_TRUE(GameScene()->IsDialogShown("DIALOG_MENU"));
    EXPECT_TRUE(menu->IsInputEnabled());
    EXPECT_EQ(manager_->GetNextScene(), nullptr);
}

TEST_F(MenuPauseDialogTest, AYesLeavesForTheSelectionThroughTheTransitionOfWhereThePlayerIs) {
    const struct {
        bool inGame;
        const char* transition;
        bool levelStopped;
    } cases[] = {{false, "AlphaTransition", false}, {true, "FadeBlackTransition", true}};
    for (const auto& c : cases) {
        hooks_.gameScene = c.inGame ? GameScene() : nullptr;
        hooks_.log.clear();
        MenuDialog::OnStopConfirmed(nullptr, nullptr);
        EXPECT_EQ(manager_->GetNextScene(), selection_.Get());
        ASSERT_NE(manager_->GetPendingTransition(), nullptr);
        EXPECT_EQ(manager_->GetPendingTransition()->GetClassInfo(),
                  c.inGame ? &FadeBlackTransition::classInfo : &AlphaTransition::classInfo)
            << c.transition;
        EXPECT_EQ(std::count(hooks_.log.begin(), hooks_.log.end(), "level stopped"), c.levelStopped ? 1 : 0);
    }
}

TEST_F(MenuPauseDialogTest, ResumeClosesTheMenuAndPutsTheLettersBackOnlyInTheGame) {
    for (const bool inGame : {false, true}) {
        hooks_.gameScene = inGame ? GameScene() : nullptr;
        hooks_.log.clear();
        MenuDialog* menu = Open<MenuDialog>("DIALOG_MENU");
        hooks_.gameScene = inGame ? GameScene() : nullptr;
        Run(150);
        Press(menu, "BUTTON_RESUME");
        EXPECT_FALSE(menu->IsInputEnabled());
        Run(150);
        EXPECT_FALSE(GameScene()->IsDialogShown("DIALOG_MENU"));
        EXPECT_EQ(std::count(hooks_.log.begin(), hooks_.log.end(), "arrange letters"), inGame ? 1 : 0);
    }
}

TEST_F(MenuPauseDialogTest, TheOtherButtonsOpenTheirDialogsOverTheMenu) {
    MenuDialog* menu = Open<MenuDialog>("DIALOG_MENU");
    Run(150);
    Press(menu, "BUTTON_HELP");
    Press(menu, "BUTTON_TROPHY");
    Press(menu, "BUTTON_SETTINGS");  // not defined here: nothing opens
    EXPECT_TRUE(GameScene()->IsDialogShown("DIALOG_HELP"));
    EXPECT_TRUE(GameScene()->IsDialogShown("DIALOG_MENU"));
    EXPECT_EQ(std::count(hooks_.log.begin(), hooks_.log.end(), "trophies"), 1);
    // A menu without its buttons still opens and closes.
    MenuDialog* bare = Open<MenuDialog>("BARE_MENU");
    ASSERT_NE(bare, nullptr);
    bare->Close();
    Run(250);
    EXPECT_FALSE(GameScene()->IsDialogShown("BARE_MENU"));
}

TEST_F(MenuPauseDialogTest, PauseHoldsASecondAfterItsFadeInBeforeAClickCanCloseIt) {
    hooks_.gameScene = GameScene();
    PauseDialog* pause = Open<PauseDialog>("DIALOG_PAUSE");
    EXPECT_FALSE(pause->GetPlaySounds());
    EXPECT_FALSE(pause->IsInputEnabled());  // a click during the fade-in is not taken
    Run(120);
    EXPECT_TRUE(pause->IsInputEnabled());
    EXPECT_TRUE(pause->OnLButtonUp(400, 300, 0));
    EXPECT_FALSE(pause->IsInputEnabled());
    EXPECT_EQ(std::count(hooks_.log.begin(), hooks_.log.end(), "arrange letters"), 1);
    Run(900);
    EXPECT_EQ(pause->GetAlpha(), 255);  // still held
    Run(300);
    EXPECT_FALSE(GameScene()->IsDialogShown("DIALOG_PAUSE"));
}

TEST_F(MenuPauseDialogTest, PausingWhileMutedUnmutes) {
    SoundManager::Get()->SetMuted(true);
    Open<PauseDialog>("DIALOG_PAUSE");
    EXPECT_FALSE(SoundManager::Get()->IsMuted());
}

}  // namespace
