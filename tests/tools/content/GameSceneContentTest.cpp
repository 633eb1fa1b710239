#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "GameServicesSession.h"
#include "GeneratedMediaSession.h"
#include "GameSceneTicket.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/RandomGenerator.h"
#include "engine/foundation/SectionManager.h"
#include "engine/media/CanvasTestSupport.h"
#include "engine/scene/DialogTable.h"
#include "engine/scene/RenderPass.h"
#include "engine/scene/SceneResources.h"
#include "engine/scene/SceneTestSupport.h"
#include "engine/media/InputDispatcher.h"
#include "engine/ui/Button.h"
#include "engine/ui/Label.h"
#include "engine/ui/LabelTicker.h"
#include "engine/ui/SceneManager.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/HintDialog.h"
#include "game/dialogs/TrophyAwardedDialog.h"
#include "game/dialogs/TrophyDialog.h"
#include "game/progress/KR2Player.h"
#include "game/rules/GameMode.h"
#include "game/words/LetterRack.h"
#include "game/words/LetterSlot.h"
#include "game/words/LetterSprite.h"
#include "game/words/TicketInfo.h"
#include "game/words/WordBar.h"
#include "game/words/WordList.h"
#include "game/words/WordQueue.h"
#include "game/words/WordSprite.h"
#include "game/world/AutoTrain.h"
#include "game/world/BoostMeter.h"
#include "game/world/Carriage.h"
#include "game/world/Flagpole.h"
#include "game/world/Furnace.h"
#include "game/world/Landscape.h"
#include "game/world/PlayerTrain.h"
#include "main/OpenWord.h"
#include "platform/Files.h"
#include "platform/PngWriter.h"
#include "platform/KeyCodes.h"
#include "platform/WindowTypes.h"
#include "scenes/GameScene.h"
#include "support/TempUserFolders.h"

// The game scene built from the shipped definition on the generated media,
// with a player who has played before and a ticket of one game type.
namespace {

const std::string kBuild = WORDRAIL_BUILD_DIR;
constexpr int32_t kFrameMs = 50;

class GameSceneContent : public testing::Test {
protected:
    GameSceneContent() { LetterRack::SetRandomSource([] { return 7; }); }

    ~GameSceneContent() override {
        HintDialog::ReleaseOpen();
        if (scene_) {
            scene_->Deactivate();
        }
        scene_ = nullptr;
        TicketInfo::SetHooks({});
        LetterRack::SetRandomSource(nullptr);
    }

