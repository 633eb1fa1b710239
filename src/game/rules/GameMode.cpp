#include "game/rules/GameMode.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/ScoreTable.h"
#include "game/constants/GameConstants.h"
#include "game/progress/KR2Player.h"
#include "game/progress/KR2Score.h"
#include "game/words/LetterData.h"
#include "game/words/LetterSlot.h"
#include "game/words/TicketConstants.h"
#include "game/words/TicketInfo.h"
#include "game/words/WordBar.h"
#include "game/words/WordList.h"
#include "game/words/WordQueue.h"
#include "game/words/WordSprite.h"
#include "game/world/AutoTrain.h"
#include "game/world/PlayerTrain.h"
#include "game/world/RaceMath.h"
#include "platform/Time.h"

namespace {

constexpr int kHintFramesBetweenChecks = 20;
constexpr int kMostSlotDraws = 1000;

// The trophies a level awards.
enum Trophy {
    kTrophyClassic6 = 10,
    kTrophyClassic7 = 11,
    kTrophyReplace = 12,
    kTrophyAnagrams = 13,
    kTrophySlots = 14,
    kTrophyJoker = 15,
    kTrophyKeep = 16,
    kTrophySecret = 17,
    kTrophyWordsFound = 18,
    kTrophyRich = 19,
    kTrophyManyWords = 20,
    kTrophyTopRank = 21,
    kTrophyAllTables = 22,
};
constexpr int kTopRank = 14;

// Stand-ins while the game scene has installed nothing: the level plays
// against its own player and queue, no hint is ever open, no trophy shows.
class StandInScene : public LevelScene {
public:
    StandInScene() : player_(new KR2Player("")), queue_(new WordQueue) {}
    KR2Player& Player() override { return *player_; }
    WordQueue& Queue() override { return *queue_; }
    const WordList* Words() const override { return nullptr; }
    LevelStats& SceneStats() override { return stats_; }
    ScoreTable* HighScoreTable(const std::string&) override { return nullptr; }
    void PlaySound(const std::string&) override {}
    void SetScoreTarget(int32_t) override {}
    void SetMiniTrainPosition(int32_t, float) override {}
    void SetGauges(float, float) override {}
    void AwardArrivalCoins() override {}
    void ShowBonusText() override {}
    void FeedFurnace(WordSprite&) override {}
    void SetContinue(bool) override {}
    void OnLevelEnd() override {}
    void NoteInput() override {}

private:
    Ref<KR2Player> player_;
    Ref<WordQueue> queue_;
    LevelStats stats_;
};

class NoHints : public LevelHints {
public:
    bool IsHintOpen() const override { return false; }
    bool AllowInput(int) override { return true; }
    bool CheckCoalHint() override { return false; }
    bool NoteButtonSubmit(bool) override { return false; }
    void CheckRaceHints() override {}
};

class NoTrophyDialog : public TrophyAwards {
public:
    void Show(int) override {}
};

LevelHooks installedHooks;

LevelScene& StandIn() {
    static StandInScene scene;
    return scene;
}

const TicketInfo& DefaultTicket() {
    static const Ref<TicketInfo> ticket = new TicketInfo;
    return *ticket;
}

bool IsOneOf(int value, std::initializer_list<int> values) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

// In float, as the trains place themselves, so no data can overflow it.
float TrackLength(const Train& train) {
    return static_cast<float>(train.GetUnitsToTravel()) * static_cast<float>(MINIMAP_PIXELS_PER_UNIT);
}

// The found words of the queue with that many letters.
int CountFoundWords(const WordQueue& queue, size_t letters) {
    int count = 0;
    for (const Ref<WordSprite>& word : queue.Words()) {
        if (word->Status() == WordSprite::kFound && word->PlainText().size() == letters) {
            ++count;
        }
    }
    return count;
}

}  // namespace

GameMode::GameMode(Property* session) : random_(new RandomGenerator(platform::TickCountMs(), 0)) {
    if (session != nullptr && session->IsKindOf(&PropertyNode::classInfo)) {
        stats_.Read(Property::Child(session, "stats"));
        scoreRule_.Read(Property::Child(session, "score"));
        if (Property* bar = Property::Child(session, "wordbar")) {
            wordBar_ = CreateWordBarFromNode(bar);
            if (wordBar_) {
                AddChild(wordBar_.Get());
            }
        }
        numBonusWords_ = Property::AsInt(Property::Child(session, "NumBonusWords"));
        nextBonus_ = Property::AsInt(Property::Child(session, "NextBonus"));
        addTurbo_ = Property::AsBool(Property::Child(session, "AddTurbo"));
        jokerUsed_ = Property::AsBool(Property::Child(session, "JokerUsed"));
        lastWordBar_ = Property::AsInt(Property::Child(session, "LastWordBar"));
        lastSubmit_ = Property::AsInt(Property::Child(session, "LastSubmit"));
    }
}

GameMode::~GameMode() = default;

void GameMode::SetHooks(const LevelHooks& hooks) { installedHooks = hooks; }

LevelScene& GameMode::Scene() { return installedHooks.scene != nullptr ? *installedHooks.scene : StandIn(); }

