#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <numeric>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/foundation/Archive.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/RandomGenerator.h"
#include "engine/foundation/Ref.h"
#include "engine/foundation/ScoreTable.h"
#include "engine/scene/UpdatePass.h"
#include "game/constants/GameConstants.h"
#include "game/progress/HighScores.h"
#include "game/progress/KR2Player.h"
#include "game/progress/KR2Score.h"
#include "game/progress/Rankings.h"
#include "game/rules/GameMode.h"
#include "game/rules/LevelHooks.h"
#include "game/words/LetterRack.h"
#include "game/words/TicketInfo.h"
#include "game/words/WordBar.h"
#include "game/words/WordBarScene.h"
#include "game/words/WordList.h"
#include "game/words/WordQueue.h"
#include "game/words/WordSprite.h"
#include "game/world/AutoTrain.h"
#include "game/world/PlayerTrain.h"
#include "game/world/RaceContext.h"
#include "game/world/SectionList.h"
#include "platform/Files.h"

// Whole levels of every game mode, played without a window on the shipped
// constants and word list: a scripted player submits a word the level
// accepts every few seconds until the level ends.
namespace {

const std::vector<std::string> kConstantFiles = {
    "media/properties/default.xml",      "media/properties/assets.xml",
    "media/properties/dynamic.xml",      "media/properties/text.xml",
    "media/properties/names.xml",        "media/properties/letterfreqs.xml",
    "media/properties/gamesettings.xml", "media/properties/rankings.xml",
};

const std::string kBuild = WORDRAIL_BUILD_DIR;
const char* const kModeClasses[] = {"ClassicGame", "ClassicGame", "ReplaceGame", "AnagramsGame",
                                    "SlotsGame",   "KeepGame",    "SecretGame",  "JokerGame"};

constexpr uint32_t kSeed = 2024;
constexpr float kRating = 0.3f;
constexpr int32_t kFrameMs = 50;
// The scripted player thinks this long before each word.
constexpr int kFramesPerWord = 30;
// Far beyond any level: the opponent alone ends one in DEFAULT_GAME_TIME.
constexpr int kMostFrames = 20 * 60 * 1000 / kFrameMs;

// The answers of the game screen: the level's queue and list, the player,
// the ticket and the race, with every effect left out.
class HeadlessScreen : public LevelScene, public WordBarScene, public RaceContext, public TicketPlayerHook,
                       public TicketMapHook, public TicketSceneHook {
public:
    // LevelScene
    KR2Player& Player() override { return *player; }
    WordQueue& Queue() override { return *queue; }
    const WordList* Words() const override { return words.Get(); }
    LevelStats& SceneStats() override { return sceneStats; }
    ScoreTable* HighScoreTable(const std::string& name) override {
        Ref<ScoreTable>& table = tables[name];
        if (!table) {
            table = new ScoreTable(10, true);
        }
        return table.Get();
    }
    void PlaySound(const std::string&) override {}
    void SetScoreTarget(int32_t) override {}
    void SetMiniTrainPosition(int32_t, float) override {}
    void SetGauges(float, float) override {}
    void AwardArrivalCoins() override { ++arrivalAwards; }
    void ShowBonusText() override {}
    void FeedFurnace(WordSprite&) override {}
    void SetContinue(bool) override {}
    void OnLevelEnd() override { ++levelEnds; }
    void NoteInput() override {}

    // WordBarScene
    int GameType() const override { return player->currentTicket->GameType; }
    Rect CoalArea() const override { return {0, 0, 800, 600}; }
    GameNode* EffectLayer() const override { return effects.Get(); }
    WordQueue* Queue() const override { return queue.Get(); }
    void SetWrongCharTime(int32_t ms) override {
        if (mode) {
            mode->SetWrongLetterTime(ms);
        }
    }
    void ShowTimer(Modifier*, int32_t) override {}
    void SpawnBonusSpark(GameNode*, int32_t, int32_t, int32_t) override {}
    void SpawnCoalSparks(GameNode*, int32_t, int32_t) override {}
    void SpawnCoin(Modifier*, int32_t, int32_t, int32_t, bool) override {}
    void ShowFloatingScore(GameNode*) override {}
    void ThrowCoalScoreStars(GameNode*) override {}
    void PlaySound(const std::string&, const std::string&) override {}

    // RaceContext
    int32_t GameState() const override { return mode ? mode->GetState() : 0; }
    bool IsPaused() const override { return false; }
    const TicketInfo* CurrentTicket() const override { return player->currentTicket.Get(); }
    void PlaySound(const std::string&, int32_t, int32_t) const override {}

    // Ticket hooks
    int GamesPlayed() const override { return 12; }
    // Tracks 0 to 3 are the length classes from the shortest to the longest.
    int TrackLengthClass(int, int track) const override { return track % 4; }
    const WordList* WaitForWordList() override { return words.Get(); }
    bool IsInWordQueue(const std::string& text) const override {
        return queue && queue->FindWord(text, 7) != nullptr;
    }

    Ref<KR2Player> player;
    Ref<WordQueue> queue;
    Ref<WordList> words;
    Ref<GameNode> effects;
    LevelStats sceneStats;
    std::map<std::string, Ref<ScoreTable>> tables;
    Ref<GameMode> mode;
    Ref<PlayerTrain> playerTrain;
    Ref<AutoTrain> opponentTrain;
    int arrivalAwards = 0;
    int levelEnds = 0;
};

struct LevelEnd {
    bool ended = false;
    bool won = false;
    int32_t result = 0;
    int32_t score = 0;
    int32_t coins = 0;
    int32_t playtime = 0;
    int words = 0;
    int32_t scoreOfRules = 0;

