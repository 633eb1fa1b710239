#include <gtest/gtest.h>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/RandomGenerator.h"
#include "engine/foundation/Ref.h"
#include "game/words/LetterData.h"

namespace {

// Installs a seeded run generator for the test and removes it afterwards.
class LetterDataTest : public testing::Test {
protected:
    LetterDataTest() { RandomGenerator::SetGlobal(new RandomGenerator(1234, 0)); }
    ~LetterDataTest() override { RandomGenerator::SetGlobal(nullptr); }
};

TEST_F(LetterDataTest, AFreshLetterIsAHiddenPlainCoalWithoutJoker) {
    Ref<LetterData> letter = new LetterData;
    EXPECT_EQ(letter->Char(), 0);
    EXPECT_EQ(letter->Joker(), '?');
    EXPECT_EQ(letter->GetType(), LetterData::kNormal);
    EXPECT_EQ(letter->Frame(), 0);
    EXPECT_TRUE(letter->IsHidden());
    EXPECT_FALSE(letter->IsLeftOut());
    EXPECT_FALSE(letter->IsSmall());
}

TEST_F(LetterDataTest, EveryLetterTakesOneDrawForItsLook) {
    RandomGenerator twin(1234, 0);
    for (int i = 0; i < 5; ++i) {
        Ref<LetterData> letter = new LetterData;
        EXPECT_EQ(letter->Variant(), static_cast<int>(twin.Next() % 3));
    }
    EXPECT_EQ(RandomGenerator::Global()->state, twin.state);
}

TEST_F(LetterDataTest, SavedLettersReadBackWithTheirFrame) {
    Ref<LetterData> letter = new LetterData;
    letter->SetChar('q');
    letter->SetJoker('e');
    letter->SetType(LetterData::kJoker);
    letter->SetSmall(true);
    letter->SetHidden(false);
    letter->SetLeftOut(true);
    Ref<PropertyNode> node = new PropertyNode("letter", "LetterData");
    letter->Save(*node);

    Ref<LetterData> copy = ObjectCast<LetterData>(ClassFactory::Instance().Create(node.Get()));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->Char(), 'q');
    EXPECT_EQ(copy->Joker(), 'e');
    EXPECT_EQ(copy->GetType(), LetterData::kJoker);
    EXPECT_TRUE(copy->IsSmall());
    EXPECT_FALSE(copy->IsHidden());
    EXPECT_TRUE(copy->IsLeftOut());
    EXPECT_EQ(copy->Frame(), 19);
}

TEST(LetterDataFrames, FrameFollowsKindAndSize) {
    struct Case {
        int type;
        bool small;
        int frame;
    };
    const Case cases[] = {{0, false, 0}, {1, false, 3}, {6, false, 8}, {7, false, 9},
                          {0, true, 10}, {3, true, 15}, {7, true, 19}};
    for (const Case& c : cases) {
        EXPECT_EQ(LetterData::FrameFor(c.type, c.small), c.frame) << c.type << " " << c.small;
    }
}

TEST(LetterDataFrames, AKindOutsideTheCoalsReadsAsAPlainCoal) {
    Ref<PropertyNode> node = new PropertyNode("letter", "LetterData");
    node->Add(PropertyValue::FromInteger("type", 42, true));
    Ref<LetterData> letter = new LetterData(node.Get());
    EXPECT_EQ(letter->GetType(), LetterData::kNormal);
    EXPECT_EQ(letter->Frame(), 0);
}

}  // namespace