LevelHints& GameMode::Hints() {
    static NoHints none;
    return installedHooks.hints != nullptr ? *installedHooks.hints : none;
}

TrophyAwards& GameMode::Trophies() {
    static NoTrophyDialog none;
    return installedHooks.trophies != nullptr ? *installedHooks.trophies : none;
}

KR2Player& GameMode::Player() const { return Scene().Player(); }

const TicketInfo& GameMode::Ticket() const {
    const TicketInfo* ticket = Player().currentTicket.Get();
    return ticket != nullptr ? *ticket : DefaultTicket();
}

TicketInfo& GameMode::MutableTicket() const { return const_cast<TicketInfo&>(Ticket()); }

int GameMode::GameTypeOf() const { return Ticket().GameType; }

bool GameMode::IsAdventure() const { return Ticket().GameMode == TicketInfo::kMapTicket; }

bool GameMode::IsOpponentVisible() const { return opponentTrain_ && opponentTrain_->IsVisible(); }

bool GameMode::HasPlayerArrived() const { return playerTrain_ && HasArrived(*playerTrain_); }

bool GameMode::HasArrived(const Train& train) {
    return train.GetRealX() >= TrackLength(train);
}

float GameMode::Progress(const Train& train) {
    return race_math::Ratio(train.GetRealX(), TrackLength(train));
}

void GameMode::SeedRandom(uint32_t seed) { random_ = new RandomGenerator(seed, 0); }

int32_t GameMode::RandomInt(int32_t low, int32_t high) {
    if (high <= low) {
        return low;
    }
    const int64_t range = static_cast<int64_t>(high) - low;
    return static_cast<int32_t>(low + static_cast<int64_t>(random_->Next() % static_cast<uint64_t>(range)));
}

uint32_t GameMode::NextGlobal() {
    RandomGenerator* global = RandomGenerator::Global();
    return global != nullptr ? global->Next() : random_->Next();
}

std::string GameMode::GetGameModeName(int gameType) {
    return Property::AsString(Property::At(ticket_constants::List("GAME_MODES"), gameType));
}

void GameMode::SetTrains(PlayerTrain* player, AutoTrain* opponent) {
    playerTrain_ = player;
    opponentTrain_ = opponent;
}

void GameMode::ReleaseNodes(bool wordBarOnly) {
    if (wordBar_) {
        wordBar_->RemoveFromParent();
        wordBar_ = nullptr;
    }
    if (wordBarOnly) {
        return;
    }
    for (Train* train : {static_cast<Train*>(playerTrain_.Get()), static_cast<Train*>(opponentTrain_.Get())}) {
        if (train != nullptr) {
            train->RemoveFromParent();
        }
    }
    playerTrain_ = nullptr;
    opponentTrain_ = nullptr;
}

// --- Saving -----------------------------------------------------------------

void GameMode::Save(PropertyNode& node) const {
    Ref<PropertyNode> stats = new PropertyNode("stats", "Stats");
    stats_.Write(stats.Get());
    node.Add(stats.Get());
    Ref<PropertyNode> score = new PropertyNode("score", "Score");
    scoreRule_.Write(*score);
    node.Add(score.Get());
    Ref<PropertyNode> bar = new PropertyNode("wordbar", "");
    if (wordBar_) {
        wordBar_->Save(*bar);
    }
    node.Add(bar.Get());
    node.Add(PropertyValue::FromBool("AddTurbo", addTurbo_, false));
    node.Add(PropertyValue::FromBool("JokerUsed", jokerUsed_, false));
    node.Add(PropertyValue::FromInteger("NextBonus", nextBonus_, false));
    node.Add(PropertyValue::FromInteger("NumBonusWords", numBonusWords_, false));
    node.Add(PropertyValue::FromString("LastSubmit", std::to_string(lastSubmit_), false));
    node.Add(PropertyValue::FromString("LastWordBar", std::to_string(lastWordBar_), false));
}

void GameMode::SaveAs(PropertyNode& node, const char* className) const {
    node.SetTypeName(className);
    GameMode::Save(node);
}

// --- The word bar -----------------------------------------------------------

Ref<WordBar> GameMode::CreateWordBarFromNode(Property* node) {
    Ref<Object> made = ClassFactory::Instance().Create(node);
    return Ref<WordBar>(ObjectCast<WordBar>(made.Get()));
}

Ref<WordBar> GameMode::CreateWordBar(Property* node) const {
    if (node != nullptr) {
        return CreateWordBarFromNode(node);
    }
    Ref<PropertyNode> empty = new PropertyNode("wordbar", "WordBarClassic");
    return CreateWordBarFromNode(empty.Get());
}

void GameMode::SetUpWordBar(bool keepWordBar) {
    if (!keepWordBar) {
        if (wordBar_) {
            wordBar_->RemoveFromParent();
            wordBar_ = nullptr;
        }
    } else {
        ResetNextBonus();
    }
    if (!wordBar_) {
        wordBar_ = CreateWordBar(nullptr);
        if (wordBar_) {
            AddChild(wordBar_.Get());
        }
    }
    numBonusWords_ = 0;
}

