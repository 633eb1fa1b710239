#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <set>
#include <vector>
#include <string>

#include "TicketFixture.h"
#include "engine/foundation/RandomGenerator.h"
#include "game/words/LetterSetBuilder.h"
#include "game/words/TicketGenerator.h"
#include "game/words/TicketInfo.h"

namespace {

class TicketGenerationTest : public ::testing::Test {
protected:
    TicketGenerationTest() {
        hooks.words = FixtureWordList();
        hooks.Install();
    }
    ~TicketGenerationTest() override { FixedTicketHooks::Uninstall(); }

    Ref<TicketInfo> Generated(int gameType, float rating, uint32_t seed) {
        SeededRun run(seed);
        Ref<TicketInfo> ticket = new TicketInfo;
        ticket->GameType = gameType;
        ticket->Rating = rating;
        ticket->Generate();
        return ticket;
    }

    TicketConstantsFixture constants;
    FixedTicketHooks hooks;
};

// Rating 0 and 1 take the _CP0 and _CP1 values of the fixture exactly:
// race length 8 and 12, performance 0.6 and 0.9, permutations 2-20 and 6-40,
// units per word length 1..5 and (2, 3, 3, 2, 0.5 raised to 1).
TEST_F(TicketGenerationTest, GoldenTicketsForEveryTypeAndRating) {
    const struct {
        int gameType;
        float rating;
        const char* ticket;
    } cases[] = {
        {0, 0.0f, "units=8 pass=33020 perf=0.8000,0.6000 set=leastd"},
        {0, 0.5f, "units=10 pass=33020 perf=0.8750,0.7500 set=leastd"},
        {0, 1.0f, "units=12 pass=33020 perf=0.9500,0.9000 set=leastd"},
        {1, 0.0f, "units=8 pass=41140 perf=0.8000,0.6000 set=lnserta"},
        {1, 0.5f, "units=10 pass=41140 perf=0.8750,0.7500 set=lnserta"},
        {1, 1.0f, "units=12 pass=41140 perf=0.9500,0.9000 set=lnserta"},
        {2, 0.0f, "units=8 pass=15351 perf=0.8000,0.6000 set=atldeir perms=2-20 per=1,2,3,4,5 total=80.40"},
        {2, 0.5f, "units=10 pass=15351 perf=0.8750,0.7500 set=iearlni perms=4-30 per=1,2,3,3,2 total=194.51"},
        {2, 1.0f, "units=12 pass=15351 perf=0.9500,0.9000 set=tolteas perms=6-40 per=2,3,3,2,1 total=517.56"},
        {3, 0.0f, "units=8 pass=23502 perf=0.8000,0.6000 words=atn,buc,oxb,rae,rta,tae,tna,alet,astle,eastr,erlat,letsa"},
        {3, 0.5f, "units=10 pass=23502 perf=0.8750,0.7500 words=ase,atn,atr,rta,xbo,azjz,tsra,atles,ersta,rstea,tarse,asledt,earlsb,lnetar"},
        {3, 1.0f, "units=12 pass=23502 perf=0.9500,0.9000 words=atr,rta,xbo,aels,etsa,trae,arest,ltsae,artlne,ebrsla,nrleat,rcdlea,tsadle"},
        {4, 0.0f, "units=8 pass=13105 perf=0.8000,0.6000 words=??a,?a?,?u?,e??,s??,s??,e???,n??r,re??,r????,?n?l?r,?ta??r,l???nt"},
        {4, 0.5f, "units=10 pass=13105 perf=0.8750,0.7500 words=e??,r??,q?i?,r???,re??,????es,??n??l,?n???r,l???nt"},
        {4, 1.0f, "units=12 pass=13105 perf=0.9500,0.9000 words=e??,???e,???s?,??ter,la??r,????es,??n??l,??t??s,l???nt"},
        {5, 0.0f, "units=8 pass=21223 perf=0.8000,0.6000 set=eactps perms=2-20 per=1,2,3,4,5 total=80.40"},
        {5, 0.5f, "units=10 pass=21223 perf=0.8750,0.7500 set=iieatn perms=4-30 per=1,2,3,3,2 total=194.51"},
        {5, 1.0f, "units=12 pass=21223 perf=0.9500,0.9000 set=seatit perms=6-40 per=2,3,3,2,1 total=517.56"},
        {6, 0.0f, "units=8 pass=55250 perf=0.8000,0.6000 set=alentr"},
        {6, 0.5f, "units=10 pass=55250 perf=0.8750,0.7500 set=alentr"},
        {6, 1.0f, "units=12 pass=55250 perf=0.9500,0.9000 set=alentr"},
        {7, 0.0f, "units=8 pass=05055 perf=0.8000,0.6000 set=tarlen"},
        {7, 0.5f, "units=10 pass=05055 perf=0.8750,0.7500 set=tarlen"},
        {7, 1.0f, "units=12 pass=05055 perf=0.9500,0.9000 set=tarlen"},
    };
    for (const auto& c : cases) {
        const std::string actual = Describe(*Generated(c.gameType, c.rating, 1000 + c.gameType));
        EXPECT_EQ(actual, c.ticket) << "{" << c.gameType << ", " << c.rating << "f, \"" << actual << "\"},";
    }
}

TEST_F(TicketGenerationTest, NewPlayersGetNoRareLettersInClassicSixLetterSets) {
    // b, c, d and e weigh the least; of equal weights the later letter ranks
    // first, so with 5 - (5 * 4) / 10 = 3 letters forbidden they are d, c, b.
    std::string weights = "<Vector id=\"LETTER_FREQS\">";
    for (char c = 'a'; c <= 'z'; ++c) {
        weights += (c >= 'b' && c <= 'e') ? "<Float value=\"1\"/>" : "<Float value=\"5\"/>";
    }
    TicketConstantsFixture::Define(weights + "</Vector>");
    const struct {
        int gamesPlayed;
        bool forbids;
    } cases[] = {{4, true}, {10, false}};
    for (const auto& c : cases) {
        hooks.gamesPlayed = c.gamesPlayed;
        bool rareLetterSeen = false;
        for (uint32_t seed = 1; seed <= 60; ++seed) {
            Ref<TicketInfo> ticket = Generated(0, 0.5f, seed);
            ASSERT_EQ(ticket->LetterSet.size(), 6u);
            rareLetterSeen |= ticket->LetterSet.find_first_of("bcd") != std::string::npos;
            // Only the rule recomputes the weights.
            EXPECT_EQ(ticket->FreqsTotal, c.forbids ? 114.0f : 0.0f);
        }
        EXPECT_EQ(rareLetterSeen, !c.forbids) << c.gamesPlayed;
    }
    // Every word holds a forbidden letter: the thousandth redraw stands.
    hooks.gamesPlayed = 0;
    EXPECT_EQ(Generated(0, 0.5f, 3)->LetterSet.size(), 6u);
    // No maximum forbids nothing, even for a count of games below 0.
    TicketConstantsFixture::Define("<Integer id=\"FORBIDDEN_LETTER_MAX_GAMES\" value=\"0\"/>");
    hooks.gamesPlayed = -3;
    EXPECT_EQ(Generated(0, 0.5f, 3)->FreqsTotal, 0.0f);
}

TEST_F(TicketGenerationTest, MaskingKeepsTheDrawnNumberOfLettersVisible) {
    const struct {
        std::string word;
        int fewestVisible;
        int mostVisible;
    } cases[] = {{"ear", 1, 1}, {"rate", 1, 2}, {"stare", 1, 3}, {"alerts", 2, 3}};
    for (const auto& c : cases) {
        std::set<int> visibleCounts;
        for (uint32_t seed = 1; seed <= 50; ++seed) {
            SeededRun run(seed);
            std::string masked = c.word;
            ASSERT_TRUE(TicketGenerator::MaskWord(masked));
            const int visible = static_cast<int>(std::count_if(masked.begin(), masked.end(), [](char l) { return l != '?'; }));
            visibleCounts.insert(visible);
            for (size_t i = 0; i < masked.size(); ++i) {
                EXPECT_TRUE(masked[i] == '?' || masked[i] == c.word[i]);
            }
        }
        EXPECT_EQ(*visibleCounts.begin(), c.fewestVisible) << c.word;
        EXPECT_EQ(*visibleCounts.rbegin(), c.mostVisible) << c.word;
    }
    SeededRun run(1);
    std::string longWord = "antlers";
    EXPECT_FALSE(TicketGenerator::MaskWord(longWord));
    EXPECT_EQ(longWord, "antlers");
}

TEST_F(TicketGenerationTest, AnagramsOfOneSetOfLettersNeverOutnumberItsWords) {
    hooks.words = WordListOf({"ate", "eat", "tea", "rat"});
    const struct {
        std::initializer_list<const char*> shown;
        bool rejected;
    } cases[] = {{{}, false}, {{"tae", "aet"}, false}, {{"tae", "aet", "eta"}, true}, {{"tar", "tra", "ra"}, false}};
    for (const auto& c : cases) {
        TicketInfo ticket;
        for (const char* word : c.shown) {
            ticket.Words.push_back(std::make_unique<WordNode>(word));
        }
        EXPECT_EQ(TicketGenerator(ticket, *hooks.words, TicketInfo::Hooks()).RejectsAnagram("tae"), c.rejected)
            << c.shown.size();
    }
    // "rat" has one word and so at most one scramble per level.
    hooks.words = WordListOf({"rat", "sat"});
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        std::map<std::string, int> scrambles;
        Ref<TicketInfo> ticket = Generated(3, 0.0f, seed);
        for (const auto& word : ticket->Words) {
            std::string letters = word->Text();
            std::sort(letters.begin(), letters.end());
            EXPECT_LE(++scrambles[letters], 1) << word->Text();
        }
    }
}

