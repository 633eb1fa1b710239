#include <gtest/gtest.h>

#include <vector>

#include "ScenesTestSupport.h"
#include "engine/media/CanvasTestSupport.h"
#include "game/dialogs/NumberFields.h"
#include "engine/foundation/Folders.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/ui/Button.h"
#include "engine/ui/FadeBlackTransition.h"
#include "engine/ui/Label.h"
#include "engine/ui/SceneManager.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/YesNoDialog.h"
#include "game/progress/KR2Player.h"
#include "scenes/SelectionLinks.h"
#include "scenes/SelectionScene.h"
#include "scenes/TrophyScreenButton.h"

namespace {

// Records what the menu asks of the map and game scenes and the hints.
class RecordingLinks : public SelectionLinks {
public:
    void RequestMapSections() override { log.push_back("map sections"); }
    void SetResumeSavegame() override { log.push_back("resume"); }
    void ClearReturnFromGame() override { log.push_back("clear return"); }
    void ShowHint(int32_t hintId, Scene*) override { log.push_back("hint " + std::to_string(hintId)); }

    std::vector<std::string> log;
};

const std::string kMenu = R"(
    <SelectionScene id="SCENE_SELECTION"><Vector id="scenecomponents">
        <Sprite name="BOTTOM" x="0" y="50" image="BOTTOM1" section="selectionscene"/>
        <Label name="LABEL_PLAYERNAME" x="0" y="0" font="FONT_TEXT" section="default"/>
        <Button name="BUTTON_ADVENTURE" x="0" y="20" image="BOTTOM1" section="selectionscene"/>
        <Button name="BUTTON_CLASSIC" x="0" y="30" image="BOTTOM1" section="selectionscene"/>
        <Button name="BUTTON_CHANGENAME" x="0" y="40" image="BOTTOM1" section="selectionscene"/>
        <Sprite name="BUTTON_TROPHY_STAR" x="60" y="5" width="8" height="8"/>
        <Sprite name="BUTTON_TROPHY" x="60" y="5" width="8" height="8"/>
    </Vector></SelectionScene>
    <SelectionScene id="BARE_MENU"/>
    <Scene id="SCENE_MAP"/><Scene id="SCENE_CLASSIC"/><Scene id="SCENE_GAME"/><Scene id="SCENE_LOAD"/>
    <FadeBlackTransition id="TRANSITION_DEFAULT" time="10"/>
    <FadeBlackTransition id="TRANSITION_SPECIAL" time="20"/>
    <Dialog id="DIALOG_NEWPLAYER" width="10" height="10"/>
    <Dialog id="DIALOG_PLAYERSELECT" width="10" height="10"/>
    <YesNoDialog id="DIALOG_YESNO" width="40" height="30" minheight="20"><Vector id="components">
        <Label name="MESSAGE" font="FONT_TEXT" section="default"/>
        <Button name="BUTTON_YES" y="20" image="BOTTOM1" section="selectionscene"/>
        <Button name="BUTTON_NO" y="20" image="BOTTOM1" section="selectionscene"/>
    </Vector></YesNoDialog>)";

const std::string kBadges = R"(<Sprite id="SPRITE_NEW" width="4" height="4"/><Sprite id="SPRITE_NEW_GLOW" width="6" height="6"/>)";

class SelectionSceneTest : public ScenesTest {
protected:
    SelectionSceneTest() {
        ForgetFoldersForTesting();
        // The badges are named objects at the top of the table, beside "dialogs".
        UseDialogs(kMenu + "</Node>" + kBadges + "<Node id=\"rest\">");
        auto* pictures = new Section("selectionscene", false);
        for (const auto& [name, picture] : {std::pair{"BOTTOM1", bottom1_}, std::pair{"BOTTOM2", bottom2_},
                                            std::pair{"BUTTON_CLASSIC", classic_}, std::pair{"BUTTON_CLASSIC_DISABLED", locked_}}) {
            pictures->AddResource(name, new HeldResource(picture.Get()));
        }
        Load(pictures);
        for (const auto& [id, text] : std::vector<std::pair<std::string, std::wstring>>{
                 {"TEXT_WELCOMEPLAYER", L"Hi %s!"}, {"TOOLTIP_SAVEGAME_YES", L"go on"}, {"TOOLTIP_SAVEGAME_NO", L"new"},
                 {"TEXT_START_RECENT_SAVEGAME", L"resume?"}, {"TEXT_SAVEGAME_HEADER", L"saved"}}) {
            Defines::Instance()->StoreText(Ref<PropertyValue>(PropertyValue::FromText(id, text, false)).Get());
        }
        GAMES_WON_BEFORE_CLASSIC = 3;
        Players::Create("1", false);
        for (const char* name : {"SCENE_MAP", "SCENE_CLASSIC", "SCENE_GAME", "SCENE_LOAD"}) {
            const Ref<Object> built(DialogTable::Instance()->CreateDialog(name));
            manager_->AddScene(name, ObjectCast<Scene>(built.Get()));
        }
        SelectionLinks::Install(&links_);
    }