    bool operator==(const LevelEnd&) const = default;
};

std::ostream& operator<<(std::ostream& out, const LevelEnd& end) {
    return out << "{ended " << end.ended << ", won " << end.won << ", result " << end.result << ", score "
               << end.score << ", coins " << end.coins << ", playtime " << end.playtime << ", words " << end.words
               << "}";
}

// What the level's state is saved as mid-level: the session, the trains, the
// queue, and the generators' states (which a real resume draws anew).
struct SavedLevel {
    Ref<PropertyNode> session;
    Ref<PropertyNode> playerTrain;
    Ref<PropertyNode> opponentTrain;
    Ref<PropertyNode> queue;
    uint64_t globalState = 0;
    uint64_t modeState = 0;
    int frame = 0;
};

class LevelDriver {
public:
    LevelDriver(const Ref<WordList>& words, int gameType, uint32_t seed, bool opponent,
                int framesPerWord = kFramesPerWord, int ticketMode = -1, float rating = kRating,
                int32_t level = 0, int32_t track = 2)
        : gameType_(gameType), seed_(seed), opponent_(opponent), framesPerWord_(framesPerWord) {
        screen_.words = words;
        screen_.effects = new GameNode;
        RandomGenerator::SetGlobal(new RandomGenerator(seed, 0));
        LetterRack::SetRandomSource([this] { return static_cast<int>(shuffleDraws_.Next() >> 1); });
        TicketInfo::SetHooks({&screen_, &screen_, &screen_});
        GameMode::SetHooks({&screen_, nullptr, nullptr});
        WordBar::SetHooks({&screen_, nullptr});
        RaceContext::Install(&screen_);

        screen_.player = new KR2Player("Driver");
        Ref<TicketInfo> ticket = new TicketInfo;
        ticket->GameType = gameType;
        // Classic kinds race on for bonus words; the others end on arrival.
        ticket->GameMode = ticketMode >= 0      ? ticketMode
                           : gameType == 0 ? TicketInfo::kMapTicket
                                           : TicketInfo::kClassicFixed;
        ticket->Section = 1;
        ticket->Track = track;
        ticket->Rating = rating;
        ticket->CurLevel = level;
        ticket->Generate();
        screen_.player->currentTicket = ticket;
    }

    ~LevelDriver() {
        RaceContext::Install(nullptr);
        WordBar::SetHooks({});
        GameMode::SetHooks({});
        TicketInfo::SetHooks({});
        LetterRack::SetRandomSource(nullptr);
        RandomGenerator::SetGlobal(nullptr);
        screen_.mode = nullptr;
    }

