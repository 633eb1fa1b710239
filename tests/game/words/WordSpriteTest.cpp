#include <gtest/gtest.h>

#include "QueueFixture.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/PropertyValue.h"
#include "game/words/LetterSlot.h"
#include "game/words/LetterSprite.h"
#include "game/words/ModifierWordArrival.h"
#include "game/words/WordBarClassic.h"
#include "game/words/WordSprite.h"

namespace {

// An object of no class a saved word expects, counting how many are alive.
class Stranger : public Object {
public:
    Stranger() { ++alive; }
    ~Stranger() override { --alive; }
    static inline int alive = 0;
};

const ClassRegistration strangerRegistration("Stranger",
                                             [](Property*) -> Object* { return new Stranger; });

Ref<WordSprite> WordOf(const std::string& text, bool visual = true) {
    Ref<WordSprite> word = new WordSprite;
    word->SetWord(text, visual);
    return word;
}

void SetTypes(WordSprite& word, const std::vector<int>& types) {
    for (size_t i = 0; i < types.size(); ++i) {
        word.Slots()[i]->Letter().SetType(types[i]);
    }
}

TEST(WordSprite, MatchesFoldedTextAndTreatsLeftOutSlotsAsFreeOnlyWhenAsked) {
    struct Case {
        const char* word;
        const char* text;
        bool skipLeftOut;
        bool matches;
    } cases[] = {
        {"cat", "cat", false, true},     {"cat", "CAT", false, true},    {"cat", "cats", false, false},
        {"cat", "cot", false, false},    {"c?t", "cat", true, true},     {"c?t", "cat", false, false},
        {"c?t", "c?t", true, false},     {"c?t", "c?t", false, false},   {"cat", "c?t", true, false},
        {"c\xe4t", "cat", false, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WordOf(c.word)->Matches(c.text, c.skipLeftOut), c.matches)
            << c.word << " / " << c.text << " skip " << c.skipLeftOut;
    }
}

TEST(WordSprite, SetWordLeavesQuestionMarksOutAndStartsToBeFound) {
    QueueFixture fixture;
    Ref<WordSprite> word = WordOf("c?T");
    ASSERT_EQ(word->SlotCount(), 3);
    EXPECT_FALSE(word->Slots()[0]->Letter().IsLeftOut());
    EXPECT_TRUE(word->Slots()[1]->Letter().IsLeftOut());
    EXPECT_EQ(word->Status(), WordSprite::kToFind);
    EXPECT_EQ(word->ShownText(), "c?T");
    EXPECT_EQ(word->PlainText(), "c?t");
    EXPECT_EQ(word->Slots()[2]->GetX(), 2 * (QueueFixture::kSlotWidth + QueueFixture::kLetterSpacing));
}

TEST(WordSprite, ScoreMultiplierIsTheProductOfDoubleAndTripleLetters) {
    QueueFixture fixture;
    struct Case {
        std::vector<int> types;
        int multiplier;
    } cases[] = {{{2, 3, 1}, 6}, {{}, 1}, {{3, 3, 0}, 9}, {{4, 5, 6, 7}, 1}, {{2, 2}, 4}};
    for (const Case& c : cases) {
        Ref<WordSprite> word = WordOf(std::string(c.types.size(), 'a'));
        SetTypes(*word, c.types);
        EXPECT_EQ(word->GetScoreMultiplier(), c.multiplier) << c.types.size() << " letters";
    }
}

TEST(WordSprite, RevealNeedsAnUnfoundWordWithTwoHiddenLetters) {
    struct Case {
        int shown;  // letters of "word" unhidden from the front
        int status;
        bool canReveal;
    } cases[] = {{0, WordSprite::kToFind, true},  {2, WordSprite::kToFind, true},
                 {3, WordSprite::kToFind, false}, {4, WordSprite::kToFind, false},
                 {0, WordSprite::kFound, false},  {0, WordSprite::kMissed, true}};
    for (const Case& c : cases) {
        Ref<WordSprite> word = WordOf("word");
        for (int i = 0; i < c.shown; ++i) {
            word->Slots()[static_cast<size_t>(i)]->Letter().SetHidden(false);
        }
        word->SetStatus(c.status);
        EXPECT_EQ(word->CanRevealLetter(), c.canReveal) << c.shown << " shown, status " << c.status;
    }
}

TEST(WordSprite, SaveAndReadKeepStatusFlagsAndEveryLetter) {
    QueueFixture fixture;
    Ref<WordSprite> word = WordOf("d?g");
    word->SetStatus(WordSprite::kMissed);
    word->SetCustom(true);
    word->SetMissed(true);
    SetTypes(*word, {3, 0, 2});
    word->Slots()[2]->Letter().SetHidden(false);
    word->Slots()[2]->SetColourIndex(LetterSlot::kLightRed);
    word->Highlight();
    word->SetShownText("dXg");

    Ref<PropertyNode> node = new PropertyNode("word", "WordSprite");
    word->Save(*node);
    Ref<WordSprite> read = ObjectCast<WordSprite>(ClassFactory::Instance().Create(node.Get()));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Status(), WordSprite::kMissed);
    EXPECT_EQ(read->ShownText(), "dXg");
    EXPECT_EQ(read->PlainText(), "dxg");
    EXPECT_TRUE(read->IsCustom());
    EXPECT_TRUE(read->IsMissed());
    EXPECT_TRUE(read->IsVisual());
    EXPECT_EQ(read->GetScoreMultiplier(), 6);
    ASSERT_EQ(read->SlotCount(), 3);
    for (int i = 0; i < 3; ++i) {
        const LetterSlot& before = *word->Slots()[static_cast<size_t>(i)];
        const LetterSlot& after = *read->Slots()[static_cast<size_t>(i)];
        EXPECT_EQ(after.Letter().Char(), before.Letter().Char()) << i;
        EXPECT_EQ(after.Letter().IsLeftOut(), before.Letter().IsLeftOut()) << i;
        EXPECT_EQ(after.Letter().IsHidden(), before.Letter().IsHidden()) << i;
        EXPECT_EQ(after.ImageIndex(), LetterSlot::kSelectedSlot) << i;
        EXPECT_EQ(after.ColourIndex(), before.ColourIndex()) << i;
        EXPECT_EQ(after.GetX(), before.GetX()) << i;
    }
    // A missing node reads as an empty, unfound-by-bits word with no slots.
    Ref<PropertyNode> empty = new PropertyNode("word", "WordSprite");
    Ref<WordSprite> blank = new WordSprite(empty.Get());
    EXPECT_EQ(blank->SlotCount(), 0);
    EXPECT_EQ(blank->GetScoreMultiplier(), 1);
}