    ~SelectionSceneTest() override {
        SelectionLinks::Install(nullptr);
        SceneManager::ReleaseInstance();
        Players::Free();
        ForgetFoldersForTesting();
        GAMES_WON_BEFORE_CLASSIC = 0;
    }

    // A current player with that many missions won, spread over the results.
    static KR2Player* AddPlayer(const std::string& name, int32_t won) {
        const Ref<KR2Player> player(new KR2Player(name));
        player->stats.missionsWon = {won / 2, won - won / 2, 0};
        Players::Instance()->Add(player.Get());
        Players::Instance()->SetCurrent(player.Get());
        return player.Get();
    }

    // The menu made from its definition and shown as the current scene.
    SelectionScene* ShowMenu(const std::string& name = "SCENE_SELECTION") {
        const Ref<Object> built(DialogTable::Instance()->CreateDialog(name));
        menu_ = ObjectCast<SelectionScene>(built.Get());
        manager_->AddScene("SCENE_SELECTION", menu_.Get());
        manager_->RequestSwitch(menu_.Get());
        manager_->Update(0);
        return menu_.Get();
    }

    // Where the menu asked to go.
    std::string NextSceneName() const {
        const Scene* next = manager_->GetNextScene();
        return next != nullptr ? next->GetName() : "";
    }

    int32_t Badges() const {
        int32_t count = 0;
        for (GameNode* child = menu_->GetClassicButton()->GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
            EXPECT_EQ(child->GetX(), SelectionScene::kBadgeX);
            ++count;
        }
        return count;
    }

    Ref<MemorySurface> bottom1_ = FilledSurface(4, 4, 0xFF102030);
    Ref<MemorySurface> bottom2_ = FilledSurface(4, 4, 0xFF405060);
    Ref<MemorySurface> classic_ = FilledSurface(4, 8, 0xFF00FF00);
    Ref<MemorySurface> locked_ = FilledSurface(4, 8, 0xFF808080);
    RecordingLinks links_;
    Ref<SelectionScene> menu_;
};

TEST_F(SelectionSceneTest, TheClassicGamesUnlockAtTheConstantAndShowTheBadgesUntilClicked) {
    struct Case {
        int32_t won;
        bool unlocked;
    };
    for (const Case& c : {Case{2, false}, Case{3, true}}) {
        SCOPED_TRACE(c.won);
        KR2Player* player = AddPlayer("p" + std::to_string(c.won), c.won);
        SelectionScene* menu = ShowMenu();
        links_.log.clear();
        EXPECT_EQ(menu->GetClassicButton()->GetImage(), c.unlocked ? classic_.Get() : locked_.Get());
        EXPECT_EQ(Badges(), c.unlocked ? 2 : 0);

        SelectionScene::AskResumeSavegame(static_cast<Object*>(menu), nullptr);
        EXPECT_EQ(player->classicClicked, c.unlocked);
        if (c.unlocked) {
            // No save game: straight to the classic games.
            EXPECT_EQ(NextSceneName(), "SCENE_CLASSIC");
            EXPECT_TRUE(ObjectCast<FadeBlackTransition>(manager_->GetPendingTransition()));
            SelectionScene::UpdateClassicButton(menu, false);
            EXPECT_EQ(Badges(), 0);
        } else {
            EXPECT_EQ(links_.log, std::vector<std::string>{"hint 42"});
            EXPECT_NE(NextSceneName(), "SCENE_CLASSIC");
        }
    }
}

