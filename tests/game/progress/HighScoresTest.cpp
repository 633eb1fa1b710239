#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/HighScoreTables.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/RandomGenerator.h"
#include "engine/foundation/ScoreTable.h"
#include "game/progress/HighScores.h"
#include "game/progress/KR2Score.h"

namespace {

const char* const kEightNames =
    "<Vector id=\"TEXT_HIGHSCORE_NAMES\"><String value=\"Rosa\"/><String value=\"Milo\"/><String value=\"Nell\"/>"
    "<String value=\"Otto\"/><String value=\"Tess\"/><String value=\"%Viv\"/><String value=\"Wren\"/>"
    "<String value=\"Pip\"/></Vector>";

// The name list as "names.xml" gives it, a global random source with a
// fixed seed, and an empty high-score store.
class HighScoresTest : public testing::Test {
protected:
    HighScoresTest() {
        Logger::Instance(0, 0);
        Defines::Create();
        HighScoreTables::Create(false, "1.0");
        Seed(7);
    }
    ~HighScoresTest() override {
        RandomGenerator::SetGlobal(nullptr);
        HighScoreTables::Free();
        Defines::ReleaseInstance();
    }

    static void ReadNames(const std::string& elements) {
        const std::string xml = "<root>" + elements + "</root>";
        Ref<PropertyFile> file = new PropertyFile;
        ASSERT_TRUE(file->LoadFromMemory(xml.data(), xml.size(), "names.xml"));
        ClassFactory::Instance().CreateNamedObjects(*file);
    }

    static void Seed(uint32_t seed) {
        const Ref<RandomGenerator> random = new RandomGenerator(seed, 0);
        RandomGenerator::SetGlobal(random.Get());
    }

    struct Row {
        std::string name;
        int32_t score;
        int32_t level;
    };
    static std::vector<Row> Rows(const ScoreTable& table) {
        std::vector<Row> rows;
        for (const Ref<HighScoreEntry>& entry : table.GetEntries()) {
            const auto* score = ObjectCast<KR2Score>(entry.Get());
            rows.push_back({entry->GetPlayerName(), entry->GetScore(), score != nullptr ? score->GetLevel() : -99});
        }
        return rows;
    }
};

TEST_F(HighScoresTest, DefaultsAreFiveRankedEntriesWithDistinctNamesFromTheList) {
    ReadNames(kEightNames);
    const std::set<std::string> listed = {"Rosa", "Milo", "Nell", "Otto", "Tess", "%Viv", "Wren", "Pip"};
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        Seed(seed);
        Ref<ScoreTable> table = new ScoreTable(5, true);
        table->SetLastScore(3);
        FillDefaultHighScores(*table);
        const std::vector<Row> rows = Rows(*table);
        ASSERT_EQ(rows.size(), 5u);
        std::set<std::string> names;
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].score, 120000 - static_cast<int32_t>(i) * 10000);
            EXPECT_EQ(rows[i].level, 5 - static_cast<int32_t>(i));
            EXPECT_TRUE(listed.count(rows[i].name)) << rows[i].name;
            names.insert(rows[i].name);
        }
        EXPECT_EQ(names.size(), 5u) << "seed " << seed;
        EXPECT_EQ(table->GetLastScore(), -1);
    }
}

// A list that is missing, empty or not a list must not take a modulo of
// zero; the defaults still fill the table, nameless.
TEST_F(HighScoresTest, ABrokenNameListStillGivesFiveDefaults) {
    struct Case {
        const char* label;
        std::string elements;
        std::string expectedName;
    };
    const std::vector<Case> cases = {
        {"missing", "", ""},
        {"empty", "<Vector id=\"TEXT_HIGHSCORE_NAMES\"/>", ""},
        {"a single text", "<String id=\"TEXT_HIGHSCORE_NAMES\" value=\"Rosa\"/>", ""},
        {"one name", "<Vector id=\"TEXT_HIGHSCORE_NAMES\"><String value=\"Rosa\"/></Vector>", "Rosa"},
    };
    for (const Case& c : cases) {
        Defines::ReleaseInstance();
        Defines::Create();
        ReadNames(c.elements);
        Ref<ScoreTable> table = new ScoreTable(5, true);
        FillDefaultHighScores(*table);
        const std::vector<Row> rows = Rows(*table);
        ASSERT_EQ(rows.size(), 5u) << c.label;
        for (const Row& row : rows) {
            EXPECT_EQ(row.name, c.expectedName) << c.label;
        }
    }
}

TEST_F(HighScoresTest, WithoutARandomSourceTheNamesAreTakenInOrder) {
    ReadNames(kEightNames);
    RandomGenerator::SetGlobal(nullptr);
    Ref<ScoreTable> table = new ScoreTable(5, true);
    FillDefaultHighScores(*table);
    std::vector<std::string> names;
    for (const Row& row : Rows(*table)) {
        names.push_back(row.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Rosa", "Milo", "Nell", "Otto", "Tess"}));
}

TEST_F(HighScoresTest, ATableIsMadeOrToppedUpUnlessItHoldsFiveEntries) {
    ReadNames(kEightNames);
    HighScoreTables::TableMap& tables = HighScoreTables::Instance()->GetTables();

    // Missing: made, registered, five defaults, best first.
    ScoreTable* made = GetHighScoreTable("MODE_NEW");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(tables.at("MODE_NEW").Get(), made);
    EXPECT_TRUE(made->IsDescending());
    EXPECT_EQ(made->GetMaximumEntries(), 5);
    EXPECT_EQ(made->GetEntries().size(), 5u);

    // Three results: the defaults join them by score, five stay.
    Ref<ScoreTable> three = new ScoreTable(5, true);
    three->Insert(new KR2Score("best", 130000, 9));
    three->Insert(new KR2Score("mid", 95000, 4));
    three->Insert(new KR2Score("low", 50, 1));
    three->SetLastScore(1);
    tables["MODE_THREE"] = three;
    ASSERT_EQ(GetHighScoreTable("MODE_THREE"), three.Get());
    std::vector<int32_t> scores;
    for (const Row& row : Rows(*three)) {
        scores.push_back(row.score);
    }
    EXPECT_EQ(scores, (std::vector<int32_t>{130000, 120000, 110000, 100000, 95000}));
    EXPECT_EQ(three->GetLastScore(), -1);

    // Five results: left as they are, the new result's mark included.
    Ref<ScoreTable> full = new ScoreTable(5, true);
    for (int32_t score : {5, 4, 3, 2, 1}) {
        full->Insert(new KR2Score("p" + std::to_string(score), score, 1));
    }
    full->SetLastScore(2);
    const std::vector<Ref<HighScoreEntry>> before = full->GetEntries();
    tables["MODE_FULL"] = full;
    ASSERT_EQ(GetHighScoreTable("MODE_FULL"), full.Get());
    EXPECT_EQ(full->GetEntries(), before);
    EXPECT_EQ(full->GetLastScore(), 2);

    HighScoreTables::Free();
    EXPECT_EQ(GetHighScoreTable("MODE_NEW"), nullptr);
}

TEST(ShownHighScoreNameTest, OnlyALeadingPercentIsHidden) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"%Viv", "Viv"}, {"Viv", "Viv"}, {"%", ""}, {"", ""}, {"%%Viv", "%Viv"}, {"Viv%", "Viv%"}};
    for (const auto& [stored, shown] : cases) {
        EXPECT_EQ(ShownHighScoreName(stored), shown) << stored;
    }
}

}  // namespace
