#include <gtest/gtest.h>

#include <algorithm>

#include "LevelFixture.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyNode.h"
#include "game/progress/KR2Score.h"
#include "game/rules/GameModes.h"
#include "game/rules/ScoreRule.h"
#include "game/rules/SubmitInfo.h"
#include "engine/scene/UpdatePass.h"
#include "game/words/WordSprite.h"

namespace {

Ref<WordSprite> WordOf(const std::string& text, const std::vector<int>& kinds = {}) {
    Ref<WordSprite> word = new WordSprite;
    word->SetWord(text, false);
    for (size_t i = 0; i < kinds.size(); ++i) {
        word->Slots()[i]->Letter().SetType(kinds[i]);
    }
    return word;
}

int Count(const std::vector<std::string>& sounds, const std::string& id) {
    return static_cast<int>(std::count(sounds.begin(), sounds.end(), id));
}

TEST(GameMode, RandomIntStaysInItsRangeAndGivesLowForAnEmptyOne) {
    LevelFixture level(0);
    Ref<GameMode> mode = level.MakeMode();
    const struct {
        int low;
        int high;
    } cases[] = {{5, 5}, {5, 4}, {0, -100}, {-3, 2}, {7, 8}, {INT32_MIN, INT32_MAX}};
    for (const auto& c : cases) {
        for (int draw = 0; draw < 50; ++draw) {
            const int value = mode->RandomInt(c.low, c.high);
            if (c.high <= c.low) {
                ASSERT_EQ(value, c.low) << c.low << ".." << c.high;
            } else {
                ASSERT_GE(value, c.low);
                ASSERT_LT(value, c.high);
            }
        }
    }
}

TEST(GameMode, ScoresLengthTimesCoalMultipliersAndArmsTheTurbo) {
    const struct {
        int gameType;
        std::string text;
        std::vector<int> kinds;
        int score;
        int multiplier;
        bool turbo;
        int found;
    } cases[] = {
        {0, "cat", {}, 30, 1, false, 1},
        {0, "planet", {}, 120, 1, true, 1},
        {1, "planet", {}, 120, 1, false, 1},
        {1, "planets", {}, 170, 1, true, 1},
        {0, "cats", {LetterData::kDouble, LetterData::kTriple}, 300, 6, false, 1},
        {0, "cats", {LetterData::kDouble, LetterData::kDouble}, 200, 4, false, 1},
        // Longer than the list: no points, but the turbo all the same.
        {0, "trainset", {}, 0, 1, true, 1},
        {2, "cat", {}, 30, 1, false, 0},
        {5, "cat", {}, 30, 1, false, 0},
        {6, "cat", {}, 30, 1, false, 0},
        {7, "cat", {}, 30, 1, false, 0},
    };
    for (const auto& c : cases) {
        LevelFixture level(c.gameType);
        Ref<GameMode> mode = level.MakeMode();
        mode->SetNextBonus(10);
        mode->ScoreWord(*WordOf(c.text, c.kinds));
        const std::string label = c.text + " in type " + std::to_string(c.gameType);
        EXPECT_EQ(mode->Stats().score, c.score) << label;
        EXPECT_EQ(mode->GetScoreRule().Multiplier, c.multiplier) << label;
        EXPECT_EQ(mode->GetScoreRule().Bonus, 0) << label;
        EXPECT_EQ(mode->AddsTurbo(), c.turbo) << label;
        EXPECT_EQ(mode->Stats().numWordsFound, c.found) << label;
        EXPECT_EQ(mode->Stats().numWordsInserted, 1) << label;
        EXPECT_EQ(mode->NextBonus(), 10 - static_cast<int>(c.text.size())) << label;
    }
}

TEST(GameMode, BonusWordsAfterArrivalGrowExceptInReplaceKeepAndJoker) {
    const struct {
        int gameType;
        std::vector<int> bonuses;
    } cases[] = {{0, {50, 100, 150}}, {3, {50, 100, 150}}, {2, {50, 50, 50}}, {5, {50, 50, 50}}, {7, {50, 50, 50}}};
    for (const auto& c : cases) {
        LevelFixture level(c.gameType);
        Ref<GameMode> mode = level.MakeMode();
        LevelFixture::MoveTo(*level.playerTrain, 1.0f);
        std::vector<int> bonuses;
        for (int word = 0; word < 3; ++word) {
            mode->ScoreWord(*WordOf("cat"));
            bonuses.push_back(mode->GetScoreRule().Bonus);
        }
        EXPECT_EQ(bonuses, c.bonuses) << "type " << c.gameType;
        EXPECT_EQ(mode->Stats().score, 90 + c.bonuses[0] + c.bonuses[1] + c.bonuses[2]);
    }
}

TEST(GameMode, StopAndCoinCoalsActWhenTheirWordScores) {
    LevelFixture level(0, TicketInfo::kMapTicket);
    Ref<GameMode> mode = level.MakeMode();
    level.scene.player->coins = 10;
    mode->ScoreWord(*WordOf("cats", {LetterData::kStop, LetterData::kNormal, LetterData::kCoin, LetterData::kCoin}));
    EXPECT_EQ(level.opponentTrain->GetOut(), 2000);
    EXPECT_EQ(Count(level.scene.sounds, "SOUND_OPPONENT_STOPPED"), 1);
    EXPECT_EQ(level.scene.player->coins, 20);
    EXPECT_EQ(mode->Stats().moneyEarned, 10);
}

TEST(GameMode, OnlyTheLastInGameTrophyThatHoldsIsShown) {
    LevelFixture level(0);
    level.AddQueueWords({"planet", "plants", "cat"});
    for (const char* text : {"planet", "plants"}) {
        level.scene.queue->FindWord(text, 7)->SetFound();
    }
    level.scene.player->stats.moneyEarned = 998;
    {
        Ref<GameMode> mode = level.MakeMode();
        mode->ScoreWord(*WordOf("cat", {LetterData::kCoin}));
        EXPECT_EQ(level.trophies.shown, std::vector<int>{19});
    }
    level.trophies.shown.clear();
    level.scene.player->trophies[19] = KR2Player::kTrophyShown;
    Ref<GameMode> mode = level.MakeMode();
    mode->ScoreWord(*WordOf("cat", {LetterData::kCoin}));
    EXPECT_EQ(level.trophies.shown, std::vector<int>{10});
}

// The race's end: who arrived, when, and whether the opponent is on the track.
TEST(GameMode, EndsTheLevelByTheRaceAndBooksTheResult) {
    const struct {
        const char* label;
        int ticketMode;
        bool opponentVisible;
        int opponentMs;  // racing time the opponent has run
        bool won;
        int result;
        int money;  // performance coins + 3 passengers x 2
        bool continues;
    } cases[] = {
        {"adventure, opponent far behind", TicketInfo::kMapTicket, true, 500, true, 2, 36, false},
        {"adventure, opponent close", TicketInfo::kMapTicket, true, 700, true, 1, 28, false},
        {"adventure, opponent closer still", TicketInfo::kMapTicket, true, 950, true, 0, 21, false},
        {"classic without an opponent", TicketInfo::kClassicFixed, false, 0, true, 2, 36, true},
    };
    for (const auto& c : cases) {
        LevelFixture level(0, c.ticketMode);
        Ref<GameMode> mode = level.MakeMode();
        mode->SetState(GameMode::kRacing);
        level.opponentTrain->SetVisible(c.opponentVisible);
        level.opponentTrain->Advance(c.opponentMs);
        LevelFixture::MoveTo(*level.playerTrain, 1.0f);
        mode->Update(20);
        EXPECT_EQ(mode->GetState(), GameMode::kEnded) << c.label;
        EXPECT_EQ(level.scene.player->lastWon, c.won) << c.label;
        EXPECT_EQ(level.scene.player->lastResult, c.result) << c.label;
        EXPECT_EQ(level.scene.sceneStats.moneyEarned, c.money) << c.label;
        EXPECT_EQ(level.scene.continues, c.continues) << c.label;
        EXPECT_EQ(level.scene.levelEnds, 1) << c.label;
        EXPECT_EQ(level.scene.arrivalAwards, 0) << c.label;
    }
}

TEST(GameMode, AClassicPlayerArrivingFirstRacesOnForBonusWordsUntilTheOpponentArrives) {
    LevelFixture level(0);
    Ref<GameMode> mode = level.MakeMode();
    mode->SetState(GameMode::kRacing);
    mode->Update(100);
    LevelFixture::MoveTo(*level.playerTrain, 1.0f);
    mode->Update(100);
    mode->Update(100);
    EXPECT_EQ(mode->GetState(), GameMode::kRacing);
    EXPECT_EQ(level.scene.arrivalAwards, 1);
    EXPECT_EQ(level.scene.bonusTexts, 1);
    EXPECT_TRUE(level.playerTrain->GetBonus());
    EXPECT_EQ(level.playerTrain->GetFinish(), 100);

    mode->ScoreWord(*WordOf("cat"));
    EXPECT_EQ(mode->GetScoreRule().Bonus, 50);

    const int level0 = level.Ticket().CurLevel;
    LevelFixture::MoveTo(*level.opponentTrain, 1.0f);
    mode->Update(100);
    EXPECT_EQ(mode->GetState(), GameMode::kEnded);
    EXPECT_EQ(level.opponentTrain->GetFinish(), 300);
    EXPECT_TRUE(level.scene.player->lastWon);
    EXPECT_TRUE(level.scene.continues);
    EXPECT_EQ(level.Ticket().CurLevel, level0 + 1);
}

TEST(GameMode, EqualArrivalTimesLoseAndALostClassicEntersTheHighScores) {
    const struct {
        int ticketMode;
        int gameType;
        const char* table;
    } cases[] = {{TicketInfo::kClassicFixed, 3, "T3"}, {TicketInfo::kClassicRandom, 3, "RANDOM"}};
    for (const auto& c : cases) {
        LevelFixture level(c.gameType, c.ticketMode);
        // The race was the game's fourth: the screen showed level 4.
        level.scene.player->currentTicket->CurLevel = 3;
        Ref<GameMode> mode = level.MakeMode();
        mode->Stats().score = 420;
        LevelFixture::MoveTo(*level.playerTrain, 1.0f);
        LevelFixture::MoveTo(*level.opponentTrain, 1.0f);
        level.playerTrain->SetFinish(500);
        level.opponentTrain->SetFinish(500);
        mode->EndLevel();
        EXPECT_FALSE(level.scene.player->lastWon);
        EXPECT_EQ(level.scene.player->lastResult, -1);
        EXPECT_EQ(mode->Stats().moneyEarned, 6);
        EXPECT_FALSE(level.scene.continues);
        ASSERT_EQ(level.scene.tables.count(c.table), 1u) << c.table;
        const auto& entries = level.scene.tables[c.table]->GetEntries();
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0]->GetScore(), 420);
        EXPECT_EQ(entries[0]->GetPlayerName(), "Ada");
        const auto* entry = ObjectCast<KR2Score>(entries[0].Get());
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->GetLevel(), 4) << "the table names the level the game ended in";
    }
}

