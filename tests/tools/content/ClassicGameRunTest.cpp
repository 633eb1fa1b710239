#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GameServicesSession.h"
#include "GeneratedMediaSession.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/HighScoreTables.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/RandomGenerator.h"
#include "engine/foundation/ScoreTable.h"
#include "engine/media/CanvasTestSupport.h"
#include "engine/scene/DialogTable.h"
#include "engine/ui/Label.h"
#include "engine/ui/SceneManager.h"
#include "engine/ui/Switch.h"
#include "game/constants/GameConstants.h"
#include "game/progress/KR2Player.h"
#include "game/progress/KR2Score.h"
#include "game/rules/GameMode.h"
#include "game/words/TicketInfo.h"
#include "game/world/AutoTrain.h"
#include "game/world/Landscape.h"
#include "game/world/SectionInfo.h"
#include "game/world/SectionList.h"
#include "game/world/TrackInfo.h"
#include "platform/PngWriter.h"
#include "scenes/ClassicScene.h"
#include "scenes/GameScene.h"
#include "support/TempUserFolders.h"

// A classic game of every type, started from the classic scene and played
// in the game scene as the program runs them, through the scene manager and
// its transitions; then the high scores are read back from disk as the
// next start of the program reads them.
namespace {

const std::string kBuild = WORDRAIL_BUILD_DIR;
constexpr int32_t kFrameMs = 20;
constexpr const char* kSeedName = "%Seed";

class ClassicGameRun : public testing::Test {
protected:
    ClassicGameRun() {
        HighScoreTables::Create(false, "1.0");
        const Ref<RandomGenerator> random = new RandomGenerator(5, 0);
        RandomGenerator::SetGlobal(random.Get());
        SectionList::Create();
    }

    ~ClassicGameRun() override {
        for (const Ref<Scene>& scene : {Ref<Scene>(game_.Get()), Ref<Scene>(classic_.Get())}) {
            if (scene && SceneManager::Instance()->GetCurrentScene() == scene.Get()) {
                scene->Deactivate();
            }
        }
        game_ = nullptr;
        classic_ = nullptr;
        SectionList::ReleaseInstance();
        RandomGenerator::SetGlobal(nullptr);
        HighScoreTables::Free();
    }

    template <typename SceneType>
    Ref<SceneType> Register(const std::string& name) {
        const Ref<Object> built(ClassFactory::Instance().Create(DialogTable::Instance()->FindDialogDefinition(name)));
        Ref<SceneType> scene(ObjectCast<SceneType>(built.Get()));
        if (scene) {
            SceneManager::Instance()->AddScene(name, scene.Get());
        }
        return scene;
    }

    // A player who has won a race of every type and bought every track,
    // and tables whose five rows score nothing yet.
    void Prepare() {
        player_ = new KR2Player("Runner");
        player_->stats.playcount.fill(1);
        player_->mixedAnimationSeen = true;
        player_->showhints = false;
        player_->trophies.fill(KR2Player::kTrophyShown);
        Players::Instance()->Add(player_.Get());
        Players::Instance()->SetCurrent(player_.Get());
        for (int32_t section = 0; section < SectionList::kSectionCount; ++section) {
            for (const Ref<TrackInfo>& track : SectionList::Instance()->Section(section).tracks) {
                track->bought = true;
            }
        }
        for (int32_t type = 0; type < ClassicScene::kTypeCount; ++type) {
            Ref<ScoreTable> table = new ScoreTable(5, true);
            for (int32_t row = 0; row < 5; ++row) {
                table->Insert(new KR2Score(kSeedName, 0, 0));
            }
            table->SetLastScore(-1);
            HighScoreTables::Instance()->GetTables()[GameMode::GetGameModeName(type)] = table;
        }
    }

    // Runs frames until `done` holds or the time runs out.
    template <typename Done>
    static bool RunUntil(Done done, int32_t limitMs = 20000) {
        for (int32_t t = 0; t < limitMs; t += kFrameMs) {
            if (done()) {
                return true;
            }
            SceneManager::Instance()->Update(kFrameMs);
        }
        return done();
    }

    Scene* Current() const { return SceneManager::Instance()->GetCurrentScene(); }
    int32_t GameState() const { return game_->GetMode() != nullptr ? game_->GetMode()->GetState() : -1; }

