#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

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
#include "engine/ui/Label.h"
#include "engine/ui/SceneManager.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/HintDialog.h"
#include "game/progress/KR2Player.h"
#include "game/rules/GameMode.h"
#include "game/words/LetterRack.h"
#include "game/words/TicketHooks.h"
#include "game/words/TicketInfo.h"
#include "game/words/WordBar.h"
#include "game/words/WordQueue.h"
#include "game/words/WordSprite.h"
#include "platform/PngWriter.h"
#include "platform/WindowTypes.h"
#include "scenes/GameScene.h"
#include "support/TempUserFolders.h"

// The game scene built from the shipped definition on the generated media,
// with a player who has played before and a ticket of one game type.
namespace {

const std::string kBuild = WORDRAIL_BUILD_DIR;
constexpr int32_t kFrameMs = 50;

const std::vector<std::string> kConstantFiles = {
    "media/properties/default.xml",      "media/properties/assets.xml",
    "media/properties/dynamic.xml",      "media/properties/text.xml",
    "media/properties/names.xml",        "media/properties/letterfreqs.xml",
    "media/properties/gamesettings.xml", "media/properties/rankings.xml",
};

// Ticket generation asks for the games played, the track lengths and the
// dictionary; the scene's word list answers the last.
class TicketAnswers : public TicketPlayerHook, public TicketMapHook, public TicketSceneHook {
public:
    int GamesPlayed() const override { return 12; }
    int TrackLengthClass(int, int track) const override { return track % 4; }
    const WordList* WaitForWordList() override { return scene != nullptr ? scene->WaitForWordList() : nullptr; }
    bool IsInWordQueue(const std::string&) const override { return false; }

    GameScene* scene = nullptr;
};

class GameSceneContent : public testing::Test {
protected:
    GameSceneContent() : previous_(std::filesystem::current_path()) {
        ForgetFoldersForTesting();
        std::filesystem::current_path(kBuild);
        OpenMediaArchive(LoadMode::File, "");
        SectionManager::Start();
        SectionManager* sections = SectionManager::Instance();
        sections->AddDefinitionFile("media/properties/resources.xml");
        sections->LoadSections();
        sections->SetDeclared();
        for (const char* name : {"default", "dialogs", "gamescene"}) {
            while (sections->RequestSection(name)) {
                std::this_thread::yield();
            }
        }
        Defines::Create();
        constants_ = new PropertyFile(kConstantFiles);
        constants_->Load();
        ClassFactory::Instance().CreateNamedObjects(*constants_);
        XML::Init();
        DialogTable::Create("media/properties/dialogs.xml");
        SceneManager::Create();
        Players::Create("", false);
        LetterRack::SetRandomSource([] { return 7; });
    }

    ~GameSceneContent() override {
        HintDialog::ReleaseOpen();
        if (scene_) {
            scene_->Deactivate();
        }
        scene_ = nullptr;
        TicketInfo::SetHooks({});
        LetterRack::SetRandomSource(nullptr);
        Players::Free();
        SceneManager::ReleaseInstance();
        DialogTable::ReleaseInstance();
        Defines::ReleaseInstance();
        XML::ForgetInitForTesting();
        SectionManager::Stop();
        CloseMediaArchive();
        std::filesystem::current_path(previous_);
        ForgetFoldersForTesting();
    }