TEST(GameMode, AnAdventureLevelCountsGamesTowardsThePurchaseHint) {
    LevelFixture level(0, TicketInfo::kMapTicket);
    level.scene.player->hints[LevelHints::kPurchaseHint] = false;
    for (int game = 1; game <= 3; ++game) {
        Ref<GameMode> mode = level.MakeMode();
        LevelFixture::MoveTo(*level.playerTrain, 1.0f);
        mode->EndLevel();
        EXPECT_EQ(level.scene.player->stats.gamesCounter, game);
        EXPECT_EQ(level.scene.player->hints[LevelHints::kPurchaseHint], game == 3);
    }
}

TEST(GameMode, EndTrophiesComeOnePerCallInTheirOrderUntilNoneIsLeft) {
    LevelFixture level(3, TicketInfo::kMapTicket);
    KR2Player& player = *level.scene.player;
    player.ranking = 14;
    player.coins = 1000;
    Ref<GameMode> mode = level.MakeMode();
    EXPECT_FALSE(mode->CheckEndTrophies(false));
    std::vector<int> awarded;
    while (mode->CheckEndTrophies(true)) {
        for (int trophy = 0; trophy < KR2Player::kTrophyCount; ++trophy) {
            if (player.trophies[static_cast<size_t>(trophy)] == KR2Player::kTrophyPending &&
                std::find(awarded.begin(), awarded.end(), trophy) == awarded.end()) {
                awarded.push_back(trophy);
            }
        }
        ASSERT_LT(awarded.size(), 10u);
    }
    EXPECT_EQ(awarded, (std::vector<int>{13, 21, 19}));
}