TEST_F(TicketGenerationTest, WordLengthsSpendTheBudgetAndStopOnWorthlessWords) {
    TicketConstantsFixture::DefineInGroups(
        "<Vector id=\"WORD_LENGTH_CHANCE_CP0\"><Float value=\"0\"/><Float value=\"1\"/></Vector>");
    const struct {
        std::array<int32_t, 5> units;
        int budget;
        std::vector<int> lengths;
    } cases[] = {
        {{1, 2, 3, 4, 5}, 5, {4, 4, 4}},   // 2 units each until the budget is spent
        {{1, 2, 3, 4, 5}, 0, {}},
        {{1, 0, 3, 4, 5}, 5, {}},          // a word worth nothing would never end the loop
        {{1, -2, 3, 4, 5}, 5, {}},
    };
    for (const auto& c : cases) {
        SeededRun run(5);
        TicketInfo ticket;
        ticket.GameType = 3;
        ticket.Rating = 0.0f;
        ticket.Units = c.units;
        EXPECT_EQ(TicketGenerator(ticket, *hooks.words, TicketInfo::Hooks()).ChooseWordLengths(c.budget), c.lengths);
    }
}

enum class Words { kFixture, kNone, kOneWord, kThreeLetters, kAbsent };

Ref<WordList> ListOf(Words words) {
    switch (words) {
        case Words::kFixture:
            return FixtureWordList();
        case Words::kNone:
            return WordListOf({});
        case Words::kOneWord:
            return WordListOf({"cat"});
        case Words::kThreeLetters:
            return WordListOf({"ear", "art", "sat"});
        case Words::kAbsent:
            break;
    }
    return nullptr;
}

