#include "game/words/LetterSetBuilder.h"

#include <array>
#include <vector>

#include "engine/foundation/Logger.h"
#include "engine/media/RotateScaleWalk.h"
#include "game/words/GlobalDraw.h"
#include "game/words/TicketInfo.h"
#include "game/words/WordList.h"

namespace {

// Attempt numbers at which the builder's demands change.
constexpr int kAvoidUntilAttempt = 500;
constexpr int kFewerWordsEvery = 800;
constexpr int kLongWordUntilAttempt = 1000;
constexpr int kConsonantsUntilAttempt = 2000;
constexpr int kAvoidRedraws = 3;
constexpr int kVowelRedraws = 100;

int LetterIndex(char c) {
    const uint8_t folded = WordList::FoldLetter(static_cast<uint8_t>(c));
    return folded == LetterNode::kNoLetter ? -1 : folded - 'a';
}

char WeightedLetter(const TicketInfo& ticket, int steps) {
    const double x = (DrawGlobal() % static_cast<uint32_t>(steps)) * 0.001;
    for (int i = 0; i < TicketInfo::kLetters; ++i) {
        if (x <= ticket.LetterFreqs[i]) {
            return static_cast<char>('a' + i);
        }
    }
    return 'a';
}

}  // namespace

LetterSetBuilder::LetterSetBuilder(const WordList& words, const TicketSceneHook* scene)
    : words_(words), scene_(scene) {}

bool LetterSetBuilder::IsVowel(char letter) {
    switch (WordList::FoldLetter(static_cast<uint8_t>(letter))) {
        case 'a': case 'e': case 'i': case 'o': case 'u': case 'y':
            return true;
        default:
            return false;
    }
}

char LetterSetBuilder::DrawLetter(const TicketInfo& ticket, bool consonantOnly) {
    // Weights that sum to less than one step cannot be drawn from: every
    // letter is then equally likely.
    const int steps = TruncateToInt32(ticket.FreqsTotal * 1000);
    for (int draw = 0;; ++draw) {
        const char letter = steps > 0 ? WeightedLetter(ticket, steps)
                                      : static_cast<char>('a' + DrawGlobal() % TicketInfo::kLetters);
        if (!consonantOnly || !IsVowel(letter) || draw == kVowelRedraws) {
            return letter;
        }
    }
}

std::string LetterSetBuilder::Build(const std::string& avoid, const std::string& keep,
                                    const TicketInfo& ticket) const {
    std::array<bool, TicketInfo::kLetters> avoided{};
    for (char c : avoid) {
        if (const int index = LetterIndex(c); index >= 0) {
            avoided[index] = true;
        }
    }
    int keptConsonants = 0;
    for (char c : keep) {
        keptConsonants += LetterIndex(c) >= 0 && !IsVowel(c) ? 1 : 0;
    }
    const int length = TicketInfo::LetterSetLength(ticket.GameType);
    const int free = length - static_cast<int>(keep.size());
    if (free <= 0) {
        return std::string();
    }
    const bool fewConsonants = free + keptConsonants < 2;

    const int longWord = 4 + static_cast<int>(DrawGlobal() % 3);
    int minWords = ticket.MinPermutations;
    std::string set = keep;
    set.resize(length);
    // Should no attempt be accepted, the one that leaves the most words not yet found stands.
    std::string mostWords;
    int64_t mostNewWords = 0;
    std::vector<const WordNode*> found;
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        if (attempt % kFewerWordsEvery == 0) {
            --minWords;
        }
        const bool consonantOnly = fewConsonants && attempt < kConsonantsUntilAttempt;
        for (size_t position = keep.size(); position < set.size(); ++position) {
            char letter = DrawLetter(ticket, consonantOnly);
            for (int redraw = 0; attempt <= kAvoidUntilAttempt && redraw < kAvoidRedraws && avoided[letter - 'a'];
                 ++redraw) {
                letter = DrawLetter(ticket, consonantOnly);
            }
            set[position] = letter;
        }
        found.clear();
        words_.FindFromLetters(set, found, false, length);
        const int64_t count = static_cast<int64_t>(found.size());
        int64_t newWords = count;
        bool hasLongWord = attempt > kLongWordUntilAttempt;
        for (const WordNode* word : found) {
            if (scene_ != nullptr && scene_->IsInWordQueue(word->Text())) {
                --newWords;
            } else if (word->LetterCount() >= longWord) {
                hasLongWord = true;
            }
        }
        if (mostWords.empty() || newWords > mostNewWords) {
            mostWords = set;
            mostNewWords = newWords;
        }
        if (count == 0 || count < minWords || count > ticket.MaxPermutations) {
            continue;
        }
        if (newWords > 0 && newWords >= minWords && hasLongWord) {
            return set.substr(keep.size());
        }
    }
    ENGINE_LOG(2, "no letter set of type %d allows %d to %d words; taking one that leaves %lld new words",
               ticket.GameType, ticket.MinPermutations, ticket.MaxPermutations, static_cast<long long>(mostNewWords));
    return mostWords.substr(keep.size());
}
