#include "game/words/WordList.h"

#include <algorithm>
#include <functional>

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

}  // namespace

WordList::WordList() : Resource(std::string()), root_(std::make_unique<LetterNode>(LetterNode::kNoLetter)) {}

WordList::WordList(Property* definition)
    : Resource(definition), root_(std::make_unique<LetterNode>(LetterNode::kNoLetter)) {}

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
    root_ = std::make_unique<LetterNode>(LetterNode::kNoLetter);
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

    const uint32_t lengthBit = 1u << (length - 1);
    root_->AddFlags(lengthBit);
    LetterNode* parent = root_.get();
    LetterNode* node = nullptr;
    for (char letter : letters) {
        if (node != nullptr) {
            parent = node;
        }
        node = parent->FindOrAddChild(static_cast<uint8_t>(letter));
        node->AddFlags(lengthBit);
    }
    auto* wordNode = dynamic_cast<WordNode*>(node);
    if (wordNode == nullptr) {
        auto replacement = std::make_unique<WordNode>(node->Letter(), lowered, length);
        wordNode = static_cast<WordNode*>(parent->ReplaceChild(std::move(replacement)));
    }
    wordNode->AddFlags(LetterNode::kWordEndBit);
    ++wordCount_;

    wordsByLength_[LengthSlot(length)].push_back(wordNode);
    if (rank > 0 && length >= 6) {
        rankedWords_[length - 6].push_back({wordNode, rank});
    }
}

void WordList::FinishAdding() {
    wordIndex_.clear();
    wordIndex_.reserve(wordCount_);
    std::function<void(const LetterNode&)> collect = [&](const LetterNode& node) {
        for (const std::unique_ptr<LetterNode>& child : node.Children()) {
            if (child->EndsWord()) {
                wordIndex_.push_back(static_cast<WordNode*>(child.get()));
            }
            collect(*child);
        }
    };
    collect(*root_);
    for (std::vector<RankedWord>& ranked : rankedWords_) {
        // Stable, so equal ranks keep file order and draws are repeatable.
        std::stable_sort(ranked.begin(), ranked.end(),
                         [](const RankedWord& a, const RankedWord& b) { return a.rank < b.rank; });
    }
}

const WordNode* WordList::Contains(const std::string& text) const {
    if (text.empty()) {
        return nullptr;
    }
    const LetterNode* node = root_.get();
    for (char c : text) {
        node = node->FindChild(FoldLetter(static_cast<uint8_t>(c)));
        if (node == nullptr) {
            return nullptr;
        }
    }
    return node->EndsWord() ? static_cast<const WordNode*>(node) : nullptr;
}

const WordNode* WordList::MatchPattern(const std::string& pattern, std::vector<const WordNode*>* out) const {
    const int length = static_cast<int>(pattern.size());
    const WordNode* first = nullptr;
    // Returns true once the first match is found and no list is filled.
    std::function<bool(const LetterNode&, size_t)> walk = [&](const LetterNode& node, size_t depth) {
        if (depth == pattern.size()) {
            if (!node.EndsWord()) {
                return false;
            }
            const auto* word = static_cast<const WordNode*>(&node);
            if (out == nullptr) {
                first = word;
                return true;
            }
            out->push_back(word);
            return false;
        }
        const char wanted = pattern[depth];
        for (const std::unique_ptr<LetterNode>& child : node.Children()) {
            if (wanted != '?' && child->Letter() != static_cast<uint8_t>(wanted)) {
                continue;
            }
            if (child->HasWordOfLength(length) && walk(*child, depth + 1)) {
                return true;
            }
        }
        return false;
    };
    if (length > 0) {
        walk(*root_, 0);
    }
    return first;
}

void WordList::FindFromLetters(const std::string& letters, std::vector<const WordNode*>& out, bool exactLength,
                               int maxLength) const {
    if (maxLength < 1) {
        maxLength = static_cast<int>(letters.size());
    }
    std::array<int, 26> counts{};
    int jokers = 0;
    for (char c : letters) {
        if (c == '?') {
            ++jokers;
            continue;
        }
        uint8_t folded = FoldLetter(static_cast<uint8_t>(c));
        if (folded != LetterNode::kNoLetter) {
            ++counts[folded - 'a'];
        }
    }
    std::function<void(const LetterNode&, int)> walk = [&](const LetterNode& node, int depth) {
        for (const std::unique_ptr<LetterNode>& child : node.Children()) {
            if (exactLength && !child->HasWordOfLength(maxLength)) {
                continue;
            }
            int& count = counts[child->Letter() - 'a'];
            int& source = count > 0 ? count : jokers;
            if (source == 0) {
                continue;
            }
            --source;
            if (child->EndsWord() && (!exactLength || depth + 1 == maxLength)) {
                out.push_back(static_cast<const WordNode*>(child.get()));
            }
            if (depth + 1 < maxLength) {
                walk(*child, depth + 1);
            }
            ++source;
        }
    };
    walk(*root_, 0);
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
