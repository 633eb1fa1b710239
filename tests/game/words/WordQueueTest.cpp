#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "QueueFixture.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/media/Canvas.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/RenderPass.h"
#include "game/words/QueueScrollControl.h"
#include "game/words/TicketInfo.h"
#include "game/words/WordList.h"

namespace {

using Fixture = QueueFixture;

class RecordingControl : public QueueScrollControl {
public:
    void SetValue(float v) override { value = v; }
    void Connect(std::function<void(float)> drag, std::function<void()> forward,
                 std::function<void()> backward) override {
        onDrag = std::move(drag);
        onForward = std::move(forward);
        onBackward = std::move(backward);
    }

    float value = -1.0f;
    std::function<void(float)> onDrag;
    std::function<void()> onForward;
    std::function<void()> onBackward;
};

std::vector<std::string> Words(int count, const std::string& prefix = "wo") {
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i) {
        words.push_back(prefix + static_cast<char>('a' + i / 26) + static_cast<char>('a' + i % 26));
    }
    return words;
}

TEST(WordQueue, LaysWordsOutInColumnsWithOneColumnMoreThanFullOnes) {
    Fixture fixture;
    const int w3 = Fixture::WordWidth(3);
    const int w4 = Fixture::WordWidth(4);
    struct Case {
        std::vector<std::string> words;
        std::vector<int> widths;
    } cases[] = {
        {{}, {0}},
        {{"ant", "bee"}, {w3}},
        {Words(10), {w4, w4, 0}},
        {{"ant", "bee", "cat", "dog", "eel", "goat"}, {w3, w4}},
    };
    for (const Case& c : cases) {
        Ref<WordQueue> queue = fixture.QueueOf(c.words, 100);
        EXPECT_EQ(queue->ColumnWidths(), c.widths) << c.words.size() << " words";
        std::vector<int> positions{0};
        for (size_t i = 1; i < c.widths.size(); ++i) {
            positions.push_back(positions.back() + Fixture::kColumnSpacing + c.widths[i - 1]);
        }
        EXPECT_EQ(queue->ColumnPositions(), positions) << c.words.size() << " words";
        EXPECT_EQ(queue->ScrollMaximum(), std::max(0, positions.back() + c.widths.back() - 100))
            << c.words.size() << " words";
        for (size_t i = 0; i < queue->Words().size(); ++i) {
            const WordSprite& word = *queue->Words()[i];
            EXPECT_EQ(word.GetX(), positions[i / Fixture::kRows]);
            EXPECT_EQ(word.GetY(), static_cast<int>(i % Fixture::kRows) * Fixture::kRowSpacing);
        }
    }
    // Ten words in rows of five: the empty third column counts, 2 x 86 + 2 x 10 - 100.
    EXPECT_EQ(fixture.QueueOf(Words(10), 100)->ScrollMaximum(), 2 * w4 + 2 * Fixture::kColumnSpacing - 100);
}

TEST(WordQueue, SortsUnmissedThenOrdinaryThenShorterThenByText) {
    Fixture fixture;
    struct Case {
        const char* a;
        bool aMissed, aCustom;
        const char* b;
        bool bMissed, bCustom;
    } before[] = {
        {"zebra", false, false, "ant", true, false},   // a missed word after every other
        {"zebra", false, true, "ant", true, false},    // even after a custom one
        {"zebra", false, false, "ant", false, true},   // custom after ordinary
        {"cat", false, false, "ants", false, false},   // fewer letters first
        {"ant", false, false, "bee", false, false},    // then by text
        {"ant", true, false, "bee", true, false},      // among missed words too
    };
    for (const Case& c : before) {
        Ref<WordSprite> a = new WordSprite;
        a->SetWord(c.a, false);
        a->SetMissed(c.aMissed);
        a->SetCustom(c.aCustom);
        Ref<WordSprite> b = new WordSprite;
        b->SetWord(c.b, false);
        b->SetMissed(c.bMissed);
        b->SetCustom(c.bCustom);
        EXPECT_TRUE(WordQueue::SortsBefore(*a, *b)) << c.a << " before " << c.b;
        EXPECT_FALSE(WordQueue::SortsBefore(*b, *a)) << c.b << " not before " << c.a;
    }
    Ref<WordQueue> queue = fixture.QueueOf({"goat", "bee", "ant", "zebra"});
    queue->AddWord(fixture.Records({"ant", "cow"}), true);
    EXPECT_EQ(Fixture::PlainTexts(*queue), (std::vector<std::string>{"ant", "bee", "goat", "zebra", "ant", "cow"}));
    EXPECT_TRUE(queue->Words()[4]->IsMissed());
    EXPECT_EQ(queue->Words()[4]->Status(), WordSprite::kMissed);
    EXPECT_FALSE(queue->Words()[4]->Slots()[0]->Letter().IsHidden());
    EXPECT_EQ(queue->Words()[4]->Slots()[0]->ColourIndex(), LetterSlot::kLightRed);
    EXPECT_EQ(queue->FindWord("ant", WordSprite::kMissed), queue->Words()[4].Get());
    EXPECT_EQ(queue->FindWord("ant", WordSprite::kToFind), queue->Words()[0].Get());
    EXPECT_EQ(queue->FindWord("ant", WordSprite::kFound), nullptr);
}

