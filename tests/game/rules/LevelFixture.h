#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Ref.h"
#include "engine/foundation/ScoreTable.h"
#include "game/progress/KR2Player.h"
#include "game/progress/LevelStats.h"
#include "game/rules/GameMode.h"
#include "game/rules/LevelHooks.h"
#include "game/words/LetterData.h"
#include "game/words/WordBar.h"
#include "game/words/WordList.h"
#include "game/words/WordQueue.h"
#include "game/world/AutoTrain.h"
#include "game/world/PlayerTrain.h"

// A game scene that records what the level asks of it.
class RecordingScene : public LevelScene {
public:
    RecordingScene();

    KR2Player& Player() override { return *player; }
    WordQueue& Queue() override { return *queue; }
    const WordList* Words() const override { return words.Get(); }
    LevelStats& SceneStats() override { return sceneStats; }
    ScoreTable* HighScoreTable(const std::string& name) override;
    void PlaySound(const std::string& id) override { sounds.push_back(id); }
    void SetScoreTarget(int32_t score) override { scoreTarget = score; }
    void SetMiniTrainPosition(int32_t, float) override {}
    void SetGauges(float, float) override {}
    void AwardArrivalCoins() override { ++arrivalAwards; }
    void ShowBonusText() override { ++bonusTexts; }
    void FeedFurnace(WordSprite&) override { ++furnaceFeeds; }
    void SetContinue(bool next) override { continues = next; }
    void OnLevelEnd() override { ++levelEnds; }
    void NoteInput() override { ++inputs; }

    Ref<KR2Player> player;
    Ref<WordQueue> queue;
    Ref<WordList> words;
    LevelStats sceneStats;
    std::map<std::string, Ref<ScoreTable>> tables;
    std::vector<std::string> sounds;
    int32_t scoreTarget = -1;
    int arrivalAwards = 0;
    int bonusTexts = 0;
    int furnaceFeeds = 0;
    int levelEnds = 0;
    int inputs = 0;
    bool continues = false;
};

class RecordingHints : public LevelHints {
public:
    bool IsHintOpen() const override { return open; }
    bool AllowInput(int hintId) override {
        asked.push_back(hintId);
        return allow;
    }
    bool CheckCoalHint() override { return false; }
    bool NoteButtonSubmit(bool) override { return false; }
    void CheckRaceHints() override { ++raceChecks; }

    bool open = false;
    bool allow = true;
    std::vector<int> asked;
    int raceChecks = 0;
};

class RecordingTrophies : public TrophyAwards {
public:
    void Show(int trophy) override { shown.push_back(trophy); }
    std::vector<int> shown;
};

// A word bar whose take-backs are recorded; its coals are placed directly.
class TestBar : public WordBar {
    ENGINE_CLASS(TestBar, WordBar)

public:
    explicit TestBar(Property* node = nullptr);
    void Save(PropertyNode& node) const override;
    void PickLetterAt(int32_t, int32_t) override {}
    void TakeBackLetters(bool lastOnly, bool flash) override;
    void DropLetter(SlotRef source, SlotRef target, bool) override;

    int takeBacks = 0;
};

// The constants, the list lists and the hooks of a level, a ticket of a
// chosen type and mode, and a small dictionary; the trains stand on a 10-unit
// track of 10 px per unit, which the opponent runs in 1000 ms.
class LevelFixture {
public:
    explicit LevelFixture(int gameType, int ticketMode = TicketInfo::kClassicFixed,
                          const std::vector<std::string>& dictionary = {});
    ~LevelFixture();
    LevelFixture(const LevelFixture&) = delete;
    LevelFixture& operator=(const LevelFixture&) = delete;

    // Defines top-level constants written as XML elements.
    static void Define(const std::string& elements);

    // A mode of the game type's class with a test bar and both trains.
    Ref<GameMode> MakeMode(Property* session = nullptr);
    TicketInfo& Ticket() { return *scene.player->currentTicket; }
    TestBar& Bar(GameMode& mode) { return static_cast<TestBar&>(*mode.GetWordBar()); }
    // Puts coals spelling the text into the word rack ('?' a joker for `jokerAs`).
    static void PlaceWord(GameMode& mode, const std::string& text, char jokerAs = 'a',
                          const std::vector<int>& kinds = {});
    // Puts coals spelling the text into the supply ('?' a joker standing for no letter).
    static void PlaceSupply(GameMode& mode, const std::string& text);
    void AddQueueWords(const std::vector<std::string>& words);
    static void MoveTo(Train& train, float share);

    RecordingScene scene;
    RecordingHints hints;
    RecordingTrophies trophies;
    Ref<PlayerTrain> playerTrain;
    Ref<AutoTrain> opponentTrain;

private:
    static void PlaceCoals(GameMode& mode, int rackIndex, const std::string& text, char jokerAs,
                           const std::vector<int>& kinds);

    std::vector<std::unique_ptr<WordNode>> records_;
    CreateFunction previousClassic_ = nullptr;
    CreateFunction previousSlots_ = nullptr;
};

// The class that plays a game type.
const char* ModeClassFor(int gameType);
