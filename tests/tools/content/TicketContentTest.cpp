#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "engine/foundation/Archive.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/RandomGenerator.h"
#include "engine/foundation/Ref.h"
#include "game/words/LetterSetBuilder.h"
#include "game/words/TicketInfo.h"
#include "game/words/WordList.h"
#include "platform/Files.h"

// Tickets made from the shipped constant files and word list: at every
// rating every game type must give a level whose words a player can find.
namespace {

const std::vector<std::string> kConstantFiles = {
    "media/properties/default.xml",      "media/properties/assets.xml",
    "media/properties/dynamic.xml",      "media/properties/text.xml",
    "media/properties/names.xml",        "media/properties/letterfreqs.xml",
    "media/properties/gamesettings.xml", "media/properties/rankings.xml",
};

const std::vector<uint32_t> kSeeds = {1, 77, 4242};

// More words than this do not fit a level's word queue in any sensible way.
constexpr size_t kMostLevelWords = 40;

const std::string kBuild = WORDRAIL_BUILD_DIR;

// A player in the first games (so the rare-letter rule applies) and a map
// whose track length class follows the track number.
class FixedHooks : public TicketPlayerHook, public TicketMapHook, public TicketSceneHook {
public:
    int GamesPlayed() const override { return 3; }
    int TrackLengthClass(int, int track) const override { return track % 4; }
    const WordList* WaitForWordList() override { return words.Get(); }
    bool IsInWordQueue(const std::string& text) const override { return queue.count(text) != 0; }

    Ref<WordList> words;
    std::set<std::string> queue;
};

class ShippedTickets : public testing::Test {
protected:
    ShippedTickets() : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(kBuild);
        OpenMediaArchive(LoadMode::File, "");
        Defines::Create();
        constants_ = new PropertyFile(kConstantFiles);
        loaded_ = constants_->Load();
        ClassFactory::Instance().CreateNamedObjects(*constants_);
        std::vector<uint8_t> bytes;
        hooks_.words = new WordList;
        if (platform::ReadWholeFile(kBuild + "/media/data/words.dat", bytes)) {
            hooks_.words->ReadWordFile(bytes.data(), bytes.size());
        }
        TicketInfo::SetHooks({&hooks_, &hooks_, &hooks_});
    }
    ~ShippedTickets() override {
        TicketInfo::SetHooks({});
        RandomGenerator::SetGlobal(nullptr);
        Defines::ReleaseInstance();
        CloseMediaArchive();
        std::filesystem::current_path(previous_);
    }

    FixedHooks hooks_;
    Ref<PropertyFile> constants_;
    bool loaded_ = false;

private:
    std::filesystem::path previous_;
};

std::vector<const WordNode*> WordsFrom(const WordList& list, const std::string& letters, bool exact) {
    std::vector<const WordNode*> found;
    list.FindFromLetters(letters, found, exact, static_cast<int>(letters.size()));
    return found;
}

int UnitsOf(const TicketInfo& ticket, int length) { return ticket.Units[length - 3]; }

std::string Describe(const TicketInfo& ticket) {
    std::string text = "letters \"" + ticket.LetterSet + "\", race " + std::to_string(ticket.NumUnits) +
                       " units, permutations " + std::to_string(ticket.MinPermutations) + ".." +
                       std::to_string(ticket.MaxPermutations) + ", words:";
    for (const auto& word : ticket.Words) {
        text += " " + word->Text();
    }
    return text;
}

