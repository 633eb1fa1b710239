#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/RandomGenerator.h"
#include "engine/foundation/Ref.h"
#include "game/words/WordList.h"
#include "platform/Files.h"
#include "support/TempFolder.h"
#include "support/TempUserFolders.h"

namespace {

std::vector<std::string> Texts(const std::vector<const WordNode*>& words) {
    std::vector<std::string> texts;
    for (const WordNode* word : words) {
        texts.push_back(word->Text());
    }
    return texts;
}

std::vector<std::string> Texts(const std::vector<WordNode*>& words) {
    return Texts(std::vector<const WordNode*>(words.begin(), words.end()));
}

Ref<WordList> FromWords(const std::vector<std::string>& words) {
    Ref<WordList> list = new WordList;
    for (const std::string& word : words) {
        list->AddWord(word, 0);
    }
    list->FinishAdding();
    return list;
}

Ref<WordList> FromBytes(const std::vector<uint8_t>& bytes) {
    Ref<WordList> list = new WordList;
    list->ReadWordFile(bytes.data(), bytes.size());
    return list;
}

TEST(WordListFile, ReadsFrontCodedWordsWithTheirRanks) {
    // "garden" rank 300, "gardens" (keeps 6) rank 2, "gate" (keeps 2), "cat".
    const std::vector<uint8_t> bytes = {8,   44,  1,   'g', 'a', 'r', 'd', 'e', 'n', 14, 2, 0, 's',
                                        2,   't', 'e', 0,   'c', 'a', 't'};
    Ref<WordList> list = FromBytes(bytes);

    EXPECT_EQ(list->WordCount(), 4);
    EXPECT_EQ(Texts(list->WordIndex()), (std::vector<std::string>{"cat", "garden", "gardens", "gate"}));
    EXPECT_EQ(Texts(list->WordsOfLength(4)), std::vector<std::string>{"gate"});
    ASSERT_EQ(list->RankedWords(6).size(), 1u);
    EXPECT_EQ(list->RankedWords(6)[0].word->Text(), "garden");
    EXPECT_EQ(list->RankedWords(6)[0].rank, 300);
    ASSERT_EQ(list->RankedWords(7).size(), 1u);
    EXPECT_EQ(list->RankedWords(7)[0].rank, 2);
}

TEST(WordListTrie, WordsAddedInAnyOrderAreFoundAndListedInLetterOrder) {
    // Letters arrive out of order at the root and below it, and "train" ends
    // at a node that "trains" made first.
    const std::vector<std::string> words = {"zebra", "trains", "apple", "train", "trace", "zoo", "tram", "act"};
    Ref<WordList> list = FromWords(words);
    std::vector<std::string> sorted = words;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(Texts(list->WordIndex()), sorted);
    for (const std::string& word : words) {
        ASSERT_NE(list->Contains(word), nullptr) << word;
        EXPECT_EQ(list->Contains(word)->Text(), word);
    }
    for (const char* missing : {"tra", "trai", "z", "zebras", "acts", "b"}) {
        EXPECT_EQ(list->Contains(missing), nullptr) << missing;
    }

    // Words added after the list was finished join it; records never move.
    const WordNode* zebra = list->Contains("zebra");
    list->AddWord("trap", 0);
    list->AddWord("bat", 0);
    list->FinishAdding();
    EXPECT_EQ(list->Contains("zebra"), zebra);
    EXPECT_EQ(Texts(list->WordsOfLength(4)), (std::vector<std::string>{"tram", "trap"}));
    std::vector<const WordNode*> found;
    list->FindFromLetters("tparm", found, false, 0);
    EXPECT_EQ(Texts(found), (std::vector<std::string>{"tram", "trap"}));
}

TEST(WordListFile, BrokenDataEndsSafely) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        std::vector<std::string> words;
    };
    const std::vector<Case> cases = {
        {"rank cut off by the end", {0, 'c', 'a', 't', 9, 1}, {"cat"}},
        {"prefix longer than the word before", {0, 'c', 'a', 't', 7, 's'}, {"cat", "cats"}},
        {"nothing but control bytes", {0, 1, 2, 3}, {}},
        {"overlong run of characters", std::vector<uint8_t>(5000, 'a'), {}},
        {"empty file", {}, {}},
    };
    for (const Case& c : cases) {
        Ref<WordList> list = FromBytes(c.bytes);
        EXPECT_EQ(Texts(list->WordIndex()), c.words) << c.what;
    }
}