TEST_F(SelectionSceneTest, ASaveGameIsOfferedAndEachAnswerLeadsItsWay) {
    KR2Player* player = AddPlayer("saver", 5);
    const Ref<PropertyFile> save(new PropertyFile);
    Players::Instance()->StoreSaveGame(*player, "kr2", *save);
    ASSERT_TRUE(SelectionScene::HasRecentSavegame(player));
    SelectionScene* menu = ShowMenu();

    struct Case {
        bool yes;
        const char* scene;
        std::vector<std::string> links;
    };
    for (const Case& c : {Case{false, "SCENE_CLASSIC", {}}, Case{true, "SCENE_GAME", {"resume"}}}) {
        SCOPED_TRACE(c.scene);
        links_.log.clear();
        manager_->SetNextScene(nullptr);
        SelectionScene::AskResumeSavegame(static_cast<Object*>(menu), nullptr);
        EXPECT_TRUE(player->classicClicked);
        ASSERT_TRUE(menu->IsDialogShown(SelectionScene::kSavegameQuestion));
        auto* question = ObjectCast<YesNoDialog>(menu->GetDialogMap().at(SelectionScene::kSavegameQuestion).Get());
        ASSERT_NE(question, nullptr);
        EXPECT_EQ(*question->GetYesButton()->GetToolTip(), L"go on");
        EXPECT_EQ(*question->GetNoButton()->GetToolTip(), L"new");
        EXPECT_EQ(NextSceneName(), "");
        Button* answer = c.yes ? question->GetYesButton() : question->GetNoButton();
        answer->Invoke(answer);
        EXPECT_EQ(NextSceneName(), c.scene);
        EXPECT_EQ(links_.log, c.links);
    }
    // Leaving the menu with the question open takes the question away.
    SelectionScene::AskResumeSavegame(static_cast<Object*>(menu), nullptr);
    menu->Deactivate();
    EXPECT_EQ(menu->GetDialogMap().count(SelectionScene::kSavegameQuestion), 0u);
}

TEST_F(SelectionSceneTest, TheWelcomeTakesTheNameOnlyInItsFieldAndTheBottomShowsTheSection) {
    KR2Player* player = AddPlayer("100%s %d", 0);
    player->mapFlag = true;
    SelectionScene* menu = ShowMenu();
    auto* label = ObjectCast<Label>(menu->FindChild("LABEL_PLAYERNAME"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetText(), L"Hi 100%s %d!");
    EXPECT_FALSE(player->mapFlag);
    auto* bottom = ObjectCast<Sprite>(menu->FindChild("BOTTOM"));
    EXPECT_EQ(bottom->GetImage(), bottom1_.Get());

    // A change of player cross-fades the old picture out above the new one.
    player->cursection = 1;
    SelectionScene::ShowWelcome(menu, true);
    EXPECT_EQ(bottom->GetImage(), bottom2_.Get());
    auto* old = ObjectCast<Sprite>(bottom->GetNextSibling());
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->GetImage(), bottom1_.Get());
    ASSERT_EQ(old->GetModifiers().size(), 1u);
    EXPECT_TRUE(old->GetModifiers()[0]->HasOption(Modifier::kRemoveNodeAtEnd));
    // Without animation the picture just changes.
    player->cursection = 0;
    SelectionScene::ShowWelcome(menu, false);
    EXPECT_EQ(bottom->GetImage(), bottom1_.Get());
    EXPECT_EQ(bottom->GetNextSibling(), old);

    // A section beyond the pictures leaves the bottom without one.
    player->cursection = 40;
    SelectionScene::ShowWelcome(menu, false);
    EXPECT_EQ(bottom->GetImage(), nullptr);
}

TEST_F(SelectionSceneTest, WithoutPlayersTheMenuAsksForANameAndStaysLocked) {
    SelectionScene* menu = ShowMenu();
    EXPECT_TRUE(menu->IsDialogShown("DIALOG_NEWPLAYER"));
    EXPECT_EQ(ObjectCast<Label>(menu->FindChild("LABEL_PLAYERNAME"))->GetText(), L"") << "no greeting without a name";
    EXPECT_EQ(menu->GetClassicButton()->GetImage(), locked_.Get());
    links_.log.clear();
    SelectionScene::AskResumeSavegame(static_cast<Object*>(menu), nullptr);
    EXPECT_EQ(links_.log, std::vector<std::string>{"hint 42"});
}

TEST_F(SelectionSceneTest, OnlyTheFirstActivationDropsTheLoadSceneAndLaterOnesRemovePreloading) {
    AddPlayer("p", 0);
    auto* preloading = new Section("preloading", false);
    preloading->AddResource("BACKGROUND", new HeldResource(bottom2_.Get()));
    Load(preloading);
    SelectionScene* menu = ShowMenu();
    EXPECT_TRUE(menu->IsFirstActivation());
    EXPECT_TRUE(manager_->FindScene("SCENE_LOAD") == nullptr || manager_->FindScene("SCENE_LOAD")->IsRemoved());
    EXPECT_TRUE(FindResourceData("BACKGROUND", "preloading"));
    EXPECT_EQ(links_.log, std::vector<std::string>{"clear return"});

    SelectionScene::StartAdventure(static_cast<Object*>(menu), nullptr);
    EXPECT_EQ(NextSceneName(), "SCENE_MAP");
    Scene* map = manager_->FindScene("SCENE_MAP");
    RunFrames(10, 2000, [&] { return manager_->GetCurrentScene() == map; });
    manager_->Update(10);
    EXPECT_FALSE(menu->IsFirstActivation());
    manager_->RequestSwitch(menu);
    manager_->Update(0);
    EXPECT_FALSE(FindResourceData("BACKGROUND", "preloading"));
}

