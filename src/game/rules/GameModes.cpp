#include "game/rules/GameModes.h"

#include <algorithm>
#include <vector>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "game/progress/KR2Player.h"
#include "game/words/LetterData.h"
#include "game/words/LetterSetBuilder.h"
#include "game/words/TicketInfo.h"
#include "game/words/WordBar.h"
#include "game/words/WordList.h"
#include "game/words/WordQueue.h"
#include "game/words/WordSprite.h"

namespace {

const ClassRegistration anagrams("AnagramsGame", CreateFromProperty<AnagramsGame>);
const ClassRegistration classic("ClassicGame", CreateFromProperty<ClassicGame>);
const ClassRegistration joker("JokerGame", CreateFromProperty<JokerGame>);
const ClassRegistration keep("KeepGame", CreateFromProperty<KeepGame>);
const ClassRegistration replace("ReplaceGame", CreateFromProperty<ReplaceGame>);
const ClassRegistration secret("SecretGame", CreateFromProperty<SecretGame>);
const ClassRegistration slots("SlotsGame", CreateFromProperty<SlotsGame>);

constexpr int kTrophyKeep = 16;
// The kept word of a keep game; older saves lack it.
const char* const kKeptWordKey = "KeptWord";

}  // namespace

// --- Anagrams ---------------------------------------------------------------

AnagramsGame::AnagramsGame(Property* session) : GameMode(session) {
    SetSingleWord(true);
    DisallowCoalKind(LetterData::kReveal);
    DisallowCoalKind(LetterData::kJoker);
}

void AnagramsGame::Save(PropertyNode& node) const { SaveAs(node, "AnagramsGame"); }

void AnagramsGame::StartLevel(bool resumed) {
    if (resumed) {
        return;
    }
    FillQueueFromTicket();
    HighlightAndDealCurrentWord();
}

void AnagramsGame::DealWord(const std::string&, bool) { DealCurrentQueueWord(false); }

void AnagramsGame::JudgeWord() { JudgeAgainstCurrentWord(false); }

// --- Classic ----------------------------------------------------------------

ClassicGame::ClassicGame(Property* session) : GameMode(session) {}

void ClassicGame::Save(PropertyNode& node) const { SaveAs(node, "ClassicGame"); }

void ClassicGame::StartLevel(bool resumed) {
    if (!resumed) {
        std::vector<const WordNode*> words;
        Words().FindFromLetters(Ticket().LetterSet, words, false, 0);
        std::sort(words.begin(), words.end(), [](const WordNode* a, const WordNode* b) {
            const size_t la = a->Text().size();
            const size_t lb = b->Text().size();
            return la != lb ? la < lb : a->Text() < b->Text();
        });
        Scene().Queue().AddWord(words, false);
    }
    DealWord("", true);
}

void ClassicGame::DealWord(const std::string& word, bool) { DealLetterSetOr(word); }

void ClassicGame::JudgeWord() { JudgeRackInQueue(); }

// --- Joker ------------------------------------------------------------------

JokerGame::JokerGame(Property* session) : GameMode(session) {
    DisallowCoalKind(LetterData::kReveal);
    DisallowCoalKind(LetterData::kJoker);
}

void JokerGame::Save(PropertyNode& node) const { SaveAs(node, "JokerGame"); }

void JokerGame::StartLevel(bool resumed) {
    if (!resumed) {
        DealWord("", true);
    }
}

void JokerGame::DealWord(const std::string& word, bool) { DealLetterSetOr(word); }

void JokerGame::GenerateCoals(WordSprite& word) {
    bool jokerWaits = false;
    if (const WordBar* bar = GetWordBar()) {
        const int supplied = std::min(TicketInfo::LetterSetLength(GameTypeOf()), LetterRack::kSlotCount);
        for (int slot = 0; slot < supplied && !jokerWaits; ++slot) {
            const LetterSprite* coal = bar->Rack(WordBar::kSupplyRack).GetLetter(slot);
            jokerWaits = coal != nullptr && coal->Letter().GetType() == LetterData::kJoker;
        }
    }
    if (!jokerWaits && word.SlotCount() > 0) {
        const uint32_t slot = NextGlobal() % static_cast<uint32_t>(word.SlotCount());
        word.Slots()[slot]->Letter().SetType(LetterData::kJoker);
    }
    GameMode::GenerateCoals(word);
}

void JokerGame::JudgeWord() { JudgeWithJokers(RackWord()); }

// --- Keep -------------------------------------------------------------------

