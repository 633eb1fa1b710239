#include "main/OpenWord.h"

#include <array>

#include "game/rules/GameMode.h"
#include "game/rules/GameModes.h"
#include "game/words/LetterNode.h"
#include "game/words/LetterRack.h"
#include "game/words/WordBar.h"
#include "game/words/WordList.h"
#include "game/words/WordQueue.h"
#include "game/words/WordSprite.h"
#include "scenes/GameScene.h"

namespace {

constexpr int kShortestWord = 3;
constexpr int kLongestWord = 7;

// How often each letter a to z lies in the supply; jokers are left out.
class LetterCounts {
public:
    explicit LetterCounts(const std::string& letters) {
        for (const char c : letters) {
            if (c >= 'a' && c <= 'z') ++counts_[static_cast<size_t>(c - 'a')];
        }
    }
    bool Empty() const {
        for (const int count : counts_)
            if (count > 0) return false;
        return true;
    }
    bool Spell(const std::string& word) const {
        std::array<int, 26> left = counts_;
        for (const char c : word) {
            if (c < 'a' || c > 'z' || --left[static_cast<size_t>(c - 'a')] < 0) return false;
        }
        return true;
    }

private:
    std::array<int, 26> counts_{};
};

std::string SupplyOf(const GameMode* mode) {
    std::string letters;
    if (const WordBar* bar = mode != nullptr ? mode->GetWordBar() : nullptr) {
        // A joker reads as "?" and is left out: the words typed are spelled
        // from the plain letters alone.
        bar->Rack(WordBar::kSupplyRack).GetWord(letters, true);
    }
    return letters;
}

const WordSprite* CurrentWordToFind(const WordQueue& queue) {
    const auto& words = queue.Words();
    const int32_t current = queue.CurrentIndex();
    if (current >= 0 && current < static_cast<int32_t>(words.size()) &&
        words[static_cast<size_t>(current)]->Status() == WordSprite::kToFind) {
        return words[static_cast<size_t>(current)].Get();
    }
    return nullptr;
}

// Whether the level takes `word` for its current queue word: the jumbled
// word's letters in any order, the word with missing letters slot by slot.
bool FitsCurrentWord(const GameMode* mode, const WordSprite* current, const std::string& word) {
    if (current == nullptr) return true;
    if (ObjectCast<AnagramsGame>(mode) != nullptr) return WordList::CountLetters(word) == current->SlotCount();
    if (ObjectCast<SlotsGame>(mode) != nullptr) return current->Matches(word, true);
    return true;
}

}  // namespace

std::string OpenWordOf(const GameScene& game) {
    const WordQueue* queue = game.GetWordQueue();
    if (queue == nullptr) return "";
    const GameMode* mode = game.GetMode();
    const WordList* list = game.Words();
    const LetterCounts supply(SupplyOf(mode));
    // Letters still on their way into the supply: the queue says what to type.
    const bool supplyKnown = !supply.Empty();
    auto takes = [&](const std::string& word) {
        return !supplyKnown || (supply.Spell(word) && (list == nullptr || list->Contains(word) != nullptr));
    };

    const WordSprite* current = CurrentWordToFind(*queue);
    if (current != nullptr && takes(current->PlainText())) return current->PlainText();
    for (const Ref<WordSprite>& word : queue->Words())
        if (word->Status() == WordSprite::kToFind && takes(word->PlainText()) &&
            FitsCurrentWord(mode, current, word->PlainText()))
            return word->PlainText();
    if (list == nullptr || !supplyKnown) return "";
    for (int length = kLongestWord; length >= kShortestWord; --length) {
        for (const WordNode* node : list->WordsOfLength(length)) {
            const std::string& text = node->Text();
            if (supply.Spell(text) && FitsCurrentWord(mode, current, text) &&
                queue->FindWord(text, WordSprite::kFound) == nullptr)
                return text;
        }
    }
    return "";
}