// What the player must be able to find, by how the game type presents the level.
void ExpectFindable(const TicketInfo& ticket, const WordList& list) {
    const int type = ticket.GameType;
    ASSERT_GT(ticket.NumUnits, 0);
    switch (type) {
        case 0: case 1: case 2: case 5: case 6: case 7: {
            // One set of letters from which the player spells words.
            ASSERT_EQ(ticket.LetterSet.size(), static_cast<size_t>(TicketInfo::LetterSetLength(type)));
            ASSERT_TRUE(std::all_of(ticket.LetterSet.begin(), ticket.LetterSet.end(),
                                    [](char c) { return c >= 'a' && c <= 'z'; }));
            const std::vector<const WordNode*> found = WordsFrom(list, ticket.LetterSet, false);
            ASSERT_FALSE(found.empty());
            const int longest = std::max_element(found.begin(), found.end(), [](auto* a, auto* b) {
                                    return a->LetterCount() < b->LetterCount();
                                })[0]->LetterCount();
            if (type == 2 || type == 5) {
                // Each word's letters are replaced, so the set must only allow
                // the asked number of words and one long word.
                const int count = static_cast<int>(found.size());
                EXPECT_GE(count, std::max(1, ticket.MinPermutations));
                EXPECT_LE(count, ticket.MaxPermutations);
                EXPECT_GE(longest, 4);
            } else {
                // The set is a shuffled word, and its words carry the whole race.
                EXPECT_FALSE(WordsFrom(list, ticket.LetterSet, true).empty()) << "the set spells no word";
                int units = 0;
                for (const WordNode* word : found) {
                    units += UnitsOf(ticket, word->LetterCount());
                }
                EXPECT_GE(units, ticket.NumUnits);
            }
            break;
        }
        case 3: case 4: {
            // A list of scrambled or gapped words, each solvable, worth the race.
            ASSERT_FALSE(ticket.Words.empty());
            EXPECT_LE(ticket.Words.size(), kMostLevelWords);
            int units = 0;
            for (const auto& word : ticket.Words) {
                const std::string& text = word->Text();
                ASSERT_GE(text.size(), 3u) << text;
                ASSERT_LE(text.size(), 6u) << text;
                units += UnitsOf(ticket, static_cast<int>(text.size()));
                if (type == 3) {
                    EXPECT_EQ(list.Contains(text), nullptr) << text << " is shown unscrambled";
                    EXPECT_FALSE(WordsFrom(list, text, true).empty()) << text << " unscrambles to no word";
                } else {
                    const auto shown = std::count_if(text.begin(), text.end(), [](char c) { return c != '?'; });
                    const int fewest = text.size() == 6 ? 2 : 1;
                    const int most = std::min<int>(3, static_cast<int>(text.size()) - 2);
                    EXPECT_GE(shown, fewest) << text;
                    EXPECT_LE(shown, most) << text;
                    EXPECT_NE(list.MatchPattern(text), nullptr) << text << " fills to no word";
                }
            }
            EXPECT_GE(units, ticket.NumUnits);
            break;
        }
        default:
            FAIL() << "no such game type " << type;
    }
}

TEST_F(ShippedTickets, EveryTypeAtEveryRatingGivesALevelWhoseWordsCanBeFound) {
    ASSERT_TRUE(loaded_) << "the constant files are there and parse";
    ASSERT_GT(hooks_.words->WordCount(), 0) << "the generated word list is there";
    for (int type = 0; type < TicketInfo::kGameTypeCount; ++type) {
        for (int tenth = 0; tenth <= 10; ++tenth) {
            for (uint32_t seed : kSeeds) {
                RandomGenerator::SetGlobal(new RandomGenerator(seed, 0));
                Ref<TicketInfo> ticket = new TicketInfo;
                ticket->GameType = type;
                ticket->Rating = static_cast<float>(tenth) / 10.0f;
                ticket->Track = static_cast<int>(seed);
                ticket->Generate();
                SCOPED_TRACE("type " + std::to_string(type) + ", rating " + std::to_string(ticket->Rating) +
                             ", seed " + std::to_string(seed) + ": " + Describe(*ticket));
                ExpectFindable(*ticket, *hooks_.words);
            }
        }
    }
}

// A Fresh Coals race: each word found is replaced by new letters. Every deal
// must leave the words the ticket asks for that are not found yet (the
// demand eases by one for every 800 attempts, at most three times).
TEST_F(ShippedTickets, EveryFreshCoalsDealLeavesTheNewWordsItsTicketAsksFor) {
    ASSERT_TRUE(loaded_);
    constexpr int kDeals = 20;
    const int eased = LetterSetBuilder::kMaxAttempts / 800;
    for (uint32_t seed : kSeeds) {
        for (const float rating : {0.0f, 0.5f, 1.0f}) {
            RandomGenerator::SetGlobal(new RandomGenerator(seed, 0));
            Ref<TicketInfo> ticket = new TicketInfo;
            ticket->GameType = 2;
            ticket->Rating = rating;
            ticket->Generate();
            hooks_.queue.clear();
            std::string set = ticket->LetterSet;
            for (int deal = 0; deal < kDeals; ++deal) {
                const WordNode* longest = nullptr;
                int fresh = 0;
                for (const WordNode* word : WordsFrom(*hooks_.words, set, false)) {
                    if (hooks_.queue.count(word->Text()) == 0) {
                        ++fresh;
                        if (longest == nullptr || word->LetterCount() > longest->LetterCount()) longest = word;
                    }
                }
                SCOPED_TRACE("seed " + std::to_string(seed) + ", rating " + std::to_string(rating) + ", deal " +
                             std::to_string(deal) + ": \"" + set + "\"");
                ASSERT_NE(longest, nullptr);
                EXPECT_GE(fresh, ticket->MinPermutations - eased);
                // The player takes the longest new word; its letters are replaced.
                const std::string word = longest->Text();
                hooks_.queue.insert(word);
                std::string keep = set;
                for (const char letter : word) {
                    if (const size_t at = keep.find(letter); at != std::string::npos) keep.erase(at, 1);
                }
                set = keep + LetterSetBuilder(*hooks_.words, &hooks_).Build(word, keep, *ticket);
                ASSERT_EQ(set.size(), 7u);
            }
        }
    }
}

}  // namespace