    // Builds the scene and a current player who holds a generated ticket of
    // that type: an adventure ticket or a classic one.
    void Enter(int gameType, bool adventure, int32_t totalScore = 500, float rating = 0.3f) {
        // Every way into the race asks for its section, which a left race lets go of.
        while (SectionManager::Instance()->RequestSection("gamescene")) {
            std::this_thread::yield();
        }
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
        player_->carsize = carSize_;
        player_->currentTicket = GeneratedTicket(
            *scene_, gameType, adventure ? TicketInfo::kMapTicket : TicketInfo::kClassicFixed, rating);
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

    // The player's carriage (0: none) for the next Enter.
    int32_t carSize_ = 0;
    TempUserFolders userFolders_;
    // Opened after the user folders are set, and closed before they go.
    GeneratedMediaSession media_{{"default", "dialogs", "gamescene"}};
    GameServicesSession services_;
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

// Secret Words and Wild Coal start with an empty queue (as do the kinds that
// deal new letters): every word the player finds joins it and must show there
// like any queued word.
TEST_F(GameSceneContent, AWordFoundInAKindWithoutQueuedWordsJoinsTheQueueAndIsDrawnThere) {
    for (int gameType : {6, 7}) {
        SCOPED_TRACE("game type " + std::to_string(gameType));
        Enter(gameType, false);
        PlayToStart();
        ASSERT_TRUE(scene_->GetWordQueue()->Words().empty());
        // The word a scripted run would type, from the supply's plain letters.
        const std::string word = OpenWordOf(*scene_);
        ASSERT_FALSE(word.empty());
        Type(word);
        scene_->OnKeyDown(13);
        Play(100);

        const auto& queued = scene_->GetWordQueue()->Words();
        ASSERT_EQ(queued.size(), 1u) << word;
        const WordSprite& shown = *queued.front();
        EXPECT_EQ(shown.PlainText(), word);
        EXPECT_EQ(shown.Status(), WordSprite::kFound);
        EXPECT_TRUE(shown.IsVisible());
        ASSERT_NE(shown.GetImage(), nullptr) << word;
        EXPECT_EQ(shown.GetImage()->GetWidth(), scene_->GetWordQueue()->ColumnWidths().front());
        // These kinds count what the player inserted, not queue words found.
        EXPECT_EQ(Mode().Stats().numWordsInserted, 1);
        EXPECT_EQ(Mode().Stats().numWordsFound, 0);
        // Left for another scene, as the game leaves it: once.
        SceneManager::Instance()->RequestSwitch(Ref<Scene>(new Scene(nullptr)).Get());
        Play(2);
        scene_ = nullptr;
    }
}

// The wild coal takes the letter typed onto it: the word judged and listed
// is the word typed, though other words fit the same letters with the wild
// coal anywhere.
TEST_F(GameSceneContent, AWordTypedWithTheWildCoalIsListedAsTyped) {
    Enter(7, false);
    PlayToStart();
    std::string supply;
    Mode().GetWordBar()->Rack(WordBar::kSupplyRack).GetWord(supply, true);
    ASSERT_NE(supply.find('?'), std::string::npos) << supply;

    // A word the supply spells with the wild coal standing for exactly one
    // letter, and whose pattern (that letter as the wild coal) fits another
    // word too: the last such word, so that a judge taking the pattern's
    // first match would list another.
    const auto wildLetterOf = [&supply](const std::string& word) -> int {
        std::string left = supply;
        int wild = -1;
        for (size_t i = 0; i < word.size(); ++i) {
            const size_t at = left.find(word[i]);
            if (at != std::string::npos) {
                left[at] = ' ';
            } else if (wild < 0) {
                wild = static_cast<int>(i);
            } else {
                return -1;
            }
        }
        return wild;
    };
    const WordList& words = *scene_->Words();
    std::string typed;
    for (int length = 4; length <= 6 && typed.empty(); ++length) {
        std::vector<std::string> matches;
        for (const WordNode* node : words.WordsOfLength(length)) {
            const std::string& text = node->Text();
            const int wild = wildLetterOf(text);
            if (wild < 0) continue;
            std::string pattern = text;
            pattern[static_cast<size_t>(wild)] = '?';
            int fitting = 0;
            for (const WordNode* other : words.WordsOfLength(length)) {
                fitting += other->Text() != text && wildLetterOf(other->Text()) == wild &&
                           std::equal(pattern.begin(), pattern.end(), other->Text().begin(),
                                      [](char p, char c) { return p == '?' || p == c; });
            }
            if (fitting > 0) typed = text;
        }
    }
    ASSERT_FALSE(typed.empty()) << supply;

    Type(typed);
    scene_->OnKeyDown(13);
    Play(100);
    const auto& queued = scene_->GetWordQueue()->Words();
    ASSERT_EQ(queued.size(), 1u) << typed << " from " << supply;
    EXPECT_EQ(queued.front()->PlainText(), typed) << "from " << supply;
    EXPECT_GT(Mode().Stats().score, 0);
}

// The first level of a classic game: a player who finds the queue's words
// one after another reaches the finish long before the opponent, and wins.
TEST_F(GameSceneContent, AFirstClassicLevelIsWonByFindingTheQueuedWords) {
    for (int gameType : {0, 1}) {
        SCOPED_TRACE("game type " + std::to_string(gameType));
        Enter(gameType, false, 500, 0.0f);
        PlayToStart();
        Play(20);
        const PlayerTrain& train = *scene_->GetLandscape()->GetPlayerTrain();
        const int32_t raceUnits = player_->currentTicket->GetRaceUnits();
        ASSERT_EQ(train.GetUnitsToTravel(), raceUnits);
        std::vector<std::string> words;
        for (const Ref<WordSprite>& word : scene_->GetWordQueue()->Words()) {
            words.push_back(word->PlainText());
        }
        for (const std::string& word : words) {
            if (train.GetUnitsTravelled() >= raceUnits) {
                break;
            }
            Type(word);
            scene_->OnKeyDown(13);
            Play(24);
        }
        EXPECT_EQ(train.GetUnitsTravelled(), raceUnits);
        for (int frame = 0; frame < 5000 && Mode().GetState() == GameScene::kPlaying; ++frame) {
            Play(1);
        }
        EXPECT_TRUE(player_->lastWon);
        EXPECT_LT(train.GetFinish(), scene_->GetLandscape()->GetAutoTrain()->GetFinish());
        scene_->Deactivate();
        scene_ = nullptr;
    }
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

// A typed word goes into the furnace from a click on the Fire! button's own
// picture as from one on the furnace door, as the player's input arrives.
TEST_F(GameSceneContent, AClickOnTheFireButtonOrOnTheFurnaceDoorFiresTheWord) {
    Enter(1, false);
    PlayToStart();
    const Button& fire = *scene_->GetButton(GameScene::kSubmit);
    const Sprite& door = *scene_->GetFurnace()->GetDoor();
    const struct {
        const char* where;
        int32_t x, y;
    } clicks[] = {
        {"the button", fire.GetAbsoluteX() + fire.GetWidth() / 2, fire.GetAbsoluteY() + fire.GetHeight() / 2},
        {"the door", door.GetAbsoluteX() + door.GetWidth() / 2, door.GetAbsoluteY() + door.GetHeight() / 2},
    };
    int32_t inserted = 0;
    for (const auto& click : clicks) {
        SCOPED_TRACE(click.where);
        Type(FirstOpenQueueWord());
        ASSERT_GT(WordRackCount(), 0);
        InputDispatcher& input = *scene_->GetInputDispatcher();
        input.QueueMessage(platform::WM_LBUTTONDOWN, 0, platform::PackPoint(click.x, click.y));
        input.QueueMessage(platform::WM_LBUTTONUP, 0, platform::PackPoint(click.x, click.y));
        Play(40);
        EXPECT_EQ(WordRackCount(), 0);
        EXPECT_EQ(Mode().Stats().numWordsFound, ++inserted);
    }
}

// Left and Right, pressed as a player presses them, step the queue back and
// forth by a column.
TEST_F(GameSceneContent, TheArrowKeysStepTheWordQueueByAColumn) {
    Enter(1, false);
    PlayToStart();
    WordQueue& queue = *scene_->GetWordQueue();
    ASSERT_GT(queue.ScrollMaximum(), queue.ColumnPositions()[1]);
    const struct {
        uint32_t key;
        float target;
    } presses[] = {
        {platform::VK_RIGHT, static_cast<float>(queue.ColumnPositions()[1])},
        {platform::VK_RIGHT, static_cast<float>(queue.ColumnPositions()[2])},
        {platform::VK_LEFT, static_cast<float>(queue.ColumnPositions()[1])},
    };
    for (const auto& press : presses) {
        scene_->GetInputDispatcher()->QueueMessage(platform::WM_KEYDOWN, press.key, 0);
        Play(1);
        EXPECT_EQ(queue.ScrollTarget(), press.target) << press.key;
    }
    Play(40);
    EXPECT_EQ(queue.Content().GetX(), -queue.ColumnPositions()[1]);
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

// A train model new to the player is shown off on the boost meter first;
// the race starts as soon as that show is over, not after the fixed delay.
TEST_F(GameSceneContent, TheRaceStartsWhenTheBoostMetersUpgradeShowEnds) {
    Enter(0, true);
    player_->boostidx = 1;
    player_->oldboostidx = 0;
    scene_->Deactivate();
    scene_->Activate();
    ASSERT_EQ(Mode().GetState(), GameScene::kWaitingForStart);
    int32_t waitedMs = 0;
    for (; waitedMs < 10000 && Mode().GetState() != GameScene::kPlaying; waitedMs += kFrameMs) {
        Play(1);
    }
    ASSERT_EQ(Mode().GetState(), GameScene::kPlaying);
    EXPECT_LT(waitedMs, GAME_START_DELAY_ADVENTURE);
    EXPECT_EQ(player_->oldboostidx, 1) << "the show plays once";
    const BoostMeter& meter = *scene_->GetBoostMeter();
    EXPECT_EQ(meter.GetAlpha(), 255);
    EXPECT_EQ(meter.GetFill()->GetAlpha(), 255);
    EXPECT_TRUE(meter.GetOverlay()->IsVisible());
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

// The screen rectangle a sprite covers.
Rect ScreenRect(const Sprite& sprite) {
    return Rect{sprite.GetAbsoluteX() - static_cast<int32_t>(sprite.GetAnchorX()),
                sprite.GetAbsoluteY() - static_cast<int32_t>(sprite.GetAnchorY()), sprite.GetWidth(),
                sprite.GetHeight()};
}

// The whole progress strip, both trains anywhere on it and both performance
// bars show: no HUD button lies over them, and the trains run on their own
// rails, so at the start neither hides the other.
TEST_F(GameSceneContent, TheMiniTrackShowsBothTrainsAndTheBarsClearOfTheButtons) {
    Enter(0, true);
    player_->stats.playcount[0] = NO_OPPONENT_FIRST_MISSIONS;
    scene_->Deactivate();
    scene_->Activate();
    PlayToStart();
    const Sprite& strip = *ObjectCast<Sprite>(scene_->FindChild("MINI_TRAINS"));
    const Sprite& player = *scene_->GetMiniTrain(0);
    const Sprite& opponent = *scene_->GetMiniTrain(1);
    ASSERT_TRUE(opponent.IsVisible());
    const auto clearOfButtons = [this](const Rect& shown) {
        for (int index : {GameScene::kPause, GameScene::kMenu}) {
            if (!IntersectRect(shown, ScreenRect(*scene_->GetButton(index))).IsEmpty()) {
                return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(clearOfButtons(ScreenRect(strip)));
    for (float progress : {0.0f, 0.5f, 1.0f}) {
        SCOPED_TRACE(progress);
        scene_->SetMiniTrainPosition(0, progress);
        scene_->SetMiniTrainPosition(1, progress);
        EXPECT_TRUE(clearOfButtons(ScreenRect(player)));
        EXPECT_TRUE(clearOfButtons(ScreenRect(opponent)));
        EXPECT_LE(IntersectRect(ScreenRect(player), ScreenRect(opponent)).h, opponent.GetHeight() / 4);
    }
    for (int index : {0, 1}) {
        const Sprite& bar = *scene_->GetPerformanceBar(index);
        ASSERT_TRUE(bar.IsVisible());
        EXPECT_EQ(IntersectRect(ScreenRect(bar), bar.GetScreenClipRect()), ScreenRect(bar)) << "bar " << index;
        EXPECT_TRUE(clearOfButtons(ScreenRect(bar)));
    }
}

// At the first frame of a race with an opponent the two engines stand side by
// side on their own rails: neither picture covers the other, and every
// driving wheel rests on its train's rail.
TEST_F(GameSceneContent, TheTwoTrainsStandApartOnTheirRailsAtTheStart) {
    Enter(0, true);
    player_->stats.playcount[0] = NO_OPPONENT_FIRST_MISSIONS;
    scene_->Deactivate();
    scene_->Activate();
    PlayToStart();
    Screenshot("race_start");
    const Landscape& landscape = *scene_->GetLandscape();
    const Train* trains[] = {landscape.GetPlayerTrain(), landscape.GetAutoTrain()};
    ASSERT_TRUE(trains[1]->IsVisible());
    EXPECT_EQ(trains[0]->GetX(), trains[1]->GetX());
    for (const Sprite* near : {trains[0]->GetBackground(), trains[0]->GetBody()}) {
        for (const Sprite* far : {trains[1]->GetBackground(), trains[1]->GetBody()}) {
            EXPECT_TRUE(IntersectRect(ScreenRect(*near), ScreenRect(*far)).IsEmpty());
        }
    }
    const int32_t rails[] = {MINIMAP_PLAYER_TRAIN_Y, MINIMAP_OPPONENT_TRAIN_Y};
    for (int index : {0, 1}) {
        SCOPED_TRACE(index);
        const Train& train = *trains[index];
        EXPECT_EQ(train.GetAbsoluteY(), landscape.GetAbsoluteY() + rails[index]);
        ASSERT_FALSE(train.GetWheels().empty());
        for (const Sprite* wheel : train.GetWheels()) {
            const Rect shown = ScreenRect(*wheel);
            EXPECT_EQ(shown.y + shown.h, train.GetAbsoluteY());
        }
    }
}

// A level left while coals still fly into the furnace: the next race starts
// with the door shut and dark, and a word fired then opens the door and shuts
// it again once its coals are in.
TEST_F(GameSceneContent, TheFurnaceStartsTheNextRaceClosed) {
    Enter(1, false);
    PlayToStart();
    Type(FirstOpenQueueWord());
    scene_->OnKeyDown(13);
    Play(20);
    const Furnace& furnace = *scene_->GetFurnace();
    ASSERT_NE(furnace.GetDoorState(), Furnace::kClosed);
    scene_->Deactivate();
    scene_->Activate();
    PlayToStart();
    EXPECT_EQ(furnace.GetDoorState(), Furnace::kClosed);
    EXPECT_EQ(furnace.GetDoorTimer(), 0);
    EXPECT_EQ(furnace.GetDoor()->GetCurrentFrame(), 0);
    Type(FirstOpenQueueWord());
    scene_->OnKeyDown(13);
    bool opened = false;
    for (int frame = 0; frame < 600 && !(opened && furnace.GetDoorState() == Furnace::kClosed); ++frame) {
        Play(1);
        opened = opened || furnace.GetDoorState() == Furnace::kOpen;
    }
    EXPECT_TRUE(opened);
    EXPECT_EQ(furnace.GetDoorState(), Furnace::kClosed);
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

// The coals shown on the word rack, each with its drawn picture.
int DrawnRackCoals(const LetterRack& rack) {
    int drawn = 0;
    for (int slot = 0; slot < rack.GetSize(); ++slot) {
        const LetterSprite* coal = rack.GetLetter(slot);
        drawn += coal != nullptr && coal->GetImage() != nullptr;
    }
    return drawn;
}

TEST_F(GameSceneContent, ALeftRaceLetsGoOfWhatOnlyItShowedAndDrawsItAgainOnTheNextEntry) {
    Enter(1, false);
    PlayToStart();
    SectionManager* sections = SectionManager::Instance();
    ASSERT_NE(sections->GetResource("COAL_NORMAL1", "gamescene"), nullptr);
    scene_->Deactivate();
    EXPECT_EQ(LetterSprite::SharedLooks().images[0], nullptr);
    EXPECT_EQ(LetterSlot::SharedLooks().slots[0], nullptr);
    for (const char* released : {"COAL_NORMAL1", "COAL1_SMALL", "QUEUE_SLOT"}) {
        EXPECT_EQ(sections->GetResource(released, "gamescene"), nullptr) << released;
    }
    // What the built scene keeps stays: the background and the HUD.
    for (const char* kept : {"GAME_BACKGROUND", "HUD_COINS"}) {
        EXPECT_NE(sections->GetResource(kept, "gamescene"), nullptr) << kept;
    }

    // Every way in asks for the section again before the scene comes.
    while (sections->RequestSection("gamescene")) {
        std::this_thread::yield();
    }
    scene_->Activate();
    PlayToStart();
    EXPECT_NE(LetterSlot::SharedLooks().slots[0], nullptr);
    const std::string word = FirstOpenQueueWord();
    ASSERT_FALSE(word.empty());
    Type(word);
    EXPECT_EQ(DrawnRackCoals(Mode().GetWordBar()->Rack(WordBar::kWordRack)), static_cast<int>(word.size()));
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

// ---- the level end ----

// Ends the race as it stands after moving the trains: the player's train at
// the end or not, and arrived before the opponent or after it.
void FinishRace(GameScene& scene, bool playerArrives, bool playerFirst) {
    PlayerTrain& player = *scene.GetLandscape()->GetPlayerTrain();
    AutoTrain& opponent = *scene.GetLandscape()->GetAutoTrain();
    if (playerArrives) {
        player.SetRealX(static_cast<float>(player.GetUnitsToTravel() * MINIMAP_PIXELS_PER_UNIT));
        player.SetFinish(1000);
    }
    opponent.SetFinish(playerFirst ? 2000 : 500);
    scene.GetMode()->EndLevel();
}

// A scene manager with nothing pending, and stand-ins for the scenes a
// level leaves to.
void RenewSceneManager() {
    SceneManager::ReleaseInstance();
    SceneManager::Create();
}

Ref<Scene> AddStandInScene(const std::string& name) {
    const Ref<PropertyFile> definitions =
        ParseDefinitions("<root><Scene id=\"S\"><Vector id=\"scenecomponents\"/></Scene></root>");
    Ref<Scene> scene(new Scene(Property::Child(definitions.Get(), "S")));
    SceneManager::Instance()->AddScene(name, scene.Get());
    return scene;
}

// Every carriage a player can win stands wholly on the race strip behind the
// train when the race starts.
TEST_F(GameSceneContent, EveryCarriageStandsOnTheStripAtTheStart) {
    for (const int32_t carSize : {1, 3, 5}) {
        SCOPED_TRACE(carSize);
        carSize_ = carSize;
        Enter(0, true);
        PlayToStart();
        const Carriage* carriage = scene_->GetLandscape()->GetPlayerTrain()->GetCarriage();
        ASSERT_NE(carriage, nullptr);
        const Sprite* back = carriage->GetBack();
        EXPECT_GE(back->GetAbsoluteX() - static_cast<int32_t>(back->GetAnchorX()), 0);
        Screenshot("race_start_carriage" + std::to_string(carSize));
        scene_->Deactivate();
        scene_ = nullptr;
    }
}

class GameSceneLevelEnd : public GameSceneContent {
protected:
    // Plays until the end sign waits (or the frames run out), noting every
    // state the mode passes through.
    std::vector<int32_t> PlayToEndSign() {
        std::vector<int32_t> states{Mode().GetState()};
        for (int frame = 0; frame < 600 && Mode().GetState() != GameScene::kEndShown; ++frame) {
            Play(1);
            if (Mode().GetState() != states.back()) {
                states.push_back(Mode().GetState());
            }
        }
        return states;
    }

    bool SaveGameOnDisk() const { return Players::Instance()->HasSaveGame(*player_, "kr2"); }
};

TEST_F(GameSceneLevelEnd, EachOutcomeWalksItsRewardsToTheEndSign) {
    const struct Case {
        const char* name;
        int gameType;
        bool adventure, arrives, first;
        std::vector<int32_t> states;
        int32_t levelState;
        // Only an adventure race counts as lost in the player's totals.
        int32_t racesLost;
    } cases[] = {
        {"lost adventure", 0, true, false, false, {3, 6}, GameScene::kNothingToSave, 1},
        {"won adventure", 0, true, true, true, {3, 4, 6}, GameScene::kNothingToSave, 0},
        {"won classic", 1, false, true, true, {3, 6}, GameScene::kClassicWon, 0},
        {"lost classic", 1, false, true, false, {3, 6}, GameScene::kNothingToSave, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Enter(c.gameType, c.adventure);
        PlayToStart();
        FinishRace(*scene_, c.arrives, c.first);
        EXPECT_EQ(player_->lastWon, c.arrives && c.first);
        EXPECT_EQ(player_->stats.missionsLost, c.racesLost);
        EXPECT_FALSE(scene_->GetButton(GameScene::kSubmit)->IsEnabled());
        EXPECT_EQ(PlayToEndSign(), c.states);
        EXPECT_EQ(scene_->GetLevelState(), c.levelState);
        const auto* sign = ObjectCast<Sprite>(scene_->FindChild("END_GAME"));
        ASSERT_NE(sign, nullptr);
        EXPECT_TRUE(sign->IsVisible());
        Play(20);
        EXPECT_EQ(sign->GetAlpha(), 255);
        Screenshot(std::string("game_scene_end_") + (c.arrives && c.first ? "won_" : "lost_") +
                   (c.adventure ? "adventure" : "classic"));
        scene_->Deactivate();
        scene_ = nullptr;
    }
}

// After a won adventure the counter starts from the coins the player had
// before the level and counts every coin as it arrives: the flag's coins
// one by one, then the passengers' fares (at once when no carriage brings
// them in), ending on the booked total.
TEST_F(GameSceneLevelEnd, TheCoinAwardCountsTheCounterUpAsTheCoinsArrive) {
    for (const int32_t carSize : {1, 0}) {
        SCOPED_TRACE(carSize);
        carSize_ = carSize;
        Enter(0, true);
        ASSERT_EQ(scene_->GetLandscape()->GetPlayerTrain()->GetCarriage() != nullptr, carSize > 0);
        PlayToStart();
        FinishRace(*scene_, true, true);
        ASSERT_TRUE(player_->lastWon);
        const int32_t fares = COINS_PER_PASSENGER * Carriage::PassengersForRating(player_->currentTicket->Rating);
        const int32_t flagCoins = player_->coins - player_->coinsBefore - fares;
        ASSERT_GT(flagCoins, 1);
        ASSERT_GT(fares, 0);

        const auto shown = [this] {
            const std::wstring& text = scene_->GetCoinLabel()->GetText();
            return std::stoi(std::string(text.begin(), text.end()));
        };
        int32_t last = shown();
        std::vector<int32_t> steps;
        int32_t firstStepMs = -1;
        int32_t lastStepMs = -1;
        int32_t shownAtAwardStart = -1;
        constexpr int32_t kStepMs = 10;
        for (int32_t t = 0; t < 20000 && Mode().GetState() != GameScene::kEndShown; t += kStepMs) {
            SceneManager::Instance()->Update(kStepMs);
            if (shownAtAwardStart < 0 && Mode().GetState() == GameScene::kCoinAward) {
                shownAtAwardStart = shown();
            }
            if (const int32_t now = shown(); now != last) {
                steps.push_back(now - last);
                firstStepMs = firstStepMs < 0 ? t : firstStepMs;
                lastStepMs = t;
                last = now;
                EXPECT_TRUE(scene_->GetCoinLabel()->HasModifiers()) << "each arrival squashes the counter";
            }
        }
        ASSERT_EQ(Mode().GetState(), GameScene::kEndShown);
        EXPECT_EQ(shownAtAwardStart, player_->coinsBefore);
        EXPECT_EQ(last, player_->coins);
        ASSERT_FALSE(steps.empty());
        EXPECT_GE(std::count(steps.begin(), steps.end(), 1), flagCoins);
        EXPECT_GT(*std::min_element(steps.begin(), steps.end()), 0);
        EXPECT_LE(*std::max_element(steps.begin(), steps.end()), fares);
        // The flag's coins follow one another over 1600 ms.
        EXPECT_GE(lastStepMs - firstStepMs, 1200);
        scene_->Deactivate();
        scene_ = nullptr;
    }
}

TEST_F(GameSceneLevelEnd, WonTrophiesAreShownOneAfterAnotherButNeverTheTwentySecond) {
    Enter(1, false);
    PlayToStart();
    for (int trophy : {3, 9, 21}) {
        player_->trophies[static_cast<size_t>(trophy)] = KR2Player::kTrophyPending;
    }
    FinishRace(*scene_, true, true);
    std::vector<int> shown;
    for (int round = 0; round < 5 && Mode().GetState() != GameScene::kEndShown; ++round) {
        for (int frame = 0; frame < 300 && !scene_->IsDialogShown("DIALOG_TROPHY_AWARDED") &&
                            Mode().GetState() != GameScene::kEndShown;
             ++frame) {
            Play(1);
        }
        if (Mode().GetState() == GameScene::kEndShown) {
            break;
        }
        EXPECT_EQ(Mode().GetState(), GameScene::kRewards);
        for (int trophy = 0; trophy < KR2Player::kTrophyCount; ++trophy) {
            if (player_->trophies[static_cast<size_t>(trophy)] == KR2Player::kTrophyShown &&
                std::find(shown.begin(), shown.end(), trophy) == shown.end()) {
                shown.push_back(trophy);
            }
        }
        auto* award = ObjectCast<TrophyAwardedDialog>(scene_->GetDialogMap().at("DIALOG_TROPHY_AWARDED").Get());
        award->GetOkButton()->Invoke(award->GetOkButton());
        Play(60);
        TrophyDialog::OnOk(scene_->GetDialogMap().at("DIALOG_TROPHY_SCREEN").Get(), nullptr);
        Play(40);
    }
    EXPECT_EQ(shown, (std::vector<int>{3, 9}));
    EXPECT_EQ(player_->trophies[21], KR2Player::kTrophyPending);
    EXPECT_EQ(Mode().GetState(), GameScene::kEndShown);
}

// A trophy won in the middle of a race is celebrated there and then: the race
// is held while the award and then the cabinet are up, and goes on where it
// was once the cabinet closes; the level's end does not present it again.
TEST_F(GameSceneLevelEnd, ATrophyWonDuringTheRaceHoldsTheRaceUntilItsCabinetCloses) {
    constexpr size_t kManyWordsTrophy = 20;
    Enter(1, false);
    player_->stats.numWordsInserted = 1999;
    PlayToStart();
    Type(FirstOpenQueueWord());
    scene_->OnKeyDown(13);
    Play(10);
    ASSERT_TRUE(scene_->IsDialogShown("DIALOG_TROPHY_AWARDED"));
    EXPECT_EQ(player_->trophies[kManyWordsTrophy], KR2Player::kTrophyShown);
    EXPECT_TRUE(Mode().IsPaused());

    const int32_t heldAt = Mode().Stats().playtime;
    const Train& opponent = *Mode().GetOpponentTrain();
    const int32_t opponentAt = opponent.GetUnitsTravelled();
    Play(150);  // the award's entrance, longer than it takes
    auto* award = ObjectCast<TrophyAwardedDialog>(scene_->GetDialog("DIALOG_TROPHY_AWARDED"));
    ASSERT_NE(award, nullptr);
    award->GetOkButton()->Invoke(award->GetOkButton());
    Play(100);
    EXPECT_FALSE(scene_->IsDialogShown("DIALOG_TROPHY_AWARDED"));
    ASSERT_TRUE(scene_->IsDialogShown("DIALOG_TROPHY_SCREEN"));
    EXPECT_TRUE(scene_->IsVisible());
    EXPECT_TRUE(Mode().IsPaused()) << "the cabinet holds the race in its turn";
    EXPECT_EQ(Mode().Stats().playtime, heldAt);
    EXPECT_EQ(opponent.GetUnitsTravelled(), opponentAt);

    Dialog* cabinet = scene_->GetDialog("DIALOG_TROPHY_SCREEN");
    auto* ok = ObjectCast<Button>(cabinet->FindChild("BUTTON_OK"));
    ASSERT_NE(ok, nullptr);
    ok->Invoke(ok);
    Play(50);
    EXPECT_FALSE(scene_->IsDialogShown("DIALOG_TROPHY_SCREEN"));
    EXPECT_FALSE(Mode().IsPaused());
    EXPECT_EQ(Mode().GetState(), GameScene::kPlaying);
    EXPECT_GT(Mode().Stats().playtime, heldAt);
    EXPECT_LE(Mode().Stats().playtime, heldAt + 50 * kFrameMs);

    FinishRace(*scene_, true, true);
    for (int frame = 0; frame < 300 && Mode().GetState() != GameScene::kEndShown; ++frame) {
        Play(1);
        EXPECT_FALSE(scene_->IsDialogShown("DIALOG_TROPHY_AWARDED"));
    }
    EXPECT_EQ(Mode().GetState(), GameScene::kEndShown);
}

TEST_F(GameSceneLevelEnd, EnterAtTheEndSignLeavesByTicketMode) {
    const struct {
        const char* name;
        int gameType;
        bool adventure, won;
        const char* next;
    } cases[] = {
        {"adventure", 0, true, true, "SCENE_MAP"},
        {"lost classic", 1, false, false, "SCENE_CLASSIC"},
        {"won classic", 1, false, true, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scene_ = nullptr;
        RenewSceneManager();
        const Ref<Scene> map = AddStandInScene("SCENE_MAP");
        const Ref<Scene> classic = AddStandInScene("SCENE_CLASSIC");
        Enter(c.gameType, c.adventure);
        PlayToStart();
        FinishRace(*scene_, true, c.won);
        PlayToEndSign();
        ASSERT_EQ(Mode().GetState(), GameScene::kEndShown);
        scene_->OnKeyDown(13);
        const SceneManager& manager = *SceneManager::Instance();
        EXPECT_EQ(manager.GetNextScene(), c.next != nullptr ? manager.FindScene(c.next) : nullptr);
        EXPECT_EQ(manager.GetPendingTransition() != nullptr, c.next != nullptr);
        EXPECT_EQ(Mode().GetState(), c.next != nullptr ? GameScene::kEndShown : GameScene::kNextLevelWaiting);
        scene_->Deactivate();
    }
}

// A bubble that lets play go on is in no open-dialog list; leaving the
// level must take it along all the same, or it stays the open hint and no
// hint of the map (nor of a later race) could ever open.
// The end sign answers a click on itself; a click elsewhere on the screen
// outside the coals and the banner leaves nothing.
TEST_F(GameSceneLevelEnd, AClickOnTheEndSignLeavesAndAClickBesideItDoesNot) {
    RenewSceneManager();
    const Ref<Scene> map = AddStandInScene("SCENE_MAP");
    Enter(0, true);
    PlayToStart();
    FinishRace(*scene_, true, true);
    PlayToEndSign();
    ASSERT_EQ(Mode().GetState(), GameScene::kEndShown);
    const SceneManager& manager = *SceneManager::Instance();
    const auto& sign = *ObjectCast<Sprite>(scene_->FindChild("END_GAME"));
    const Rect shown = ScreenRect(sign);
    scene_->OnLButtonDown(shown.x + shown.w / 2, shown.y - 20, 0, false);
    scene_->OnLButtonDown(20, 100, 0, false);
    EXPECT_EQ(manager.GetNextScene(), nullptr);
    scene_->OnLButtonDown(shown.x + shown.w / 2, shown.y + shown.h / 2, 0, false);
    EXPECT_EQ(manager.GetNextScene(), map.Get());
}

// The sign bounces again every few seconds while it waits: every frame of a
// whole cycle, its widest and tallest included, stays on the screen and off
// the buttons beside it.
TEST_F(GameSceneLevelEnd, TheBouncingEndSignStaysOnTheScreenAndClearOfTheButtons) {
    Enter(0, true);
    PlayToStart();
    FinishRace(*scene_, true, true);
    PlayToEndSign();
    ASSERT_EQ(Mode().GetState(), GameScene::kEndShown);
    const auto& sign = *ObjectCast<Sprite>(scene_->FindChild("END_GAME"));
    const Rect screen{0, 0, 800, 600};
    int32_t widest = 0;
    for (int frame = 0; frame < 3000 / kFrameMs; ++frame) {
        Play(1);
        const std::optional<Rect>& crop = sign.GetCropRect();
        const Rect shown = crop ? Rect{crop->x + sign.GetAbsoluteX() - sign.GetX(),
                                       crop->y + sign.GetAbsoluteY() - sign.GetY(), crop->w, crop->h}
                                : ScreenRect(sign);
        widest = std::max(widest, shown.w);
        ASSERT_EQ(IntersectRect(shown, screen), shown) << "frame " << frame;
        for (int index : {GameScene::kPause, GameScene::kMenu, GameScene::kSubmit}) {
            ASSERT_TRUE(IntersectRect(shown, ScreenRect(*scene_->GetButton(index))).IsEmpty())
                << "button " << index << ", frame " << frame;
        }
    }
    EXPECT_GT(widest, sign.GetWidth());  // the cycle did bounce
}

TEST_F(GameSceneLevelEnd, LeavingTheLevelClosesABubbleThatLetPlayGoOn) {
    RenewSceneManager();
    const Ref<Scene> map = AddStandInScene("SCENE_MAP");
    Enter(0, true);
    PlayToStart();
    player_->showhints = true;
    HintDialog* bubble = ShowHint(LevelHints::kSubmitHint, scene_->GetButton(GameScene::kSubmit), nullptr);
    ASSERT_NE(bubble, nullptr);
    EXPECT_FALSE(bubble->IsModal());
    EXPECT_FALSE(Mode().IsPaused());
    FinishRace(*scene_, false, false);
    PlayToEndSign();
    ASSERT_EQ(HintDialog::Open(), bubble);

    scene_->OnKeyDown(13);
    for (int frame = 0; frame < 400 && SceneManager::Instance()->GetCurrentScene() != map.Get(); ++frame) {
        Play(1);
    }
    ASSERT_EQ(SceneManager::Instance()->GetCurrentScene(), map.Get());
    EXPECT_EQ(HintDialog::Open(), nullptr);
    EXPECT_FALSE(scene_->IsDialogShown("DIALOG_HINT"));
}

TEST_F(GameSceneLevelEnd, AWonClassicLevelGoesOnToTheNextWithAHigherRatingAndTheScoreKept) {
    Enter(1, false);
    PlayToStart();
    Type(FirstOpenQueueWord());
    scene_->OnKeyDown(13);
    Play(20);
    const int32_t score = Mode().Stats().score;
    ASSERT_GT(score, 0);
    const float rating = player_->currentTicket->Rating;
    FinishRace(*scene_, true, true);
    PlayToEndSign();
    ASSERT_EQ(Mode().GetState(), GameScene::kEndShown);
    const GameMode* finished = scene_->GetMode();

    scene_->OnKeyDown(13);
    EXPECT_NE(scene_->GetMode(), finished);
    EXPECT_EQ(Mode().GetState(), GameScene::kNextLevelWaiting);
    EXPECT_EQ(scene_->GetMiniTrain(0)->GetX(), 0);
    EXPECT_EQ(scene_->GetMiniTrain(0)->GetAlpha(), 0);
    EXPECT_FLOAT_EQ(player_->currentTicket->Rating, std::min(rating + RATING_CLASSIC_INC, 1.0f));
    EXPECT_EQ(player_->currentTicket->CurLevel, 1);
    EXPECT_FALSE(player_->lastWon);
    Play(4);
    Screenshot("game_scene_next_level_fading");
    for (int frame = 0; frame < 400 && Mode().GetState() != GameScene::kPlaying; ++frame) {
        Play(1);
    }
    ASSERT_EQ(Mode().GetState(), GameScene::kPlaying);
    EXPECT_EQ(Mode().Stats().score, score);
    EXPECT_FALSE(scene_->GetWordQueue()->Words().empty());
    EXPECT_EQ(Mode().Stats().numWordsInQueue, static_cast<int32_t>(scene_->GetWordQueue()->Words().size()));
    EXPECT_FALSE(scene_->FindChild("END_GAME")->IsVisible());
    EXPECT_EQ(scene_->GetLandscape()->GetPlayerTrain()->GetRealX(), 0.0f);
    EXPECT_TRUE(scene_->GetButton(GameScene::kSubmit)->IsEnabled());
    Screenshot("game_scene_next_level");
}

TEST_F(GameSceneLevelEnd, AnAcceptedWordFeedsItsCoalsToTheFurnaceAndTheStartCountsTheQueue) {
    Enter(1, false);
    PlayToStart();
    EXPECT_EQ(Mode().Stats().numWordsInQueue, static_cast<int32_t>(scene_->GetWordQueue()->Words().size()));
    const std::string word = FirstOpenQueueWord();
    Type(word);
    scene_->OnKeyDown(13);
    EXPECT_EQ(scene_->GetFurnace()->TrackedCoalCount(), word.size());
    EXPECT_NE(scene_->GetFurnace()->GetDoorState(), Furnace::kClosed);
}

// The run's random generator for the test's life.
class GlobalRandom {
public:
    explicit GlobalRandom(uint32_t seed) { RandomGenerator::SetGlobal(new RandomGenerator(seed, 0)); }
    ~GlobalRandom() { RandomGenerator::SetGlobal(nullptr); }
    GlobalRandom(const GlobalRandom&) = delete;
    GlobalRandom& operator=(const GlobalRandom&) = delete;
};

TEST_F(GameSceneLevelEnd, ARandomTypeClassicGameDrawsANewTypeForTheNextLevelAndBlinksTheHud) {
    const GlobalRandom random(5);
    Enter(3, false);
    player_->currentTicket->GameMode = TicketInfo::kClassicRandom;
    // No trophy dialog in the way.
    player_->trophies.fill(KR2Player::kTrophyShown);
    PlayToStart();
    FinishRace(*scene_, true, true);
    PlayToEndSign();
    ASSERT_EQ(Mode().GetState(), GameScene::kEndShown);
    scene_->OnKeyDown(13);
    const int newType = player_->currentTicket->GameType;
    EXPECT_NE(newType, 3);
    EXPECT_EQ(scene_->GetButton(GameScene::kSkip)->IsVisible(), Mode().IsSingleWord());
    Play(30);
    Screenshot("game_scene_next_type_blink");
    for (int frame = 0; frame < 400 && Mode().GetState() != GameScene::kPlaying; ++frame) {
        Play(1);
    }
    ASSERT_EQ(Mode().GetState(), GameScene::kPlaying);
    const auto* typeLabel = ObjectCast<Label>(scene_->FindChild("LABEL_GAMETYPE"));
    ASSERT_NE(typeLabel, nullptr);
    EXPECT_EQ(typeLabel->GetText(), LookUpText("GAME_TYPE" + std::to_string(newType)));
    EXPECT_NE(Mode().GetWordBar(), nullptr);
}

// ---- the save game ----

struct QueueEntry {
    std::string text;
    int32_t status;
    bool operator==(const QueueEntry&) const = default;
};

std::vector<QueueEntry> QueueOf(const GameScene& scene) {
    std::vector<QueueEntry> entries;
    for (const Ref<WordSprite>& word : scene.GetWordQueue()->Words()) {
        entries.push_back({word->PlainText(), word->Status()});
    }
    return entries;
}

TEST_F(GameSceneLevelEnd, AClassicGameLeftMidRaceIsResumedAsItWasAndWrittenBackWhenLeftAgain) {
    Enter(1, false);
    PlayToStart();
    Type(FirstOpenQueueWord());
    scene_->OnKeyDown(13);
    Play(60);
    const int32_t score = Mode().Stats().score;
    const std::string letters = player_->currentTicket->LetterSet;
    const std::vector<QueueEntry> queue = QueueOf(*scene_);
    const float playerX = scene_->GetLandscape()->GetPlayerTrain()->GetRealX();
    const float opponentX = scene_->GetLandscape()->GetAutoTrain()->GetRealX();
    ASSERT_GT(score, 0);
    ASSERT_GT(playerX, 0.0f);

    scene_->Deactivate();
    ASSERT_TRUE(SaveGameOnDisk());
    player_->currentTicket = new TicketInfo;
    scene_->SetResumeFromSaveGame(true);
    scene_->Activate();
    ASSERT_TRUE(scene_->GetMode());
    // Kept until a newer save replaces it or the game ends.
    EXPECT_TRUE(SaveGameOnDisk());
    EXPECT_EQ(player_->currentTicket->LetterSet, letters);
    EXPECT_EQ(player_->currentTicket->GameMode, TicketInfo::kClassicFixed);
    EXPECT_EQ(Mode().Stats().score, score);
    EXPECT_EQ(scene_->GetScoreTicker()->GetCurrent(), score);
    EXPECT_EQ(QueueOf(*scene_), queue);
    EXPECT_FLOAT_EQ(scene_->GetLandscape()->GetPlayerTrain()->GetRealX(), playerX);
    EXPECT_FLOAT_EQ(scene_->GetLandscape()->GetAutoTrain()->GetRealX(), opponentX);
    const Sprite& mini = *scene_->GetMiniTrain(0);
    const auto share = playerX / static_cast<float>(player_->currentTicket->GetRaceUnits() * MINIMAP_PIXELS_PER_UNIT);
    EXPECT_EQ(mini.GetX(), static_cast<int32_t>(static_cast<float>(236 - mini.GetWidth()) * share));
    PlayToStart();
    Screenshot("game_scene_resumed");
    // The level goes on rather than starting over.
    EXPECT_EQ(QueueOf(*scene_), queue);

    // Left again at once, the resumed game is written back, and only once.
    scene_->Deactivate();
    EXPECT_TRUE(SaveGameOnDisk());
    Players::Instance()->DeleteSaveGame(*player_, "kr2");
    scene_->WriteSavegame();
    EXPECT_FALSE(SaveGameOnDisk());
}

TEST_F(GameSceneLevelEnd, FirstAtTheEndOfAClassicRaceRaisesTheFlagAndAResumedRaceShowsItAtOnce) {
    Enter(1, false);
    PlayToStart();
    PlayerTrain& train = *scene_->GetLandscape()->GetPlayerTrain();
    train.SetRealX(static_cast<float>(train.GetUnitsToTravel() * MINIMAP_PIXELS_PER_UNIT));
    Play(2);
    ASSERT_EQ(Mode().GetState(), GameScene::kPlaying);
    EXPECT_TRUE(train.GetBonus());
    EXPECT_TRUE(scene_->GetBonusText()->IsVisible());
    Play(60);
    const Sprite& raised = *scene_->GetLandscape()->GetFlagpole()->GetFlag();
    ASSERT_NE(raised.GetImage(), nullptr);
    const int32_t raisedY = raised.GetY();

    scene_->Deactivate();
    scene_->SetResumeFromSaveGame(true);
    scene_->Activate();
    ASSERT_TRUE(scene_->GetMode());
    EXPECT_TRUE(scene_->GetLandscape()->GetPlayerTrain()->GetBonus());
    EXPECT_TRUE(scene_->GetBonusText()->IsVisible());
    EXPECT_EQ(scene_->GetBonusText()->GetAlpha(), 65);
    const Sprite& flag = *scene_->GetLandscape()->GetFlagpole()->GetFlag();
    EXPECT_NE(flag.GetImage(), nullptr);
    EXPECT_EQ(flag.GetY(), raisedY);
}

TEST_F(GameSceneLevelEnd, AnAdventureOrALostClassicLevelLeavesNoSaveGame) {
    for (const bool adventure : {true, false}) {
        SCOPED_TRACE(adventure);
        Enter(adventure ? 0 : 1, adventure);
        PlayToStart();
        if (!adventure) {
            FinishRace(*scene_, true, false);
            PlayToEndSign();
        }
        scene_->Deactivate();
        EXPECT_FALSE(SaveGameOnDisk());
        scene_ = nullptr;
    }
}

TEST_F(GameSceneLevelEnd, QuittingAtTheEndSignOfAWonClassicLevelResumesTheNextLevel) {
    Enter(1, false);
    PlayToStart();
    Type(FirstOpenQueueWord());
    scene_->OnKeyDown(13);
    Play(20);
    const int32_t score = Mode().Stats().score;
    const float rating = player_->currentTicket->Rating;
    FinishRace(*scene_, true, true);
    PlayToEndSign();
    scene_->Deactivate();
    ASSERT_TRUE(SaveGameOnDisk());

    player_->currentTicket = new TicketInfo;
    scene_->SetResumeFromSaveGame(true);
    scene_->Activate();
    ASSERT_TRUE(scene_->GetMode());
    EXPECT_FLOAT_EQ(player_->currentTicket->Rating, std::min(rating + RATING_CLASSIC_INC, 1.0f));
    EXPECT_EQ(player_->currentTicket->CurLevel, 1);
    EXPECT_EQ(Mode().Stats().score, score);
    EXPECT_EQ(scene_->GetLandscape()->GetPlayerTrain()->GetRealX(), 0.0f);
    PlayToStart();
    // The next level had not begun: it starts with its own words.
    ASSERT_FALSE(scene_->GetWordQueue()->Words().empty());
    const std::string word = FirstOpenQueueWord();
    Type(word);
    scene_->OnKeyDown(13);
    Play(20);
    EXPECT_GT(Mode().Stats().score, score) << word;
}

// A save game that cannot be resumed sends the player to the classic scene
// with nothing changed. One that is damaged, or makes no ticket, no known
// game type or no game mode, is kept aside as a damaged copy and never
// offered again; one that cannot be read stays where it is.
TEST_F(GameSceneLevelEnd, ASaveGameThatCannotBeResumedIsKeptAsideOrLeftForTheClassicScene) {
    enum Outcome { kKeptAside, kLeftAsItIs };
    const struct {
        const char* name;
        const char* ticketType;
        int32_t gameType;
        const char* modeType;
        const char* text;  // written in place of the save game when set
        bool folder;       // a folder in place of the save game
        const char* link;  // what the save game links to, when set
        Outcome outcome;
    } cases[] = {
        {"unknown mode class", "TicketInfo", 1, "NoSuchGame", nullptr, false, nullptr, kKeptAside},
        {"untyped game node", "TicketInfo", 1, "", nullptr, false, nullptr, kKeptAside},
        {"unknown ticket class", "NoSuchTicket", 1, "ClassicGame", nullptr, false, nullptr, kKeptAside},
        {"game type past the random game", "TicketInfo", 9, "ClassicGame", nullptr, false, nullptr, kKeptAside},
        {"negative game type", "TicketInfo", -1, "ClassicGame", nullptr, false, nullptr, kKeptAside},
        {"damaged file", "", 0, "", "<root><Node id=\"ticket\"", false, nullptr, kKeptAside},
        {"folder in its place", "", 0, "", nullptr, true, nullptr, kLeftAsItIs},
        // A file whose reading fails with an I/O error, whoever runs the test.
        {"file that cannot be read", "", 0, "", nullptr, false, "/proc/self/mem", kLeftAsItIs},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scene_ = nullptr;
        RenewSceneManager();
        const Ref<Scene> classic = AddStandInScene("SCENE_CLASSIC");
        Enter(1, false);
        TicketInfo* held = player_->currentTicket.Get();
        scene_->Deactivate();
        const std::string save = Players::Instance()->SaveGamePath(player_->GetName(), "kr2");
        std::filesystem::remove_all(save);
        std::filesystem::create_directories(std::filesystem::path(save).parent_path());
        if (c.folder) {
            std::filesystem::create_directory(save);
        } else if (c.link != nullptr) {
            std::filesystem::create_symlink(c.link, save);
        } else if (c.text != nullptr) {
            ASSERT_TRUE(platform::WriteFileAtomically(save, c.text, std::strlen(c.text)));
        } else {
            const Ref<PropertyFile> file(new PropertyFile());
            auto* ticket = new PropertyNode("ticket", c.ticketType);
            file->Add(ticket);
            const int32_t type = held->GameType;
            held->GameType = c.gameType;
            held->Save(*ticket);
            held->GameType = type;
            file->Add(new PropertyNode("game", c.modeType));
            Players::Instance()->StoreSaveGame(*player_, "kr2", *file);
        }

        scene_->SetResumeFromSaveGame(true);
        scene_->Activate();
        EXPECT_EQ(scene_->GetMode(), nullptr);
        EXPECT_EQ(player_->currentTicket.Get(), held);
        EXPECT_EQ(SceneManager::Instance()->GetNextScene(), classic.Get());
        EXPECT_EQ(std::filesystem::exists(save + ".damaged-1"), c.outcome == kKeptAside);
        EXPECT_EQ(std::filesystem::exists(std::filesystem::symlink_status(save)), c.outcome == kLeftAsItIs);
        // Keys and frames on the empty level do no harm.
        scene_->OnKeyDown(13);
        scene_->OnChar('a');
        scene_->Update(kFrameMs);
        scene_->Deactivate();
        EXPECT_EQ(std::filesystem::exists(std::filesystem::symlink_status(save)), c.outcome == kLeftAsItIs);
        std::filesystem::remove_all(save);
        std::filesystem::remove(save + ".damaged-1");
    }
    // A missing file is no game either.
    scene_ = nullptr;
    RenewSceneManager();
    const Ref<Scene> classic = AddStandInScene("SCENE_CLASSIC");
    Enter(1, false);
    scene_->Deactivate();
    Players::Instance()->DeleteSaveGame(*player_, "kr2");
    scene_->SetResumeFromSaveGame(true);
    scene_->Activate();
    EXPECT_EQ(scene_->GetMode(), nullptr);
    EXPECT_EQ(SceneManager::Instance()->GetNextScene(), classic.Get());
}

// A resumed game's save stays on disk while that game goes on, so that
// nothing is lost however the run ends: left again before its race starts,
// or with the program killed in the race, the file is still the one it was
// resumed from. A newer save replaces it, a new game replaces it, and a
// lost race ends the game and its save.
TEST_F(GameSceneLevelEnd, AResumedGamesSaveStaysUntilANewerSaveReplacesItOrTheGameEnds) {
    Enter(1, false);
    PlayToStart();
    Type(FirstOpenQueueWord());
    scene_->OnKeyDown(13);
    Play(20);
    scene_->Deactivate();
    const std::string save = Players::Instance()->SaveGamePath(player_->GetName(), "kr2");
    const auto stored = [&save] {
        std::vector<uint8_t> bytes;
        platform::ReadWholeFile(save, bytes);
        return bytes;
    };
    const std::vector<uint8_t> resumedFrom = stored();
    ASSERT_FALSE(resumedFrom.empty());
    const auto resume = [this] {
        scene_->SetResumeFromSaveGame(true);
        scene_->Activate();
        ASSERT_TRUE(scene_->GetMode());
    };

    resume();
    Play(2);
    ASSERT_EQ(scene_->GetLevelState(), GameScene::kNothingToSave);
    scene_->Deactivate();
    EXPECT_EQ(stored(), resumedFrom);

    resume();
    PlayToStart();
    Type(FirstOpenQueueWord());
    scene_->OnKeyDown(13);
    Play(20);
    EXPECT_EQ(stored(), resumedFrom);
    scene_->Deactivate();
    const std::vector<uint8_t> newer = stored();
    EXPECT_FALSE(newer.empty());
    EXPECT_NE(newer, resumedFrom);

    resume();
    PlayToStart();
    FinishRace(*scene_, true, false);
    EXPECT_FALSE(SaveGameOnDisk());
    PlayToEndSign();
    scene_->Deactivate();
    EXPECT_FALSE(SaveGameOnDisk());

    // A new game replaces the save of the old one as soon as it starts.
    Players::Instance()->StoreSaveGame(*player_, "kr2", *ParseDefinitions("<root/>"));
    ASSERT_TRUE(SaveGameOnDisk());
    scene_->Activate();
    EXPECT_FALSE(SaveGameOnDisk());
}

// ---- a classic game over three runs ----

// Each run builds the scene anew and reads the players from disk, as the
// program does when it starts; the level is played by typing the words of
// its own queue.
class ClassicGameRuns : public GameSceneLevelEnd {
protected:
    // A fresh scene and the players as the last run left them on disk.
    void StartRun() {
        if (scene_) {
            scene_->Deactivate();
            scene_ = nullptr;
        }
        player_ = nullptr;
        Players::Free();
        RenewSceneManager();
        Players* players = Players::Create("", false);
        players->Load();
        player_ = ObjectCast<KR2Player>(players->GetCurrent());
        Property* definition = DialogTable::Instance()->FindDialogDefinition("SCENE_GAME");
        const Ref<Object> built(ClassFactory::Instance().Create(definition));
        scene_ = ObjectCast<GameScene>(built.Get());
        scene_->SetName("SCENE_GAME");
        answers_.scene = scene_.Get();
        TicketInfo::SetHooks({&answers_, &answers_, &answers_});
    }

    void Show() {
        SceneManager::Instance()->RequestSwitch(scene_.Get());
        SceneManager::Instance()->Update(0);
    }

    // The program's end: the game kept, the players written.
    void EndRun() {
        scene_->WriteSavegame();
        Players::Instance()->Save();
    }

    // Types the next open word of the queue and sends it; false when none is left.
    bool TypeNextWord() {
        const std::string word = FirstOpenQueueWord();
        if (word.empty()) {
            return false;
        }
        Type(word);
        scene_->OnKeyDown(13);
        Play(6);
        return true;
    }

    std::vector<std::filesystem::path> SaveFilesOnDisk() const {
        std::vector<std::filesystem::path> found;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(userFolders_.DataHome())) {
            if (entry.path().filename() == "kr2.sav") {
                found.push_back(entry.path());
            }
        }
        return found;
    }
};

TEST_F(ClassicGameRuns, AClassicLevelIsPlayedToItsEndThenLeftMidLevelAndResumedInTheNextRun) {
    // First run: a new player plays a classic level to its end sign.
    Enter(1, false);
    player_->trophies.fill(KR2Player::kTrophyShown);
    Players::Instance()->Save();
    PlayToStart();
    int typed = 0;
    for (int step = 0; step < 2000 && Mode().GetState() == GameScene::kPlaying; ++step) {
        if (TypeNextWord()) {
            ++typed;
        } else {
            Play(10);
        }
    }
    EXPECT_TRUE(player_->lastWon) << typed << " words, train at "
                                  << GameMode::Progress(*scene_->GetLandscape()->GetPlayerTrain()) << ", opponent at "
                                  << GameMode::Progress(*scene_->GetLandscape()->GetAutoTrain());
    PlayToEndSign();
    ASSERT_EQ(Mode().GetState(), GameScene::kEndShown);
    Screenshot("classic_run1_end");
    const int32_t firstLevelScore = scene_->GetLevelStats().score;
    EXPECT_GT(firstLevelScore, 0);
    // Lost, or left for the menu, a classic game leaves nothing to resume.
    scene_->OnKeyDown(13);
    for (int frame = 0; frame < 400 && Mode().GetState() != GameScene::kPlaying; ++frame) {
        Play(1);
    }
    ASSERT_EQ(Mode().GetState(), GameScene::kPlaying);
    EXPECT_EQ(player_->currentTicket->CurLevel, 1);
    EndRun();
    ASSERT_EQ(SaveFilesOnDisk().size(), 1u);

    // Second run: the kept game goes on and is left in the middle of the race.
    StartRun();
    ASSERT_TRUE(player_);
    scene_->SetResumeFromSaveGame(true);
    Show();
    EXPECT_EQ(SaveFilesOnDisk().size(), 1u);
    ASSERT_TRUE(scene_->GetMode());
    EXPECT_EQ(Mode().Stats().score, firstLevelScore);
    EXPECT_EQ(player_->currentTicket->CurLevel, 1);
    PlayToStart();
    ASSERT_TRUE(TypeNextWord());
    ASSERT_TRUE(TypeNextWord());
    Play(40);
    const int32_t score = Mode().Stats().score;
    const std::vector<QueueEntry> queue = QueueOf(*scene_);
    const float playerX = scene_->GetLandscape()->GetPlayerTrain()->GetRealX();
    const float opponentX = scene_->GetLandscape()->GetAutoTrain()->GetRealX();
    EXPECT_GT(score, firstLevelScore);
    Screenshot("classic_run2_left");
    EndRun();
    const std::vector<std::filesystem::path> saved = SaveFilesOnDisk();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_GT(std::filesystem::file_size(saved.front()), 0u);

    // Third run: resumed where it was left.
    StartRun();
    scene_->SetResumeFromSaveGame(true);
    Show();
    ASSERT_TRUE(scene_->GetMode());
    EXPECT_EQ(Mode().Stats().score, score);
    EXPECT_EQ(QueueOf(*scene_), queue);
    EXPECT_FLOAT_EQ(scene_->GetLandscape()->GetPlayerTrain()->GetRealX(), playerX);
    EXPECT_FLOAT_EQ(scene_->GetLandscape()->GetAutoTrain()->GetRealX(), opponentX);
    Screenshot("classic_run3_resumed");
    PlayToStart();
    ASSERT_TRUE(TypeNextWord());
    Play(20);
    EXPECT_GT(Mode().Stats().score, score);
    Screenshot("classic_run3_playing");
}

}  // namespace