    // A new level, or the saved one.
    void Start(const SavedLevel* saved) {
        screen_.queue = saved != nullptr ? new WordQueue(saved->queue.Get()) : new WordQueue;
        screen_.playerTrain = new PlayerTrain(saved != nullptr ? saved->playerTrain.Get() : nullptr);
        screen_.opponentTrain = new AutoTrain(saved != nullptr ? saved->opponentTrain.Get() : nullptr);
        if (saved == nullptr) {
            const int units = screen_.player->currentTicket->GetRaceUnits();
            screen_.playerTrain->SetUnitsToTravel(units);
            screen_.opponentTrain->SetUnitsToTravel(units);
        }
        screen_.opponentTrain->SetVisible(opponent_);
        Ref<PropertyNode> fresh = new PropertyNode("game", kModeClasses[gameType_]);
        Ref<Object> made = ClassFactory::Instance().Create(saved != nullptr ? saved->session.Get() : fresh.Get());
        screen_.mode = ObjectCast<GameMode>(made.Get());
        ASSERT_TRUE(screen_.mode);
        GameMode& mode = *screen_.mode;
        mode.SeedRandom(seed_);
        mode.SetTrains(screen_.playerTrain.Get(), screen_.opponentTrain.Get());
        if (saved != nullptr) {
            RandomGenerator::Global()->state = saved->globalState;
            mode.Random().state = saved->modeState;
            frame_ = saved->frame;
        } else {
            mode.SetUpWordBar(false);
        }
        mode.StartLevel(saved != nullptr);
        mode.SetState(GameMode::kRacing);
    }

    // Plays until the level ends; with saveAt, stops there and returns the save.
    std::optional<SavedLevel> Play(int saveAt = -1) {
        GameMode& mode = *screen_.mode;
        for (; frame_ < kMostFrames && mode.GetState() == GameMode::kRacing; ++frame_) {
            if (frame_ % framesPerWord_ == framesPerWord_ - 1) {
                if (frame_ == saveAt) {
                    return Save();
                }
                SubmitAWord();
            }
            for (GameNode* node : {static_cast<GameNode*>(screen_.playerTrain.Get()),
                                   static_cast<GameNode*>(screen_.opponentTrain.Get()),
                                   static_cast<GameNode*>(screen_.effects.Get()), static_cast<GameNode*>(&mode),
                                   static_cast<GameNode*>(screen_.queue.Get())}) {
                UpdatePass::StepNodeTree(*node, kFrameMs);
            }
        }
        return std::nullopt;
    }

    LevelEnd End() const {
        const GameMode& mode = *screen_.mode;
        return {mode.GetState() == GameMode::kEnded,
                screen_.player->lastWon,
                screen_.player->lastResult,
                mode.Stats().score,
                mode.Stats().moneyEarned,
                mode.Stats().playtime,
                words_,
                scoreOfRules_};
    }

    const HeadlessScreen& Screen() const { return screen_; }
    const std::set<std::string>& Rejected() const { return rejected_; }

private:
    SavedLevel Save() const {
        SavedLevel saved;
        saved.session = new PropertyNode("game", "");
        screen_.mode->Save(*saved.session);
        saved.playerTrain = new PropertyNode("pt", "");
        screen_.playerTrain->Save(*saved.playerTrain);
        saved.opponentTrain = new PropertyNode("ot", "");
        screen_.opponentTrain->Save(*saved.opponentTrain);
        saved.queue = new PropertyNode("queue", "WordQueue");
        screen_.queue->Save(*saved.queue);
        saved.globalState = RandomGenerator::Global()->state;
        saved.modeState = screen_.mode->Random().state;
        saved.frame = frame_;
        return saved;
    }

    // The supply's letters, a joker as "?".
    std::string SupplyPattern() const {
        std::string letters;
        const LetterRack& supply = screen_.mode->GetWordBar()->Rack(WordBar::kSupplyRack);
        for (int slot = 0; slot < LetterRack::kSlotCount; ++slot) {
            if (const LetterSprite* coal = supply.GetLetter(slot)) {
                letters += coal->Letter().GetType() == LetterData::kJoker ? '?' : static_cast<char>(coal->Letter().Char());
            }
        }
        return letters;
    }

    WordSprite* CurrentWord() const {
        const int32_t index = screen_.queue->CurrentIndex();
        const auto& words = screen_.queue->Words();
        return index >= 0 && index < static_cast<int32_t>(words.size()) ? words[static_cast<size_t>(index)].Get()
                                                                         : nullptr;
    }