    // Builds the scene and a current player who holds a generated ticket of
    // that type: an adventure ticket or a classic one.
    void Enter(int gameType, bool adventure, int32_t totalScore = 500) {
        Property* definition = DialogTable::Instance()->FindDialogDefinition("SCENE_GAME");
        ASSERT_NE(definition, nullptr);
        const Ref<Object> built(ClassFactory::Instance().Create(definition));
        scene_ = ObjectCast<GameScene>(built.Get());
        ASSERT_TRUE(scene_);
        scene_->SetName("SCENE_GAME");
        answers_.scene = scene_.Get();
        TicketInfo::SetHooks({&answers_, &answers_, &answers_});

        player_ = new KR2Player("Tester");
        // A hint bubble would pause the levels these tests play; the hint
        // tests switch them on themselves.
        player_->showhints = false;
        player_->stats.score = totalScore;
        player_->coins = 40;
        Ref<TicketInfo> ticket = new TicketInfo;
        ticket->GameType = gameType;
        ticket->GameMode = adventure ? TicketInfo::kMapTicket : TicketInfo::kClassicFixed;
        ticket->Section = 1;
        ticket->Track = 2;
        ticket->Rating = 0.3f;
        scene_->WaitForWordList();
        ticket->Generate();
        ticket->Performance = {0.3f, 0.6f};
        player_->currentTicket = ticket;
        Players::Instance()->Add(player_.Get());
        Players::Instance()->SetCurrent(player_.Get());

        SceneManager::Instance()->RequestSwitch(scene_.Get());
        SceneManager::Instance()->Update(0);
    }

    void Play(int frames) {
        for (int frame = 0; frame < frames; ++frame) {
            SceneManager::Instance()->Update(kFrameMs);
        }
    }

    // Plays until the start delay is over and the race runs.
    void PlayToStart() {
        for (int frame = 0; frame < 200 && Mode().GetState() != GameScene::kPlaying; ++frame) {
            Play(1);
        }
        ASSERT_EQ(Mode().GetState(), GameScene::kPlaying);
    }

    GameMode& Mode() const { return *scene_->GetMode(); }

    std::string FirstOpenQueueWord() const {
        for (const Ref<WordSprite>& word : scene_->GetWordQueue()->Words()) {
            if (word->Status() != WordSprite::kFound) {
                return word->PlainText();
            }
        }
        return "";
    }

    void Type(const std::string& word) {
        for (char c : word) {
            scene_->OnChar(c);
        }
    }

    int WordRackCount() const { return Mode().GetWordBar()->Rack(WordBar::kWordRack).OccupiedCount(); }

    Ref<MemorySurface> Screenshot(const std::string& name) {
        const Ref<MemorySurface> screen = FilledSurface(800, 600, 0xFF000000);
        scene_->DrawInto(*screen->CreateCanvas());
        platform::WritePng(kBuild + "/" + name + ".png", screen->Pixels32(), 800, 600);
        return screen;
    }

