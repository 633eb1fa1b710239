#include "game/words/TicketGenerator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>

#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/Ref.h"
#include "engine/media/RotateScaleWalk.h"
#include "game/words/GlobalDraw.h"
#include "game/words/LetterSetBuilder.h"
#include "game/words/TicketConstants.h"
#include "game/words/TicketInfo.h"
#include "game/words/WordList.h"

namespace {

using ticket_constants::FloatAt;
using ticket_constants::IntAt;

constexpr int kChosenLengths = 4;  // words of 3 to 6 letters
constexpr int kLetterSetRedraws = 1000;
constexpr int kWordTries = 1000;
// All the tries of one level: a level of many words each hard to find (most
// of a short list already shown) must not take minutes to fill.
constexpr int kLevelTries = 5000;
// A race is some tens of units long; a longer one is a settings file's damage.
constexpr int kLongestDistance = 1000;
// The budget is the race length over the word fraction, of some tenths in
// every game type; a fraction near 0 would ask for thousands of words.
constexpr double kSmallestFraction = 0.1;
constexpr int kMaskDraws = 100;

struct VisibleLetters {
    int fewest;
    int most;
};
// By word length 3 to 6.
constexpr std::array<VisibleLetters, 4> kVisibleLetters = {{{1, 1}, {1, 2}, {1, 3}, {2, 3}}};

const WordList& EmptyWordList() {
    static const Ref<WordList> empty = new WordList;
    return *empty;
}

// One random entry of a list that is not empty.
const WordNode* PickRandomListEntry(const std::vector<WordNode*>& list) {
    return list[DrawGlobal() % list.size()];
}

bool SameLetters(const std::string& a, const std::string& b) {
    std::array<int, TicketInfo::kLetters + 1> counts{};
    auto slot = [](char c) {
        const uint8_t folded = WordList::FoldLetter(static_cast<uint8_t>(c));
        return folded == LetterNode::kNoLetter ? TicketInfo::kLetters : folded - 'a';
    };
    for (char c : a) {
        ++counts[slot(c)];
    }
    for (char c : b) {
        --counts[slot(c)];
    }
    return std::all_of(counts.begin(), counts.end(), [](int count) { return count == 0; });
}

}  // namespace

TicketGenerator::TicketGenerator(TicketInfo& ticket, const WordList& words, const TicketHooks& hooks)
    : ticket_(ticket), words_(words), hooks_(hooks), group_(ticket_constants::ModeGroup(ticket.GameType)) {}

const WordList& TicketGenerator::WaitForWordList(const TicketHooks& hooks) {
    const WordList* words = hooks.scene != nullptr ? hooks.scene->WaitForWordList() : nullptr;
    if (words == nullptr) {
        ENGINE_LOG(2, "no word list for tickets; their levels get no letters or words");
        return EmptyWordList();
    }
    return *words;
}

float TicketGenerator::Lerp(float atZero, float atOne) const { return (atOne - atZero) * ticket_.Rating + atZero; }

float TicketGenerator::GroupLerp(const char* atZero, const char* atOne) const {
    return Lerp(Property::AsFloat(Property::Child(group_, atZero)), Property::AsFloat(Property::Child(group_, atOne)));
}

void TicketGenerator::Generate() {
    ticket_.Words.clear();
    for (int32_t& passengers : ticket_.Passengers) {
        passengers = static_cast<int32_t>(DrawGlobal() % 6);
    }
    const float performance = Lerp(ticket_constants::Float("MIN_PERFORMANCE_SECTION"),
                                   ticket_constants::Float("MAX_PERFORMANCE_SECTION"));
    ticket_.Performance[1] = performance;
    ticket_.Performance[0] = static_cast<float>((performance + 1.0) * 0.5);

    const int lengthClass = hooks_.map != nullptr ? hooks_.map->TrackLengthClass(ticket_.Section, ticket_.Track) : 0;
    auto distance = [&](const char* name) {
        const int read = IntAt(Property::Child(group_, name), lengthClass);
        const int held = std::clamp(read, 0, kLongestDistance);
        if (held != read) {
            ENGINE_LOG(2, "%s of game type %d is %d; read as %d", name, ticket_.GameType, read, held);
        }
        return static_cast<float>(held);
    };
    ticket_.NumUnits = TruncateToInt32(Lerp(distance("DISTANCE_CP0"), distance("DISTANCE_CP1")));

    const int budget = WordBudget();
    const bool forbid = ForbidsRareLetters();
    if (ticket_.HasOwnWeights() || forbid) {
        ComputeLetterWeights(forbid ? 1.0f : GroupLerp("FREQ_STRENGTH_CP0", "FREQ_STRENGTH_CP1"));
    }

    switch (ticket_.GameType) {
        case 0: case 1: case 6: case 7:
            FillFromRandomWord(budget, forbid);
            break;
        case 2: case 5:
            FillWordWeights();
            ticket_.LetterSet = LetterSetBuilder(words_, hooks_.scene).Build(std::string(), std::string(), ticket_);
            words_.ShuffleUntilNotAWord(ticket_.LetterSet);
            break;
        case 3:
            FillWords(budget, [this](std::string& text) {
                return words_.ShuffleUntilNotAWord(text) && !RejectsAnagram(text);
            });
            break;
        case 4:
            FillWords(budget, MaskWord);
            break;
        default:
            ENGINE_LOG(2, "a ticket of game type %d has no level to fill", ticket_.GameType);
            break;
    }
}