// Constants or lists that the draws divide by, and loops they drive, end in
// a playable ticket instead of a crash or a hang.
TEST_F(TicketGenerationTest, ZeroDivisorsAndMissingDataGiveBoundedTickets) {
    const struct {
        int gameType;
        std::string groupConstants;
        std::string constants;
        Words words;
        size_t letters;
        size_t fewestWords;
        size_t mostWords;
    } cases[] = {
        {6, "<Float id=\"MAX_WORD_PERC_CP0\" value=\"0.2\"/>", "", Words::kFixture, 6, 0, 0},
        {4, "<Float id=\"MIN_WORD_PERC_CP0\" value=\"0\"/><Float id=\"MAX_WORD_PERC_CP0\" value=\"0\"/>", "",
         Words::kFixture, 0, 1, 80},
        {3, "<Vector id=\"WORD_LENGTH_CHANCE_CP0\"/>", "", Words::kFixture, 0, 0, 0},
        {3, "", "", Words::kThreeLetters, 0, 1, 40},
        {4, "", "", Words::kThreeLetters, 0, 1, 40},
        {2, "", "<Vector id=\"LETTER_FREQS\"/>", Words::kFixture, 7, 0, 0},
        {5, "", "", Words::kNone, 6, 0, 0},
        {0, "", "", Words::kNone, 0, 0, 0},
        {1, "", "", Words::kAbsent, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "type " << c.gameType << " " << c.groupConstants << c.constants);
        TicketConstantsFixture fresh;
        TicketConstantsFixture::DefineInGroups(c.groupConstants);
        TicketConstantsFixture::Define(c.constants);
        hooks.words = ListOf(c.words);
        Ref<TicketInfo> ticket = Generated(c.gameType, 0.0f, 11);
        EXPECT_EQ(ticket->LetterSet.size(), c.letters);
        EXPECT_GE(ticket->Words.size(), c.fewestWords);
        EXPECT_LE(ticket->Words.size(), c.mostWords);
        EXPECT_EQ(ticket->NumUnits, 8);
    }
}

