#pragma once

// A small dictionary of words of 3 to 7 letters over a few common letters,
// ranked where the game ranks them (6 and 7 letters), for targets that deal
// words as the game does.
#include <utility>

#include "engine/foundation/Ref.h"
#include "game/words/WordList.h"

namespace fuzz_environment {

inline Ref<WordList> SmallWordList() {
    static const char* const plain[] = {
        "ear",  "era",  "are",  "art",  "rat",  "tar",  "sat",  "tea",   "eat",   "ate",   "set",   "net",
        "ten",  "tan",  "ant",  "let",  "sea",  "rate", "tear", "star",  "rest",  "seat",  "east",  "neat",
        "late", "tale", "earn", "near", "rent", "sale", "stare", "tears", "rates", "least", "steal", "slate",
        "learn", "alert", "alter", "later", "quiz", "jazz", "box", "cub"};
    static const std::pair<const char*, int> ranked[] = {
        {"alerts", 10}, {"alters", 20}, {"staler", 30}, {"antler", 40}, {"rental", 50},  {"learnt", 60},
        {"salter", 15}, {"antlers", 15}, {"rentals", 25}, {"saltern", 35}, {"sternal", 45}};
    Ref<WordList> list = new WordList;
    for (const char* word : plain) {
        list->AddWord(word, 0);
    }
    for (const auto& [word, rank] : ranked) {
        list->AddWord(word, rank);
    }
    list->FinishAdding();
    return list;
}

}  // namespace fuzz_environment
