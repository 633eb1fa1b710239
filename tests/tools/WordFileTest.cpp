#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/TempFolder.h"
#include "engine/foundation/Ref.h"
#include "game/words/WordList.h"
#include "mediagen/WordFile.h"

namespace {

Ref<WordList> Read(const Bytes& file) {
    Ref<WordList> list = new WordList;
    list->ReadWordFile(file.data(), file.size());
    return list;
}

TEST(WordFileWriter, WordsAndRanksSurviveTheRoundTrip) {
    const std::vector<RankedEntry> entries = {
        {"art", 0}, {"artist", 40}, {"artists", 300}, {"arts", 0}, {"bar", 0}, {"barrels", 65535}, {"barren", 7},
    };
    Ref<WordList> list = Read(EncodeWordFile(entries));

    std::vector<std::string> texts;
    for (const WordNode* word : list->WordIndex()) {
        texts.push_back(word->Text());
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"art", "artist", "artists", "arts", "bar", "barrels", "barren"}));
    ASSERT_EQ(list->RankedWords(6).size(), 2u);
    EXPECT_EQ(list->RankedWords(6)[0].word->Text(), "barren");
    EXPECT_EQ(list->RankedWords(6)[0].rank, 7);
    EXPECT_EQ(list->RankedWords(6)[1].rank, 40);
    ASSERT_EQ(list->RankedWords(7).size(), 2u);
    EXPECT_EQ(list->RankedWords(7)[0].rank, 300);
    EXPECT_EQ(list->RankedWords(7)[1].rank, 65535);
}

TEST(WordFileWriter, SharedPrefixesAreWrittenOnce) {
    // "train" in full, then "trains" keeps 5 letters and adds "s".
    const Bytes file = EncodeWordFile({{"train", 0}, {"trains", 9}});
    EXPECT_EQ(file, (Bytes{0, 't', 'r', 'a', 'i', 'n', 13, 9, 0, 's'}));
}

TEST(WordRanks, RankCountsTheUnitsOfEveryWordInTheLetters) {
    const WordUnits units = {1, 10, 100, 1000, 10000};
    const std::vector<RankedEntry> ranked =
        RankWords({"ant", "danger", "garden", "grand", "range", "rat", "tar"}, units);
    // The letters of "danger" make danger and garden (6) and grand and range
    // (5); shorter words are never ranked.
    const std::vector<int> expected = {0, 2200, 2200, 0, 0, 0, 0};
    ASSERT_EQ(ranked.size(), expected.size());
    for (size_t i = 0; i < ranked.size(); ++i) {
        EXPECT_EQ(ranked[i].rank, expected[i]) << ranked[i].word;
    }
}

TEST(WordRanks, RanksAreCappedAt16Bits) {
    const WordUnits units = {30000, 30000, 30000, 30000, 30000};
    const std::vector<RankedEntry> ranked = RankWords({"ant", "astand", "nat", "stand", "tan"}, units);
    EXPECT_EQ(ranked[1].rank, 65535);
}

TEST(WordSource, KeepsOnlyPlainLowerCaseWordsOfThreeToSevenLetters) {
    TempFolder folder;
    const std::string a = folder.Path() + "/list.10";
    const std::string b = folder.Path() + "/list.20";
    std::ofstream(a) << "cat\nParis\ncat's\ndon't\nox\nlocomotive\ncaf\xE9\nb52\nrail\r\nshag\n";
    std::ofstream(b) << "rail\ndepot\nsignal\n";
    const std::vector<std::string> words = ReadCandidateWords({a, b}, {"shag"});
    EXPECT_EQ(words, (std::vector<std::string>{"cat", "depot", "rail", "signal"}));
    EXPECT_THROW(ReadCandidateWords({folder.Path() + "/missing"}, {}), std::runtime_error);
}

TEST(WordSource, BlockListIgnoresCommentsAndBlankLines) {
    TempFolder folder;
    const std::string file = folder.Path() + "/block.txt";
    std::ofstream(file) << "# header\n\nfoo\nbar  # trailing\n";
    EXPECT_EQ(ReadWordSet(file), (std::set<std::string>{"bar", "foo"}));
}

TEST(WordWindows, HighestFullWindowRankLeaves76WordsAboveIt) {
    std::vector<RankedEntry> entries;
    for (int i = 0; i < 100; ++i) {
        std::string word = "aaaaaa";
        word[4] = static_cast<char>('a' + i / 26);
        word[5] = static_cast<char>('a' + i % 26);
        entries.push_back({word, 10 + i});
    }
    Ref<WordList> list = Read(EncodeWordFile(entries));
    EXPECT_EQ(HighestFullWindowRank(*list, 6), 10 + 100 - 76);
    EXPECT_EQ(HighestFullWindowRank(*list, 7), -1);
}

}  // namespace