TEST(WordQueue, NextWordSkipsFoundWordsWrapsAndStopsAtItsStart) {
    Fixture fixture;
    Ref<WordQueue> queue = fixture.QueueOf({"ant", "bee", "cat", "dog"});
    queue->Words()[1]->SetStatus(WordSprite::kFound);
    queue->Words()[0]->Highlight();
    std::vector<int> visited;
    for (int i = 0; i < 4; ++i) {
        queue->NextWord();
        visited.push_back(queue->CurrentIndex());
    }
    EXPECT_EQ(visited, (std::vector<int>{2, 3, 0, 2}));
    EXPECT_EQ(queue->Words()[2]->Slots()[0]->ImageIndex(), LetterSlot::kSelectedSlot);
    EXPECT_EQ(queue->Words()[0]->Slots()[0]->ImageIndex(), LetterSlot::kPlainSlot);

    for (const Ref<WordSprite>& word : queue->Words()) {
        word->SetStatus(WordSprite::kFound);
    }
    queue->NextWord();
    EXPECT_EQ(queue->CurrentIndex(), 2);
    EXPECT_EQ(queue->Words()[2]->Slots()[0]->ImageIndex(), LetterSlot::kPlainSlot);

    // An empty queue has nothing to step through.
    Ref<WordQueue> empty = fixture.QueueOf({});
    empty->NextWord();
    EXPECT_EQ(empty->CurrentIndex(), 0);
}

TEST(WordQueue, ScrollStepsGoColumnByColumnWithinZeroAndTheMaximum) {
    Fixture fixture;
    // Columns of 86 px at 0, 96, 192 and 288 (the last empty); width 100, maximum 188.
    Ref<WordQueue> queue = fixture.QueueOf(Words(15), 100);
    ASSERT_EQ(queue->ScrollMaximum(), 188);
    struct Step {
        bool forward;
        float target;
    } steps[] = {{false, 0}, {true, 96}, {true, 188}, {true, 188}, {false, 96}, {false, 0}, {false, 0}};
    for (const Step& step : steps) {
        queue->ScrollStep(step.forward);
        EXPECT_EQ(queue->ScrollTarget(), step.target) << (step.forward ? "forward" : "back");
    }
    Ref<WordQueue> cleared = fixture.QueueOf(Words(15), 100);
    cleared->Clear();
    cleared->ScrollStep(true);
    EXPECT_EQ(cleared->ScrollTarget(), 0.0f);
}

TEST(WordQueue, ScrollsToCentreAWordsColumnOnlyWhenItIsOutOfView) {
    Fixture fixture;
    Ref<WordQueue> queue = fixture.QueueOf(Words(15), 100);
    queue->ScrollToWord(3);
    EXPECT_EQ(queue->ScrollTarget(), 0.0f);
    queue->ScrollToWord(7);  // column 96..182 centred: (82 + 96) / 2
    EXPECT_EQ(queue->ScrollTarget(), 89.0f);
    queue->ScrollToWord(12);  // (278 - 100 + 192) / 2 = 185, within the maximum
    EXPECT_EQ(queue->ScrollTarget(), 185.0f);
    queue->ScrollToWord(static_cast<const WordSprite*>(nullptr));  // index -1 lies in the first column, in view
    queue->ScrollToWord(99);  // no such column
    EXPECT_EQ(queue->ScrollTarget(), 185.0f);
}