    bool Usable(const std::string& text) const {
        return rejected_.count(text) == 0 && screen_.queue->FindWord(text, WordSprite::kFound) == nullptr;
    }

    // A word the level's own list accepts from what the bar offers; empty when none.
    std::string ChooseWord() const {
        const WordList& words = *screen_.words;
        std::vector<const WordNode*> candidates;
        WordSprite* current = CurrentWord();
        switch (gameType_) {
            case 0:
            case 1:
                for (const Ref<WordSprite>& word : screen_.queue->Words()) {
                    if (word->Status() != WordSprite::kFound && Usable(word->PlainText())) {
                        return word->PlainText();
                    }
                }
                return "";
            case 3:
                if (current == nullptr || current->Status() == WordSprite::kFound) {
                    return "";
                }
                words.FindFromLetters(SupplyPattern(), candidates, true, current->SlotCount());
                break;
            case 4: {
                if (current == nullptr || current->Status() == WordSprite::kFound) {
                    return "";
                }
                std::string pattern;
                for (const Ref<LetterSlot>& slot : current->Slots()) {
                    pattern += slot->Letter().IsLeftOut() ? '?' : static_cast<char>(slot->Letter().Char());
                }
                words.MatchPattern(pattern, &candidates);
                break;
            }
            default:
                words.FindFromLetters(SupplyPattern(), candidates, false, 0);
                // Longer words take the train further.
                std::stable_sort(candidates.begin(), candidates.end(), [](const WordNode* a, const WordNode* b) {
                    return a->LetterCount() > b->LetterCount();
                });
                break;
        }
        for (const WordNode* candidate : candidates) {
            if (Usable(candidate->Text())) {
                return candidate->Text();
            }
        }
        return "";
    }

    void SubmitAWord() {
        GameMode& mode = *screen_.mode;
        const std::string word = ChooseWord();
        if (word.empty()) {
            // Nothing left to find here: move on where the mode allows it.
            mode.Skip();
            return;
        }
        for (char c : word) {
            mode.OnCharTyped(c);
        }
        mode.JudgeWord();
        if (mode.GetJudgement() != GameMode::kNewWord) {
            rejected_.insert(word);
            mode.ClearWordBar();
            return;
        }
        const int32_t before = mode.Stats().score;
        mode.OnSubmitPressed();
        const ScoreRule& rule = mode.GetScoreRule();
        scoreOfRules_ += rule.Multiplier * rule.Score + rule.Bonus;
        EXPECT_EQ(mode.Stats().score - before, rule.Multiplier * rule.Score + rule.Bonus) << word;
        ++words_;
    }

    HeadlessScreen screen_;
    int gameType_;
    uint32_t seed_;
    bool opponent_;
    int framesPerWord_;
    RandomGenerator shuffleDraws_{99, 0};
    int frame_ = 0;
    int words_ = 0;
    int32_t scoreOfRules_ = 0;
    std::set<std::string> rejected_;
};

// The coins of a level: those of its result and those of its rating.
int32_t CoinsFor(int result) {
    const int32_t coins = Property::AsInt(Property::At(Defines::Instance()->GetVector("COINS_PER_PERFORMANCE"), result));
    return coins + std::min(static_cast<int32_t>(kRating * 6.0f), 5) * COINS_PER_PASSENGER;
}

class ScriptedLevels : public testing::Test {
protected:
    ScriptedLevels() : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(kBuild);
        OpenMediaArchive(LoadMode::File, "");
        Defines::Create();
        constants_ = new PropertyFile(kConstantFiles);
        loaded_ = constants_->Load();
        ClassFactory::Instance().CreateNamedObjects(*constants_);
        XML::ForgetInitForTesting();
        XML::Init();
        std::vector<uint8_t> bytes;
        words_ = new WordList;
        if (platform::ReadWholeFile(kBuild + "/media/data/words.dat", bytes)) {
            words_->ReadWordFile(bytes.data(), bytes.size());
        }
    }
    ~ScriptedLevels() override {
        Defines::ReleaseInstance();
        CloseMediaArchive();
        std::filesystem::current_path(previous_);
    }

    Ref<PropertyFile> constants_;
    Ref<WordList> words_;
    bool loaded_ = false;

private:
    std::filesystem::path previous_;
};