TEST(GameMode, TheAllTablesTrophyStopsTheRowsAfterIt) {
    LevelFixture level(0, TicketInfo::kClassicFixed);
    KR2Player& player = *level.scene.player;
    player.coins = 5000;
    for (const char* table : {"T0", "T1", "T2", "T3", "T4", "T5", "T6", "T7"}) {
        Ref<KR2Score> entry = new KR2Score("Ada", 10, 1);
        level.scene.HighScoreTable(table)->Insert(entry.Get());
    }
    Ref<GameMode> mode = level.MakeMode();
    ASSERT_TRUE(mode->CheckEndTrophies(true));
    EXPECT_EQ(player.trophies[22], KR2Player::kTrophyPending);
    EXPECT_EQ(player.trophies[19], KR2Player::kTrophyNotWon);
    ASSERT_TRUE(mode->CheckEndTrophies(true));
    EXPECT_EQ(player.trophies[19], KR2Player::kTrophyPending);
    EXPECT_FALSE(mode->CheckEndTrophies(true));
}

TEST(GameMode, ASavedSessionComesBackAsTheSameModeWithItsCounters) {
    LevelFixture level(0);
    Ref<GameMode> mode = level.MakeMode();
    LevelFixture::MoveTo(*level.playerTrain, 1.0f);
    mode->ScoreWord(*WordOf("cat"));
    mode->ScoreWord(*WordOf("planet"));
    mode->SetNextBonus(-3);
    mode->Stats().playtime = 12345;
    mode->Shuffle();  // the word bar changed now
    Ref<PropertyNode> node = new PropertyNode("game", "");
    mode->Save(*node);
    EXPECT_EQ(node->TypeName(), "ClassicGame");

    Ref<GameMode> resumed = level.MakeMode(node.Get());
    ASSERT_TRUE(resumed);
    EXPECT_NE(ObjectCast<ClassicGame>(resumed.Get()), nullptr);
    EXPECT_EQ(resumed->NumBonusWords(), 2);
    EXPECT_EQ(resumed->NextBonus(), -3);
    EXPECT_TRUE(resumed->AddsTurbo());
    EXPECT_EQ(resumed->IsJokerUsed(), mode->IsJokerUsed());
    EXPECT_EQ(resumed->Stats().score, mode->Stats().score);
    EXPECT_EQ(resumed->Stats().playtime, 12345);
    EXPECT_EQ(resumed->LastSubmit(), 12345);
    EXPECT_EQ(resumed->LastWordBar(), 12345);
    EXPECT_EQ(resumed->GetScoreRule().Bonus, 100);
    EXPECT_EQ(resumed->GetScoreRule().WordLength, 6);
    ASSERT_NE(resumed->GetWordBar(), nullptr);
}