const WordList& GameMode::Words() {
    static const Ref<WordList> empty = new WordList;
    const WordList* words = Scene().Words();
    return words != nullptr ? *words : *empty;
}

std::string GameMode::SupplyText() const {
    std::string text;
    if (wordBar_) {
        wordBar_->Rack(WordBar::kSupplyRack).GetWord(text, false);
    }
    return text;
}

std::string GameMode::RackWord() const {
    std::string word;
    if (wordBar_) {
        wordBar_->Rack(WordBar::kWordRack).GetWord(word, true);
    }
    return word;
}

bool GameMode::WordRackHoldsJoker() const {
    if (!wordBar_) {
        return false;
    }
    const LetterRack& rack = wordBar_->Rack(WordBar::kWordRack);
    for (int slot = 0; slot < LetterRack::kSlotCount; ++slot) {
        const LetterSprite* coal = rack.GetLetter(slot);
        if (coal != nullptr && coal->Letter().GetType() == LetterData::kJoker) {
            return true;
        }
    }
    return false;
}

bool GameMode::SupplyHoldsKind(int kind) const {
    if (!wordBar_) {
        return false;
    }
    const LetterRack& rack = wordBar_->Rack(WordBar::kSupplyRack);
    for (int slot = 0; slot < LetterRack::kSlotCount; ++slot) {
        const LetterSprite* coal = rack.GetLetter(slot);
        if (coal != nullptr && coal->Letter().GetType() == kind) {
            return true;
        }
    }
    return false;
}

void GameMode::DealText(const std::string& text, bool isNew, int ignored, const WordSprite* leftOutFrom) {
    Ref<WordSprite> word = new WordSprite;
    word->SetWord(text, false);
    if (leftOutFrom != nullptr) {
        const size_t shared = std::min(word->Slots().size(), leftOutFrom->Slots().size());
        for (size_t i = 0; i < shared; ++i) {
            word->Slots()[i]->Letter().SetLeftOut(leftOutFrom->Slots()[i]->Letter().IsLeftOut());
        }
    }
    word->FoldShownText();
    GenerateCoals(*word);
    if (wordBar_) {
        wordBar_->DealLetters(word.Get(), ignored, isNew);
    }
}

WordSprite* GameMode::CurrentQueueWord() const {
    const WordQueue& queue = Scene().Queue();
    const int32_t index = queue.CurrentIndex();
    if (index < 0 || index >= static_cast<int32_t>(queue.Words().size())) {
        return nullptr;
    }
    return queue.Words()[static_cast<size_t>(index)].Get();
}

void GameMode::FillQueueFromTicket() {
    std::vector<const WordNode*> words;
    for (const std::unique_ptr<WordNode>& word : Ticket().Words) {
        words.push_back(word.get());
    }
    Scene().Queue().AddWord(words, false);
}

void GameMode::HighlightAndDealCurrentWord() {
    if (WordSprite* current = CurrentQueueWord()) {
        current->Highlight();
    }
    DealWord("", true);
}

void GameMode::DealCurrentQueueWord(bool keepLeftOut) {
    WordSprite* current = CurrentQueueWord();
    if (current != nullptr && current->Status() != WordSprite::kFound) {
        DealText(current->ShownText(), false, 1, keepLeftOut ? current : nullptr);
    } else if (keepLeftOut && wordBar_) {
        wordBar_->RemoveAllLetters();
    }
}

void GameMode::DealLetterSetOr(const std::string& word) {
    DealText(word.empty() ? LettersMissingFromSupply(Ticket().LetterSet) : word, false);
}

std::string GameMode::LettersMissingFromSupply(const std::string& letterSet) const {
    // Free supply slots are filled in slot order, so dealing the whole set
    // again would put its first letters back, not the ones the word used.
    std::string supply = SupplyText();
    std::string missing;
    for (char letter : letterSet) {
        const uint8_t folded = WordList::FoldLetter(static_cast<uint8_t>(letter));
        const size_t at = supply.find(folded == LetterNode::kNoLetter ? letter : static_cast<char>(folded));
        if (at == std::string::npos) {
            missing += letter;
        } else {
            supply.erase(at, 1);
        }
    }
    return missing;
}

void GameMode::JudgeRackInQueue() {
    if (WordRackHoldsJoker()) {
        JudgeWithJokers(RackWord());
        return;
    }
    constexpr int32_t kAnyStatus = 7;
    JudgeFromQueue(Scene().Queue().FindWord(RackWord(), kAnyStatus));
}

void GameMode::JudgeAgainstCurrentWord(bool leftOutMatchesAny) {
    judgedWord_ = nullptr;
    newJokerWord_ = false;
    const std::string rackWord = RackWord();
    if (WordSprite* found = Scene().Queue().FindWord(rackWord, WordSprite::kFound)) {
        SetJudged(found, kFoundBefore);
        return;
    }
    WordSprite* current = CurrentQueueWord();
    const bool fits = current != nullptr && current->Status() != WordSprite::kFound &&
                      (leftOutMatchesAny ? current->Matches(rackWord, true)
                                         : WordList::CountLetters(rackWord) == current->SlotCount());
    if (fits && Words().Contains(rackWord) != nullptr) {
        current->SetShownText(rackWord);
        SetJudged(current, kNewWord);
        return;
    }
    SetJudged(nullptr, kNotAWord);
}

