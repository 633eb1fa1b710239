#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/foundation/RandomGenerator.h"
#include "engine/foundation/Ref.h"
#include "engine/scene/GameNode.h"
#include "game/progress/LevelStats.h"
#include "game/rules/LevelHooks.h"
#include "game/rules/ScoreRule.h"

class AutoTrain;
class KR2Player;
class PlayerTrain;
class Property;
class PropertyNode;
class TicketInfo;
class Train;
class WordBar;
class WordSprite;

// The controller of one level: turns the player's input into word-bar
// operations, judges and scores the words, deals the next letters, watches
// the race and ends the level. The seven game modes fill in where the words
// come from and how a word is judged. Saved as the level session.
class GameMode : public GameNode {
    ENGINE_CLASS(GameMode, GameNode)

public:
    enum Judgement { kNotJudged = 0, kNewWord = 1, kNotAWord = 2, kFoundBefore = 3 };
    enum State { kRacing = 2, kEnded = 3 };
    // Ticket game types by what plays them.
    enum GameType { kClassic6 = 0, kClassic7, kReplace, kAnagrams, kSlots, kKeep, kSecret, kJoker, kRandom };
    static constexpr int kCoalKinds = 8;
    static constexpr int kMostEndTrophies = 101;

    // Reads a saved session when the node is a node.
    explicit GameMode(Property* session = nullptr);
    ~GameMode() override;

    // The scene, hints and trophy dialog every mode answers to; missing ones
    // stand in with a scene of its own, no hints and no dialog.
    static void SetHooks(const LevelHooks& hooks);

    void Update(int32_t elapsedMs) override;
    // Writes the session; each mode names the node after its class first.
    virtual void Save(PropertyNode& node) const;
    virtual void SetUpWordBar(bool keepWordBar);
    virtual void StartLevel(bool resumed) = 0;
    virtual void DealWord(const std::string& word, bool first) = 0;
    virtual void GenerateCoals(WordSprite& word);
    virtual void JudgeWord() = 0;
    virtual void ScoreWord(WordSprite& word);
    // A new bar from a saved node, or an empty one when null.
    virtual Ref<WordBar> CreateWordBar(Property* node) const;

    // The trains the game scene placed in the landscape.
    void SetTrains(PlayerTrain* player, AutoTrain* opponent);
    void ReleaseNodes(bool wordBarOnly);

    void OnCharTyped(char c);
    void OnWordBarChanged();
    // Enter or the submit button.
    void OnSubmitPressed(bool byButton = false);
    void Skip();
    void ClearWordBar();
    void Shuffle();
    void SubmitWord();
    void JudgeWithJokers(const std::string& pattern);

    void UpdateTrains(int32_t elapsedMs);
    void AnimateControls();
    void EndLevel();
    // Awards the first trophy earned and not held; false when there is none.
    bool CheckEndTrophies(bool won);
    void RevealLetters();
    void ResetNextBonus();
    // low + a draw of the mode's generator modulo (high - low); low when
    // high does not exceed low.
    int32_t RandomInt(int32_t low, int32_t high);

    // The high-score table and constant group of a game type.
    static std::string GetGameModeName(int gameType);
    // Whether the train has reached the end of its track.
    static bool HasArrived(const Train& train);
    static float Progress(const Train& train);

    int32_t GetState() const { return state_; }
    void SetState(int32_t state) { state_ = state; }
    bool IsPaused() const { return paused_; }
    void SetPaused(bool paused) { paused_ = paused; }
    int32_t GetJudgement() const { return judgement_; }
    // A taken-back letter leaves no judged word behind.
    void ClearJudgement() { judgement_ = kNotJudged; }
    WordSprite* JudgedWord() const { return judgedWord_.Get(); }
    bool IsNewJokerWord() const { return newJokerWord_; }
    bool IsSingleWord() const { return singleWord_; }
    WordBar* GetWordBar() const { return wordBar_.Get(); }
    const LevelStats& Stats() const { return stats_; }
    LevelStats& Stats() { return stats_; }
    const ScoreRule& GetScoreRule() const { return scoreRule_; }
    int32_t NumBonusWords() const { return numBonusWords_; }
    int32_t NextBonus() const { return nextBonus_; }
    void SetNextBonus(int32_t letters) { nextBonus_ = letters; }
    bool AddsTurbo() const { return addTurbo_; }
    void SetAddTurbo(bool add) { addTurbo_ = add; }
    bool IsJokerUsed() const { return jokerUsed_; }
    bool IsCoalKindAllowed(int kind) const { return coalKindAllowed_[static_cast<size_t>(kind)]; }
    int32_t LastWordBar() const { return lastWordBar_; }
    int32_t LastSubmit() const { return lastSubmit_; }
    int32_t WrongLetterTime() const { return wrongLetterTime_; }
    void SetWrongLetterTime(int32_t ms) { wrongLetterTime_ = ms; }
    bool AreLettersVisible() const { return lettersVisible_; }
    void SetLettersVisible(bool visible) { lettersVisible_ = visible; }
    PlayerTrain* GetPlayerTrain() const { return playerTrain_.Get(); }
    AutoTrain* GetOpponentTrain() const { return opponentTrain_.Get(); }
    RandomGenerator& Random() { return *random_; }
    // Replaces the clock-seeded generator, for a level that must replay.
    void SeedRandom(uint32_t seed);

protected:
    static LevelScene& Scene();
    static LevelHints& Hints();
    static TrophyAwards& Trophies();
    KR2Player& Player() const;
    // The player's current ticket; a default one when there is none.
    const TicketInfo& Ticket() const;
    TicketInfo& MutableTicket() const;
    int GameTypeOf() const;
    bool IsAdventure() const;
    bool IsOpponentVisible() const;
    bool HasPlayerArrived() const;
    // A draw of the run's generator (the mode's own when the run has none).
    uint32_t NextGlobal();