TEST(LetterSlot, DamagedIndicesReadAsThePlainSlotInGrey) {
    Ref<PropertyNode> node = new PropertyNode("slot", "LetterSlot");
    node->Add(PropertyValue::FromInteger("img", 7, true));
    node->Add(PropertyValue::FromInteger("clr", -3, true));
    Ref<LetterSlot> slot = new LetterSlot(node.Get());
    EXPECT_EQ(slot->ImageIndex(), LetterSlot::kPlainSlot);
    EXPECT_EQ(slot->ColourIndex(), LetterSlot::kGrey);
    EXPECT_TRUE(slot->Letter().IsHidden());
    EXPECT_EQ(LetterSlot::ColourValue(LetterSlot::kLightRed), 0xff8888u);
    EXPECT_EQ(LetterSlot::ColourValue(99), 0x555555u);
}

TEST(WordSprite, DrawsAsOneCachedPictureExceptWhileTheMissedLookFadesIn) {
    QueueFixture fixture;
    Ref<WordSprite> word = WordOf("cart");
    ASSERT_NE(word->GetImage(), nullptr);
    EXPECT_EQ(word->GetImage()->GetWidth(), QueueFixture::WordWidth(4));
    EXPECT_EQ(word->GetImage()->GetHeight(), QueueFixture::kSlotHeight);
    EXPECT_FALSE(word->Content().IsVisible());

    word->ShowMissed();
    for (const Ref<LetterSlot>& slot : word->Slots()) {
        EXPECT_FALSE(slot->Letter().IsHidden());
        EXPECT_EQ(slot->ColourIndex(), LetterSlot::kLightRed);
        EXPECT_TRUE(slot->IsSelected());
    }
    EXPECT_EQ(word->GetImage(), nullptr);
    EXPECT_TRUE(word->Content().IsVisible());

    QueueFixture::Run(*word, 10);
    EXPECT_FALSE(word->IsAnimating());
    EXPECT_FALSE(word->Content().IsVisible());
    ASSERT_NE(word->GetImage(), nullptr);
    EXPECT_EQ(word->Slots()[0]->GetAlpha(), 255);
}

