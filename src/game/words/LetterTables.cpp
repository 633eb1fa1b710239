#include <array>
#include <string>

#include "game/words/WordList.h"

namespace {

// The three 8-bit tables that reduce every Windows-1252 byte to a plain
// lower-case letter, lower-case it, or spell it as two letters.
struct LetterTables {
    std::array<uint8_t, 256> fold{};
    std::array<uint8_t, 256> lower{};
    std::array<std::string, 256> expansion;

    LetterTables() {
        fold.fill(LetterNode::kNoLetter);
        for (int c = 0; c < 256; ++c) {
            lower[c] = static_cast<uint8_t>(c);
        }
        for (int c = 'a'; c <= 'z'; ++c) {
            fold[c] = static_cast<uint8_t>(c);
            fold[c - 'a' + 'A'] = static_cast<uint8_t>(c);
            lower[c - 'a' + 'A'] = static_cast<uint8_t>(c);
        }
        FoldRange(192, 197, 'a');
        FoldRange(224, 229, 'a');
        FoldRange(199, 199, 'c');
        FoldRange(231, 231, 'c');
        FoldRange(200, 203, 'e');
        FoldRange(232, 235, 'e');
        FoldRange(204, 207, 'i');
        FoldRange(236, 239, 'i');
        FoldRange(208, 208, 'd');
        FoldRange(209, 209, 'n');
        FoldRange(241, 241, 'n');
        FoldRange(210, 214, 'o');
        FoldRange(216, 216, 'o');
        FoldRange(242, 246, 'o');
        FoldRange(248, 248, 'o');
        FoldRange(138, 138, 's');
        FoldRange(154, 154, 's');
        FoldRange(217, 220, 'u');
        FoldRange(249, 252, 'u');
        FoldRange(221, 221, 'y');
        FoldRange(253, 253, 'y');
        FoldRange(255, 255, 'y');
        FoldRange(159, 159, 'y');
        FoldRange(142, 142, 'z');
        FoldRange(158, 158, 'z');

        LowerRange(192, 207, 224);
        LowerRange(209, 214, 241);
        LowerRange(216, 216, 248);
        LowerRange(217, 221, 249);
        LowerRange(140, 140, 156);
        LowerRange(138, 138, 154);
        LowerRange(142, 142, 158);
        LowerRange(159, 159, 255);

        expansion[223] = "ss";
        expansion[198] = "ae";
        expansion[230] = "ae";
        expansion[140] = "oe";
        expansion[156] = "oe";
    }

    void FoldRange(int first, int last, char letter) {
        for (int c = first; c <= last; ++c) {
            fold[c] = static_cast<uint8_t>(letter);
        }
    }

    void LowerRange(int first, int last, int firstLower) {
        for (int c = first; c <= last; ++c) {
            lower[c] = static_cast<uint8_t>(firstLower + c - first);
        }
    }
};

const LetterTables& Tables() {
    static const LetterTables tables;
    return tables;
}

}  // namespace

void WordList::InitLetterTables() { Tables(); }

const std::array<uint8_t, 256>& WordList::FoldingTable() { return Tables().fold; }

uint8_t WordList::LowerLetter(uint8_t c) { return Tables().lower[c]; }

const std::string& WordList::ExpandLetter(uint8_t c) { return Tables().expansion[c]; }

void WordList::FoldWord(const std::string& text, std::string& out) {
    for (char c : text) {
        uint8_t folded = FoldLetter(static_cast<uint8_t>(c));
        if (folded != LetterNode::kNoLetter) {
            out.push_back(static_cast<char>(folded));
        }
    }
}

int WordList::CountLetters(const std::string& text) {
    int count = 0;
    for (char c : text) {
        if (count == kLongestCount) {
            break;
        }
        if (FoldLetter(static_cast<uint8_t>(c)) != LetterNode::kNoLetter) {
            ++count;
        }
    }
    return count;
}