// --- Input ------------------------------------------------------------------

bool GameMode::MayProceed(int hintId) { return !Hints().IsHintOpen() || Hints().AllowInput(hintId); }

void GameMode::OnCharTyped(char c) {
    if (state_ == kRacing && !paused_) {
        const uint8_t folded = WordList::FoldLetter(static_cast<uint8_t>(c));
        if (folded >= 'a' && folded <= 'z') {
            Player().hints[LevelHints::kKeyboardHint] = false;
            judgement_ = kNotJudged;
            if (wordBar_) {
                wordBar_->TypeLetter(folded);
            }
            OnWordBarChanged();
        }
    }
    Scene().NoteInput();
}

void GameMode::OnWordBarChanged() {
    const bool proceed = Hints().IsHintOpen() ? Hints().AllowInput(LevelHints::kWordBarHint) : !Hints().CheckCoalHint();
    if (!proceed || !wordBar_) {
        return;
    }
    if (IsOneOf(wordBar_->LastAction(), {WordBar::kTypedFound, WordBar::kCanMove, WordBar::kTakenAway})) {
        lastWordBar_ = stats_.playtime;
        lastSubmit_ = stats_.playtime;
        Player().hints[LevelHints::kWordBarHint] = false;
    }
    wordBar_->PlayLetterSound();
    JudgeWord();
}

void GameMode::Skip() {
    if (!MayProceed(LevelHints::kSkipHint) || !singleWord_) {
        return;
    }
    Player().hints[LevelHints::kSkipHint] = false;
    judgement_ = kNotJudged;
    if (wordBar_) {
        wordBar_->RemoveAllLetters();
    }
    Scene().Queue().NextWord();
    DealWord("", false);
    ++stats_.numSkip;
}

void GameMode::ClearWordBar() {
    judgement_ = kNotJudged;
    if (wordBar_) {
        wordBar_->TakeBackLetters(false, false);
    }
}

void GameMode::Shuffle() {
    if (GameTypeOf() == kSlots || !MayProceed(LevelHints::kShuffleHint)) {
        return;
    }
    Scene().PlaySound("SOUND_SHUFFLE");
    Player().hints[LevelHints::kShuffleHint] = false;
    if (wordBar_) {
        wordBar_->ShuffleSupply();
    }
    lastWordBar_ = stats_.playtime;
    lastSubmit_ = stats_.playtime;
    ++stats_.numShuffle;
}

void GameMode::OnSubmitPressed(bool byButton) {
    if (judgement_ == kNotJudged) {
        JudgeWord();
    }
    const bool proceed =
        Hints().IsHintOpen() ? Hints().AllowInput(LevelHints::kSubmitHint) : !Hints().NoteButtonSubmit(byButton);
    lastSubmit_ = stats_.playtime;
    if (proceed) {
        SubmitWord();
    }
}

// --- Judging and submitting -------------------------------------------------

void GameMode::SetJudged(WordSprite* word, int32_t judgement) {
    judgedWord_ = word;
    judgement_ = judgement;
}

void GameMode::JudgeFromQueue(WordSprite* word) {
    newJokerWord_ = false;
    if (word == nullptr) {
        SetJudged(nullptr, kNotAWord);
    } else {
        SetJudged(word, word->Status() == WordSprite::kFound ? kFoundBefore : kNewWord);
    }
}

void GameMode::JudgeWithJokers(const std::string& pattern) {
    judgedWord_ = nullptr;
    newJokerWord_ = false;
    WordQueue& queue = Scene().Queue();
    constexpr int32_t kAnyStatus = 7;
    if (WordSprite* queued = queue.FindWord(pattern, kAnyStatus)) {
        JudgeFromQueue(queued);
        return;
    }
    WordSprite* found = nullptr;
    const WordNode* outside = nullptr;
    if (const WordList* list = Scene().Words()) {
        std::vector<const WordNode*> matches;
        list->MatchPattern(pattern, &matches);
        for (const WordNode* match : matches) {
            WordSprite* queued = queue.FindWord(match->Text(), kAnyStatus);
            if (queued != nullptr && queued->Status() != WordSprite::kFound) {
                JudgeFromQueue(queued);
                return;
            }
            if (queued != nullptr && found == nullptr) {
                found = queued;
            } else if (queued == nullptr && outside == nullptr) {
                outside = match;
            }
        }
    }
    if (outside != nullptr) {
        // The word joins the queue the player sees, so it is laid out and drawn.
        Ref<WordSprite> word = new WordSprite;
        word->SetWord(outside->Text(), true);
        word->SetCustom(true);
        newJokerWord_ = true;
        SetJudged(word.Get(), kNewWord);
        return;
    }
    JudgeFromQueue(found);
}

