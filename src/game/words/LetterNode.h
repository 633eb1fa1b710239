#pragma once

#include <cstdint>
#include <string>
#include <utility>

// One node of the word list's letter trie, packed into 12 bytes: which of the
// letters "a" to "z" have a child (the children lie side by side in letter
// order, from the first child's index on), the word that ends here, and for
// every word whose path passes through it the bit (length - 1), so searches
// can skip subtrees that hold no word of the length they want.
class LetterNode {
public:
    static constexpr uint8_t kNoLetter = 174;
    static constexpr uint32_t kNoWord = 0;
    // Words are 1 to this many letters long.
    static constexpr int kLongestWord = 7;

    bool HasChild(int letterIndex) const { return (childLetters_ >> letterIndex & 1) != 0; }
    uint32_t ChildLetters() const { return childLetters_; }
    int ChildCount() const { return CountBits(childLetters_); }
    // The node index of the child with letter index `letterIndex` (0 for "a"), which must exist.
    uint32_t Child(int letterIndex) const {
        return firstChild_ + static_cast<uint32_t>(CountBits(childLetters_ & ((1u << letterIndex) - 1)));
    }
    uint32_t FirstChild() const { return firstChild_; }
    void SetChildren(uint32_t childLetters, uint32_t firstChild) {
        childLetters_ = childLetters;
        firstChild_ = firstChild;
    }

    bool HasWordOfLength(int length) const {
        return length >= 1 && length <= kLongestWord && (wordAndLengths_ & (1u << (length - 1))) != 0;
    }
    void AddLength(int length) { wordAndLengths_ |= 1u << (length - 1); }
    // 1 + the index of the word that ends here, or kNoWord.
    uint32_t Word() const { return wordAndLengths_ >> kLengthBits; }
    bool EndsWord() const { return Word() != kNoWord; }
    void SetWord(uint32_t word) { wordAndLengths_ = (wordAndLengths_ & kLengthMask) | word << kLengthBits; }

    // Bits set in a letter mask. The x86-64 baseline has no instruction for
    // this, and the library call it would get instead is slower than these steps.
    static constexpr int CountBits(uint32_t bits) {
        bits = bits - ((bits >> 1) & 0x55555555u);
        bits = (bits & 0x33333333u) + ((bits >> 2) & 0x33333333u);
        return static_cast<int>((((bits + (bits >> 4)) & 0x0F0F0F0Fu) * 0x01010101u) >> 24);
    }

private:
    static constexpr uint32_t kLengthBits = kLongestWord;
    static constexpr uint32_t kLengthMask = (1u << kLengthBits) - 1;

    uint32_t childLetters_ = 0;
    uint32_t firstChild_ = 0;
    uint32_t wordAndLengths_ = 0;
};

static_assert(sizeof(LetterNode) == 12);

// A word of the list, or a free-standing word record that tickets keep: the
// text (as read, lower-cased) and its number of letters.
class WordNode {
public:
    // The letters are counted by the folding table.
    explicit WordNode(std::string text) : text_(std::move(text)) {}

    const std::string& Text() const { return text_; }
    int LetterCount() const;

private:
    // The letter count is counted again when asked: keeping it would make
    // every record of the list a third larger.
    std::string text_;
};