TEST(WordListFile, RankedListsAreSortedStablyAndOnlyForSixAndSevenLetters) {
    Ref<WordList> list = new WordList;
    list->AddWord("stream", 9);
    list->AddWord("strain", 4);
    list->AddWord("planet", 9);
    list->AddWord("train", 5);     // a ranked 5-letter word is only listed by length
    list->AddWord("station", 0);   // rank 0 is no rank
    list->FinishAdding();

    std::vector<std::string> ranked;
    for (const WordList::RankedWord& entry : list->RankedWords(6)) {
        ranked.push_back(entry.word->Text());
    }
    EXPECT_EQ(ranked, (std::vector<std::string>{"strain", "stream", "planet"}));
    EXPECT_TRUE(list->RankedWords(7).empty());
    EXPECT_TRUE(list->RankedWords(5).empty());
    EXPECT_EQ(Texts(list->WordsOfLength(5)), std::vector<std::string>{"train"});
}

TEST(WordListLetters, FoldingMakesOneWordOfEverySpelling) {
    // 0xE9 e acute, 0xC9 E acute, 0xDF sharp s, 0xC6 AE.
    Ref<WordList> list = FromWords({"caf\xE9", "CAFE", "ma\xDF", "\xC6gis", "co-op", "ab1c", "xy"});

    // Texts are kept as written, lower-cased; the trie holds only the letters.
    EXPECT_EQ(Texts(list->WordIndex()), (std::vector<std::string>{"ab1c", "aegis", "caf\xE9", "co-op", "mass"}));
    EXPECT_NE(list->Contains("cafe"), nullptr);
    EXPECT_NE(list->Contains("C\xC0" "F\xC9"), nullptr);  // A grave, E acute
    EXPECT_EQ(list->Contains("mass")->LetterCount(), 4);   // sharp s counts as two letters
    EXPECT_EQ(list->Contains("ma\xDF"), nullptr);          // but is no letter on its own
    EXPECT_NE(list->Contains("coop"), nullptr);
    EXPECT_EQ(list->Contains("co-op"), nullptr);           // the hyphen finds no child
    EXPECT_EQ(list->Contains(""), nullptr);
    EXPECT_EQ(list->Contains("ca"), nullptr);              // a prefix is not a word
}

TEST(WordListLetters, TablesFollowTheCharacterSet) {
    struct Case {
        uint8_t byte;
        uint8_t fold;
        uint8_t lower;
    };
    const Case cases[] = {
        {'Q', 'q', 'q'},   {'q', 'q', 'q'},   {'7', 174, '7'},   {0xC5, 'a', 0xE5}, {0xE7, 'c', 0xE7},
        {0xD0, 'd', 0xD0}, {0xD8, 'o', 0xF8}, {0x8A, 's', 0x9A}, {0x9F, 'y', 0xFF}, {0x8E, 'z', 0x9E},
        {0xDD, 'y', 0xFD}, {0x8C, 174, 0x9C}, {0xC6, 174, 0xE6}, {0xDF, 174, 0xDF}, {0xD7, 174, 0xD7},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WordList::FoldLetter(c.byte), c.fold) << int(c.byte);
        EXPECT_EQ(WordList::LowerLetter(c.byte), c.lower) << int(c.byte);
    }
    EXPECT_EQ(WordList::ExpandLetter(0x9C), "oe");
    EXPECT_EQ(WordList::ExpandLetter(0xE6), "ae");
    EXPECT_EQ(WordList::ExpandLetter('a'), "");
    std::string folded;
    WordList::FoldWord("Na\xEFve-1", folded);
    EXPECT_EQ(folded, "naive");
}