TEST(GameMode, KeepGameKeepsItsKeptWordAcrossASaveAndFallsBackForOlderSaves) {
    LevelFixture level(5);
    level.Ticket().LetterSet = "stream";
    Ref<GameMode> made = level.MakeMode();
    auto* mode = ObjectCast<KeepGame>(made.Get());
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->KeptWord(), "stream");
    mode->ScoreWord(*WordOf("team"));
    EXPECT_EQ(mode->KeptWord(), "team");
    mode->ScoreWord(*WordOf("meat"));
    EXPECT_EQ(mode->KeptWord(), "team");
    mode->ScoreWord(*WordOf("mast"));
    EXPECT_EQ(mode->KeptWord(), "tam");

    Ref<PropertyNode> node = new PropertyNode("game", "");
    mode->Save(*node);
    Ref<GameMode> resumed = level.MakeMode(node.Get());
    resumed->SetUpWordBar(true);
    EXPECT_EQ(ObjectCast<KeepGame>(resumed.Get())->KeptWord(), "tam");

    Ref<PropertyNode> older = new PropertyNode("game", "KeepGame");
    Ref<GameMode> fromOlder = level.MakeMode(older.Get());
    EXPECT_EQ(ObjectCast<KeepGame>(fromOlder.Get())->KeptWord(), "stream");
}

TEST(GameMode, SkipWorksOnlyInSingleWordModesAndShuffleNeverInSlots) {
    for (int type = 0; type < 8; ++type) {
        LevelFixture level(type);
        level.AddQueueWords({"cat", "dog"});
        Ref<GameMode> mode = level.MakeMode();
        mode->Skip();
        mode->Shuffle();
        const bool single = type == 3 || type == 4;
        EXPECT_EQ(mode->IsSingleWord(), single) << "type " << type;
        EXPECT_EQ(mode->Stats().numSkip, single ? 1 : 0) << "type " << type;
        EXPECT_EQ(mode->Stats().numShuffle, type == 4 ? 0 : 1) << "type " << type;
        EXPECT_EQ(Count(level.scene.sounds, "SOUND_SHUFFLE"), type == 4 ? 0 : 1) << "type " << type;
    }
}

TEST(GameMode, AnOpenHintThatRefusesTheInputStopsIt) {
    LevelFixture level(3);
    level.AddQueueWords({"cat", "dog"});
    Ref<GameMode> mode = level.MakeMode();
    level.hints.open = true;
    level.hints.allow = false;
    mode->Skip();
    mode->Shuffle();
    EXPECT_EQ(mode->Stats().numSkip, 0);
    EXPECT_EQ(mode->Stats().numShuffle, 0);
    EXPECT_EQ(level.hints.asked, (std::vector<int>{LevelHints::kSkipHint, LevelHints::kShuffleHint}));
}