TEST(WordQueue, EasesToItsTargetMovesTheContentAndShowsThePosition) {
    Fixture fixture;
    Ref<WordQueue> queue = fixture.QueueOf(Words(15), 100);
    RecordingControl control;
    queue->AttachScrollControl(&control);
    control.onForward();
    ASSERT_EQ(queue->ScrollTarget(), 96.0f);
    float last = 0.0f;
    bool monotonic = true;
    for (int frame = 0; frame < 40; ++frame) {
        queue->Update(20);
        monotonic = monotonic && queue->ScrollPosition() >= last && queue->ScrollPosition() <= 96.0f;
        last = queue->ScrollPosition();
    }
    EXPECT_TRUE(monotonic);
    EXPECT_EQ(queue->ScrollPosition(), 96.0f);
    EXPECT_EQ(queue->Content().GetX(), -96);
    EXPECT_FLOAT_EQ(control.value, 96.0f / 188.0f);

    control.onDrag(0.5f);
    EXPECT_EQ(queue->ScrollPosition(), 94.0f);
    EXPECT_EQ(queue->Content().GetX(), -94);
    control.onBackward();
    EXPECT_EQ(queue->ScrollTarget(), 0.0f);

    // Damaged limits (a deceleration of 0 would divide by zero) jump onto the target.
    TicketConstantsFixture::Define("<Float id=\"QUEUE_ACC_DEC\" value=\"0\"/>");
    queue->Update(20);
    EXPECT_EQ(queue->ScrollPosition(), 0.0f);

    // A queue too short to scroll shows position 0 instead of dividing by its maximum of 0.
    Ref<WordQueue> small = fixture.QueueOf({"ant"}, 100);
    small->AttachScrollControl(&control);
    small->Update(20);
    EXPECT_EQ(control.value, 0.0f);
}

TEST(WordQueue, RowsBelowOneCountAsOneAndNoRowSpacingDrawsNoSecondWord) {
    Fixture fixture;
    TicketConstantsFixture::Define(
        "<Integer id=\"QUEUE_NUM_WORDS_Y\" value=\"0\"/><Integer id=\"QUEUE_WORD_SPACING_Y\" value=\"0\"/>");
    Ref<WordQueue> queue = fixture.QueueOf({"ant", "bee"});
    EXPECT_EQ(queue->Rows(), 1);
    EXPECT_EQ(queue->ColumnWidths().size(), 3u);
    queue->NextWord();
    EXPECT_EQ(queue->CurrentIndex(), 1);
    queue->ScrollToWord(1);
    queue->Words()[1]->SetY(-5);
    Ref<MemorySurface> screen = new MemorySurface(50, 50);
    queue->Draw(*screen->CreateCanvas());
}

TEST(WordQueue, InsertedWordsPushLaterWordsOnAndEnterTheNextColumnFromAbove) {
    Fixture fixture;
    Ref<WordQueue> queue = fixture.QueueOf({"bee", "cat", "dog", "eel", "fox"});
    Fixture::Run(*queue, 20);  // the words have faded in
    queue->NextWord();
    ASSERT_EQ(queue->CurrentIndex(), 1);
    Ref<WordSprite> ant = new WordSprite;
    ant->SetWord("ant", true);
    ant->SetFound();
    queue->InsertWord(ant.Get());
    EXPECT_EQ(Fixture::PlainTexts(*queue), (std::vector<std::string>{"ant", "bee", "cat", "dog", "eel", "fox"}));
    EXPECT_EQ(queue->CurrentIndex(), 2);  // the highlight stays on "cat"
    EXPECT_EQ(ant->GetY(), 0);
    WordSprite& fox = *queue->Words()[5];
    EXPECT_EQ(fox.GetX(), queue->ColumnPositions()[1]);
    Fixture::Run(*queue, 1, 0);
    EXPECT_LT(fox.GetY(), 0);  // starts above its new column
    Fixture::Run(*queue, 60);
    EXPECT_EQ(fox.GetY(), 0);
    EXPECT_EQ(queue->Words()[1]->GetY(), Fixture::kRowSpacing);
    EXPECT_FALSE(ant->IsAnimating());
    EXPECT_FALSE(ant->Slots()[0]->Letter().IsHidden());
}