KeepGame::KeepGame(Property* session) : GameMode(session) {
    DisallowCoalKind(LetterData::kReveal);
    if (session != nullptr && session->IsKindOf(&PropertyNode::classInfo)) {
        const Property* kept = Property::Child(session, kKeptWordKey);
        keptWord_ = kept != nullptr ? Property::AsString(kept) : Ticket().LetterSet;
        keptWordRestored_ = true;
    }
}

void KeepGame::Save(PropertyNode& node) const {
    SaveAs(node, "KeepGame");
    node.Add(PropertyValue::FromString(kKeptWordKey, keptWord_, false));
}

void KeepGame::SetUpWordBar(bool keepWordBar) {
    GameMode::SetUpWordBar(keepWordBar);
    if (!keptWordRestored_) {
        keptWord_ = Ticket().LetterSet;
    }
    keptWordRestored_ = false;
}

void KeepGame::StartLevel(bool resumed) {
    if (!resumed) {
        DealWord(Ticket().LetterSet, true);
    }
}

void KeepGame::DealWord(const std::string& word, bool first) {
    if (WordBar* bar = GetWordBar()) {
        bar->DropSupply();
    }
    const std::string supply = SupplyText();
    if (!word.empty()) {
        DealText(word, false);
    }
    if (first) {
        return;
    }
    const std::string letters = LetterSetBuilder(Words(), TicketInfo::Hooks().scene).Build(supply, word, Ticket());
    if (!letters.empty()) {
        DealText(letters, true, 0);
    }
}

void KeepGame::JudgeWord() { JudgeWithJokers(RackWord()); }

void KeepGame::ScoreWord(WordSprite& word) {
    GameMode::ScoreWord(word);
    if (HoldsTrophy(kTrophyKeep)) {
        return;
    }
    const std::string& letters = word.PlainText();
    std::erase_if(keptWord_, [&letters](char c) { return letters.find(c) == std::string::npos; });
}

// --- Replace ----------------------------------------------------------------

ReplaceGame::ReplaceGame(Property* session) : GameMode(session) { DisallowCoalKind(LetterData::kReveal); }

void ReplaceGame::Save(PropertyNode& node) const { SaveAs(node, "ReplaceGame"); }

void ReplaceGame::StartLevel(bool resumed) {
    if (!resumed) {
        DealWord(Ticket().LetterSet, true);
    }
}

void ReplaceGame::DealWord(const std::string& word, bool first) {
    if (first) {
        DealText(word, false);
        return;
    }
    const std::string supply = SupplyText();
    const std::string letters = LetterSetBuilder(Words(), TicketInfo::Hooks().scene).Build(word, supply, Ticket());
    if (WordBar* bar = GetWordBar()) {
        bar->CloseSupplyGaps();
        bar->ClearNewFlags();
    }
    DealText(letters, true);
}

void ReplaceGame::JudgeWord() { JudgeWithJokers(RackWord()); }

// --- Secret -----------------------------------------------------------------

SecretGame::SecretGame(Property* session) : GameMode(session) { DisallowCoalKind(LetterData::kReveal); }

void SecretGame::Save(PropertyNode& node) const { SaveAs(node, "SecretGame"); }

void SecretGame::StartLevel(bool resumed) {
    if (!resumed) {
        DealWord("", true);
    }
}

void SecretGame::DealWord(const std::string& word, bool) { DealLetterSetOr(word); }

void SecretGame::JudgeWord() { JudgeWithJokers(RackWord()); }

// --- Slots ------------------------------------------------------------------

SlotsGame::SlotsGame(Property* session) : GameMode(session) {
    SetSingleWord(true);
    DisallowCoalKind(LetterData::kReveal);
    DisallowCoalKind(LetterData::kJoker);
}

void SlotsGame::Save(PropertyNode& node) const { SaveAs(node, "SlotsGame"); }

void SlotsGame::StartLevel(bool resumed) {
    if (!resumed) {
        FillQueueFromTicket();
    }
    HighlightAndDealCurrentWord();
}

void SlotsGame::DealWord(const std::string&, bool) { DealCurrentQueueWord(true); }

void SlotsGame::JudgeWord() { JudgeAgainstCurrentWord(true); }

Ref<WordBar> SlotsGame::CreateWordBar(Property* node) const {
    if (node != nullptr) {
        return GameMode::CreateWordBar(node);
    }
    Ref<PropertyNode> empty = new PropertyNode("wordbar", "WordBarSlots");
    return GameMode::CreateWordBar(empty.Get());
}