TEST_F(ScriptedLevels, EveryModePlaysToItsEndAgainstTheOpponent) {
    ASSERT_TRUE(loaded_);
    ASSERT_GT(words_->WordCount(), 1000);
    for (int gameType = 0; gameType < TicketInfo::kGameTypeCount; ++gameType) {
        SCOPED_TRACE(kModeClasses[gameType] + std::string(" (type ") + std::to_string(gameType) + ")");
        LevelDriver driver(words_, gameType, kSeed, true);
        driver.Start(nullptr);
        driver.Play();
        const LevelEnd end = driver.End();
        EXPECT_TRUE(end.ended) << end;
        EXPECT_EQ(driver.Screen().levelEnds, 1) << end;
        EXPECT_EQ(end.score, end.scoreOfRules) << end;
        EXPECT_GT(end.words, 5) << end;
        // The scripted player is quick enough to beat the opponent everywhere.
        EXPECT_TRUE(end.won) << end;
        if (gameType == 0) {
            // An adventure ends on the player's arrival, far ahead.
            EXPECT_EQ(end.result, 2) << end;
            EXPECT_LT(end.playtime, DEFAULT_GAME_TIME) << end;
            EXPECT_EQ(driver.Screen().arrivalAwards, 0) << end;
        } else {
            // A classic race goes on for bonus words until the opponent arrives.
            EXPECT_EQ(end.result, 0) << end;
            EXPECT_GE(end.playtime, DEFAULT_GAME_TIME - kFrameMs) << end;
            EXPECT_EQ(driver.Screen().arrivalAwards, 1) << end;
        }
        EXPECT_EQ(end.coins, CoinsFor(end.result)) << end;
    }
}

// The points have one scale: a won adventure level of any type is worth
// about the same, the rank ladder climbs a few such levels a rank, and a good
// classic run (four levels, a word every three seconds) enters the default
// high-score tables while one of its levels stays worth a handful of
// adventure levels. Jumbled Words and Missing Letters run out of listed words
// after arrival (a level lists at most about 40), so their runs need six to
// eight levels to get there.
TEST_F(ScriptedLevels, ThePointsOfLevelsRanksAndClassicRunsShareOneScale) {
    ASSERT_TRUE(loaded_);
    constexpr int kGoodPlayer = 60;  // frames between two words: three seconds
    constexpr int kRunLevels = 4;
    std::vector<int32_t> adventure;
    for (int gameType = 0; gameType < TicketInfo::kGameTypeCount; ++gameType) {
        LevelDriver driver(words_, gameType, kSeed, true, kGoodPlayer, TicketInfo::kMapTicket, 0.5f);
        driver.Start(nullptr);
        driver.Play();
        EXPECT_TRUE(driver.End().won) << gameType;
        adventure.push_back(driver.End().score);
    }
    const double level = std::accumulate(adventure.begin(), adventure.end(), 0.0) / adventure.size();
    for (size_t type = 0; type < adventure.size(); ++type) {
        EXPECT_GT(adventure[type], level / 2) << "adventure type " << type;
        EXPECT_LT(adventure[type], level * 2) << "adventure type " << type;
    }
    for (int32_t rank = 1; rank <= rankings::kTopRank; ++rank) {
        const double step = (rankings::Score(rank) - rankings::Score(rank - 1)) / level;
        EXPECT_GE(step, 1.5) << "adventure levels to rank " << rank;
        EXPECT_LE(step, 8.0) << "adventure levels to rank " << rank;
    }

    for (int gameType = 0; gameType < TicketInfo::kGameTypeCount; ++gameType) {
        SCOPED_TRACE("classic type " + std::to_string(gameType));
        int32_t run = 0;
        for (int32_t curLevel = 0; curLevel < kRunLevels; ++curLevel) {
            const float rating = std::min(RATING_CLASSIC_START + RATING_CLASSIC_INC * curLevel, 1.0f);
            LevelDriver driver(words_, gameType, kSeed + curLevel, true, kGoodPlayer, TicketInfo::kClassicFixed,
                               rating, curLevel);
            driver.Start(nullptr);
            driver.Play();
            EXPECT_TRUE(driver.End().won) << curLevel;
            EXPECT_LT(driver.End().score, level * 8) << curLevel;
            run += driver.End().score;
        }
        if (gameType == 3 || gameType == 4) {
            EXPECT_GT(run, level * kRunLevels) << "the listed words alone";
            continue;
        }
        ScoreTable defaults(5, true);
        FillDefaultHighScores(defaults);
        Ref<KR2Score> entry = new KR2Score("Driver", run, kRunLevels);
        EXPECT_GE(defaults.Insert(entry.Get()), 0) << run;
    }
}