// The pointer rests on a button as the menu goes to the classic games and
// moves on while the menu hears nothing: back on the menu, no button is lit.
TEST_F(SelectionSceneTest, AButtonLitAsTheMenuWentIsNotLitWhenItComesBack) {
    AddPlayer("p", 5);
    SelectionScene* menu = ShowMenu();
    auto* players = ObjectCast<Button>(menu->FindChild("BUTTON_CHANGENAME"));
    ASSERT_NE(players, nullptr);
    players->OnMouseMove(players->GetAbsoluteX(), players->GetAbsoluteY(), 0);
    menu->GetTrophyScreenButton()->SetState(Button::kOver);
    ASSERT_EQ(players->GetState(), Button::kOver);
    Scene* classic = manager_->FindScene("SCENE_CLASSIC");
    // The scene left goes in the frame after the switch.
    manager_->RequestSwitch(classic);
    manager_->Update(0);
    manager_->Update(0);
    ASSERT_EQ(manager_->GetCurrentScene(), classic);
    manager_->RequestSwitch(menu);
    manager_->Update(0);
    ASSERT_EQ(manager_->GetCurrentScene(), menu);
    EXPECT_EQ(players->GetState(), Button::kNormal);
    EXPECT_EQ(menu->GetTrophyScreenButton()->GetState(), Button::kNormal);
}

TEST_F(SelectionSceneTest, TheTrophyStarSpinsOnceWhileHoveredAndRestsAfter) {
    AddPlayer("p", 0);
    SelectionScene* menu = ShowMenu();
    TrophyScreenButton* button = menu->GetTrophyScreenButton();
    ASSERT_NE(button, nullptr);
    auto* star = ObjectCast<Sprite>(menu->FindChild("BUTTON_TROPHY_STAR"));
    EXPECT_EQ(button->GetX(), 60);
    EXPECT_EQ(button->GetWidth(), 8);
    button->SetState(Button::kOver);
    button->SetState(Button::kPressed);
    button->SetState(Button::kOver);
    ASSERT_EQ(star->GetModifiers().size(), 1u);
    EXPECT_TRUE(ObjectCast<ModifierFrame>(star->GetModifiers()[0].Get()));
    button->SetState(Button::kNormal);
    EXPECT_FALSE(star->HasModifiers());
    EXPECT_EQ(star->GetCurrentFrame(), 0);
}

TEST_F(SelectionSceneTest, AMenuWithoutItsChildrenStillBuildsAndAnswers) {
    AddPlayer("p", 5);
    SelectionScene* menu = ShowMenu("BARE_MENU");
    EXPECT_EQ(menu->GetTrophyScreenButton(), nullptr);
    EXPECT_EQ(menu->GetClassicButton(), nullptr);
    SelectionScene::ShowWelcome(menu, true);
    SelectionScene::OpenPlayerSelect(static_cast<Object*>(menu), nullptr);
    SelectionScene::OpenHelp(static_cast<Object*>(menu), nullptr);
    SelectionScene::AskResumeSavegame(static_cast<Object*>(menu), nullptr);
    EXPECT_EQ(NextSceneName(), "SCENE_CLASSIC");
}

TEST(SelectionWelcomeText, OnlyTheOneTextFieldIsFilledAndTheResultIsBounded) {
    struct Case {
        std::wstring format;
        std::wstring name;
        std::wstring expected;
    };
    for (const Case& c : {Case{L"Hi %s!", L"Ann", L"Hi Ann!"}, Case{L"%s and %s, 100%%", L"%s", L"%s and %s, 100%"},
                          Case{L"%d %n %", L"x", L"%d %n %"}}) {
        EXPECT_EQ(FillTextField(c.format, c.name, 199), c.expected);
    }
    EXPECT_EQ(FillTextField(L"Hi %s", std::wstring(300, L'a'), 199).size(), 199u);
}

}  // namespace
