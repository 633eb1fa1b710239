#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>

#include "TicketFixture.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/PropertyXml.h"
#include "engine/foundation/RandomGenerator.h"
#include "game/words/TicketInfo.h"

namespace {

class TicketInfoTest : public ::testing::Test {
protected:
    TicketConstantsFixture constants;
};

Ref<PropertyNode> Saved(const TicketInfo& ticket) {
    Ref<PropertyNode> node = new PropertyNode("ticket", "TicketInfo");
    ticket.Save(*node);
    return node;
}

// Through the XML text and back, as a player file or save game stores it.
Ref<PropertyNode> ThroughXml(PropertyNode* node) {
    Ref<PropertyNode> root = new PropertyNode("", "root");
    root->Add(node);
    const std::string xml = WritePropertyXml(*root);
    Ref<PropertyNode> parsed = new PropertyNode("", "root");
    EXPECT_TRUE(ReadPropertyXml(xml.data(), xml.size(), true, *parsed, "ticket"));
    return &Property::NodeOf(parsed->Find("ticket"));
}

TEST_F(TicketInfoTest, DefaultsWithoutNodeAndEmptyKeysWithOne) {
    const TicketInfo fresh;
    EXPECT_EQ(fresh.GameType, -1);
    EXPECT_FLOAT_EQ(fresh.Rating, 0.5f);
    EXPECT_TRUE(fresh.Finished);
    EXPECT_EQ(fresh.MaxPermutations, INT_MAX);
    EXPECT_EQ(fresh.Units, (std::array<int32_t, 5>{1, 2, 3, 4, 5}));  // the last entry is written "#5"

    // A node read from a file says what it holds: a missing key is empty,
    // not the default of a fresh ticket.
    Ref<PropertyNode> onlyType = new PropertyNode("ticket", "TicketInfo");
    onlyType->Add(PropertyValue::FromInteger("GameType", 3, true));
    Ref<PropertyValue> notANode = PropertyValue::FromInteger("ticket", 3, true);
    const struct {
        Property* node;
        int gameType;
    } cases[] = {{onlyType.Get(), 3}, {notANode.Get(), 0}};
    for (const auto& c : cases) {
        const TicketInfo read(c.node);
        EXPECT_EQ(read.GameType, c.gameType);
        EXPECT_EQ(read.MaxPermutations, 0);
        EXPECT_EQ(read.Track + read.Section + read.City + read.NumUnits + read.CurLevel + read.GameMode, 0);
        EXPECT_FLOAT_EQ(read.Rating, 0.0f);
        EXPECT_FALSE(read.Finished);
        EXPECT_EQ(read.Units, fresh.Units);
        EXPECT_FLOAT_EQ(read.FreqsTotal, 0.0f);
        EXPECT_TRUE(read.Words.empty());
    }
}

TicketInfo* Filled(int gameType, std::initializer_list<const char*> words) {
    auto* ticket = new TicketInfo;
    ticket->GameType = gameType;
    ticket->Track = 3;
    ticket->Section = 2;
    ticket->City = 7;
    ticket->Rating = 0.375f;
    ticket->GameMode = TicketInfo::kClassicRandom;
    ticket->MinPermutations = 4;
    ticket->MaxPermutations = 31;
    ticket->NumUnits = 17;
    ticket->LetterSet = "tlreas";
    ticket->CurLevel = 5;
    ticket->Finished = false;
    ticket->Passengers = {0, 5, 2, 1, 4};
    ticket->Performance = {0.8125f, 0.625f};
    ticket->Units = {2, 3, 3, 6, 1};
    for (int i = 0; i < TicketInfo::kLetters; ++i) {
        ticket->LetterFreqs[i] = 0.5f * (i + 1);
    }
    ticket->FreqsTotal = 13.0f;
    for (const char* word : words) {
        ticket->Words.push_back(std::make_unique<WordNode>(word));
    }
    return ticket;
}

TEST_F(TicketInfoTest, SaveAndReadRoundTripWithTheKeysOfTheType) {
    const struct {
        int gameType;
        std::initializer_list<const char*> words;
        bool ownWeights;
    } cases[] = {{0, {}, false}, {2, {}, true}, {3, {"tae", "rnsate"}, false}, {4, {"?a?", "s??r"}, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gameType);
        Ref<TicketInfo> original = Filled(c.gameType, c.words);
        Ref<PropertyNode> node = Saved(*original);

        EXPECT_EQ(node->Find("Words") != nullptr, c.words.size() != 0);
        for (const char* key : {"Units", "FreqsTotal", "LetterFreqs"}) {
            EXPECT_EQ(node->Find(key) != nullptr, c.ownWeights) << key;
        }
        // Scalars are attributes; vector entries are typed and unnamed.
        EXPECT_TRUE(node->Find("Rating")->IsUntypedValue());
        EXPECT_TRUE(node->Find("Finished")->IsUntypedValue());
        const Property* passenger = Property::At(node->Find("Passengers"), 1);
        EXPECT_EQ(passenger->TypeName(), "Integer");
        EXPECT_EQ(passenger->Name(), "");
        EXPECT_EQ(Property::At(node->Find("Performance"), 0)->TypeName(), "Float");

        Ref<TicketInfo> read = new TicketInfo(ThroughXml(node.Get()).Get());
        EXPECT_EQ(Describe(*read), Describe(*original));
        EXPECT_EQ(read->Track, 3);
        EXPECT_EQ(read->Section, 2);
        EXPECT_EQ(read->City, 7);
        EXPECT_FLOAT_EQ(read->Rating, 0.375f);
        EXPECT_EQ(read->GameMode, TicketInfo::kClassicRandom);
        EXPECT_EQ(read->GameType, c.gameType);
        EXPECT_EQ(read->MinPermutations, 4);
        EXPECT_EQ(read->MaxPermutations, 31);
        EXPECT_EQ(read->CurLevel, 5);
        EXPECT_FALSE(read->Finished);
        ASSERT_EQ(read->Words.size(), c.words.size());
        for (size_t i = 0; i < read->Words.size(); ++i) {
            EXPECT_EQ(read->Words[i]->Text(), original->Words[i]->Text());
            EXPECT_EQ(read->Words[i]->LetterCount(), original->Words[i]->LetterCount());
        }
        // Types without their own weights read back the defaults of a fresh ticket.
        const TicketInfo fresh;
        EXPECT_EQ(read->Units, c.ownWeights ? original->Units : fresh.Units);
        EXPECT_EQ(read->LetterFreqs, c.ownWeights ? original->LetterFreqs : fresh.LetterFreqs);
        EXPECT_FLOAT_EQ(read->FreqsTotal, c.ownWeights ? 13.0f : 0.0f);

        EXPECT_EQ(WritePropertyXml(*Saved(*read)), WritePropertyXml(*node));
    }
}

TEST_F(TicketInfoTest, ReadingCutsLongListsAndKeepsDefaultsPastShortOnes) {
    Ref<PropertyNode> node = new PropertyNode("ticket", "TicketInfo");
    auto* passengers = new PropertyVector("Passengers");
    node->Add(passengers);
    for (int i = 1; i <= 7; ++i) {
        passengers->Add(PropertyValue::FromInteger("", i, false));
    }
    auto* units = new PropertyVector("Units");
    node->Add(units);
    units->Add(PropertyValue::FromInteger("", 9, false));
    const TicketInfo read(node.Get());
    EXPECT_EQ(read.Passengers, (std::array<int32_t, 5>{1, 2, 3, 4, 5}));
    EXPECT_EQ(read.Units, (std::array<int32_t, 5>{9, 2, 3, 4, 5}));
}

// A letter set longer than the game deals (a damaged file of a million
// letters would be dealt whole) is cut to its type's length.
TEST_F(TicketInfoTest, ALetterSetIsReadAtMostAsLongAsItsTypeDealsIt) {
    const std::string many(100000, 'e');
    const struct {
        int gameType;
        std::string stored;
        size_t read;
    } cases[] = {{0, many, 6}, {1, many, 7}, {4, many, 26}, {1, "abc", 3}, {-1, many, 26}, {99, many, 26}};
    for (const auto& c : cases) {
        Ref<PropertyNode> node = new PropertyNode("ticket", "TicketInfo");
        node->Add(PropertyValue::FromInteger("GameType", c.gameType, true));
        node->Add(PropertyValue::FromString("LetterSet", c.stored, true));
        const TicketInfo read(node.Get());
        EXPECT_EQ(read.LetterSet, c.stored.substr(0, c.read)) << c.gameType;
    }
}

TEST_F(TicketInfoTest, ClassFactoryBuildsTicketsByName) {
    Ref<TicketInfo> original = Filled(3, {"tae"});
    Ref<PropertyNode> node = Saved(*original);
    Ref<Object> built = ClassFactory::Instance().Create(node.Get());
    const auto* ticket = ObjectCast<TicketInfo>(built.Get());
    ASSERT_NE(ticket, nullptr);
    EXPECT_EQ(Describe(*ticket), Describe(*original));
}

TEST_F(TicketInfoTest, RaceUnitsGrowOnlyForClassicLevelsPastTheTopRating) {
    // The top rating is reached at level (1 - 0.5) / 0.25 = 2.
    TicketConstantsFixture::Define(
        "<Float id=\"RATING_CLASSIC_START\" value=\"0.5\"/><Float id=\"RATING_CLASSIC_INC\" value=\"0.25\"/>"
        "<Float id=\"RATING_CLASSIC_LENGTH\" value=\"0.3\"/>");
    const struct {
        int mode;
        int level;
        int units;
    } cases[] = {{TicketInfo::kClassicFixed, 0, 10}, {TicketInfo::kClassicFixed, 2, 10},
                 {TicketInfo::kClassicFixed, 3, 13},  // (1 * 0.3 + 1) * 10
                 {TicketInfo::kClassicFixed, 4, 16},  // (2 * 0.3 + 1) * 10
                 {TicketInfo::kClassicRandom, 12, 40}, {TicketInfo::kMapTicket, 12, 10}};
    for (const auto& c : cases) {
        TicketInfo ticket;
        ticket.GameMode = c.mode;
        ticket.CurLevel = c.level;
        ticket.NumUnits = 10;
        EXPECT_EQ(ticket.GetRaceUnits(), c.units) << c.mode << " " << c.level;
    }
    // A rating that never rises reaches the top at no level.
    TicketConstantsFixture::Define("<Float id=\"RATING_CLASSIC_INC\" value=\"0\"/>");
    TicketInfo ticket;
    ticket.GameMode = TicketInfo::kClassicFixed;
    ticket.CurLevel = 50;
    ticket.NumUnits = 10;
    EXPECT_EQ(ticket.GetRaceUnits(), 10);
}

TEST_F(TicketInfoTest, RerollDrawsAnotherTypeOnlyForRandomClassicGames) {
    std::set<int> seen;
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        SeededRun run(seed);
        TicketInfo ticket;
        ticket.GameMode = TicketInfo::kClassicRandom;
        ticket.GameType = 5;
        ticket.PickRandomGameType();
        EXPECT_NE(ticket.GameType, 5);
        EXPECT_GE(ticket.GameType, 0);
        EXPECT_LE(ticket.GameType, 7);
        seen.insert(ticket.GameType);
    }
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3, 4, 6, 7}));

    SeededRun run(7);
    const uint64_t before = RandomGenerator::Global()->state;
    for (int mode : {TicketInfo::kMapTicket, TicketInfo::kClassicFixed}) {
        TicketInfo ticket;
        ticket.GameMode = mode;
        ticket.GameType = 5;
        ticket.PickRandomGameType();
        EXPECT_EQ(ticket.GameType, 5);
    }
    EXPECT_EQ(RandomGenerator::Global()->state, before);
}

}  // namespace