    // Deals the text: a sprite of its folded letters (left out where they
    // are left out in `leftOutFrom`) gets its special coal and goes to the
    // bar's supply.
    void DealText(const std::string& text, bool isNew, int ignored = 1, const WordSprite* leftOutFrom = nullptr);
    // The queue word at the queue's current index; null outside the queue.
    WordSprite* CurrentQueueWord() const;
    // The word rack's letters: a joker gives the letter typed onto it, or
    // "?" (any letter) when it was placed without one.
    std::string RackWord() const;
    // The dictionary, or an empty one while none is loaded.
    static const WordList& Words();
    bool WordRackHoldsJoker() const;
    // Sets judgement and judged word from the word found in the queue.
    void JudgeFromQueue(WordSprite* word);
    void SetJudged(WordSprite* word, int32_t judgement);
    void DisallowCoalKind(int kind) { coalKindAllowed_[static_cast<size_t>(kind)] = false; }
    void SetSingleWord(bool single) { singleWord_ = single; }
    void SaveAs(PropertyNode& node, const char* className) const;
    // Whether a kept word is still whole at the end (only keep games keep one).
    virtual bool HoldsKeptWord() const { return false; }

    bool HoldsTrophy(int trophy) const;
    // The supply rack's letters in slot order.
    std::string SupplyText() const;
    // Judgements shared by the modes: the word rack looked up in the queue
    // (jokers through the joker judgement), and the rack against the current
    // queue word, which takes the player's spelling when it is accepted.
    void JudgeRackInQueue();
    void JudgeAgainstCurrentWord(bool leftOutMatchesAny);
    // Adds the ticket's words to the queue; highlights and deals the current one.
    void FillQueueFromTicket();
    void HighlightAndDealCurrentWord();
    // Deals the current queue word when it is still to be found.
    void DealCurrentQueueWord(bool keepLeftOut);
    // Deals the word, or for none the letters of the ticket's set that the
    // supply lacks.
    void DealLetterSetOr(const std::string& word);
    std::string LettersMissingFromSupply(const std::string& letterSet) const;

private:
    static Ref<WordBar> CreateWordBarFromNode(Property* node);
    bool MayProceed(int hintId);
    void PlayTakeoverSound();
    void BookLostClassic();
    // The slot that gets a turbo coal; -1 for none.
    int ChooseTurboSlot(const WordSprite& word);
    // The kind of a random special coal, 0 for none.
    int DrawCoalKind();
    int DrawNormalSlot(const WordSprite& word);
    bool SupplyHoldsKind(int kind) const;
    void AwardInGameTrophy();

    Ref<WordSprite> judgedWord_;
    bool newJokerWord_ = false;
    bool singleWord_ = false;
    int32_t judgement_ = kNotJudged;
    Ref<WordBar> wordBar_;
    Ref<PlayerTrain> playerTrain_;
    Ref<AutoTrain> opponentTrain_;
    int32_t state_ = 0;
    bool paused_ = false;
    Ref<RandomGenerator> random_;
    ScoreRule scoreRule_;
    int32_t numBonusWords_ = 0;
    int32_t nextBonus_ = 0;
    bool addTurbo_ = false;
    std::array<bool, kCoalKinds> coalKindAllowed_{false, false, true, true, true, true, true, true};
    int32_t lastWordBar_ = 0;
    int32_t lastSubmit_ = 0;
    LevelStats stats_;
    bool jokerUsed_ = true;
    bool lettersVisible_ = false;
    int32_t wrongLetterTime_ = 0;
    int32_t sinceTakeoverSound_ = 0;
    bool playerAhead_ = false;
    int32_t hintFrames_ = 0;
};
