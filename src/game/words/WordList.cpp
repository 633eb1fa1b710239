#include "game/words/WordList.h"

#include <algorithm>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/DataBuffer.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Ref.h"
#include "game/words/GlobalDraw.h"

namespace {

constexpr uint8_t kFirstCharacter = 28;
constexpr uint8_t kFirstRankedControl = 8;

int LengthSlot(int length) { return length - WordList::kMinimumLength; }

const ClassRegistration registration("WordList", CreateFromProperty<WordList>);

constexpr size_t kWindow = 76;
constexpr int kRankSpan = 3;
constexpr int kMaxShuffles = 100;
// A file from data never reserves more than this many nodes at once.
constexpr size_t kMostReservedNodes = size_t{1} << 20;

}  // namespace

WordList::WordList() : Resource(std::string()), nodes_(1) {}

WordList::WordList(Property* definition) : Resource(definition), nodes_(1) {}

WordList::~WordList() = default;

void WordList::Load() {
    Ref<DataBuffer> buffer = new DataBuffer;
    if (LoadFile(FileName(), *buffer, GetLoadMode())) {
        ENGINE_LOG(3, "word file %s cannot be read; the word list stays empty", FileName().c_str());
        Clear();
        SetHasError(true);
    } else {
        ReadWordFile(buffer->Bytes(), buffer->Count());
    }
    SetLoaded();
}

void WordList::Unload() {
    Clear();
    Resource::Unload();
}

void WordList::Clear() {
    wordCount_ = 0;
    nodes_.assign(1, LetterNode{});
    nodeCount_ = 1;
    words_.clear();
    wordIndex_.clear();
    for (std::vector<WordNode*>& words : wordsByLength_) {
        words.clear();
    }
    for (std::vector<RankedWord>& ranked : rankedWords_) {
        ranked.clear();
    }
}

void WordList::ReadWordFile(const uint8_t* data, size_t size) {
    Clear();
    // Each new character of a front-coded word adds about one node, and the
    // moved blocks about as many again: room for that up front spares the
    // array most of its regrowths.
    nodes_.reserve(std::min<size_t>(size, kMostReservedNodes));
    std::string word;
    int rank = 0;
    size_t i = 0;
    while (i < size) {
        uint8_t byte = data[i++];
        if (byte >= kFirstCharacter) {
            word.push_back(static_cast<char>(byte));
            continue;
        }
        if (!word.empty()) {
            AddWord(word, rank);
        }
        size_t keep = byte;
        rank = 0;
        if (byte >= kFirstRankedControl) {
            if (size - i < 2) {
                word.clear();  // a rank cut off by the end of the data
                break;
            }
            keep = byte - kFirstRankedControl;
            rank = data[i] | (data[i + 1] << 8);
            i += 2;
        }
        // A prefix longer than the word before it keeps only what there is.
        word.resize(std::min(keep, word.size()));
    }
    if (!word.empty()) {
        AddWord(word, rank);
    }
    FinishAdding();
}

void WordList::AddWord(const std::string& text, int rank) {
    std::string expanded;
    for (char c : text) {
        const std::string& expansion = ExpandLetter(static_cast<uint8_t>(c));
        if (expansion.empty()) {
            expanded.push_back(c);
        } else {
            expanded += expansion;
        }
    }
    const int length = CountLetters(expanded);
    if (length < kMinimumLength || length > kMaximumLength) {
        return;
    }
    // Duplicates are judged by the letters that are stored, so a spelling
    // with a hyphen or an accent is not added twice.
    std::string letters;
    FoldWord(expanded, letters);
    if (Contains(letters) != nullptr) {
        return;
    }

    std::string lowered = expanded;
    for (char& c : lowered) {
        c = static_cast<char>(LowerLetter(static_cast<uint8_t>(c)));
    }

    nodes_[kRoot].AddLength(length);
    uint32_t node = kRoot;
    for (char letter : letters) {
        const int letterIndex = letter - 'a';
        node = nodes_[node].HasChild(letterIndex) ? nodes_[node].Child(letterIndex) : AddChild(node, letterIndex);
        nodes_[node].AddLength(length);
    }
    WordNode& word = words_.emplace_back(std::move(lowered));
    nodes_[node].SetWord(static_cast<uint32_t>(words_.size()));
    ++wordCount_;

    wordsByLength_[LengthSlot(length)].push_back(&word);
    if (rank > 0 && length >= 6) {
        rankedWords_[length - 6].push_back({&word, rank});
    }
}

