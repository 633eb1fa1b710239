#pragma once

#include <array>
#include <set>
#include <string>
#include <vector>

#include "mediagen/MediaTree.h"

class WordList;

// Track units a word of 3, 4, 5, 6 and 7 letters is worth; the ranks are
// counted in them, so they must be the units the game's constants give.
using WordUnits = std::array<int, 5>;

struct RankedEntry {
    std::string word;
    int rank;  // 0 for words of 3 to 5 letters, which are never drawn by rank
};

// The scowl lists of English and American words the word file is made from.
std::vector<std::string> ScowlListFiles(const std::string& scowlFolder);
// The checked-in list of words kept out of the game.
std::string BlockListFile(const std::string& mediaSource);

// Lower-case a-z words of 3 to 7 letters from the given lists, minus the
// blocked ones, sorted and without duplicates.
std::vector<std::string> ReadCandidateWords(const std::vector<std::string>& listFiles,
                                            const std::set<std::string>& blocked);

// One word per line; "#" starts a comment.
std::set<std::string> ReadWordSet(const std::string& file);

// A word's rank is the units of every word of 3 letters up to its own length
// that can be made from its letters, itself included, capped at 65535: the
// more words a letter set holds, the longer the race it can carry.
std::vector<RankedEntry> RankWords(const std::vector<std::string>& words, const WordUnits& units);

// Front-coded against the word before; 6- and 7-letter words carry their rank.
Bytes EncodeWordFile(const std::vector<RankedEntry>& entries);

// The "LETTER_FREQS" constant file: each letter's share of all letters of
// the words, in percent.
std::string LetterFrequencyFile(const std::vector<std::string>& words);

// The highest rank R for which the window RandomWord draws from still holds
// 76 ranked words of `length` letters without running off the list's end;
// -1 when the list holds fewer than 76.
int HighestFullWindowRank(const WordList& list, int length);