TEST(WordSprite, RevealShowsTheLetterAndEndsItsAnimation) {
    QueueFixture fixture;
    Ref<WordSprite> word = WordOf("train");
    word->RevealLetter(2, 100, 500);
    EXPECT_TRUE(word->Slots()[2]->Letter().IsHidden());
    EXPECT_TRUE(word->IsAnimating());
    // Outside a queue the arrival gives up after 2000 ms; then wait, fade in, hold and fade out.
    QueueFixture::Run(*word, 100);
    EXPECT_FALSE(word->Slots()[2]->Letter().IsHidden());
    EXPECT_TRUE(word->Slots()[1]->Letter().IsHidden());
    EXPECT_FALSE(word->IsAnimating());
    EXPECT_NE(word->GetImage(), nullptr);
}

TEST(WordSprite, EndOfSubmissionFadesEveryEffectAndThenDrawsTheWordWhole) {
    QueueFixture fixture;
    Ref<WordSprite> word = WordOf("cat");
    word->SetFound();
    word->ShowArrival();
    QueueFixture::Run(*word, 50);  // the arrival gives up after 2000 ms outside a queue; 400 ms fade in
    std::vector<Ref<GameNode>> effects;
    for (const Ref<LetterSlot>& slot : word->Slots()) {
        ASSERT_NE(slot->EffectNode(), nullptr);
        effects.emplace_back(slot->EffectNode());
    }
    word->EndSubmission();
    for (const Ref<LetterSlot>& slot : word->Slots()) {
        EXPECT_EQ(slot->EffectNode(), nullptr);
        slot->SetSelected(true);  // as if a whole-word animation still ran
    }
    QueueFixture::Run(*word, 24);  // 1200 ms: 300 ms wait, most of the 1000 ms fade
    EXPECT_FALSE(effects[2]->IsRemoved());
    EXPECT_TRUE(word->IsAnimating());
    QueueFixture::Run(*word, 4);
    for (const Ref<GameNode>& effect : effects) {
        EXPECT_TRUE(effect->IsRemoved());
    }
    EXPECT_FALSE(word->IsAnimating());
    EXPECT_NE(word->GetImage(), nullptr);
}

TEST(ModifierWordArrival, EndsAtOnceWhenTheColumnIsInViewElseAfterTwoSeconds) {
    QueueFixture fixture;
    Ref<WordQueue> queue = fixture.QueueOf({"ant", "bee", "cat", "dog", "eel", "fox"}, 100);
    auto runArrival = [&queue](int index) {
        WordSprite& word = *queue->Words()[static_cast<size_t>(index)];
        Ref<ModifierWordArrival> arrival = new ModifierWordArrival;
        word.Slots().front()->AddModifier(arrival.Get());
        int updates = 0;
        while (!arrival->IsFinished() && updates < 100) {
            arrival->Update(100);
            ++updates;
        }
        return updates;
    };
    EXPECT_EQ(runArrival(0), 1);   // first column, x 0..64 inside 100 px
    EXPECT_EQ(runArrival(5), 20);  // second column at 74..138 lies partly outside
}

}  // namespace

// A damaged save game may name any class where a part of a word or of the
// word bar stands; what that builds is released, and a blank part stands in.
TEST(SavedWordParts, PartsOfAnotherClassAreReleased) {
    const struct {
        const char* xml;
        Ref<Object> (*read)(Property* node);
    } cases[] = {
        {"<WordSprite><Vector id=\"letters\"><Stranger/></Vector></WordSprite>",
         [](Property* node) -> Ref<Object> { return new WordSprite(node); }},
        {"<LetterSlot><Stranger id=\"data\"/></LetterSlot>",
         [](Property* node) -> Ref<Object> { return new LetterSlot(node); }},
        {"<LetterSprite><Stranger id=\"letter\"/></LetterSprite>",
         [](Property* node) -> Ref<Object> { return new LetterSprite(node); }},
        {"<WordBarClassic><Vector id=\"racks\"><Stranger/><Stranger/></Vector></WordBarClassic>",
         [](Property* node) -> Ref<Object> { return new WordBarClassic(node); }},
    };
    for (const auto& c : cases) {
        const std::string xml = std::string("<root>") + c.xml + "</root>";
        const Ref<PropertyFile> file = new PropertyFile;
        ASSERT_TRUE(file->LoadFromMemory(xml.data(), xml.size(), "saved part"));
        const Ref<Object> read = c.read(Property::At(file.Get(), 0));
        EXPECT_TRUE(read) << c.xml;
        EXPECT_EQ(Stranger::alive, 0) << c.xml;
    }
}
