#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "GameServicesSession.h"
#include "GeneratedMediaSession.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/HighScoreTables.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/RandomGenerator.h"
#include "engine/foundation/ScoreTable.h"
#include "engine/foundation/SectionManager.h"
#include "engine/foundation/TextConversions.h"
#include "engine/media/CanvasTestSupport.h"
#include "engine/scene/DialogTable.h"
#include "engine/scene/SceneTestSupport.h"
#include "engine/scene/ModifierColorCycle.h"
#include "engine/scene/ModifierPulse.h"
#include "engine/scene/SceneResources.h"
#include "engine/ui/Label.h"
#include "engine/ui/SceneManager.h"
#include "engine/ui/Switch.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/HintDialog.h"
#include "game/progress/HighScores.h"
#include "game/progress/KR2Player.h"
#include "game/progress/KR2Score.h"
#include "game/rules/GameMode.h"
#include "game/words/TicketInfo.h"
#include "game/world/SectionInfo.h"
#include "game/world/SectionList.h"
#include "game/world/TrackInfo.h"
#include "platform/PngWriter.h"
#include "scenes/ClassicScene.h"
#include "support/TempUserFolders.h"

// The classic scene from the shipped definition on the generated media,
// with a current player, the high-score store and the map.
namespace {

const std::string kBuild = WORDRAIL_BUILD_DIR;
constexpr int32_t kFrameMs = 20;

class ClassicSceneContent : public testing::Test {
protected:
    ClassicSceneContent() {
        HighScoreTables::Create(false, "1.0");
        const Ref<RandomGenerator> random = new RandomGenerator(11, 0);
        RandomGenerator::SetGlobal(random.Get());
        SectionList::Create();
        player_ = new KR2Player("Tester");
        player_->showhints = false;
        Players::Instance()->Add(player_.Get());
        Players::Instance()->SetCurrent(player_.Get());
    }

    ~ClassicSceneContent() override {
        HintDialog::ReleaseOpen();
        if (scene_) {
            scene_->Deactivate();
        }
        scene_ = nullptr;
        SectionList::ReleaseInstance();
        RandomGenerator::SetGlobal(nullptr);
        HighScoreTables::Free();
    }

    void Enter() {
        Property* definition = DialogTable::Instance()->FindDialogDefinition("SCENE_CLASSIC");
        ASSERT_NE(definition, nullptr);
        const Ref<Object> built(ClassFactory::Instance().Create(definition));
        scene_ = ObjectCast<ClassicScene>(built.Get());
        ASSERT_TRUE(scene_);
        scene_->SetName("SCENE_CLASSIC");
        SceneManager::Instance()->RequestSwitch(scene_.Get());
        SceneManager::Instance()->Update(0);
    }

    // Leaves the scene and shows it again, as a return from a game does: the
    // way back asks for the section that the scene let go of when it was left.
    void Reenter() {
        scene_->Deactivate();
        while (SectionManager::Instance()->RequestSection("classic")) {
            std::this_thread::yield();
        }
        scene_->Activate();
    }

    static void Play(int32_t ms) {
        for (int32_t t = 0; t < ms; t += kFrameMs) {
            SceneManager::Instance()->Update(kFrameMs);
        }
    }

    Ref<MemorySurface> Screenshot(const std::string& name) const {
        const Ref<MemorySurface> screen = FilledSurface(800, 600, 0xFF000000);
        scene_->DrawInto(*screen->CreateCanvas());
        platform::WritePng(kBuild + "/" + name + ".png", screen->Pixels32(), 800, 600);
        return screen;
    }

    std::wstring CellText(int32_t row, int32_t column) const {
        const Label* cell = scene_->GetHighScoreCell(row, column);
        return cell != nullptr ? cell->GetText() : L"<none>";
    }

    static bool CycledColours(const Label* cell) {
        for (const Ref<Modifier>& modifier : cell->GetModifiers()) {
            if (ObjectCast<ModifierColorCycle>(modifier.Get()) != nullptr) {
                return true;
            }
        }
        return false;
    }

    static void BuyEveryTrack() {
        SectionList& map = *SectionList::Instance();
        for (int32_t section = 0; section < SectionList::kSectionCount; ++section) {
            for (const Ref<TrackInfo>& track : map.Section(section).tracks) {
                track->bought = true;
            }
        }
    }