uint32_t WordList::AddChild(uint32_t parent, int letterIndex) {
    const LetterNode before = nodes_[parent];
    const auto first = static_cast<uint32_t>(nodes_.size());
    const uint32_t rank = before.Child(letterIndex) - before.FirstChild();  // children with a lower letter
    const auto count = static_cast<uint32_t>(before.ChildCount());
    ++nodeCount_;
    if (count > 0 && rank == count && before.FirstChild() + count == first) {
        // The last block grows in place: words arrive mostly in letter order.
        nodes_.emplace_back();
        nodes_[parent].SetChildren(before.ChildLetters() | 1u << letterIndex, before.FirstChild());
        return first;
    }
    for (uint32_t k = 0; k < count; ++k) {
        if (k == rank) {
            nodes_.emplace_back();
        }
        nodes_.push_back(nodes_[before.FirstChild() + k]);
    }
    if (rank == count) {
        nodes_.emplace_back();
    }
    nodes_[parent].SetChildren(before.ChildLetters() | 1u << letterIndex, first);
    return first + rank;
}

void WordList::FinishAdding() {
    // Each node's children block is followed by the blocks of their
    // subtrees, so the nodes on the way to a word lie close together; and
    // nothing is left of the blocks that moved.
    std::vector<LetterNode> laidOut;
    laidOut.reserve(nodeCount_);
    laidOut.push_back(nodes_[kRoot]);
    LayOutChildren(kRoot, laidOut);
    nodes_ = std::move(laidOut);

    wordIndex_.clear();
    wordIndex_.reserve(wordCount_);
    AppendWordsInTrieOrder(kRoot);
    for (std::vector<WordNode*>& words : wordsByLength_) {
        words.shrink_to_fit();
    }
    for (std::vector<RankedWord>& ranked : rankedWords_) {
        // Stable, so equal ranks keep file order and draws are repeatable.
        std::stable_sort(ranked.begin(), ranked.end(),
                         [](const RankedWord& a, const RankedWord& b) { return a.rank < b.rank; });
        ranked.shrink_to_fit();
    }
}

void WordList::LayOutChildren(uint32_t laidOutNode, std::vector<LetterNode>& laidOut) const {
    const uint32_t oldFirst = laidOut[laidOutNode].FirstChild();
    const auto count = static_cast<uint32_t>(laidOut[laidOutNode].ChildCount());
    const auto first = static_cast<uint32_t>(laidOut.size());
    laidOut[laidOutNode].SetChildren(laidOut[laidOutNode].ChildLetters(), first);
    laidOut.insert(laidOut.end(), nodes_.begin() + oldFirst, nodes_.begin() + oldFirst + count);
    for (uint32_t k = 0; k < count; ++k) {
        LayOutChildren(first + k, laidOut);
    }
}

void WordList::AppendWordsInTrieOrder(uint32_t node) {
    const LetterNode& parent = nodes_[node];
    for (int k = 0; k < parent.ChildCount(); ++k) {
        const uint32_t child = parent.FirstChild() + static_cast<uint32_t>(k);
        if (nodes_[child].EndsWord()) {
            wordIndex_.push_back(&words_[nodes_[child].Word() - 1]);
        }
        AppendWordsInTrieOrder(child);
    }
}

const WordNode* WordList::Contains(const std::string& text) const {
    if (text.empty()) {
        return nullptr;
    }
    const std::array<uint8_t, 256>& fold = FoldingTable();
    uint32_t node = kRoot;
    for (char c : text) {
        const int letterIndex = fold[static_cast<uint8_t>(c)] - 'a';
        // No letter folds to 174, which lies beyond "z": no child has it.
        if (letterIndex >= 26 || !nodes_[node].HasChild(letterIndex)) {
            return nullptr;
        }
        node = nodes_[node].Child(letterIndex);
    }
    const uint32_t word = nodes_[node].Word();
    return word != LetterNode::kNoWord ? &words_[word - 1] : nullptr;
}

const WordNode* WordList::MatchPattern(const std::string& pattern, std::vector<const WordNode*>* out) const {
    const WordNode* first = nullptr;
    if (!pattern.empty()) {
        MatchFrom(kRoot, pattern, 0, out, first);
    }
    return first;
}

// Returns true once the first match is found and no list is filled.
bool WordList::MatchFrom(uint32_t node, const std::string& pattern, size_t depth, std::vector<const WordNode*>* out,
                         const WordNode*& first) const {
    if (depth == pattern.size()) {
        if (!nodes_[node].EndsWord()) {
            return false;
        }
        const WordNode* word = &words_[nodes_[node].Word() - 1];
        if (out == nullptr) {
            first = word;
            return true;
        }
        out->push_back(word);
        return false;
    }
    const char wanted = pattern[depth];
    const int length = static_cast<int>(pattern.size());
    const LetterNode& parent = nodes_[node];
    for (uint32_t letters = parent.ChildLetters(), child = parent.FirstChild(); letters != 0;
         letters &= letters - 1, ++child) {
        const int letterIndex = __builtin_ctz(letters);
        if (wanted != '?' && 'a' + letterIndex != static_cast<uint8_t>(wanted)) {
            continue;
        }
        if (nodes_[child].HasWordOfLength(length) && MatchFrom(child, pattern, depth + 1, out, first)) {
            return true;
        }
    }
    return false;
}