TEST(WordListSearch, MatchPatternInTrieOrder) {
    Ref<WordList> list = FromWords({"cat", "cot", "cut", "coat", "dog", "cats"});
    std::vector<const WordNode*> matches;
    EXPECT_EQ(list->MatchPattern("c?t", &matches), nullptr);
    EXPECT_EQ(Texts(matches), (std::vector<std::string>{"cat", "cot", "cut"}));
    ASSERT_NE(list->MatchPattern("?o?"), nullptr);
    EXPECT_EQ(list->MatchPattern("?o?")->Text(), "cot");
    EXPECT_EQ(list->MatchPattern("????t"), nullptr);
    EXPECT_EQ(list->MatchPattern(""), nullptr);
}

TEST(WordListSearch, FindFromLetters) {
    Ref<WordList> list = FromWords({"rat", "tar", "art", "star", "rats", "tsar", "arts", "trap", "sat", "at"});
    struct Case {
        const char* letters;
        bool exact;
        int maxLength;
        std::vector<std::string> words;
    };
    const std::vector<Case> cases = {
        {"rat", false, 0, {"art", "rat", "tar"}},
        {"rats", true, 4, {"arts", "rats", "star", "tsar"}},
        {"rats", true, 3, {"art", "rat", "sat", "tar"}},
        {"rats", false, 3, {"art", "rat", "sat", "tar"}},
        {"rat?", true, 4, {"arts", "rats", "star", "trap", "tsar"}},  // one letter more than given
        {"R\xC0T", false, 0, {"art", "rat", "tar"}},                   // folded like words
        {"xyz", false, 0, {}},
    };
    for (const Case& c : cases) {
        std::vector<const WordNode*> found;
        list->FindFromLetters(c.letters, found, c.exact, c.maxLength);
        EXPECT_EQ(Texts(found), c.words) << c.letters << " " << c.maxLength;
    }
}

TEST(WordListRecord, FreeStandingRecordCountsItsLetters) {
    WordNode word("tr?in");
    EXPECT_EQ(word.Text(), "tr?in");
    EXPECT_EQ(word.LetterCount(), 4);
}

}  // namespace

namespace {

// The word list as a resource, read from a loose word file.
class WordListResource : public testing::Test {
protected:
    WordListResource() : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder_.Path());
        std::filesystem::create_directories("media/data");
    }
    ~WordListResource() override { std::filesystem::current_path(previous_); }

    static Ref<WordList> Declared(const std::string& file) {
        Ref<PropertyNode> definition = new PropertyNode("WORDLIST", "WordList");
        definition->Add(PropertyValue::FromString("file", file, true));
        return ObjectCast<WordList>(ClassFactory::Instance().Create(definition.Get()));
    }

    TempUserFolders userFolders_;  // the error is logged under the game folder
    TempFolder folder_;
    std::filesystem::path previous_;
};

TEST_F(WordListResource, LoadsItsFileAndGivesItselfAsData) {
    const std::vector<uint8_t> bytes = {0, 'r', 'a', 'i', 'l', 12, 5, 0, 'w', 'a', 'y'};
    ASSERT_TRUE(platform::WriteFileAtomically("media/data/words.dat", bytes.data(), bytes.size()));
    Ref<WordList> list = Declared("Media\\Data\\Words.dat");
    ASSERT_TRUE(list);
    list->Load();
    EXPECT_TRUE(list->IsLoaded());
    EXPECT_FALSE(list->HasError());
    EXPECT_EQ(list->GetData(), list.Get());
    EXPECT_EQ(Texts(list->WordIndex()), (std::vector<std::string>{"rail", "railway"}));

    list->Unload();
    EXPECT_FALSE(list->IsLoaded());
    EXPECT_EQ(list->WordCount(), 0);
    EXPECT_EQ(list->Contains("rail"), nullptr);
}

TEST_F(WordListResource, AMissingFileLeavesAnEmptyListMarkedAsFailed) {
    Ref<WordList> list = Declared("media/data/missing.dat");
    list->Load();
    EXPECT_TRUE(list->IsLoaded());
    EXPECT_TRUE(list->HasError());
    EXPECT_EQ(list->WordCount(), 0);
    EXPECT_EQ(list->Contains("rail"), nullptr);
    std::vector<const WordNode*> found;
    list->FindFromLetters("rail", found, false, 0);
    EXPECT_TRUE(found.empty());
}

}  // namespace