void GameMode::SubmitWord() {
    WordQueue& queue = Scene().Queue();
    Ref<WordSprite> judged = judgedWord_;
    switch (judgement_) {
        case kNotAWord:
            Scene().PlaySound("SOUND_SUBMIT_INVALID_WORD");
            if (wordBar_) {
                wordBar_->TakeBackLetters(false, true);
            }
            break;
        case kFoundBefore:
            Scene().PlaySound("SOUND_SUBMIT_ALREADY_FOUND");
            if (wordBar_) {
                wordBar_->TakeBackLetters(false, true);
            }
            if (judged) {
                judged->ShowFoundAgain();
                queue.ScrollToWord(judged.Get());
            }
            break;
        case kNewWord: {
            if (!judged) {
                break;
            }
            static const char* const kSubmitSounds[] = {"SOUND_SUBMIT3", "SOUND_SUBMIT4", "SOUND_SUBMIT5",
                                                        "SOUND_SUBMIT67", "SOUND_SUBMIT67"};
            const int letters = judged->SlotCount();
            if (letters >= WordList::kMinimumLength && letters <= WordList::kMaximumLength) {
                Scene().PlaySound(kSubmitSounds[letters - WordList::kMinimumLength]);
            }
            if (newJokerWord_) {
                queue.InsertWord(judged.Get());
            }
            judged->SetFound();
            if (wordBar_) {
                wordBar_->TransferLetterKinds(judged.Get());
            }
            ScoreWord(*judged);
            if (wordBar_) {
                wordBar_->PlaySubmitAnimation(judged.Get());
            }
            if (playerTrain_) {
                RaceWord race{judged->PlainText(), letters, judged->GetScoreMultiplier(), false};
                for (const Ref<LetterSlot>& slot : judged->Slots()) {
                    race.turboCoal = race.turboCoal || slot->Letter().GetType() == LetterData::kTurbo;
                }
                playerTrain_->AddWord(race);
            }
            queue.ScrollToWord(judged.Get());
            Scene().FeedFurnace(*judged);
            if (singleWord_) {
                queue.NextWord();
            }
            DealWord("", false);
            Player().hints[LevelHints::kSubmitHint] = false;
            break;
        }
        default:
            break;
    }
    judgedWord_ = nullptr;
    judgement_ = kNotJudged;
    newJokerWord_ = false;
}

// --- Scoring ----------------------------------------------------------------

void GameMode::ScoreWord(WordSprite& word) {
    KR2Player& player = Player();
    const int type = GameTypeOf();
    const int letters = word.SlotCount();
    player.hints[LevelHints::kSubmitHint] = false;
    nextBonus_ -= letters;
    if (!IsOneOf(type, {kReplace, kKeep, kSecret, kJoker})) {
        ++stats_.numWordsFound;
    }
    ++stats_.numWordsInserted;
    scoreRule_.Multiplier = 1;
    scoreRule_.WordLength = letters;
    stats_.coalsUsed += letters;
    if ((letters > 5 && type != kClassic7) || letters > 6) {
        addTurbo_ = true;
    }
    scoreRule_.Score =
        ticket_constants::IntAt(ticket_constants::List("SCORE_PER_WORD_LENGTH"), letters - WordList::kMinimumLength) *
        SCORE_PER_LETTER;
    scoreRule_.Multiplier = word.GetScoreMultiplier();
    scoreRule_.Bonus = 0;
    if (HasPlayerArrived()) {
        if (IsOneOf(type, {kReplace, kKeep, kJoker})) {
            scoreRule_.Bonus = SCORE_PER_BONUS_WORD;
        } else {
            ++numBonusWords_;
            scoreRule_.Bonus = numBonusWords_ * SCORE_PER_BONUS_WORD;
        }
    }
    stats_.score = SaturatingAdd(stats_.score, scoreRule_.Multiplier * scoreRule_.Score + scoreRule_.Bonus);

    for (const Ref<LetterSlot>& slot : word.Slots()) {
        switch (slot->Letter().GetType()) {
            case LetterData::kReveal:
                RevealLetters();
                break;
            case LetterData::kStop:
                Scene().PlaySound("SOUND_OPPONENT_STOPPED");
                if (opponentTrain_) {
                    opponentTrain_->SetOut(COAL_TIME_DURATION);
                }
                break;
            case LetterData::kCoin:
                player.coins = SaturatingAdd(player.coins, COAL_COIN_NUM_COINS);
                stats_.moneyEarned = SaturatingAdd(stats_.moneyEarned, COAL_COIN_NUM_COINS);
                break;
            default:
                break;
        }
    }
    AwardInGameTrophy();
    if (!HoldsTrophy(kTrophyJoker) && jokerUsed_) {
        jokerUsed_ = WordRackHoldsJoker();
    }
}

void GameMode::AwardInGameTrophy() {
    const KR2Player& player = Player();
    const WordQueue& queue = Scene().Queue();
    const int type = GameTypeOf();
    const struct {
        int trophy;
        bool holds;
    } rows[] = {
        {kTrophyClassic6, type == kClassic6 && CountFoundWords(queue, 6) > 1},
        {kTrophyClassic7, type == kClassic7 && CountFoundWords(queue, 7) > 1},
        {kTrophySecret, type == kSecret && stats_.numWordsInserted == 25},
        {kTrophyManyWords, static_cast<int64_t>(player.stats.numWordsInserted) + stats_.numWordsInserted > 1999},
        {kTrophyRich, static_cast<int64_t>(player.stats.moneyEarned) + stats_.moneyEarned > 999},
    };
    int chosen = -1;
    for (const auto& row : rows) {
        if (row.holds && !HoldsTrophy(row.trophy)) {
            chosen = row.trophy;
        }
    }
    if (chosen >= 0) {
        Trophies().Show(chosen);
    }
}