struct WordList::LetterSearch {
    std::array<int, 26> counts{};
    int jokers = 0;
    bool exactLength = false;
    int maxLength = 0;
    std::vector<const WordNode*>& out;
};

void WordList::FindFromLetters(const std::string& letters, std::vector<const WordNode*>& out, bool exactLength,
                               int maxLength) const {
    LetterSearch search{{}, 0, exactLength, maxLength < 1 ? static_cast<int>(letters.size()) : maxLength, out};
    for (char c : letters) {
        if (c == '?') {
            ++search.jokers;
            continue;
        }
        const uint8_t folded = FoldLetter(static_cast<uint8_t>(c));
        if (folded != LetterNode::kNoLetter) {
            ++search.counts[folded - 'a'];
        }
    }
    FindFrom(kRoot, 0, search);
}

void WordList::FindFrom(uint32_t node, int depth, LetterSearch& search) const {
    const LetterNode& parent = nodes_[node];
    for (uint32_t letters = parent.ChildLetters(), child = parent.FirstChild(); letters != 0;
         letters &= letters - 1, ++child) {
        const LetterNode& childNode = nodes_[child];
        if (search.exactLength && !childNode.HasWordOfLength(search.maxLength)) {
            continue;
        }
        int& count = search.counts[__builtin_ctz(letters)];
        int& source = count > 0 ? count : search.jokers;
        if (source == 0) {
            continue;
        }
        --source;
        if (childNode.EndsWord() && (!search.exactLength || depth + 1 == search.maxLength)) {
            search.out.push_back(&words_[childNode.Word() - 1]);
        }
        if (depth + 1 < search.maxLength) {
            FindFrom(child, depth + 1, search);
        }
        ++source;
    }
}

bool WordList::RandomWord(int length, int rank, std::string& out) const {
    out.clear();
    const std::vector<RankedWord>& ranked = RankedWords(length);
    if (ranked.empty()) {
        return false;
    }
    auto rankBelow = [](const RankedWord& entry, int r) { return entry.rank < r; };
    auto rankAbove = [](int64_t r, const RankedWord& entry) { return r < entry.rank; };
    size_t low = std::lower_bound(ranked.begin(), ranked.end(), rank, rankBelow) - ranked.begin();
    const int64_t top = static_cast<int64_t>(rank) + kRankSpan;  // a rank from data may be near the int limit
    const size_t past = std::upper_bound(ranked.begin(), ranked.end(), top, rankAbove) - ranked.begin();
    size_t high = std::max(low + kWindow - 1, past == 0 ? 0 : past - 1);
    if (high >= ranked.size()) {
        // Too few words ranked this high: the last 76 (or all there are).
        low = ranked.size() > kWindow ? ranked.size() - kWindow : 0;
        high = ranked.size() - 1;
    }
    const size_t index = low + DrawGlobal() % (high - low + 1);
    FoldWord(ranked[index].word->Text(), out);
    return true;
}

bool WordList::ShuffleUntilNotAWord(std::string& word) const {
    for (int attempt = 0; attempt < kMaxShuffles; ++attempt) {
        for (size_t i = word.size(); i > 1; --i) {
            std::swap(word[i - 1], word[DrawGlobal() % i]);
        }
        if (Contains(word) == nullptr) {
            return true;
        }
    }
    return false;
}

const std::vector<WordNode*>& WordList::WordsOfLength(int length) const {
    static const std::vector<WordNode*> none;
    if (length < kMinimumLength || length > kMaximumLength) {
        return none;
    }
    return wordsByLength_[LengthSlot(length)];
}

const std::vector<WordList::RankedWord>& WordList::RankedWords(int length) const {
    static const std::vector<RankedWord> none;
    if (length < 6 || length > 7) {
        return none;
    }
    return rankedWords_[length - 6];
}

bool WordList::IsPlayable() const {
    if (HasError()) {
        return false;
    }
    for (int length = kMinimumLength; length <= kMaximumLength; ++length) {
        if (WordsOfLength(length).empty()) {
            return false;
        }
    }
    return !RankedWords(6).empty() && !RankedWords(7).empty();
}
