#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "engine/foundation/Resource.h"
#include "game/words/LetterNode.h"

class Property;

// The game's dictionary: a letter trie of words of 3 to 7 letters, with the
// words listed by length and the ranked 6- and 7-letter words from which
// mission words are drawn. As a resource ("WordList") it reads its word
// file when loaded; GetData gives the list itself.
//
// The trie is one array of packed nodes whose children lie side by side, so
// a look-up is an index computation and one read per letter. A node that
// gains a child while words are added moves its children to the end of the
// array; FinishAdding lays the array out again without the gaps.
class WordList : public Resource {
    ENGINE_CLASS(WordList, Resource)

public:
    struct RankedWord {
        WordNode* word;
        int rank;
    };

    static constexpr int kMinimumLength = 3;
    static constexpr int kMaximumLength = 7;
    static_assert(kMaximumLength <= LetterNode::kLongestWord);
    // Words longer than this are never counted further.
    static constexpr int kLongestCount = 29;

    // A list filled in memory with AddWord or ReadWordFile.
    WordList();
    // A resource from its definition ("file").
    explicit WordList(Property* definition);
    ~WordList() override;

    // Reads and parses the word file; a missing file leaves the list empty
    // and sets the error flag. Parsing touches nothing but this list, so it
    // may run on the loader thread.
    void Load() override;
    Object* GetData() override { return this; }
    void Unload() override;

    // The folding, lower-case and expansion tables; built on first use, so
    // calling this at start-up only moves that moment.
    static void InitLetterTables();
    // The plain lower-case letter of a byte, or LetterNode::kNoLetter.
    static uint8_t FoldLetter(uint8_t c) { return FoldingTable()[c]; }
    static uint8_t LowerLetter(uint8_t c);
    // "ss", "ae", "oe" for the letters that stand for two, else empty.
    static const std::string& ExpandLetter(uint8_t c);
    // Appends the folded letters of `text`, skipping bytes that fold to no letter.
    static void FoldWord(const std::string& text, std::string& out);
    // Bytes of `text` that fold to a letter, at most kLongestCount.
    static int CountLetters(const std::string& text);

    // Reads a front-coded word file: bytes of 28 and above are characters of
    // the current word; a lower byte ends it and keeps that many characters
    // (minus 8, followed by a little-endian 16-bit rank, for bytes 8 to 27)
    // of it as the start of the next word. Afterwards the word index is
    // built and the ranked lists are sorted.
    void ReadWordFile(const uint8_t* data, size_t size);

    void AddWord(const std::string& text, int rank);
    // Call after the last AddWord: builds the index and sorts the ranked lists.
    void FinishAdding();

    const WordNode* Contains(const std::string& text) const;
    // With `out`, appends every word matching the folded pattern ("?" is any
    // letter) in trie order and returns null; without, the first match.
    const WordNode* MatchPattern(const std::string& pattern, std::vector<const WordNode*>* out = nullptr) const;
    // The words that can be made from the multiset `letters` ("?" is a joker),
    // at most maxLength letters long (below 1: as many as given); with
    // exactLength only those exactly maxLength long.
    void FindFromLetters(const std::string& letters, std::vector<const WordNode*>& out, bool exactLength,
                         int maxLength) const;

    // A random ranked word of `length` (6 or 7) letters, folded, drawn with
    // the run's generator from the window that starts at the first word of
    // at least `rank` and holds every word up to rank + 3 and at least 76
    // words; near the end of the list the window is its last 76 words.
    // False, and `out` empty, when no word of that length is ranked.
    bool RandomWord(int length, int rank, std::string& out) const;
    // Shuffles the letters of `word` until they spell no word of the list, at
    // most 100 times; the last shuffle stands. True when the result is no word.
    bool ShuffleUntilNotAWord(std::string& word) const;

    int WordCount() const { return wordCount_; }
    // Every word in trie order.
    const std::vector<WordNode*>& WordIndex() const { return wordIndex_; }
    // The words of `length` letters in file order; empty outside 3 to 7.
    const std::vector<WordNode*>& WordsOfLength(int length) const;
    // The ranked words of 6 or 7 letters, ascending by rank; empty otherwise.
    const std::vector<RankedWord>& RankedWords(int length) const;
    // Read without error, with words of every length from 3 to 7 and the
    // ranked words missions are drawn from: a list a game can be played on.
    bool IsPlayable() const;

private:
    static constexpr uint32_t kRoot = 0;

    // The folding table, built on first use.
    static const std::array<uint8_t, 256>& FoldingTable();

    void Clear();
    // Inserts a child with the letter index at its place among the node's
    // children (moving them to the end of the array); its node index.
    uint32_t AddChild(uint32_t parent, int letterIndex);
    // Copies the children of a node already in `laidOut`, then their subtrees.
    void LayOutChildren(uint32_t laidOutNode, std::vector<LetterNode>& laidOut) const;
    void AppendWordsInTrieOrder(uint32_t node);
    bool MatchFrom(uint32_t node, const std::string& pattern, size_t depth, std::vector<const WordNode*>* out,
                   const WordNode*& first) const;
    struct LetterSearch;
    void FindFrom(uint32_t node, int depth, LetterSearch& search) const;

    int wordCount_ = 0;
    std::vector<LetterNode> nodes_;
    // Nodes in use, without the blocks left behind by moves.
    uint32_t nodeCount_ = 1;
    // Never moves a record, so the lists below and callers may keep pointers.
    std::deque<WordNode> words_;
    std::vector<WordNode*> wordIndex_;
    std::array<std::vector<WordNode*>, kMaximumLength - kMinimumLength + 1> wordsByLength_;
    std::array<std::vector<RankedWord>, 2> rankedWords_;
};