// --- Special coals ----------------------------------------------------------

void GameMode::ResetNextBonus() {
    const float rating = Ticket().Rating;
    const int32_t low = MIN_LETTERS_BETWEEN_BONUS_CP0 +
                        race_math::Truncate(static_cast<float>(MIN_LETTERS_BETWEEN_BONUS_CP1 -
                                                               MIN_LETTERS_BETWEEN_BONUS_CP0) * rating);
    const int32_t high = MAX_LETTERS_BETWEEN_BONUS_CP0 +
                         race_math::Truncate(static_cast<float>(MAX_LETTERS_BETWEEN_BONUS_CP1 -
                                                                MAX_LETTERS_BETWEEN_BONUS_CP0) * rating);
    nextBonus_ = RandomInt(low, high + 1);
}

int GameMode::ChooseTurboSlot(const WordSprite& word) {
    const int count = word.SlotCount();
    if (count == 0) {
        return -1;
    }
    if (IsOneOf(GameTypeOf(), {kReplace, kKeep, kSecret, kJoker})) {
        const int start = static_cast<int>(NextGlobal() % static_cast<uint32_t>(count));
        for (int step = 0; step < count; ++step) {
            const int slot = (start + step) % count;
            if (word.Slots()[static_cast<size_t>(slot)]->Letter().GetType() == LetterData::kNormal) {
                return slot;
            }
        }
        return -1;
    }
    // The letter that helps with the fewest words left to find.
    int best = -1;
    int bestCount = 0;
    const std::vector<Ref<WordSprite>>& queued = Scene().Queue().Words();
    for (int slot = 0; slot < count; ++slot) {
        const char letter = static_cast<char>(word.Slots()[static_cast<size_t>(slot)]->Letter().Char());
        int uses = 0;
        for (const Ref<WordSprite>& other : queued) {
            if (other->Status() != WordSprite::kFound && other->PlainText().find(letter) != std::string::npos) {
                ++uses;
            }
        }
        if (uses > 0 && (best < 0 || uses < bestCount)) {
            best = slot;
            bestCount = uses;
        }
    }
    return best;
}

int GameMode::DrawCoalKind() {
    const int missions = Player().GetTotalPlayCount();
    const Property* firstMissions = ticket_constants::List("MISSIONS_BEFORE_BONUS_COALS");
    const Property* weights = ticket_constants::List("COAL_TYPE_WEIGHT");
    std::array<int64_t, kCoalKinds> cumulated{};
    int64_t sum = 0;
    for (int kind = 0; kind < kCoalKinds; ++kind) {
        bool takesPart = coalKindAllowed_[static_cast<size_t>(kind)] &&
                         ticket_constants::IntAt(firstMissions, kind) <= missions;
        if (kind == LetterData::kStop) {
            takesPart = takesPart && !HasPlayerArrived() && IsOpponentVisible();
        } else if (kind == LetterData::kCoin) {
            takesPart = takesPart && IsAdventure();
        } else if (kind == LetterData::kReveal) {
            takesPart = takesPart && !SupplyHoldsKind(LetterData::kReveal);
        }
        if (takesPart) {
            // Weights read from data never make the sum negative.
            const float weight = std::max(ticket_constants::FloatAt(weights, kind), 0.0f);
            sum += race_math::Truncate(weight * 1000.0f);
        }
        cumulated[static_cast<size_t>(kind)] = sum;
    }
    if (sum < 1) {
        return LetterData::kNormal;
    }
    const int32_t value = RandomInt(0, static_cast<int32_t>(std::min<int64_t>(sum, INT32_MAX)));
    for (int kind = 0; kind < kCoalKinds; ++kind) {
        if (cumulated[static_cast<size_t>(kind)] > value) {
            return kind;
        }
    }
    return LetterData::kNormal;
}

int GameMode::DrawNormalSlot(const WordSprite& word) {
    const int count = word.SlotCount();
    for (int draw = 0; draw < kMostSlotDraws && count > 0; ++draw) {
        const int slot = static_cast<int>(NextGlobal() % static_cast<uint32_t>(count));
        if (word.Slots()[static_cast<size_t>(slot)]->Letter().GetType() == LetterData::kNormal) {
            return slot;
        }
    }
    return -1;
}