// A new player meets a second kind of ticket within the first four won
// levels and every kind within the first three sections of the map, winning
// each track once. Levels on the shortest track at a new player's rating
// score the least, and the ladder is climbed with them alone.
TEST_F(ScriptedLevels, TheRanksBringEveryKindOfTicketEarlyInTheAdventure) {
    ASSERT_TRUE(loaded_);
    SectionList map;
    ASSERT_TRUE(map.Load());
    size_t tracksOfThreeSections = 0;
    for (int32_t section = 0; section < 3; ++section) {
        tracksOfThreeSections += map.Section(section).tracks.size();
    }
    constexpr int32_t kShortestTrack = 0;
    const Ref<KR2Player> player = new KR2Player("Newcomer");
    size_t won = 0;
    size_t secondKindAt = 0;
    while (won < tracksOfThreeSections && player->UnlockedGameTypes().size() < TicketInfo::kGameTypeCount) {
        LevelDriver driver(words_, 0, kSeed + static_cast<uint32_t>(won), true, kFramesPerWord,
                           TicketInfo::kMapTicket, 0.0f, 0, kShortestTrack);
        driver.Start(nullptr);
        driver.Play();
        ASSERT_TRUE(driver.End().won) << driver.End();
        player->stats.score += driver.End().score;
        player->UpdateRank();
        ++won;
        if (secondKindAt == 0 && player->UnlockedGameTypes().size() > 1) {
            secondKindAt = won;
        }
    }
    EXPECT_GT(secondKindAt, 0u);
    EXPECT_LE(secondKindAt, 4u) << "won levels before a second kind of ticket";
    EXPECT_EQ(player->UnlockedGameTypes().size(), static_cast<size_t>(TicketInfo::kGameTypeCount))
        << player->stats.score << " points from " << won << " won levels, the tracks of three sections";
}

// Without the opponent's smoke puffs every draw after the save repeats, so a
// resumed level must end exactly as the level played through.
TEST_F(ScriptedLevels, AResumedLevelEndsAsTheLevelPlayedThrough) {
    ASSERT_TRUE(loaded_);
    for (int gameType = 0; gameType < TicketInfo::kGameTypeCount; ++gameType) {
        SCOPED_TRACE(kModeClasses[gameType] + std::string(" (type ") + std::to_string(gameType) + ")");
        LevelEnd whole;
        {
            LevelDriver driver(words_, gameType, kSeed, false);
            driver.Start(nullptr);
            driver.Play();
            whole = driver.End();
        }
        EXPECT_TRUE(whole.ended) << whole;
        EXPECT_TRUE(whole.won) << whole;
        EXPECT_EQ(whole.result, 2) << whole;
        EXPECT_EQ(whole.coins, CoinsFor(2)) << whole;
        const int saveAt = (whole.playtime / kFrameMs / kFramesPerWord / 2) * kFramesPerWord + kFramesPerWord - 1;
        std::optional<SavedLevel> saved;
        {
            LevelDriver first(words_, gameType, kSeed, false);
            first.Start(nullptr);
            saved = first.Play(saveAt);
        }
        ASSERT_TRUE(saved.has_value());
        LevelDriver resumed(words_, gameType, kSeed, false);
        resumed.Start(&*saved);
        resumed.Play();
        const LevelEnd again = resumed.End();
        EXPECT_EQ(again.ended, whole.ended) << again;
        EXPECT_EQ(again.won, whole.won) << again;
        EXPECT_EQ(again.result, whole.result) << again;
        EXPECT_EQ(again.score, whole.score) << again << " against " << whole;
        EXPECT_EQ(again.coins, whole.coins) << again;
        EXPECT_EQ(again.playtime, whole.playtime) << again << " against " << whole;
    }
}

}  // namespace
