#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

#include "CoalFixture.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "game/constants/GameConstants.h"
#include "game/words/LetterRack.h"

namespace {

// Word bar spacings by rack size 6, 7 and 8; the first is odd so that the
// centring's truncation shows.
class RackTest : public ::testing::Test {
protected:
    RackTest() {
        TicketConstantsFixture::Define(
            "<Vector id=\"WORDBAR_COAL_SPACING\"><Integer value=\"41\"/><Integer value=\"36\"/>"
            "<Integer value=\"32\"/></Vector>");
        SLOTS_COAL_X_SPACING = 30;
        SLOTS_COAL_X_OFFSET = 5;
    }
    ~RackTest() override {
        SLOTS_COAL_X_SPACING = 0;
        SLOTS_COAL_X_OFFSET = 0;
        LetterRack::SetRandomSource(nullptr);
    }

    // A rack whose slots hold the letters of `layout`; '.' is an empty slot.
    static Ref<LetterRack> RackOf(const std::string& layout, int rackSize = 6) {
        Ref<LetterRack> rack = new LetterRack;
        rack->SetRackSize(rackSize);
        for (size_t slot = 0; slot < layout.size(); ++slot) {
            if (layout[slot] != '.') {
                rack->SetLetter(static_cast<int>(slot), CoalFixture::CoalOf(layout[slot]).Get());
            }
        }
        return rack;
    }

    // The rack's slots as letters, '.' for an empty one.
    static std::string Layout(const LetterRack& rack, int slots) {
        std::string layout;
        for (int slot = 0; slot < slots; ++slot) {
            const LetterSprite* coal = rack.GetLetter(slot);
            layout += coal != nullptr ? static_cast<char>(coal->Letter().Char()) : '.';
        }
        return layout;
    }