    TempUserFolders userFolders_;
    // Opened after the user folders are set, and closed before they go.
    GeneratedMediaSession media_{{"default", "dialogs", "classic"}};
    GameServicesSession services_;
    Ref<KR2Player> player_;
    Ref<ClassicScene> scene_;
};

TEST_F(ClassicSceneContent, ANewPlayerSeesTheFirstTypeOnlyWithItsBadgesAndTheDefaultTable) {
    player_->showhints = true;
    player_->hints[ClassicScene::kClassicHint] = true;
    Enter();
    ASSERT_NE(HintDialog::Open(), nullptr);
    EXPECT_FALSE(player_->hints[ClassicScene::kClassicHint]);
    EXPECT_TRUE(scene_->IsDialogShown(HintDialog::Open()->GetName()));
    ASSERT_GT(SectionList::Instance()->TrackCount(), 0);
    const ClassicScene::ColumnLayout eight = scene_->Layout(false);
    EXPECT_EQ(eight.spacing, 63);  // int((486 - 40) / 7)
    for (int32_t type = 0; type < ClassicScene::kTypeCount; ++type) {
        const Switch* typeSwitch = scene_->GetGameTypeSwitch(type);
        ASSERT_NE(typeSwitch->GetImage(), nullptr) << type;
        EXPECT_EQ(typeSwitch->GetFrameCount(), 8) << type;
        EXPECT_EQ(typeSwitch->IsEnabled(), type == 0) << type;
        EXPECT_EQ(typeSwitch->IsVisible(), type != ClassicScene::kMixedType) << type;
        if (type < ClassicScene::kMixedType) {
            EXPECT_EQ(typeSwitch->GetY(), eight.top + type * eight.spacing) << type;
            EXPECT_EQ(typeSwitch->GetFirstChild() != nullptr, type == 0) << "badges of " << type;
        }
    }
    EXPECT_EQ(*scene_->GetGameTypeSwitch(1)->GetToolTip(), LookUpText("TOOLTIP_CLASSIC_CANT_PLAY"));
    EXPECT_EQ(*scene_->GetGameTypeSwitch(0)->GetToolTip(), L"Play " + LookUpText("GAME_TYPE0"));
    EXPECT_TRUE(scene_->GetGameTypeSwitch(0)->IsChecked());
    EXPECT_EQ(scene_->GetSelectedGameType(), 0);
    EXPECT_EQ(scene_->GetDescriptionLabel()->GetText(), LookUpText("DESCRIPTION_GAMETYPE_0"));
    EXPECT_EQ(CellText(0, 1), L"120000");
    EXPECT_EQ(CellText(4, 2), L"1");
    EXPECT_NE(CellText(0, 0), L"");
    EXPECT_EQ(scene_->GetHighScoreAnim()->GetAlpha(), 0);
    Play(600);
    Screenshot("classic_scene_new_player");
}

TEST_F(ClassicSceneContent, SwitchingTypesRefillsTheRowsAndANewResultIsHighlightedOnce) {
    player_->stats.playcount[2] = 1;
    ScoreTable* fresh = GetHighScoreTable(GameMode::GetGameModeName(2));
    ASSERT_NE(fresh, nullptr);
    fresh->Insert(new KR2Score("%Old", 100000, 3));  // an equal score: the newer result goes above it
    Enter();
    ASSERT_TRUE(scene_->GetGameTypeSwitch(2)->IsEnabled());

    ClassicScene::OnGameTypeSwitch(static_cast<Object*>(scene_.Get()), scene_->GetGameTypeSwitch(2));
    EXPECT_EQ(scene_->GetSelectedGameType(), 2);
    EXPECT_TRUE(scene_->GetGameTypeSwitch(2)->IsChecked());
    EXPECT_FALSE(scene_->GetGameTypeSwitch(0)->IsChecked());
    EXPECT_EQ(scene_->GetHighScoreCell(0, 0)->GetColor(), 0x106E09);
    EXPECT_EQ(scene_->GetDescriptionLabel()->GetColor(), 0x106E09);
    EXPECT_EQ(CellText(2, 0), L"Old");  // shown without its "%"

    // A game ends with a result that ties the third row.
    const Ref<KR2Score> result = new KR2Score(player_->GetName(), 100000, 4);
    ASSERT_EQ(fresh->Insert(result.Get()), 2);
    player_->prevclassic = 2;
    player_->trophies[ClassicScene::kAllTablesTrophy] = 0;
    Reenter();
    EXPECT_EQ(fresh->GetLastScore(), -1);
    EXPECT_EQ(CellText(2, 0), L"Tester");
    EXPECT_EQ(CellText(3, 0), L"Old");
    Sprite* bar = scene_->GetHighScoreAnim();
    EXPECT_EQ(bar->GetY(), ClassicScene::kHighlightTop + 2 * (bar->GetHeight() + ClassicScene::kHighlightGap));
    for (int32_t column = 0; column < 3; ++column) {
        EXPECT_TRUE(CycledColours(scene_->GetHighScoreCell(2, column))) << column;
        EXPECT_FALSE(CycledColours(scene_->GetHighScoreCell(1, column))) << column;
    }
    Play(1500);
    EXPECT_GT(bar->GetAlpha(), 0);
    const Ref<MemorySurface> screen = Screenshot("classic_scene_new_result");
    // The bar lights the row: brighter than the parchment row above it.
    const int32_t barX = ClassicScene::kPanelX + bar->GetX() + bar->GetWidth() / 2;
    const int32_t barY = ClassicScene::kPanelY + bar->GetY() + bar->GetHeight() - 4;
    EXPECT_NE(PixelAt(*screen, barX, barY), PixelAt(*screen, barX, barY - 2 * bar->GetHeight()));

    // A click on the selected type pulses the START glow and keeps the rows.
    ClassicScene::OnGameTypeSwitch(static_cast<Object*>(scene_.Get()), scene_->GetGameTypeSwitch(2));
    ASSERT_NE(scene_->GetStartGlow(), nullptr);
    EXPECT_NE(scene_->GetStartGlow()->GetParent(), nullptr);
    EXPECT_TRUE(CycledColours(scene_->GetHighScoreCell(2, 0)));

    // Shown once: the next visit has no highlight.
    Reenter();
    EXPECT_EQ(scene_->GetHighScoreAnim()->GetAlpha(), 0);
    EXPECT_FALSE(CycledColours(scene_->GetHighScoreCell(2, 0)));

    // A later result on another row moves the bar there, though the bar
    // still runs its frames from the first highlight.
    ASSERT_TRUE(bar->HasModifiers());
    const Ref<KR2Score> best = new KR2Score(player_->GetName(), 200000, 6);
    ASSERT_EQ(fresh->Insert(best.Get()), 0);
    Reenter();
    EXPECT_EQ(bar->GetY(), ClassicScene::kHighlightTop);
    EXPECT_TRUE(CycledColours(scene_->GetHighScoreCell(0, 1)));
}

TEST_F(ClassicSceneContent, BuyingEveryTrackAddsTheMixedTypeAndMovesTheColumnOnce) {
    BuyEveryTrack();
    Enter();
    const ClassicScene::ColumnLayout nine = scene_->Layout(true);
    const ClassicScene::ColumnLayout eight = scene_->Layout(false);
    Switch* mixed = scene_->GetGameTypeSwitch(ClassicScene::kMixedType);
    EXPECT_TRUE(mixed->IsVisible());
    EXPECT_TRUE(mixed->IsEnabled());
    EXPECT_FALSE(scene_->IsActive());  // no input while the column moves
    EXPECT_EQ(mixed->GetY(), 600);
    EXPECT_EQ(scene_->GetGameTypeSwitch(3)->GetY(), eight.top + 3 * eight.spacing);
    Play(150);
    EXPECT_EQ(scene_->GetGameTypeSwitch(3)->GetY(), eight.top + 3 * eight.spacing);  // waits 500 ms
    Play(1600);
    EXPECT_TRUE(scene_->IsActive());
    EXPECT_TRUE(player_->mixedAnimationSeen);
    for (int32_t type = 0; type < ClassicScene::kTypeCount; ++type) {
        EXPECT_EQ(scene_->GetGameTypeSwitch(type)->GetY(), nine.top + type * nine.spacing) << type;
    }
    Screenshot("classic_scene_all_types");

    Reenter();
    EXPECT_TRUE(scene_->IsActive());
    EXPECT_EQ(mixed->GetY(), nine.top + ClassicScene::kMixedType * nine.spacing);
    EXPECT_FALSE(mixed->HasModifiers());
}

TEST_F(ClassicSceneContent, StartBuildsAClassicTicketOfTheSelectedTypeAndBackLeavesForTheMenu) {
    SceneManager& manager = *SceneManager::Instance();
    for (const char* name : {"SCENE_GAME", "SCENE_SELECTION"}) {
        const Ref<PropertyFile> definition =
            ParseDefinitions(std::string("<root><Scene id=\"") + name + "\"/></root>");
        manager.AddScene(name, new Scene(Property::Child(definition.Get(), name)));
    }
    BuyEveryTrack();
    player_->stats.playcount[2] = 1;
    player_->mixedAnimationSeen = true;
    player_->prevclassic = 2;
    Enter();
    struct Case {
        int32_t type;
        int32_t expectedMode;
    };
    for (const Case& c : {Case{2, TicketInfo::kClassicFixed}, Case{ClassicScene::kMixedType, TicketInfo::kClassicRandom}}) {
        ClassicScene::OnGameTypeSwitch(static_cast<Object*>(scene_.Get()), scene_->GetGameTypeSwitch(c.type));
        ClassicScene::StartGame(static_cast<Object*>(scene_.Get()), nullptr);
        const Ref<TicketInfo> ticket = player_->classicTicket;
        ASSERT_TRUE(ticket) << c.type;
        EXPECT_EQ(player_->currentTicket.Get(), ticket.Get());
        EXPECT_EQ(ticket->GameMode, c.expectedMode);
        if (c.type == ClassicScene::kMixedType) {
            EXPECT_GE(ticket->GameType, 0);
            EXPECT_LT(ticket->GameType, ClassicScene::kMixedType);
        } else {
            EXPECT_EQ(ticket->GameType, c.type);
        }
        EXPECT_EQ(ticket->Rating, RATING_CLASSIC_START);
        EXPECT_EQ(player_->prevclassic, c.type);
        EXPECT_TRUE(player_->classicGameTypeClicked[static_cast<size_t>(c.type)]);
        EXPECT_EQ(manager.GetNextScene(), manager.FindScene("SCENE_GAME"));
        EXPECT_NE(manager.GetPendingTransition(), nullptr);
    }
    // Played types lose their badges.
    Reenter();
    EXPECT_EQ(scene_->GetGameTypeSwitch(2)->GetFirstChild(), nullptr);
    EXPECT_NE(scene_->GetGameTypeSwitch(0)->GetFirstChild(), nullptr);
    ClassicScene::Back(static_cast<Object*>(scene_.Get()), nullptr);
    EXPECT_EQ(manager.GetNextScene(), manager.FindScene("SCENE_SELECTION"));
}

// Locked, every type is the same grey plate: greyed from its own colour a
// dark type looked lit beside the others.
TEST_F(ClassicSceneContent, EveryLockedTypeIsDrawnOnTheSameGreyPlate) {
    Enter();
    Play(600);
    const Ref<MemorySurface> screen = Screenshot("classic_scene_locked_types");
    // On the plate between the lamp and the name, in the upper light and the lower shade.
    const auto plate = [&screen](const Switch& typeSwitch, int32_t dy) {
        const int32_t x = typeSwitch.GetAbsoluteX() + 40;
        const int32_t y = typeSwitch.GetAbsoluteY() + dy;
        return screen->Pixels32()[y * 800 + x];
    };
    const Switch& first = *scene_->GetGameTypeSwitch(1);
    ASSERT_FALSE(first.IsEnabled());
    for (int32_t type = 2; type < ClassicScene::kMixedType; ++type) {
        const Switch& locked = *scene_->GetGameTypeSwitch(type);
        ASSERT_FALSE(locked.IsEnabled()) << type;
        for (const int32_t dy : {10, 40}) {
            EXPECT_EQ(plate(locked, dy), plate(first, dy)) << "type " << type << ", row " << dy;
        }
    }
}

}  // namespace