namespace {

class WordListDraws : public testing::Test {
protected:
    WordListDraws() { RandomGenerator::SetGlobal(new RandomGenerator(99, 7)); }
    ~WordListDraws() override { RandomGenerator::SetGlobal(nullptr); }
};

// Six-letter words "aaaa" + two letters, ranked as given, in rank order.
Ref<WordList> RankedList(const std::vector<int>& ranks) {
    Ref<WordList> list = new WordList;
    for (size_t i = 0; i < ranks.size(); ++i) {
        std::string word = "aaaaaa";
        word[4] = static_cast<char>('a' + i / 26);
        word[5] = static_cast<char>('a' + i % 26);
        list->AddWord(word, ranks[i]);
    }
    list->FinishAdding();
    return list;
}

TEST_F(WordListDraws, RandomWordDrawsFromTheRankWindow) {
    std::vector<int> ranks;
    for (int i = 0; i < 200; ++i) {
        ranks.push_back(10 + i / 2);  // two words per rank: 10, 10, 11, 11, ...
    }
    const Ref<WordList> list = RankedList(ranks);
    struct Case {
        const char* what;
        int rank;
        size_t low;
        size_t high;
    };
    const Case cases[] = {
        {"below every rank: the first 76", 0, 0, 75},
        {"window of 76 from the first word of the rank", 20, 20, 95},
        {"last full window", 72, 124, 199},
        {"past the full windows: the last 76", 80, 124, 199},
        {"beyond every rank: the last 76", 5000, 124, 199},
        {"a rank near the integer limit", 2147483647, 124, 199},
    };
    for (const Case& c : cases) {
        RandomGenerator twin = *RandomGenerator::Global();
        std::string word;
        ASSERT_TRUE(list->RandomWord(6, c.rank, word)) << c.what;
        const size_t index = c.low + twin.Next() % (c.high - c.low + 1);
        EXPECT_EQ(word, list->RankedWords(6)[index].word->Text()) << c.what;
    }
}

TEST_F(WordListDraws, RandomWordWindowCoversEveryWordUpToThreeRanksAbove) {
    // 100 words of rank 50 then 100 of rank 60: a draw at 48 may take any of the first 100.
    std::vector<int> ranks(100, 50);
    ranks.insert(ranks.end(), 100, 60);
    const Ref<WordList> list = RankedList(ranks);
    RandomGenerator twin = *RandomGenerator::Global();
    std::string word;
    ASSERT_TRUE(list->RandomWord(6, 48, word));
    EXPECT_EQ(word, list->RankedWords(6)[twin.Next() % 100].word->Text());
}

TEST_F(WordListDraws, RandomWordWithFewOrNoRankedWords) {
    const Ref<WordList> few = RankedList({5, 6, 7});
    std::string word;
    EXPECT_TRUE(few->RandomWord(6, 100, word));
    EXPECT_EQ(word.size(), 6u);
    EXPECT_FALSE(few->RandomWord(7, 1, word));
    EXPECT_EQ(word, "");
    EXPECT_FALSE(few->RandomWord(5, 1, word));
}

TEST_F(WordListDraws, ShuffleStopsAtTheFirstOrderThatIsNoWord) {
    Ref<WordList> list = FromWords({"stop", "pots", "tops", "spot", "post", "opts"});
    std::string word = "stop";
    EXPECT_TRUE(list->ShuffleUntilNotAWord(word));
    EXPECT_EQ(list->Contains(word), nullptr);
    std::string sorted = word;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, "opst");
}

TEST_F(WordListDraws, ShuffleGivesUpAfterAHundredTries) {
    Ref<WordList> list = FromWords({"aaa"});
    RandomGenerator twin = *RandomGenerator::Global();
    std::string word = "aaa";
    EXPECT_FALSE(list->ShuffleUntilNotAWord(word));
    EXPECT_EQ(word, "aaa");
    for (int i = 0; i < 100 * 2; ++i) {  // two draws shuffle three letters
        twin.Next();
    }
    EXPECT_EQ(RandomGenerator::Global()->state, twin.state);
}

}  // namespace
