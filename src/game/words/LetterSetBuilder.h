#pragma once

#include <string>

class TicketInfo;
class TicketSceneHook;
class WordList;

// Draws letters by the ticket's cumulative weights until, with the letters
// kept, they make a set from which between MinPermutations and
// MaxPermutations words can be made, one of them long. The bounds ease as
// the attempts go on; after kMaxAttempts the attempt that allowed the most
// words stands, so a small list or bad weights cannot stall the game.
class LetterSetBuilder {
public:
    static constexpr int kMaxAttempts = 2500;

    // `scene` answers which words are already in the word queue; null: none are.
    LetterSetBuilder(const WordList& words, const TicketSceneHook* scene);

    // The drawn letters, which with `keep` make a letter set of the ticket's
    // game type; drawing avoids the letters of `avoid` in early attempts.
    std::string Build(const std::string& avoid, const std::string& keep, const TicketInfo& ticket) const;

    // One letter by the ticket's weights; with `consonantOnly` vowels are
    // drawn again (a bounded number of times).
    static char DrawLetter(const TicketInfo& ticket, bool consonantOnly);
    static bool IsVowel(char letter);

private:
    const WordList& words_;
    const TicketSceneHook* scene_;
};