TEST(GameMode, TypedLettersCountOnlyWhileTheRaceRuns) {
    LevelFixture level(0);
    Ref<GameMode> mode = level.MakeMode();
    level.scene.player->hints[LevelHints::kKeyboardHint] = true;
    mode->OnCharTyped('e');
    EXPECT_TRUE(level.scene.player->hints[LevelHints::kKeyboardHint]);
    mode->SetState(GameMode::kRacing);
    mode->SetPaused(true);
    mode->OnCharTyped('e');
    EXPECT_TRUE(level.scene.player->hints[LevelHints::kKeyboardHint]);
    mode->SetPaused(false);
    mode->OnCharTyped('1');
    EXPECT_TRUE(level.scene.player->hints[LevelHints::kKeyboardHint]);
    mode->OnCharTyped('E');
    EXPECT_FALSE(level.scene.player->hints[LevelHints::kKeyboardHint]);
    EXPECT_EQ(level.scene.inputs, 4);
}

TEST(GameMode, RaceHintsAreCheckedOnceInTwentyTwoFrames) {
    LevelFixture level(0);
    Ref<GameMode> mode = level.MakeMode();
    mode->SetState(GameMode::kRacing);
    for (int frame = 0; frame < 44; ++frame) {
        mode->Update(10);
    }
    EXPECT_EQ(level.hints.raceChecks, 2);
    EXPECT_EQ(mode->Stats().playtime, 440);
}

int HiddenLetters(const WordSprite& word) {
    return static_cast<int>(std::count_if(word.Slots().begin(), word.Slots().end(),
                                          [](const Ref<LetterSlot>& s) { return s->Letter().IsHidden(); }));
}

TEST(GameMode, RevealCoalsShowLettersOnlyOfUnfoundWordsWithTwoHidden) {
    LevelFixture level(0);
    Ref<GameMode> empty = level.MakeMode();
    empty->RevealLetters();  // an empty queue: nothing to do

    level.AddQueueWords({"ant", "team"});
    WordSprite& found = *level.scene.queue->FindWord("ant", 7);
    WordSprite& open = *level.scene.queue->FindWord("team", 7);
    found.SetFound();
    for (int slot = 0; slot < 3; ++slot) {
        found.Slots()[static_cast<size_t>(slot)]->Letter().SetHidden(true);
    }
    Ref<GameMode> mode = level.MakeMode();
    mode->RevealLetters();
    for (int frame = 0; frame < 100; ++frame) {
        UpdatePass::StepNodeTree(*level.scene.queue, 50);
    }
    EXPECT_EQ(HiddenLetters(found), 3);
    EXPECT_GE(HiddenLetters(open), 2);
    EXPECT_LE(HiddenLetters(open), 3);

    // One hidden letter left is never given away.
    for (int slot = 0; slot < 4; ++slot) {
        open.Slots()[static_cast<size_t>(slot)]->Letter().SetHidden(slot == 3);
    }
    mode->RevealLetters();
    for (int frame = 0; frame < 100; ++frame) {
        UpdatePass::StepNodeTree(*level.scene.queue, 50);
    }
    EXPECT_EQ(HiddenLetters(open), 1);
}

TEST(ScoreRuleAndSubmitInfo, ReadWhatIsWrittenAndMissingKeysAsZero) {
    ScoreRule rule{30, 50, 6, 4};
    Ref<PropertyNode> node = new PropertyNode("score", "Score");
    rule.Write(*node);
    ScoreRule read;
    read.Read(node.Get());
    EXPECT_EQ(read.Score, 30);
    EXPECT_EQ(read.Bonus, 50);
    EXPECT_EQ(read.Multiplier, 6);
    EXPECT_EQ(read.WordLength, 4);
    Ref<PropertyNode> empty = new PropertyNode("score", "Score");
    read.Read(empty.Get());
    EXPECT_EQ(read.Multiplier, 0);

    Ref<PropertyNode> info = new PropertyNode("info", "SubmitInfo");
    Ref<Object> made = ClassFactory::Instance().Create(info.Get());
    auto* submit = ObjectCast<SubmitInfo>(made.Get());
    ASSERT_NE(submit, nullptr);
    EXPECT_EQ(submit->text, "");
    EXPECT_EQ(submit->time, 0);
}

}  // namespace