// Numbers of a damaged settings file far outside the game's own are held
// where they are read: a race of at most 1,000 units, a word fraction of at
// least a tenth, no negative word count; a level of words hard to find is
// made within a bounded number of tries.
TEST_F(TicketGenerationTest, HostileSettingsAreHeldToNumbersALevelCanBeMadeOf) {
    const std::string farAway = "<Vector id=\"DISTANCE_CP0\"><Integer value=\"2147483647\"/>"
                                "<Integer value=\"2147483647\"/></Vector>";
    const struct {
        int gameType;
        std::string groupConstants;
        int units;
        size_t mostWords;
    } cases[] = {
        {3, farAway, 1000, TicketGenerator::kMaxLevelWords},
        {3, "<Float id=\"MIN_WORD_PERC_CP0\" value=\"-2147483648\"/>", 8, 80},
        {4, "<Float id=\"MIN_WORD_PERC_CP0\" value=\"0.0000001\"/><Float id=\"MAX_WORD_PERC_CP0\" value=\"0\"/>",
         8, 80},
        {2, "<Integer id=\"MIN_PERMUTATIONS_CP0\" value=\"-2147483648\"/>", 8, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "type " << c.gameType << " " << c.groupConstants);
        TicketConstantsFixture fresh;
        TicketConstantsFixture::DefineInGroups(c.groupConstants);
        hooks.words = ListOf(Words::kThreeLetters);
        const auto start = std::chrono::steady_clock::now();
        Ref<TicketInfo> ticket = Generated(c.gameType, 0.0f, 11);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_EQ(ticket->NumUnits, c.units);
        EXPECT_LE(ticket->Words.size(), c.mostWords);
        EXPECT_GE(ticket->MinPermutations, 0);
    }
}

TEST_F(TicketGenerationTest, LetterSetBuilderEndsWithTheLettersItWasAskedFor) {
    const struct {
        const char* what;
        Words words;
        int gameType;
        std::string keep;
        float freqsTotal;
        int minWords;
        int maxWords;
        size_t letters;
    } cases[] = {
        {"words in range", Words::kFixture, 2, "", 80.4f, 2, 40, 7},
        {"kept letters", Words::kFixture, 5, "ts", 80.4f, 2, 40, 4},
        {"nothing left to draw", Words::kFixture, 5, "abcdefg", 80.4f, 2, 40, 0},
        {"empty list", Words::kNone, 2, "", 80.4f, 2, 40, 7},
        {"one word", Words::kOneWord, 2, "", 80.4f, 5, 40, 7},
        {"zero weights", Words::kFixture, 2, "", 0.0f, 2, 40, 7},
        {"no room above", Words::kFixture, 2, "", 80.4f, 2, 0, 7},
    };
    const std::array<float, TicketInfo::kLetters> weights = Generated(2, 0.0f, 1)->LetterFreqs;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TicketInfo ticket;
        ticket.GameType = c.gameType;
        ticket.LetterFreqs = weights;
        ticket.FreqsTotal = c.freqsTotal;
        ticket.MinPermutations = c.minWords;
        ticket.MaxPermutations = c.maxWords;
        SeededRun run(21);
        const std::string drawn = LetterSetBuilder(*ListOf(c.words), &hooks).Build("", c.keep, ticket);
        EXPECT_EQ(drawn.size(), c.letters);
        EXPECT_TRUE(std::all_of(drawn.begin(), drawn.end(), [](char l) { return l >= 'a' && l <= 'z'; })) << drawn;
    }
}

TEST_F(TicketGenerationTest, LetterSetsAllowTheirWordCountWithALongWordNotYetQueued) {
    // Every three-letter word is queued: only longer ones count.
    for (const WordNode* word : hooks.words->WordsOfLength(3)) {
        hooks.queue.insert(word->Text());
    }
    for (uint32_t seed = 1; seed <= 30; ++seed) {
        Ref<TicketInfo> ticket = Generated(2, 0.5f, seed);
        std::vector<const WordNode*> found;
        hooks.words->FindFromLetters(ticket->LetterSet, found, false, 7);
        int fresh = 0;
        bool longWord = false;
        for (const WordNode* word : found) {
            if (hooks.queue.count(word->Text()) == 0) {
                ++fresh;
                longWord |= word->LetterCount() >= 4;
            }
        }
        EXPECT_TRUE(longWord) << ticket->LetterSet;
        EXPECT_GE(fresh, ticket->MinPermutations) << ticket->LetterSet;
        EXPECT_LE(static_cast<int>(found.size()), ticket->MaxPermutations) << ticket->LetterSet;
    }
}

TEST_F(TicketGenerationTest, WhenNoSetAllowsEnoughWordsTheOneLeavingTheMostNewWordsStands) {
    // One letter to draw, "a" or "b" as likely: "a" makes three words, all found already; "b" one new word.
    hooks.queue = {"xya", "yza", "zxa"};
    TicketInfo ticket;
    ticket.GameType = 2;
    ticket.LetterFreqs.fill(2.0f);
    ticket.LetterFreqs[0] = 1.0f;
    ticket.FreqsTotal = 2.0f;
    ticket.MinPermutations = 10;
    ticket.MaxPermutations = 100;
    for (uint32_t seed : {1u, 2u, 3u}) {
        SeededRun run(seed);
        EXPECT_EQ(LetterSetBuilder(*WordListOf({"xya", "yza", "zxa", "xyb"}), &hooks).Build("", "xyzxyz", ticket), "b")
            << seed;
    }
}

}  // namespace
