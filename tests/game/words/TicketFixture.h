#pragma once

#include <set>
#include <string>

#include "engine/foundation/Ref.h"
#include "game/words/TicketHooks.h"
#include "game/words/WordList.h"

class TicketInfo;

// Constants for tickets: eight mode groups of one shape (GAME_MODES "M0" to
// "M7", plus "RANDOM"), units 1 to 5 and weights that favour the letters of
// the fixture word list. Later calls of Define replace single constants.
class TicketConstantsFixture {
public:
    TicketConstantsFixture();
    ~TicketConstantsFixture();
    TicketConstantsFixture(const TicketConstantsFixture&) = delete;
    TicketConstantsFixture& operator=(const TicketConstantsFixture&) = delete;

    // Adds top-level constants written as XML elements, e.g. "<Integer id=\"X\" value=\"1\"/>".
    static void Define(const std::string& elements);
    // Replaces one constant of every mode group.
    static void DefineInGroups(const std::string& element);
};

// Fixed answers for ticket generation.
class FixedTicketHooks : public TicketPlayerHook, public TicketMapHook, public TicketSceneHook {
public:
    int GamesPlayed() const override { return gamesPlayed; }
    int TrackLengthClass(int, int) const override { return lengthClass; }
    const WordList* WaitForWordList() override { return words.Get(); }
    bool IsInWordQueue(const std::string& text) const override { return queue.count(text) != 0; }

    // Installs these hooks until Uninstall.
    void Install();
    static void Uninstall();

    int gamesPlayed = 20;
    int lengthClass = 1;
    Ref<WordList> words;
    std::set<std::string> queue;
};

// A list of words of 3 to 7 letters over "a e l n r s t" and a few others,
// with ranks on the 6- and 7-letter ones.
Ref<WordList> FixtureWordList();
Ref<WordList> WordListOf(const std::initializer_list<std::string>& words);

// Seeds the run's generator; SetGlobal(nullptr) on destruction.
class SeededRun {
public:
    explicit SeededRun(uint32_t seed);
    ~SeededRun();
    SeededRun(const SeededRun&) = delete;
    SeededRun& operator=(const SeededRun&) = delete;
};

// The generated fields of a ticket in one line, for golden comparisons.
std::string Describe(const TicketInfo& ticket);
