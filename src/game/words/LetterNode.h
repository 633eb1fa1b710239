#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One node of the word list's letter trie. Besides its letter it keeps, for
// every word whose path passes through it, the bit (length - 1), so searches
// can skip subtrees that hold no word of the length they want.
class LetterNode {
public:
    static constexpr uint8_t kNoLetter = 174;
    static constexpr uint32_t kWordEndBit = 1u << 30;

    explicit LetterNode(uint8_t letter) : letter_(letter) {}
    LetterNode(const LetterNode&) = delete;
    LetterNode& operator=(const LetterNode&) = delete;
    virtual ~LetterNode() = default;

    uint8_t Letter() const { return letter_; }
    uint32_t Flags() const { return flags_; }
    bool EndsWord() const { return (flags_ & kWordEndBit) != 0; }
    bool HasWordOfLength(int length) const { return length >= 1 && length <= 30 && (flags_ & (1u << (length - 1))) != 0; }
    void AddFlags(uint32_t flags) { flags_ |= flags; }

    const std::vector<std::unique_ptr<LetterNode>>& Children() const { return children_; }
    LetterNode* FindChild(uint8_t letter) const;
    // The child with this letter, inserted in letter order when missing; null
    // when the node already has the most children a node may have.
    LetterNode* FindOrAddChild(uint8_t letter);
    // Puts `replacement` in the place of the child with the same letter,
    // handing it that child's children and flags.
    LetterNode* ReplaceChild(std::unique_ptr<LetterNode> replacement);

private:
    static constexpr size_t kMaxChildren = 255;

    uint8_t letter_;
    uint32_t flags_ = 0;
    std::vector<std::unique_ptr<LetterNode>> children_;
};

// A trie node at which a word ends; also the word record that tickets keep.
class WordNode : public LetterNode {
public:
    // A free-standing record: the letters are counted by the folding table.
    explicit WordNode(const std::string& text);
    WordNode(uint8_t letter, const std::string& text, int letterCount);

    const std::string& Text() const { return text_; }
    int LetterCount() const { return letterCount_; }

private:
    std::string text_;
    int letterCount_;
};