    CoalFixture coals_;
};

TEST_F(RackTest, SlotXCentresTheRowWithTruncatingIntegerHalves) {
    struct Case {
        const char* layout;
        int rackSize;
        bool center;
        bool small;
        int slot;
        int x;
    } cases[] = {
        {"ABCDEF", 6, false, false, 0, -102},  // 41 * 5 / 2 = 102
        {"ABCDEF", 6, false, false, 5, 103},
        {"ABCDEFG", 7, false, false, 0, -108},
        {"A.B...", 6, true, false, 0, -20},  // two coals: -(41 / 2), not -21
        {"A.B...", 6, true, false, 1, 21},
        {"......", 6, true, false, 0, 20},  // -(-41 / 2) truncates to 20
        {"", 26, false, true, 0, -175},     // 0 - 12 * 30 / 2 + 5
        {"", 26, false, true, 14, -145},    // the second row starts again
        {"", 26, false, true, 25, 185},
    };
    for (const Case& c : cases) {
        Ref<LetterRack> rack = RackOf(c.layout, c.rackSize);
        rack->SetCenterLetters(c.center);
        rack->SetHasSmallCoals(c.small);
        EXPECT_EQ(rack->GetSlotX(c.slot), c.x) << c.layout << " slot " << c.slot;
    }
}

TEST_F(RackTest, FreeSlotSearchPrefersTheLowerSlotAndStaysWithinSize) {
    struct Case {
        const char* what;
        const char* layout;
        int size;
        int rackSize;
        bool closest;
        int x;
        int slot;
    } cases[] = {
        {"first free", "AB.C..", 6, 6, false, 0, 2},
        {"slot 6 is beyond size", "ABCDEF.", 6, 7, false, 0, -1},
        {"midway between 2 and 3", "AB..EF", 6, 6, true, 0, 2},
        {"nearest free", "AB..EF", 6, 6, true, 40, 3},
        {"left wins at equal steps", "A.C.EF", 6, 6, true, -20, 1},
        {"right when left is taken", "ABC.EF", 6, 6, true, -20, 3},
        {"leftmost free by far x", "AB.D.F", 6, 6, true, INT_MIN, 2},
        {"far right", "ABCD..", 6, 6, true, INT_MAX, 5},
        {"full", "ABCDEF", 6, 6, true, 0, -1},
        {"not within size steps", ".BCDEF", 2, 6, true, INT_MAX, -1},
        {"empty rack", "", 6, 0, true, 0, -1},
    };
    for (const Case& c : cases) {
        Ref<LetterRack> rack = RackOf(c.layout, c.rackSize);
        rack->SetSize(c.size);
        rack->SetClosestToX(c.closest);
        EXPECT_EQ(rack->FindFreeSlot(c.x), c.slot) << c.what;
    }
}

TEST_F(RackTest, CompactClosesGapsInOrderOnlyWhenSet) {
    const struct {
        const char* before;
        bool compact;
        const char* after;
    } cases[] = {{"A.B..C", true, "ABC..."}, {"A.B..C", false, "A.B..C"}, {"..A...", true, "A....."}};
    for (const auto& c : cases) {
        Ref<LetterRack> rack = RackOf(c.before);
        rack->SetCompact(c.compact);
        rack->Compact();
        EXPECT_EQ(Layout(*rack, 6), c.after) << c.before;
    }
}

TEST_F(RackTest, WordSkipsGapsAndResolvesJokersWhenAsked) {
    Ref<LetterRack> rack = RackOf("A.B..Q");
    rack->GetLetter(5)->Letter().SetType(LetterData::kJoker);
    rack->GetLetter(5)->Letter().SetJoker('E');
    std::string plain;
    rack->GetWord(plain, false);
    std::string resolved = "x";
    rack->GetWord(resolved, true);
    EXPECT_EQ(plain, "ABQ");
    EXPECT_EQ(resolved, "xABE");
}

TEST_F(RackTest, ShuffleMovesCoalsOnlyAmongOccupiedSlots) {
    int draws = 0;
    LetterRack::SetRandomSource([&draws] {
        ++draws;
        return 0;
    });
    Ref<LetterRack> rack = RackOf("A.B..C");
    rack->Shuffle();
    // Always drawing 0 swaps each entry with the first: [C, A, -, B, -, -].
    EXPECT_EQ(Layout(*rack, 6), "C.A..B");
    EXPECT_EQ(draws, 5);
    LetterRack::SetRandomSource(nullptr);
    for (int round = 0; round < 20; ++round) {
        rack->Shuffle();
        std::string layout = Layout(*rack, 6);
        EXPECT_EQ(layout[1], '.');
        EXPECT_EQ(layout.substr(3, 2), "..");
        std::string letters = layout.substr(0, 1) + layout[2] + layout[5];
        std::sort(letters.begin(), letters.end());
        EXPECT_EQ(letters, "ABC");
    }
}

TEST_F(RackTest, SaveAndReadKeepEverySlotAndSkipSlotsOutsideTheRack) {
    Ref<LetterRack> rack = RackOf("A.B....", 7);
    rack->SetSize(5);
    rack->SetLetter(25, CoalFixture::CoalOf('Q').Get());
    rack->SetCenterLetters(true);
    rack->SetHasSmallCoals(true);
    Ref<PropertyNode> node = new PropertyNode("rack", "LetterRack");
    rack->Save(*node);
    Ref<LetterRack> read = ObjectCast<LetterRack>(ClassFactory::Instance().Create(node.Get()));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->GetSize(), 5);
    EXPECT_EQ(read->GetRackSize(), 7);
    EXPECT_FALSE(read->IsCompact());
    EXPECT_TRUE(read->IsCenterLetters());
    EXPECT_FALSE(read->IsClosestToX());
    EXPECT_TRUE(read->HasSmallCoals());
    EXPECT_EQ(Layout(*read, 7), "A.B....");
    ASSERT_NE(read->GetLetter(25), nullptr);
    EXPECT_EQ(read->GetLetter(25)->Letter().Char(), 'Q');

    // A damaged save names slots the rack does not have.
    auto& letters = Property::VectorOf(Property::Child(node.Get(), "letters"));
    for (int i = 0; i < 3; ++i) {
        Property::NodeOf(Property::At(&letters, i)).Add(PropertyValue::FromInteger("idx", i == 0 ? -1 : 26 + i, true));
    }
    Ref<LetterRack> damaged = new LetterRack(node.Get());
    for (int slot = 0; slot < LetterRack::kSlotCount; ++slot) {
        EXPECT_EQ(damaged->GetLetter(slot), nullptr) << slot;
    }
}

// A saved rack of more slots than a rack has, or of fewer than none, reads
// as the nearest size there is, so its layout stays in range.
TEST_F(RackTest, SavedSizesOutsideTheRackAreHeldToItsSlots) {
    const struct {
        int32_t stored;
        int read;
    } cases[] = {{INT32_MIN, 0}, {-1, 0}, {7, 7}, {LetterRack::kSlotCount + 1, LetterRack::kSlotCount},
                 {INT32_MAX, LetterRack::kSlotCount}};
    for (const auto& c : cases) {
        Ref<PropertyNode> node = new PropertyNode("rack", "LetterRack");
        node->Add(PropertyValue::FromInteger("size", c.stored, true));
        node->Add(PropertyValue::FromInteger("RackSize", c.stored, true));
        const Ref<LetterRack> read = new LetterRack(node.Get());
        EXPECT_EQ(read->GetSize(), c.read) << c.stored;
        EXPECT_EQ(read->GetRackSize(), c.read) << c.stored;
    }
}

}  // namespace