    void Screenshot(Scene& scene, const std::string& name) const {
        const Ref<MemorySurface> screen = FilledSurface(800, 600, 0xFF000000);
        scene.DrawInto(*screen->CreateCanvas());
        platform::WritePng(kBuild + "/" + name + ".png", screen->Pixels32(), 800, 600);
    }

    TempUserFolders userFolders_;
    // Opened after the user folders are set, and closed before they go: the
    // tables this test saves must land in the temporary folders.
    GeneratedMediaSession media_{{"default", "dialogs", "classic", "gamescene"}};
    GameServicesSession services_;
    Ref<KR2Player> player_;
    Ref<ClassicScene> classic_;
    Ref<GameScene> game_;
};

TEST_F(ClassicGameRun, AGameOfEachTypeFromTheClassicSceneEntersItsTableAndTheTablesSurviveARestart) {
    classic_ = Register<ClassicScene>("SCENE_CLASSIC");
    game_ = Register<GameScene>("SCENE_GAME");
    ASSERT_TRUE(classic_ && game_);
    Prepare();
    SceneManager::Instance()->RequestSwitch(classic_.Get());
    SceneManager::Instance()->Update(0);
    std::vector<int32_t> levels(ClassicScene::kTypeCount, -1);

    for (int32_t type = 0; type < ClassicScene::kTypeCount; ++type) {
        SCOPED_TRACE("type " + std::to_string(type));
        ASSERT_TRUE(RunUntil([&] { return Current() == classic_.Get() && classic_->IsActive(); }));
        ClassicScene::OnGameTypeSwitch(static_cast<Object*>(classic_.Get()), classic_->GetGameTypeSwitch(type));
        ClassicScene::StartGame(static_cast<Object*>(classic_.Get()), nullptr);
        ASSERT_TRUE(RunUntil([&] { return Current() == game_.Get() && GameState() == GameScene::kPlaying; }));
        EXPECT_EQ(game_->GameType(), player_->classicTicket->GameType);
        if (type == 0) {
            Screenshot(*game_, "classic_run_game");
        }
        // The opponent arrives first: the game is over and books its result.
        game_->GetLandscape()->GetAutoTrain()->SetFinish(500);
        game_->GetMode()->EndLevel();
        levels[static_cast<size_t>(type)] = player_->classicTicket->CurLevel + 1;  // as the screen numbered it
        ASSERT_TRUE(RunUntil([&] { return GameState() == GameScene::kEndShown; }));
        game_->OnKeyDown(13);
        ASSERT_TRUE(RunUntil([&] { return Current() == classic_.Get() && classic_->IsActive(); }));

        // Back in the classic scene: the result, tied with the older rows,
        // heads the table and is highlighted there.
        EXPECT_EQ(classic_->GetSelectedGameType(), type);
        EXPECT_EQ(classic_->GetHighScoreCell(0, 0)->GetText(), L"Runner");
        EXPECT_EQ(classic_->GetHighScoreCell(1, 0)->GetText(), L"Seed");
        EXPECT_EQ(classic_->GetHighScoreAnim()->GetY(), ClassicScene::kHighlightTop);
        EXPECT_TRUE(classic_->GetHighScoreAnim()->HasModifiers());
    }
    Screenshot(*classic_, "classic_run_back");

    // The program's end writes the tables; its next start reads them.
    HighScoreTables::Instance()->Save();
    HighScoreTables::Free();
    HighScoreTables::Create(false, "1.0")->Load();
    for (int32_t type = 0; type < ClassicScene::kTypeCount; ++type) {
        SCOPED_TRACE("type " + std::to_string(type));
        const auto found = HighScoreTables::Instance()->GetTables().find(GameMode::GetGameModeName(type));
        ASSERT_NE(found, HighScoreTables::Instance()->GetTables().end());
        const auto& entries = found->second->GetEntries();
        ASSERT_EQ(entries.size(), 5u);
        const auto* result = ObjectCast<KR2Score>(entries[0].Get());
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(result->GetPlayerName(), "Runner");
        EXPECT_EQ(result->GetLevel(), levels[static_cast<size_t>(type)]);
        EXPECT_EQ(entries[1]->GetPlayerName(), kSeedName);
        EXPECT_EQ(found->second->GetLastScore(), -1);
    }
}

}  // namespace