TEST(WordQueue, AWordEnteringItsColumnFromAboveAlsoShowsAtTheFootOfTheOneItLeft) {
    Fixture fixture;
    for (Ref<Surface>& slot : LetterSlot::SharedLooks().slots) {
        std::fill_n(slot->Pixels32(), Fixture::kSlotWidth * Fixture::kSlotHeight, 0xFF3366AAu);
    }
    Ref<WordQueue> queue = fixture.QueueOf({"bee", "cat", "dog", "eel", "foxes"}, 300);
    Fixture::Run(*queue, 20);
    Ref<WordSprite> ant = new WordSprite;
    ant->SetWord("ant", true);
    queue->InsertWord(ant.Get());
    Fixture::Run(*queue, 1, 0);
    const WordSprite& foxes = *queue->Words()[5];
    ASSERT_EQ(foxes.GetY(), -Fixture::kRowSpacing);  // from row 4 of column 0 to row 0 of column 1

    Ref<MemorySurface> screen = new MemorySurface(300, 200);
    Ref<Canvas> canvas = screen->CreateCanvas();
    queue->Draw(*canvas);  // the queue's own drawing only, without its children
    auto pixel = [&screen](int x, int y) { return screen->Pixels32()[y * 300 + x] & 0xFFFFFFu; };
    const int foot = 4 * Fixture::kRowSpacing + 5;
    EXPECT_EQ(pixel(Fixture::WordWidth(5) - 3, foot), 0x3366AAu);  // wider than any other word of column 0
    EXPECT_EQ(pixel(5, 5), 0u);
    EXPECT_EQ(pixel(queue->ColumnPositions()[1] + 5, 5), 0u);
}

// Scrolled by a column, the queue's first column lies left of it and its
// third runs past its right edge; the slots of the last row reach below
// rows x spacing. None of it may show outside the queue's own area.
TEST(WordQueue, NothingOfAScrolledQueueShowsOutsideItsArea) {
    Fixture fixture;
    for (Ref<Surface>& slot : LetterSlot::SharedLooks().slots) {
        std::fill_n(slot->Pixels32(), Fixture::kSlotWidth * Fixture::kSlotHeight, 0xFF3366AAu);
    }
    Ref<GameNode> screen = new GameNode;
    Ref<WordQueue> queue = new WordQueue;
    queue->SetWidth(100);
    queue->SetPosition(30, 40);
    screen->AddChild(queue.Get());
    queue->AddWord(fixture.Records(Words(15)), false);
    queue->ScrollStep(true);
    Fixture::Run(*queue, 60);
    ASSERT_EQ(queue->Content().GetX(), -96);

    Ref<MemorySurface> picture = new MemorySurface(300, 200);
    RenderPass::DrawNodeTree(*picture->CreateCanvas(), *screen);
    auto painted = [&picture](int x, int y) { return (picture->Pixels32()[y * 300 + x] & 0xFFFFFFu) != 0; };
    const int bottom = 40 + Fixture::kRows * Fixture::kRowSpacing;
    const struct {
        int x, y;
        bool shown;
    } points[] = {
        {31, 45, true},             // the second column, now first in view
        {128, 45, true},            // the third column, up to the right edge
        {31, bottom - 2, true},     // the last row, inside
        {10, 45, false},            // the first column, scrolled off to the left
        {135, 45, false},           // the third column beyond the right edge
        {31, bottom + 2, false},    // the last row's slots below the area
    };
    for (const auto& point : points) {
        EXPECT_EQ(painted(point.x, point.y), point.shown) << point.x << ", " << point.y;
    }
}

TEST(WordQueue, SaveAndReadKeepTheWordsInOrderAndTheCurrentIndex) {
    Fixture fixture;
    Ref<WordQueue> queue = fixture.QueueOf({"goat", "ant", "bee"});
    queue->Words()[2]->SetFound();
    queue->NextWord();
    queue->NextWord();
    Ref<PropertyNode> node = new PropertyNode("wordqueue", "WordQueue");
    queue->Save(*node);

    Ref<WordQueue> read = ObjectCast<WordQueue>(ClassFactory::Instance().Create(node.Get()));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->CurrentIndex(), queue->CurrentIndex());
    EXPECT_EQ(Fixture::PlainTexts(*read), Fixture::PlainTexts(*queue));
    EXPECT_EQ(read->Words()[2]->Status(), WordSprite::kFound);
    EXPECT_EQ(read->Words()[1]->Slots()[0]->ImageIndex(), LetterSlot::kSelectedSlot);
    EXPECT_EQ(read->Words()[1]->GetY(), Fixture::kRowSpacing);
    EXPECT_EQ(read->Words()[1]->GetAlpha(), 0);  // fades in
    Fixture::Run(*read, 20);
    EXPECT_EQ(read->Words()[2]->GetAlpha(), 255);

    Ref<PropertyNode> bare = new PropertyNode("wordqueue", "WordQueue");
    Ref<WordQueue> empty = new WordQueue(bare.Get());
    EXPECT_EQ(empty->CurrentIndex(), 0);
    EXPECT_TRUE(empty->Words().empty());
}