int TicketGenerator::WordBudget() const {
    double fraction = 1.0;
    if (!ticket_.HasOwnWeights()) {
        const float fewest = GroupLerp("MIN_WORD_PERC_CP0", "MIN_WORD_PERC_CP1");
        const float most = GroupLerp("MAX_WORD_PERC_CP0", "MAX_WORD_PERC_CP1");
        const int steps = TruncateToInt32((most - fewest) * 1000);
        fraction = steps > 0 ? (DrawGlobal() % static_cast<uint32_t>(steps)) * 0.001 + fewest : fewest;
    }
    if (!(fraction >= kSmallestFraction)) {
        ENGINE_LOG(2, "word fraction %f of game type %d is below %f", fraction, ticket_.GameType, kSmallestFraction);
        fraction = kSmallestFraction;
    }
    return TruncateToInt32(ticket_.NumUnits / fraction);
}

int TicketGenerator::GamesPlayed() const {
    return std::max(0, hooks_.player != nullptr ? hooks_.player->GamesPlayed() : 0);
}

bool TicketGenerator::ForbidsRareLetters() const {
    return ticket_.GameType == 0 && GamesPlayed() < ticket_constants::Int("FORBIDDEN_LETTER_MAX_GAMES");
}

void TicketGenerator::ComputeLetterWeights(float strength) {
    const Property* weights = ticket_constants::List("LETTER_FREQS");
    ticket_.FreqsTotal = 0.0f;
    for (int i = 0; i < TicketInfo::kLetters; ++i) {
        ticket_.FreqsTotal += static_cast<float>(std::pow(FloatAt(weights, i), strength));
        ticket_.LetterFreqs[i] = ticket_.FreqsTotal;
    }
}

std::string TicketGenerator::ForbiddenLetters() const {
    const auto& freqs = ticket_.LetterFreqs;
    auto weight = [&](int i) { return i == 0 ? freqs[0] : freqs[i] - freqs[i - 1]; };
    std::vector<int> ranking;  // heaviest first; of equal weights the later letter first
    for (int i = 0; i < TicketInfo::kLetters; ++i) {
        auto before = std::find_if(ranking.begin(), ranking.end(), [&](int j) { return weight(j) <= weight(i); });
        ranking.insert(before, i);
    }
    // Only reached while games played (at least 0) is below the maximum, so
    // the maximum is above 0.
    const int64_t amount = ticket_constants::Int("FORBIDDEN_LETTER_AMOUNT");
    const int64_t maxGames = ticket_constants::Int("FORBIDDEN_LETTER_MAX_GAMES");
    const int64_t count = std::clamp<int64_t>(amount - amount * GamesPlayed() / maxGames, 0, TicketInfo::kLetters);
    std::string letters;
    for (auto it = ranking.end() - count; it != ranking.end(); ++it) {
        letters.push_back(static_cast<char>('a' + *it));
    }
    return letters;
}

void TicketGenerator::FillFromRandomWord(int budget, bool forbid) {
    const int length = TicketInfo::LetterSetLength(ticket_.GameType);
    std::string& set = ticket_.LetterSet;
    words_.RandomWord(length, budget, set);
    if (forbid) {
        const std::string forbidden = ForbiddenLetters();
        for (int redraw = 0; redraw < kLetterSetRedraws && set.find_first_of(forbidden) != std::string::npos;
             ++redraw) {
            words_.RandomWord(length, budget, set);
        }
    }
    words_.ShuffleUntilNotAWord(set);
}

void TicketGenerator::FillWordWeights() {
    const Property* units = ticket_constants::List("UNITS_PER_WORD_LENGTH");
    const Property* strength0 = Property::Child(group_, "WORD_LENGTH_STRENGTH_CP0");
    const Property* strength1 = Property::Child(group_, "WORD_LENGTH_STRENGTH_CP1");
    for (int i = 0; i < TicketInfo::kWordLengths; ++i) {
        const float strength = Lerp(FloatAt(strength0, i), FloatAt(strength1, i));
        ticket_.Units[i] = std::max(1, TruncateToInt32(IntAt(units, i) * strength));
    }
    // Word counts: a negative one is damage, read as none.
    auto interpolate = [&](const char* atZero, const char* atOne) {
        const int64_t zero = std::max(Property::AsInt(Property::Child(group_, atZero)), 0);
        const int64_t one = std::max(Property::AsInt(Property::Child(group_, atOne)), 0);
        // Only the rated difference is truncated, and it is rated in single precision.
        const int64_t rated = TruncateToInt32(static_cast<float>(one - zero) * ticket_.Rating);
        return static_cast<int32_t>(std::clamp<int64_t>(zero + rated, INT32_MIN, INT32_MAX));
    };
    ticket_.MinPermutations = interpolate("MIN_PERMUTATIONS_CP0", "MIN_PERMUTATIONS_CP1");
    ticket_.MaxPermutations = interpolate("MAX_PERMUTATIONS_CP0", "MAX_PERMUTATIONS_CP1");
}