    TempUserFolders userFolders_;
    std::filesystem::path previous_;
    Ref<PropertyFile> constants_;
    TicketAnswers answers_;
    Ref<KR2Player> player_;
    Ref<GameScene> scene_;
};

TEST_F(GameSceneContent, AClassicLevelStartsTakesATypedWordAndScoresIt) {
    Enter(1, false);
    ASSERT_TRUE(scene_->GetMode());
    EXPECT_EQ(Mode().GetState(), GameScene::kWaitingForStart);
    EXPECT_TRUE(scene_->GetOpenDialogs().empty());
    PlayToStart();
    EXPECT_EQ(scene_->GetLevelState(), GameScene::kRaceRunning);

    const std::string word = FirstOpenQueueWord();
    ASSERT_FALSE(word.empty());
    Type(word);
    EXPECT_EQ(WordRackCount(), static_cast<int>(word.size()));
    Play(4);
    Screenshot("game_scene_typed");
    scene_->OnKeyDown(13);
    Play(40);
    EXPECT_GT(Mode().Stats().score, 0) << word;
    EXPECT_EQ(WordRackCount(), 0);
    EXPECT_FALSE(player_->hints[LevelHints::kKeyboardHint]);
    Screenshot("game_scene_scored");

    // Classic: the level labels show, the coins and performance bars do not.
    EXPECT_FALSE(scene_->GetCoinLabel()->IsVisible());
    EXPECT_FALSE(scene_->GetPerformanceBar(0)->IsVisible());
}

TEST_F(GameSceneContent, EscapeClearsAWordAndBackspaceWaitsForTheWrongLetterTime) {
    Enter(1, false);
    PlayToStart();
    const std::string word = FirstOpenQueueWord();
    Type(word);
    scene_->OnKeyDown(8);
    EXPECT_EQ(WordRackCount(), static_cast<int>(word.size()) - 1);
    Mode().SetWrongLetterTime(200);
    player_->hints[LevelHints::kKeyboardHint] = true;
    scene_->OnKeyDown(8);
    EXPECT_EQ(WordRackCount(), static_cast<int>(word.size()) - 1);
    EXPECT_FALSE(player_->hints[LevelHints::kKeyboardHint]);
    Mode().SetWrongLetterTime(0);
    scene_->OnKeyDown(27);
    EXPECT_EQ(WordRackCount(), 0);

    // Paused, no key acts.
    Type(word.substr(0, 2));
    Mode().SetPaused(true);
    scene_->OnKeyDown(27);
    EXPECT_EQ(WordRackCount(), 2);
}

TEST_F(GameSceneContent, TheButtonsAreLaidOutByModeAndSkip) {
    struct Case {
        int gameType;
        int32_t clearX, shuffleX, skipX;
        bool shuffleShown, skipShown;
    };
    // Classic has no skip; anagrams skip; slots skip without shuffle.
    const Case cases[] = {
        {1, 240, 360, 360, true, false},
        {3, 200, 305, 410, true, true},
        {4, 240, 360, 360, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gameType);
        Enter(c.gameType, false);
        EXPECT_EQ(scene_->GetButton(GameScene::kClear)->GetX(), c.clearX);
        EXPECT_EQ(scene_->GetButton(GameScene::kShuffle)->GetX(), c.shuffleX);
        EXPECT_EQ(scene_->GetButton(GameScene::kSkip)->GetX(), c.skipX);
        EXPECT_EQ(scene_->GetButton(GameScene::kShuffle)->IsVisible(), c.shuffleShown);
        EXPECT_EQ(scene_->GetButton(GameScene::kSkip)->IsVisible(), c.skipShown);
        EXPECT_EQ(scene_->GetButton(GameScene::kSkip)->IsInputEnabled(), c.skipShown);
        scene_->Deactivate();
        scene_ = nullptr;
    }
}

TEST_F(GameSceneContent, AnAdventureShowsCoinsAndBarsAndANewPlayerGetsHelp) {
    Enter(0, true, 0);
    EXPECT_TRUE(scene_->GetCoinLabel()->IsVisible());
    EXPECT_TRUE(scene_->GetPerformanceBar(0)->IsVisible());
    // The help's own show reports it as well; both entries go when it closes.
    ASSERT_FALSE(scene_->GetOpenDialogs().empty());
    Dialog* help = scene_->GetOpenDialogs().front();
    EXPECT_EQ(help->GetName(), "DIALOG_HELP");
    EXPECT_TRUE(Mode().IsPaused());
    EXPECT_FALSE(scene_->GetButton(GameScene::kPause)->IsEnabled());
    // The start sequence runs all the same.
    Play(200);
    EXPECT_EQ(Mode().GetState(), GameScene::kPlaying);
    Screenshot("game_scene_adventure_help");
    scene_->OnDialogClosed(help);
    EXPECT_TRUE(scene_->GetOpenDialogs().empty());
    EXPECT_FALSE(Mode().IsPaused());
}

TEST_F(GameSceneContent, TwoOpenDialogsKeepThePauseUntilBothClose) {
    Enter(1, false);
    PlayToStart();
    Dialog* first = scene_->GetDialog("DIALOG_PAUSE", true, "");
    Dialog* second = scene_->GetDialog("DIALOG_MENU", true, "");
    scene_->OnDialogOpened(scene_.Get(), first);
    scene_->OnDialogOpened(scene_.Get(), second);
    scene_->OnDialogClosed(first);
    EXPECT_TRUE(Mode().IsPaused());
    EXPECT_FALSE(scene_->GetButton(GameScene::kSubmit)->IsEnabled());
    scene_->OnDialogClosed(second);
    EXPECT_FALSE(Mode().IsPaused());
    EXPECT_TRUE(scene_->GetButton(GameScene::kSubmit)->IsEnabled());

    // At the level end the buttons stay off when the last dialog closes.
    scene_->OnDialogOpened(scene_.Get(), first);
    Mode().SetState(4);
    scene_->OnDialogClosed(first);
    EXPECT_FALSE(scene_->GetButton(GameScene::kSubmit)->IsEnabled());
}

TEST_F(GameSceneContent, LosingFocusDuringPlayOpensThePauseOnTheNextFrame) {
    Enter(1, false);
    PlayToStart();
    scene_->OnMessage(platform::WM_KILLFOCUS, 0, 0);
    EXPECT_TRUE(scene_->IsPauseRequested());
    Play(1);
    EXPECT_FALSE(scene_->IsPauseRequested());
    EXPECT_TRUE(scene_->IsDialogShown("DIALOG_PAUSE"));

    // With a dialog open the buttons are off and focus loss asks nothing.
    scene_->OnDialogOpened(scene_.Get(), scene_->GetDialog("DIALOG_PAUSE", true, ""));
    scene_->OnMessage(platform::WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(scene_->IsPauseRequested());
}

int ChildCount(const GameNode& node) {
    int count = 0;
    for (const GameNode* child = node.GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
        ++count;
    }
    return count;
}

// Bar 0 stands at 0.3 of the race, bar 1 at 0.6; each move tests only the
// next bar, bar 1 first.
TEST_F(GameSceneContent, TheOpponentPassingBothBarsGlowsTwiceTheSecondBarFirst) {
    Enter(0, true);
    PlayToStart();
    const GameNode& effects = *scene_->GetFrontEffectLayer();
    const struct {
        float progress;
        int32_t nextBar;
        bool glows;
    } steps[] = {{0.5f, 1, false}, {0.65f, 0, true}, {0.7f, -1, true}, {0.9f, -1, false}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.progress);
        const int before = ChildCount(effects);
        scene_->SetMiniTrainPosition(1, step.progress);
        EXPECT_EQ(scene_->GetNextPerformanceBar(), step.nextBar);
        EXPECT_EQ(ChildCount(effects) > before, step.glows);
        const Sprite& train = *scene_->GetMiniTrain(1);
        EXPECT_EQ(train.GetX(), static_cast<int32_t>(static_cast<float>(236 - train.GetWidth()) * step.progress));
    }
}

TEST_F(GameSceneContent, ASecondEntryBuildsOnceAndStartsClean) {
    Enter(1, false);
    PlayToStart();
    Type(FirstOpenQueueWord());
    scene_->OnKeyDown(13);
    Play(5);
    const Sprite* bonus = scene_->GetBonusText();
    scene_->Deactivate();
    EXPECT_EQ(scene_->GetMode(), nullptr);
    EXPECT_EQ(scene_->GetFrontEffectLayer()->GetFirstChild(), nullptr);
    EXPECT_TRUE(scene_->GetWordQueue()->Words().empty());

    scene_->Activate();
    ASSERT_TRUE(scene_->GetMode());
    EXPECT_EQ(Mode().GetState(), GameScene::kWaitingForStart);
    EXPECT_EQ(scene_->GetBonusText(), bonus);
    EXPECT_EQ(Mode().Stats().score, 0);
}

// Only the one hint under test may fire.
void OnlyHint(KR2Player& player, int32_t hint) {
    player.showhints = true;
    player.hints.fill(false);
    player.hints[static_cast<size_t>(hint)] = true;
}

TEST_F(GameSceneContent, ARaceHintOpensItsBubbleOnceAndHoldsTheLevelWhileOpen) {
    Enter(1, false);
    OnlyHint(*player_, 0);
    PlayToStart();
    // The race hints are checked every 22nd frame.
    Play(23);
    HintDialog* bubble = HintDialog::Open();
    ASSERT_NE(bubble, nullptr);
    EXPECT_EQ(bubble->GetHintId(), 0);
    EXPECT_FALSE(player_->hints[0]);
    EXPECT_TRUE(Mode().IsPaused());
    Play(10);
    Screenshot("game_scene_hint_open");
    const std::string word = FirstOpenQueueWord();
    Type(word);
    EXPECT_EQ(WordRackCount(), 0);

    for (int page = 0; page < 10 && HintDialog::Open() == bubble; ++page) {
        bubble->Advance();
        Play(20);
    }
    EXPECT_EQ(HintDialog::Open(), nullptr);
    EXPECT_FALSE(Mode().IsPaused());
    // Its flag is spent: no second bubble.
    Play(50);
    EXPECT_EQ(HintDialog::Open(), nullptr);
    Type(word);
    EXPECT_EQ(WordRackCount(), static_cast<int>(word.size()));
}

// The submit hint lets the game go on under it; the submission it teaches
// goes through and closes it.
TEST_F(GameSceneContent, TheSubmitHintPointsAtTheButtonAndEnterSubmitsPastIt) {
    Enter(1, false);
    OnlyHint(*player_, LevelHints::kSubmitHint);
    PlayToStart();
    Type(FirstOpenQueueWord());
    Play(HINT_SUBMIT_CLICK_TIME * 1000 / kFrameMs + 23);
    HintDialog* bubble = HintDialog::Open();
    ASSERT_NE(bubble, nullptr);
    EXPECT_EQ(bubble->GetHintId(), LevelHints::kSubmitHint);
    ASSERT_FALSE(bubble->GetTargets().empty());
    EXPECT_EQ(bubble->GetTargets().front(), scene_->GetButton(GameScene::kSubmit));
    EXPECT_FALSE(Mode().IsPaused());

    scene_->OnKeyDown(13);
    Play(40);
    EXPECT_EQ(HintDialog::Open(), nullptr);
    EXPECT_GT(Mode().Stats().score, 0);
}

// A trophy won in the middle of a race is celebrated there and then.
TEST_F(GameSceneContent, ATrophyWonDuringTheRaceOpensItsAwardOverTheLevel) {
    constexpr size_t kManyWordsTrophy = 20;
    Enter(1, false);
    player_->stats.numWordsInserted = 1999;
    PlayToStart();
    Type(FirstOpenQueueWord());
    scene_->OnKeyDown(13);
    Play(10);
    EXPECT_TRUE(scene_->IsDialogShown("DIALOG_TROPHY_AWARDED"));
    EXPECT_EQ(player_->trophies[kManyWordsTrophy], KR2Player::kTrophyShown);
    EXPECT_TRUE(Mode().IsPaused());
}

TEST_F(GameSceneContent, AGameTypeAboveSevenPlaysNoMode) {
    Enter(1, false);
    player_->currentTicket->GameType = 9;
    EXPECT_FALSE(scene_->CreateModeGame(false));
    EXPECT_EQ(scene_->GetMode(), nullptr);
    // Input without a mode does nothing.
    EXPECT_FALSE(scene_->OnKeyDown(13));
    EXPECT_FALSE(scene_->OnChar('a'));
}

TEST_F(GameSceneContent, AnIncompleteDefinitionStartsNoLevel) {
    const Ref<PropertyFile> definitions = ParseDefinitions(
        R"(<root><GameScene id="BROKEN"><Vector id="scenecomponents">)"
        R"(<Sprite name="HUD" image="HUD_0" section="gamescene"/></Vector></GameScene></root>)");
    const Ref<Object> built(ClassFactory::Instance().Create(Property::Child(definitions.Get(), "BROKEN")));
    scene_ = ObjectCast<GameScene>(built.Get());
    ASSERT_TRUE(scene_);
    scene_->Activate();
    EXPECT_FALSE(scene_->IsComplete());
    EXPECT_EQ(scene_->GetMode(), nullptr);
    scene_->OnMessage(platform::WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(scene_->OnKeyDown(13));
    scene_->Update(kFrameMs);
}

}  // namespace