TEST(WordQueue, LevelEndRevealsMissedWordsByGameType) {
    Fixture fixture;
    Ref<WordList> list = WordListOf({"ant", "tan", "nat", "tea", "eat", "ate", "neat", "cat", "cot"});
    TicketInfo ticket;

    // Secret: the letter set's words the queue lacks, after the queue's own words.
    ticket.GameType = 6;
    ticket.LetterSet = "tean";
    Ref<WordQueue> secret = fixture.QueueOf({"ant", "tea"});
    secret->Words()[0]->SetFound();
    secret->RevealMissedWords(ticket, list.Get());
    EXPECT_EQ(Fixture::PlainTexts(*secret),
              (std::vector<std::string>{"ant", "tea", "ate", "eat", "nat", "tan", "neat"}));
    EXPECT_TRUE(secret->Words()[6]->IsMissed());

    // Anagrams: an unfound scramble shows a solution that is not found yet.
    ticket.GameType = 3;
    Ref<WordQueue> anagrams = fixture.QueueOf({"nta", "tan"});
    anagrams->Words()[1]->SetFound();
    anagrams->RevealMissedWords(ticket, list.Get());
    EXPECT_EQ(anagrams->Words()[0]->ShownText(), "ant");
    EXPECT_EQ(anagrams->Words()[0]->Status(), WordSprite::kMissed);
    EXPECT_EQ(anagrams->Words()[1]->Status(), WordSprite::kFound);

    // Slots: a pattern shows its first unfound match.
    ticket.GameType = 4;
    Ref<WordQueue> slots = fixture.QueueOf({"c?t", "cat"});
    slots->Words()[1]->SetFound();
    slots->RevealMissedWords(ticket, list.Get());
    EXPECT_EQ(slots->Words()[0]->ShownText(), "cot");
    EXPECT_FALSE(slots->Words()[0]->Slots()[1]->Letter().IsHidden());

    // Other types only mark their unfound words missed.
    ticket.GameType = 0;
    Ref<WordQueue> classic = fixture.QueueOf({"ant", "cat"});
    classic->Words()[1]->SetFound();
    classic->RevealMissedWords(ticket, list.Get());
    EXPECT_EQ(classic->Words()[0]->Status(), WordSprite::kMissed);
    EXPECT_EQ(classic->Words()[0]->Slots()[0]->ColourIndex(), LetterSlot::kLightRed);
    EXPECT_FALSE(classic->Words()[0]->IsMissed());
    EXPECT_EQ(classic->Words()[1]->Status(), WordSprite::kFound);
}

TEST(WordQueue, FadeOutEmptiesTheListAndRemovesEachWordAfterItsFade) {
    Fixture fixture;
    Ref<WordQueue> queue = fixture.QueueOf({"ant", "bee", "cat"});
    Fixture::Run(*queue, 20);
    std::vector<Ref<WordSprite>> words = queue->Words();
    const Ref<Modifier> last = queue->FadeOutWords();
    ASSERT_TRUE(last);
    EXPECT_TRUE(queue->Words().empty());
    Fixture::Run(*queue, 2);  // 100 ms: the third word still waits its 120 ms
    EXPECT_EQ(words[2]->GetAlpha(), 255);
    Fixture::Run(*queue, 10);
    EXPECT_TRUE(last->IsFinished());
    for (const Ref<WordSprite>& word : words) {
        EXPECT_TRUE(word->IsRemoved());
        EXPECT_EQ(word->GetAlpha(), 0);
    }
    EXPECT_FALSE(Ref<WordQueue>(new WordQueue)->FadeOutWords());
}

// A word still waiting for an effect of its own (its arrival, a reveal)
// fades out all the same: it must not stay among the next list's words.
TEST(WordQueue, AWordStillWaitingForItsOwnEffectFadesOutWithTheOthers) {
    Fixture fixture;
    Ref<WordQueue> queue = fixture.QueueOf({"ant", "bee"});
    Fixture::Run(*queue, 20);
    const Ref<WordSprite> waiting = queue->Words().front();
    waiting->AddModifier(new ModifierWait(1000000));
    const Ref<Modifier> last = queue->FadeOutWords();
    Fixture::Run(*queue, 12);
    EXPECT_TRUE(last->IsFinished());
    EXPECT_TRUE(waiting->IsRemoved());
    EXPECT_EQ(waiting->GetAlpha(), 0);
}

}  // namespace