std::vector<int> TicketGenerator::ChooseWordLengths(int budget) const {
    std::array<float, kChosenLengths> cumulative{};
    const Property* chance0 = Property::Child(group_, "WORD_LENGTH_CHANCE_CP0");
    const Property* chance1 = Property::Child(group_, "WORD_LENGTH_CHANCE_CP1");
    float sum = 0.0f;
    for (int i = 0; i < kChosenLengths; ++i) {
        sum += Lerp(FloatAt(chance0, i), FloatAt(chance1, i));
        cumulative[i] = sum;
    }
    std::vector<int> lengths;
    if (budget < 1) {
        return lengths;
    }
    const int steps = TruncateToInt32(cumulative.back() * 1000);
    if (steps <= 0) {
        ENGINE_LOG(2, "the word length chances of game type %d add up to nothing", ticket_.GameType);
        return lengths;
    }
    while (budget > 0) {
        const double x = (DrawGlobal() % static_cast<uint32_t>(steps)) * 0.001;
        const auto chosen = std::find_if(cumulative.begin(), cumulative.end(), [x](float c) { return x < c; });
        if (chosen == cumulative.end()) {
            break;
        }
        const int index = static_cast<int>(chosen - cumulative.begin());
        const int units = ticket_.Units[index];
        if (units <= 0) {
            ENGINE_LOG(2, "words of %d letters are worth %d units; no more words are chosen", index + 3, units);
            break;
        }
        if (static_cast<int>(lengths.size()) == kMaxLevelWords) {
            ENGINE_LOG(2, "a level of game type %d is cut to %d words", ticket_.GameType, kMaxLevelWords);
            break;
        }
        lengths.push_back(index + 3);
        budget -= units;
    }
    return lengths;
}

bool TicketGenerator::RejectsAnagram(const std::string& candidate) const {
    const auto shown = std::count_if(ticket_.Words.begin(), ticket_.Words.end(), [&](const auto& word) {
        return word->Text().size() == candidate.size() && SameLetters(word->Text(), candidate);
    });
    if (shown == 0) {
        return false;
    }
    std::vector<const WordNode*> found;
    words_.FindFromLetters(candidate, found, true, static_cast<int>(candidate.size()));
    return static_cast<int64_t>(found.size()) <= shown;
}

bool TicketGenerator::MaskWord(std::string& word) {
    const int length = static_cast<int>(word.size());
    if (length < 3 || length > 6) {
        return false;
    }
    const VisibleLetters& visible = kVisibleLetters[length - 3];
    const int shown = visible.fewest + static_cast<int>(DrawGlobal() % (visible.most - visible.fewest + 1));
    int hidden = 0;
    for (int draw = 0; draw < kMaskDraws && hidden < length - shown; ++draw) {
        char& letter = word[DrawGlobal() % length];
        if (letter != '?') {
            letter = '?';
            ++hidden;
        }
    }
    return hidden == length - shown;
}

void TicketGenerator::FillWords(int budget, const std::function<bool(std::string&)>& makeLevelWord) {
    int triesLeft = kLevelTries;
    for (int length : ChooseWordLengths(budget)) {
        const std::vector<WordNode*>& list = words_.WordsOfLength(length);
        if (list.empty()) {
            continue;  // nothing to draw: every try would fail alike
        }
        if (triesLeft == 0) {
            ENGINE_LOG(2, "a level of game type %d ends at %zu words after %d tries", ticket_.GameType,
                       ticket_.Words.size(), kLevelTries);
            break;
        }
        for (int attempt = 0; attempt < kWordTries && triesLeft > 0; ++attempt, --triesLeft) {
            std::string text = PickRandomListEntry(list)->Text();
            if (makeLevelWord(text)) {
                ticket_.Words.push_back(std::make_unique<WordNode>(text));
                break;
            }
        }
    }
    SortWords();
}

void TicketGenerator::SortWords() {
    std::stable_sort(ticket_.Words.begin(), ticket_.Words.end(), [](const auto& a, const auto& b) {
        const std::string& x = a->Text();
        const std::string& y = b->Text();
        return x.size() != y.size() ? x.size() < y.size() : x < y;
    });
}
