#pragma once

#include <cstdint>
#include <string>

class KR2Player;
class LevelStats;
class ScoreTable;
class WordList;
class WordQueue;
class WordSprite;

// What a level asks of the game scene around it. The game scene implements
// it; tests record the calls.
class LevelScene {
public:
    virtual ~LevelScene() = default;

    // The current player, whose current ticket the level plays.
    virtual KR2Player& Player() = 0;
    virtual WordQueue& Queue() = 0;
    // Null while the word list is not loaded.
    virtual const WordList* Words() const = 0;
    // The scene's own counters, which add up the levels of a game.
    virtual LevelStats& SceneStats() = 0;
    // The high-score table of that name; null when there is none.
    virtual ScoreTable* HighScoreTable(const std::string& name) = 0;

    virtual void PlaySound(const std::string& id) = 0;
    virtual void SetScoreTarget(int32_t score) = 0;
    // A mini train on the minimap (0 the player's, 1 the opponent's) at its
    // share (0 to 1) of the race.
    virtual void SetMiniTrainPosition(int32_t index, float progress) = 0;
    // The decorative gauges: the player train's speed (0 to 1 of its top
    // speed) and its boost (0 to 1), each with its wobble already added.
    virtual void SetGauges(float speed, float boost) = 0;
    // The player arrived first in a classic race: the flagpole's coin award
    // and the bonus text.
    virtual void AwardArrivalCoins() = 0;
    virtual void ShowBonusText() = 0;
    virtual void FeedFurnace(WordSprite& word) = 0;
    // Whether the next level of a classic game follows this one.
    virtual void SetContinue(bool next) = 0;
    virtual void OnLevelEnd() = 0;
    // The time of the player's last input, for the idle logic.
    virtual void NoteInput() = 0;
};

// What a level asks of the hints.
class LevelHints {
public:
    // The hint ids that game input may be waiting on.
    static constexpr int kWordBarHint = 7;
    static constexpr int kSubmitHint = 8;
    static constexpr int kShuffleHint = 9;
    static constexpr int kSkipHint = 10;
    static constexpr int kKeyboardHint = 15;
    static constexpr int kPurchaseHint = 41;

    virtual ~LevelHints() = default;

    virtual bool IsHintOpen() const = 0;
    // With a hint open: whether the open hint lets that input go on.
    virtual bool AllowInput(int hintId) = 0;
    // True when it has shown the coal hint, which holds the change back.
    virtual bool CheckCoalHint() = 0;
    // Notes a submission (by the button or by Enter); true when a hint took it.
    virtual bool NoteButtonSubmit(bool byButton) = 0;
    virtual void CheckRaceHints() = 0;
};

// What a level asks of the trophy dialog.
class TrophyAwards {
public:
    virtual ~TrophyAwards() = default;
    virtual void Show(int trophy) = 0;
};

struct LevelHooks {
    LevelScene* scene = nullptr;
    LevelHints* hints = nullptr;
    TrophyAwards* trophies = nullptr;
};