void GameMode::GenerateCoals(WordSprite& word) {
    const int missions = Player().GetTotalPlayCount();
    if (IsAdventure() &&
        missions < ticket_constants::IntAt(ticket_constants::List("MISSIONS_BEFORE_BONUS_COALS"), LetterData::kTurbo)) {
        addTurbo_ = false;
    }
    int kind = LetterData::kNormal;
    int slot = -1;
    if (addTurbo_) {
        addTurbo_ = false;
        kind = LetterData::kTurbo;
        slot = ChooseTurboSlot(word);
    } else if (nextBonus_ <= 0) {
        kind = DrawCoalKind();
        if (kind != LetterData::kNormal) {
            slot = DrawNormalSlot(word);
        }
    }
    if (slot < 0) {
        return;
    }
    Scene().PlaySound(kind == LetterData::kTurbo ? "SOUND_TURBO_APPEARS" : "SOUND_BONUS_APPEARS");
    word.Slots()[static_cast<size_t>(slot)]->Letter().SetType(kind);
    ResetNextBonus();
}

void GameMode::RevealLetters() {
    const float rating = Ticket().Rating;
    const int32_t n =
        COAL_REVEAL_LETTERS_CP0 +
        race_math::Truncate(static_cast<float>(COAL_REVEAL_LETTERS_CP1 - COAL_REVEAL_LETTERS_CP0) * (1.0f - rating));
    const std::vector<Ref<WordSprite>>& words = Scene().Queue().Words();
    const int count = static_cast<int>(words.size());
    if (count == 0 || n < 0) {
        return;
    }
    for (int round = 0; round <= n; ++round) {
        const int start = static_cast<int>(random_->Next() % static_cast<uint32_t>(count));
        WordSprite* word = nullptr;
        for (int step = 0; step < count && word == nullptr; ++step) {
            WordSprite* candidate = words[static_cast<size_t>((start + step) % count)].Get();
            if (candidate->CanRevealLetter()) {
                word = candidate;
            }
        }
        if (word == nullptr) {
            return;
        }
        const int slots = word->SlotCount();
        const int first = static_cast<int>(random_->Next() % static_cast<uint32_t>(slots));
        for (int step = 0; step < slots; ++step) {
            const int slot = (first + step) % slots;
            if (word->Slots()[static_cast<size_t>(slot)]->Letter().IsHidden()) {
                word->RevealLetter(slot, 30 * round, 400 * round);
                break;
            }
        }
    }
}

// --- The race ---------------------------------------------------------------

void GameMode::Update(int32_t elapsedMs) {
    if (state_ == kRacing && !paused_) {
        if (opponentTrain_ && HasArrived(*opponentTrain_)) {
            opponentTrain_->SetFinish(stats_.playtime);
            EndLevel();
        } else {
            if (HasPlayerArrived()) {
                if (IsAdventure() || !IsOpponentVisible()) {
                    playerTrain_->SetFinish(stats_.playtime);
                    EndLevel();
                } else if (!playerTrain_->GetBonus()) {
                    Scene().AwardArrivalCoins();
                    Scene().ShowBonusText();
                    playerTrain_->SetBonus(true);
                    playerTrain_->SetFinish(stats_.playtime);
                }
            }
            UpdateTrains(elapsedMs);
        }
    }
    if (wrongLetterTime_ > 0) {
        wrongLetterTime_ -= elapsedMs;
    }
}

void GameMode::UpdateTrains(int32_t elapsedMs) {
    LevelScene& scene = Scene();
    scene.SetScoreTarget(stats_.score);
    const float playerProgress = playerTrain_ ? Progress(*playerTrain_) : 0.0f;
    const float opponentProgress = opponentTrain_ ? Progress(*opponentTrain_) : 0.0f;
    scene.SetMiniTrainPosition(0, playerProgress);
    scene.SetMiniTrainPosition(1, opponentProgress);

    sinceTakeoverSound_ += elapsedMs;
    const bool ahead = opponentProgress < playerProgress;
    if (ahead != playerAhead_ && sinceTakeoverSound_ > TRAIN_TAKEOVER_SOUND_DELAY && playerProgress > 0.0f) {
        scene.PlaySound(ahead ? "SOUND_TRAIN_TAKEOVER" : "SOUND_OPPONENT_TAKEOVER");
        playerAhead_ = ahead;
        sinceTakeoverSound_ = 0;
    }
    AnimateControls();
    if (!Hints().IsHintOpen()) {
        if (hintFrames_++ > kHintFramesBetweenChecks) {
            hintFrames_ = 0;
            if (state_ == kRacing && !paused_) {
                Hints().CheckRaceHints();
            }
        }
    }
    stats_.playtime += elapsedMs;
}

void GameMode::AnimateControls() {
    if (!playerTrain_) {
        return;
    }
    // A gentle wobble keeps the gauges alive while the train holds its speed.
    const float seconds = static_cast<float>(stats_.playtime) / 1000.0f;
    const float speed = race_math::Ratio(playerTrain_->GetSpeed(), playerTrain_->GetMaximumSpeed());
    const float boost = static_cast<float>(playerTrain_->GetBoostPercentage()) / 100.0f;
    Scene().SetGauges(std::clamp(speed + 0.02f * std::sin(seconds * 7.0f), 0.0f, 1.0f),
                      std::clamp(boost + 0.01f * std::sin(seconds * 3.0f), 0.0f, 1.0f));
}

