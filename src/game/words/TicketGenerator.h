#pragma once

#include <functional>
#include <string>
#include <vector>

#include "game/words/TicketHooks.h"

class Property;
class TicketInfo;
class WordList;

// Fills a ticket from the constants of its game type's mode group, each the
// interpolation of its _CP0 and _CP1 value at the ticket's rating. Every
// draw comes from the run's generator in a fixed order, so one seed, word
// list and set of constants give one ticket.
class TicketGenerator {
public:
    // At most this many word lengths are chosen for a level, however large
    // the budget that data makes.
    static constexpr int kMaxLevelWords = 1000;

    TicketGenerator(TicketInfo& ticket, const WordList& words, const TicketHooks& hooks);

    // Blocks until the game scene's word list is loaded; an empty list when
    // there is no scene or no list.
    static const WordList& WaitForWordList(const TicketHooks& hooks);

    void Generate();

    // The word lengths (3 to 6) of a level whose words are worth `budget`
    // track units in all, each length costing its entry of the ticket's Units.
    std::vector<int> ChooseWordLengths(int budget) const;
    // Hides all but a drawn number of the letters of `word` behind "?";
    // false when the draws did not hide enough of them.
    static bool MaskWord(std::string& word);
    // Whether another scramble of these letters would show more scrambles
    // than the word list has words of exactly these letters.
    bool RejectsAnagram(const std::string& candidate) const;

private:
    float Lerp(float atZero, float atOne) const;
    float GroupLerp(const char* atZero, const char* atOne) const;
    int WordBudget() const;
    // The player's games, never below 0.
    int GamesPlayed() const;
    bool ForbidsRareLetters() const;
    void ComputeLetterWeights(float strength);
    void FillFromRandomWord(int budget, bool forbid);
    std::string ForbiddenLetters() const;
    void FillWordWeights();
    // For each chosen length, draws words of that length until one is made
    // into a level word (at most a bounded number of tries), then sorts them.
    void FillWords(int budget, const std::function<bool(std::string&)>& makeLevelWord);
    void SortWords();

    TicketInfo& ticket_;
    const WordList& words_;
    const TicketHooks& hooks_;
    const Property* group_;
};