bool GameMode::HoldsTrophy(int trophy) const {
    return trophy >= 0 && trophy < KR2Player::kTrophyCount &&
           Player().trophies[static_cast<size_t>(trophy)] != KR2Player::kTrophyNotWon;
}

void GameMode::EndLevel() {
    state_ = kEnded;
    KR2Player& player = Player();
    TicketInfo& ticket = MutableTicket();
    LevelScene& scene = Scene();
    const bool opponentVisible = IsOpponentVisible();
    const bool won = HasPlayerArrived() &&
                     (!opponentVisible || playerTrain_->GetFinish() < opponentTrain_->GetFinish());
    int32_t performance = 2;
    if (opponentVisible) {
        if (!won) {
            performance = -1;
        } else {
            const float f = race_math::Ratio(static_cast<float>(opponentTrain_->GetProgress()),
                                             static_cast<float>(DEFAULT_GAME_TIME));
            performance = f < ticket.Performance[1] ? 2 : f < ticket.Performance[0] ? 1 : 0;
        }
    }
    const int32_t ratingBonus = std::min(race_math::Truncate(ticket.Rating * 6.0f), 5);
    const int32_t coins =
        performance < 0 ? 0 : ticket_constants::IntAt(ticket_constants::List("COINS_PER_PERFORMANCE"), performance);
    stats_.moneyEarned = SaturatingAdd(stats_.moneyEarned, SaturatingAdd(coins, ratingBonus * COINS_PER_PASSENGER));

    player.RecordLevelResult(performance, won, stats_);
    scene.SceneStats().Add(stats_);
    stats_.numHelp = 0;

    if (IsAdventure()) {
        scene.SetContinue(false);
        if (++player.stats.gamesCounter == MAX_GAMES_BEFORE_HINT) {
            player.hints[LevelHints::kPurchaseHint] = true;
        }
    } else if (won) {
        scene.SetContinue(true);
        ++ticket.CurLevel;
    } else {
        scene.SetContinue(false);
        BookLostClassic();
    }
    scene.OnLevelEnd();
    for (int i = 0; i < kMostEndTrophies && CheckEndTrophies(won); ++i) {
    }
}

void GameMode::BookLostClassic() {
    KR2Player& player = Player();
    const TicketInfo& ticket = Ticket();
    const int table = ticket.GameMode == TicketInfo::kClassicRandom ? kRandom : ticket.GameType;
    if (ScoreTable* scores = Scene().HighScoreTable(GetGameModeName(table))) {
        // The level the game ended in, as the screen numbered it.
        Ref<KR2Score> entry = new KR2Score(player.GetName(), stats_.score, ticket.CurLevel + 1);
        scores->Insert(entry.Get());
    }
    player.stats.Add(Scene().SceneStats());
}

bool GameMode::CheckEndTrophies(bool won) {
    if (!won) {
        return false;
    }
    KR2Player& player = Player();
    const WordQueue& queue = Scene().Queue();
    const int type = GameTypeOf();
    const auto noQueuedWordOf = [&queue](size_t letters) {
        return std::none_of(queue.Words().begin(), queue.Words().end(),
                            [letters](const Ref<WordSprite>& w) { return w->PlainText().size() == letters; });
    };
    const auto shortWordsAllMissed = [&queue] {
        return std::all_of(queue.Words().begin(), queue.Words().end(), [](const Ref<WordSprite>& w) {
            const size_t letters = w->PlainText().size();
            return (letters != 3 && letters != 4) || w->Status() == WordSprite::kMissed;
        });
    };
    const auto inAllTables = [&player] {
        for (int table = 0; table < TicketInfo::kGameTypeCount; ++table) {
            const ScoreTable* scores = Scene().HighScoreTable(GetGameModeName(table));
            if (scores == nullptr ||
                std::none_of(scores->GetEntries().begin(), scores->GetEntries().end(),
                             [&player](const Ref<HighScoreEntry>& e) { return e->GetPlayerName() == player.GetName(); })) {
                return false;
            }
        }
        return true;
    };
    const auto award = [this, &player](int trophy) {
        if (HoldsTrophy(trophy)) {
            return false;
        }
        player.trophies[static_cast<size_t>(trophy)] = KR2Player::kTrophyPending;
        return true;
    };
    if ((type == kReplace && noQueuedWordOf(3) && award(kTrophyReplace)) ||
        (type == kAnagrams && stats_.numSkip < 1 && award(kTrophyAnagrams)) ||
        (type == kSlots && shortWordsAllMissed() && award(kTrophySlots)) ||
        (type == kJoker && jokerUsed_ && award(kTrophyJoker)) ||
        (type == kKeep && HoldsKeptWord() && award(kTrophyKeep)) ||
        (stats_.numWordsInQueue != 0 && stats_.numWordsFound * 100 / stats_.numWordsInQueue >= 75 &&
         award(kTrophyWordsFound))) {
        return true;
    }
    if (!HoldsTrophy(kTrophyAllTables) && !IsAdventure()) {
        if (inAllTables()) {
            return award(kTrophyAllTables);
        }
    }
    return (player.ranking == kTopRank && IsAdventure() && award(kTrophyTopRank)) ||
           (player.coins >= 1000 && award(kTrophyRich));
}
