#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "CoalFixture.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyNode.h"
#include "game/constants/GameConstants.h"
#include "game/words/FurnacePosition.h"
#include "game/words/WordBarClassic.h"
#include "game/words/WordBarSlots.h"
#include "game/words/WordQueue.h"
#include "game/words/WordSprite.h"

namespace {

// Records what the bar asks of the game screen.
class RecordingScene : public WordBarScene {
public:
    int GameType() const override { return gameType; }
    Rect CoalArea() const override { return coalArea; }
    GameNode* EffectLayer() const override { return effects.Get(); }
    const WordList* Words() const override { return words.Get(); }
    WordQueue* Queue() const override { return queue.Get(); }
    void SetWrongCharTime(int32_t ms) override { wrongCharTime = ms; }
    void ShowTimer(Modifier* flight, int32_t flightMs) override { timers.push_back({flight, flightMs}); }
    void SpawnBonusSpark(GameNode*, int32_t, int32_t, int32_t delayMs) override { sparks.push_back(delayMs); }
    void SpawnCoalSparks(GameNode*, int32_t x, int32_t y) override { coalSparks.push_back({x, y}); }
    void SpawnCoin(Modifier* waitFor, int32_t x, int32_t y, int32_t value, bool strong) override {
        coins.push_back({x, y});
        EXPECT_NE(waitFor, nullptr);
        EXPECT_EQ(value, COAL_COIN_NUM_COINS);
        EXPECT_TRUE(strong);
    }
    void ShowFloatingScore(GameNode*) override { ++floatingScores; }
    void ThrowCoalScoreStars(GameNode*) override { ++starThrows; }
    void PlaySound(const std::string& id, const std::string& section) override {
        sounds.push_back(id + "@" + section);
    }

    int gameType = 0;
    Rect coalArea{0, 0, 800, 600};
    Ref<GameNode> effects{new GameNode};
    Ref<WordList> words;
    Ref<WordQueue> queue;
    int32_t wrongCharTime = 0;
    struct Timer {
        Ref<Modifier> flight;
        int32_t flightMs;
    };
    std::vector<Timer> timers;
    std::vector<int32_t> sparks;
    std::vector<std::pair<int32_t, int32_t>> coalSparks;
    std::vector<std::pair<int32_t, int32_t>> coins;
    int floatingScores = 0;
    int starThrows = 0;
    std::vector<std::string> sounds;
};

class FixedFurnace : public FurnacePosition {
public:
    FixedFurnace() { target->SetPosition(300, 100); }
    GameNode* CoalTarget() const override { return target.Get(); }

    Ref<GameNode> target{new GameNode};
};

const std::string kCorrect = "SOUND_LETTER_CLICK_CORRECT@gamescene";
const std::string kBack = "SOUND_LETTER_CLICK_BACK@gamescene";
const std::string kWrong = "SOUND_LETTER_TYPED_WRONG@gamescene";

// A bar at (400, 429) under a root node: coal spacing 62 for 6 coals, 56 for
// 7; the rows 70 px apart; the slot machine's rows of 13 small coals 36 px
// apart, the first at y 60.
class WordBarTest : public ::testing::Test {
protected:
    WordBarTest() {
        TicketConstantsFixture::Define(
            "<Vector id=\"WORDBAR_COAL_SPACING\"><Integer value=\"62\"/><Integer value=\"56\"/></Vector>");
        WORDBAR_CENTER_X = 400;
        WORDBAR_RACK_SPACING = 70;
        WORDBAR_LETTER_RADIUS = 25;
        WORDBAR_WRONG_CHAR_TIME = 700;
        SLOTS_LETTER_RADIUS = 15;
        SLOTS_COAL_X_SPACING = 36;
        SLOTS_COAL_Y_SPACING = 36;
        SLOTS_COAL_Y_OFFSET = 60;
        COAL_MOVE_TIME = 200;
        SUBMIT_ANIM_SPACING = 30;
        SUBMIT_ANIM_START_Y = 300;
        SUBMIT_ANIM_INIT_DELAY = 150;
        SUBMIT_ANIM_COAL_TIME = 600;
        SLOT_INIT_DELAY = 50;
        // The game's own flight tuning.
        SLOT_INIT_TIME = 150;
        SLOT_INIT_ANGLE_FRAC = 0.6f;
        SLOT_INIT_SPEED_X = 3000.0f;
        SLOT_INIT_SPEED_Y = 4000.0f;
        SLOT_PULL_SPEED = 3000.0f;
        SLOT_PULL_RESISTANCE = 600.0f;
        COAL_COIN_NUM_COINS = 3;
        WordBar::SetHooks({&scene_, &furnace_});
    }
    ~WordBarTest() override {
        WordBar::SetHooks({});
        LetterRack::SetRandomSource(nullptr);
        for (int32_t* constant : {&WORDBAR_CENTER_X, &WORDBAR_RACK_SPACING, &WORDBAR_LETTER_RADIUS,
                                  &WORDBAR_WRONG_CHAR_TIME, &SLOTS_LETTER_RADIUS, &SLOTS_COAL_X_SPACING,
                                  &SLOTS_COAL_Y_SPACING, &SLOTS_COAL_Y_OFFSET, &COAL_MOVE_TIME,
                                  &SUBMIT_ANIM_SPACING, &SUBMIT_ANIM_START_Y, &SUBMIT_ANIM_INIT_DELAY,
                                  &SUBMIT_ANIM_COAL_TIME, &SLOT_INIT_DELAY, &SLOT_INIT_TIME, &COAL_COIN_NUM_COINS}) {
            *constant = 0;
        }
    }

    // A word whose letters carry the kinds of `kinds` ('0' to '7'; shorter means plain).
    static Ref<WordSprite> WordOf(const std::string& text, const std::string& kinds = "") {
        Ref<WordSprite> word = new WordSprite;
        word->SetWord(text, false);
        for (size_t i = 0; i < kinds.size() && i < text.size(); ++i) {
            word->Slots()[i]->Letter().SetType(kinds[i] - '0');
        }
        return word;
    }

    // A classic bar under the root whose supply was dealt `letters`.
    Ref<WordBarClassic> ClassicBar(const std::string& letters, const std::string& kinds = "") {
        Ref<WordBarClassic> bar = new WordBarClassic;
        root_->AddChild(bar.Get());
        bar->DealLetters(WordOf(letters, kinds).Get(), 0, false);
        CoalFixture::Run(*root_, 400);
        return bar;
    }

    Ref<WordBarSlots> SlotsBar() {
        scene_.gameType = 4;
        Ref<WordBarSlots> bar = new WordBarSlots;
        root_->AddChild(bar.Get());
        CoalFixture::Run(*root_, 400);
        return bar;
    }

    // A rack's used slots as letters, '.' for an empty one.
    static std::string Layout(const WordBar& bar, int rack) {
        std::string layout;
        const LetterRack& letters = bar.Rack(rack);
        for (int s = 0; s < letters.GetRackSize(); ++s) {
            const LetterSprite* coal = letters.GetLetter(s);
            layout += coal != nullptr ? static_cast<char>(coal->Letter().Char()) : '.';
        }
        return layout;
    }

    static void Type(WordBar& bar, const std::string& letters) {
        for (char c : letters) {
            bar.TypeLetter(static_cast<uint8_t>(c));
            bar.PlayLetterSound();
        }
    }

    // A click at the centre of a slot, in the coordinates of the bar's parent.
    static void Click(WordBar& bar, SlotRef ref) {
        const PointF slot = bar.GetSlotPosition(ref);
        bar.PickLetterAt(bar.GetX() + static_cast<int32_t>(slot.x), bar.GetY() + static_cast<int32_t>(slot.y));
        bar.PlayLetterSound();
    }

    CoalFixture coals_;
    RecordingScene scene_;
    FixedFurnace furnace_;
    Ref<GameNode> root_{new GameNode};
};

TEST_F(WordBarTest, TypingTakesTheRightCoalAndPlaysItsSound) {
    struct Case {
        const char* name;
        const char* supply;
        const char* kinds;
        const char* typed;
        int wordRackSize;
        const char* word;
        const char* supplyAfter;
        int lastAction;
        const char* lastSound;
    };
    const Case cases[] = {
        {"first plain coal", "abcade", "", "a", 6, "a.....", ".bcade", WordBar::kTypedFound, "correct"},
        {"special wins over an earlier plain", "abcade", "0002", "a", 6, "a.....", "abc.de", WordBar::kTypedFound,
         "correct"},
        {"typed letters fill from the left", "abcdef", "", "fab", 6, "fab...", "..cde.", WordBar::kTypedFound,
         "correct"},
        {"joker stands in for a missing letter", "ab?cde", "007", "z", 6, "?.....", "ab.cde", WordBar::kTypedFound,
         "correct"},
        {"missing letter without a joker", "abcdef", "", "z", 6, "......", "abcdef", WordBar::kTypedNotFound,
         "wrong"},
        {"full word rack", "abcdef", "", "abc", 2, "ab", "..cdef", WordBar::kTypedNotFound, "wrong"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        scene_.sounds.clear();
        scene_.wrongCharTime = 0;
        const Ref<WordBarClassic> bar = ClassicBar(c.supply, c.kinds);
        bar->Rack(WordBar::kWordRack).SetSize(c.wordRackSize);
        bar->Rack(WordBar::kWordRack).SetRackSize(c.wordRackSize);
        Type(*bar, c.typed);
        EXPECT_EQ(Layout(*bar, WordBar::kWordRack), c.word);
        EXPECT_EQ(Layout(*bar, WordBar::kSupplyRack), c.supplyAfter);
        EXPECT_EQ(bar->LastAction(), c.lastAction);
        const bool wrong = std::string(c.lastSound) == "wrong";
        EXPECT_EQ(scene_.sounds.back(), wrong ? kWrong : kCorrect);
        EXPECT_EQ(scene_.wrongCharTime, wrong ? 700 : 0);
        bar->SetRemoved(true);
    }
}

TEST_F(WordBarTest, AJokerTakesTheTypedLetterAndLosesItOnTheWayBack) {
    const Ref<WordBarClassic> bar = ClassicBar("ab?", "007");
    Type(*bar, "z");
    const LetterSprite* joker = bar->GetLetter({WordBar::kWordRack, 0});
    ASSERT_NE(joker, nullptr);
    EXPECT_EQ(joker->Letter().Joker(), 'z');
    std::string spelled;
    bar->Rack(WordBar::kWordRack).GetWord(spelled, true);
    EXPECT_EQ(spelled, "z");

    bar->TakeBackLetters(true, false);
    EXPECT_EQ(joker->Letter().Joker(), '?');
    EXPECT_EQ(Layout(*bar, WordBar::kSupplyRack), "ab?...");
}

TEST_F(WordBarTest, ClickingAWordCoalSendsItNearbyAndClosesTheGap) {
    const Ref<WordBarClassic> bar = ClassicBar("abcdef");
    Type(*bar, "ace");
    CoalFixture::Run(*root_, 400);
    LetterSprite* third = bar->GetLetter({WordBar::kWordRack, 2});
    scene_.sounds.clear();

    // "c" stands at x 0 in the centred word; the nearest free supply slot to it is slot 2.
    Click(*bar, {WordBar::kWordRack, 1});
    EXPECT_EQ(bar->LastAction(), WordBar::kCanMove);
    EXPECT_EQ(Layout(*bar, WordBar::kWordRack), "ae....");
    EXPECT_EQ(Layout(*bar, WordBar::kSupplyRack), ".bcd.f");
    EXPECT_TRUE(bar->GetLetter({WordBar::kSupplyRack, 2})->IsMovedByMouse());
    EXPECT_EQ(scene_.sounds, std::vector<std::string>{kCorrect});
    CoalFixture::Run(*root_, 400);
    // Two coals centred: the second at +31.
    EXPECT_EQ(third->GetX(), 31);
    EXPECT_EQ(third->GetY(), 0);
    // Drawn from the supply's last coal to the word's first, which ends on top.
    std::string order;
    for (GameNode* node = bar->CoalLayer().GetFirstChild(); node != nullptr; node = node->GetNextSibling()) {
        order += static_cast<char>(ObjectCast<LetterSprite>(node)->Letter().Char());
    }
    EXPECT_EQ(order, "fdcbea");
}

TEST_F(WordBarTest, DroppedSupplyFallsOutOfTheCoalAreaAndIsGone) {
    const Ref<WordBarClassic> bar = ClassicBar("abc");
    Type(*bar, "a");
    LetterSprite* falling = bar->GetLetter({WordBar::kSupplyRack, 1});
    bar->DropSupply();
    EXPECT_EQ(Layout(*bar, WordBar::kSupplyRack), "......");
    EXPECT_EQ(Layout(*bar, WordBar::kWordRack), "a.....");
    CoalFixture::Run(*root_, 200);
    EXPECT_GT(falling->GetY(), WORDBAR_RACK_SPACING);
    // The coal area ends at y 600 of the screen, 171 below the bar; the coal falls its own height further.
    CoalFixture::Run(*root_, 600);
    EXPECT_EQ(CoalFixture::ChildCount(bar->CoalLayer()), 1);
}

TEST_F(WordBarTest, ClassicTakeBackAndFullRackRules) {
    const Ref<WordBarClassic> bar = ClassicBar("abcdef");
    scene_.sounds.clear();
    bar->TakeBackLetters(true, false);
    EXPECT_EQ(scene_.sounds, std::vector<std::string>{kWrong});
    EXPECT_EQ(Layout(*bar, WordBar::kSupplyRack), "abcdef");

    Type(*bar, "fbd");
    scene_.sounds.clear();
    bar->TakeBackLetters(false, false);
    EXPECT_TRUE(scene_.sounds.empty());
    EXPECT_EQ(Layout(*bar, WordBar::kWordRack), "......");
    // Back from the leftmost free slot on, in the word's order.
    EXPECT_EQ(Layout(*bar, WordBar::kSupplyRack), "afcbed");
}

TEST_F(WordBarTest, AClickWithNoRoomPlaysNothing) {
    const Ref<WordBarClassic> bar = ClassicBar("abcdef");
    Type(*bar, "a");
    bar->Rack(WordBar::kWordRack).SetSize(1);
    scene_.sounds.clear();
    Click(*bar, {WordBar::kSupplyRack, 1});
    EXPECT_EQ(bar->LastAction(), WordBar::kNoRoom);
    EXPECT_TRUE(scene_.sounds.empty());
    EXPECT_EQ(Layout(*bar, WordBar::kSupplyRack), ".bcdef");

    bar->PickLetterAt(0, 0);
    EXPECT_EQ(bar->LastAction(), WordBar::kNoAction);
}

TEST_F(WordBarTest, ShuffleAvoidsWordsAndGivesUpAfterAHundredTries) {
    int draws = 0;
    // Counting up, the first try spells "bca", a word, so a second try follows.
    LetterRack::SetRandomSource([&draws] { return draws++; });
    scene_.words = WordListOf({"bca"});
    const Ref<WordBarClassic> bar = ClassicBar("abc");
    bar->ShuffleSupply();
    EXPECT_EQ(Layout(*bar, WordBar::kSupplyRack), "acb...");
    EXPECT_EQ(draws, 2 * 5);

    draws = 0;
    const Ref<WordBarClassic> same = ClassicBar("aaa");
    same->ShuffleSupply();
    EXPECT_EQ(Layout(*same, WordBar::kSupplyRack), "aaa...");
    EXPECT_EQ(draws, 100 * 5);
}

TEST_F(WordBarTest, DealingStaggersNewCoalsAndStopsWhenTheSlotsRunOut) {
    scene_.coalArea = {0, 400, 800, 100};  // the bar's row 0 at y 429: coals rise from y 500 + half a coal
    Ref<WordBarClassic> bar = new WordBarClassic;
    root_->AddChild(bar.Get());
    bar->DealLetters(WordOf("abcdefgh").Get(), 0, true);
    EXPECT_EQ(Layout(*bar, WordBar::kSupplyRack), "abcdef");
    const int32_t start = bar->GetLetter({WordBar::kSupplyRack, 0})->GetY();
    EXPECT_EQ(start, 500 - 429 + 4);
    CoalFixture::Run(*root_, 300);
    EXPECT_LT(bar->GetLetter({WordBar::kSupplyRack, 0})->GetY(), start);  // started at 200 ms
    EXPECT_EQ(bar->GetLetter({WordBar::kSupplyRack, 1})->GetY(), start);  // starts at 300 ms
    CoalFixture::Run(*root_, 100);
    EXPECT_LT(bar->GetLetter({WordBar::kSupplyRack, 1})->GetY(), start);
    EXPECT_EQ(bar->GetLetter({WordBar::kSupplyRack, 2})->GetY(), start);

    Type(*bar, "bd");
    bar->DealLetters(WordOf("xyz").Get(), 0, false);
    EXPECT_EQ(Layout(*bar, WordBar::kSupplyRack), "axcyef");
}

// Coals already in place move onto their own slot; none of them may be lost.
TEST_F(WordBarTest, ClosingSupplyGapsKeepsEveryCoal) {
    const Ref<WordBarClassic> bar = ClassicBar("abcdef");
    Type(*bar, "be");
    bar->CloseSupplyGaps();
    EXPECT_EQ(Layout(*bar, WordBar::kSupplyRack), "acdf..");
    CoalFixture::Run(*root_, 400);
    EXPECT_EQ(bar->GetLetter({WordBar::kSupplyRack, 3})->GetX(), 31);

    // A move onto the coal's own slot, or from an empty one, changes nothing.
    bar->MoveLetter({WordBar::kSupplyRack, 0}, {WordBar::kSupplyRack, 0}, false);
    bar->MoveLetter({WordBar::kSupplyRack, 5}, {WordBar::kSupplyRack, 1}, false);
    bar->MoveLetter({}, {WordBar::kSupplyRack, 2}, false);
    EXPECT_EQ(Layout(*bar, WordBar::kSupplyRack), "acdf..");
}

TEST_F(WordBarTest, SpecialCoalsSparkWhenTheyAppear) {
    const Ref<WordBarClassic> bar = ClassicBar("abc", "020");
    EXPECT_EQ(scene_.sparks, std::vector<int32_t>{100 + 300});
}

TEST_F(WordBarTest, SaveAndLoadKeepTheClassAndTheGaps) {
    const Ref<WordBarClassic> bar = ClassicBar("abcdef", "000300");
    Type(*bar, "dc");
    PropertyNode node("wordbar", "");
    bar->Save(node);
    EXPECT_EQ(node.TypeName(), "WordBarClassic");

    const Ref<WordBar> loaded = ObjectCast<WordBar>(ClassFactory::Instance().Create(&node));
    ASSERT_TRUE(loaded);
    EXPECT_NE(ObjectCast<WordBarClassic>(loaded.Get()), nullptr);
    EXPECT_EQ(Layout(*loaded, WordBar::kWordRack), "dc....");
    EXPECT_EQ(Layout(*loaded, WordBar::kSupplyRack), "ab..ef");
    EXPECT_EQ(loaded->GetLetter({WordBar::kWordRack, 0})->Letter().GetType(), LetterData::kTriple);
    // A loaded word stands in its slots at once.
    EXPECT_EQ(loaded->GetLetter({WordBar::kWordRack, 1})->GetX(), 31);
    EXPECT_EQ(loaded->GetLetter({WordBar::kWordRack, 1})->GetScale(), 1.0f);
}

TEST_F(WordBarTest, SlotsBarHoldsTheAlphabetInTwoRows) {
    const Ref<WordBarSlots> bar = SlotsBar();
    EXPECT_EQ(Layout(*bar, WordBar::kSupplyRack), "abcdefghijklmnopqrstuvwxyz");
    const PointF a = bar->GetSlotPosition({WordBar::kSupplyRack, 0});
    const PointF m = bar->GetSlotPosition({WordBar::kSupplyRack, 12});
    const PointF n = bar->GetSlotPosition({WordBar::kSupplyRack, 13});
    const PointF z = bar->GetSlotPosition({WordBar::kSupplyRack, 25});
    EXPECT_EQ(a.x, -216.0f);
    EXPECT_EQ(a.y, 60.0f);
    EXPECT_EQ(m.x, 216.0f);
    EXPECT_EQ(n.x, -216.0f);
    EXPECT_EQ(n.y, 96.0f);
    EXPECT_EQ(z.x, 216.0f);
    EXPECT_TRUE(bar->GetLetter({WordBar::kSupplyRack, 25})->Letter().IsSmall());
    // Small coals are found within their own smaller radius.
    EXPECT_EQ(bar->FindLetterAt(400 - 216 + 14, 429 + 60), (SlotRef{WordBar::kSupplyRack, 0}));
    EXPECT_EQ(bar->FindLetterAt(400 - 216 + 15, 429 + 60), SlotRef{});
}

TEST_F(WordBarTest, SlotsBarCopiesLettersIntoTheWordAndMarksWrongOnes) {
    scene_.queue = new WordQueue;
    scene_.queue->InsertWord(WordOf("ab?q").Get());
    const Ref<WordBarSlots> bar = SlotsBar();
    bar->DealLetters(scene_.queue->Words()[0].Get(), 0, false);
    EXPECT_EQ(bar->CoalSlots().size(), 4u);
    EXPECT_EQ(bar->HintLetters().size(), 3u);  // the left-out third letter shows no hint

    // A character below the space (a damaged save) has no glyph and shows no hint.
    const Ref<WordSprite> damaged = WordOf("abq");
    damaged->Slots()[1]->Letter().SetChar(0);
    bar->DealLetters(damaged.Get(), 0, false);
    EXPECT_EQ(bar->HintLetters().size(), 2u);
    bar->DealLetters(scene_.queue->Words()[0].Get(), 0, false);

    Type(*bar, "axxx");
    CoalFixture::Run(*root_, 400);
    EXPECT_EQ(Layout(*bar, WordBar::kWordRack), "axxx..");
    EXPECT_EQ(Layout(*bar, WordBar::kSupplyRack), "abcdefghijklmnopqrstuvwxyz");
    const bool wrong[] = {false, true, false, true};  // the left-out position is never red
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(bar->GetLetter({WordBar::kWordRack, s})->IsWrong(), wrong[s]) << "slot " << s;
    }
    EXPECT_EQ(bar->LastAction(), WordBar::kTypedFound);
    Type(*bar, "c");
    EXPECT_EQ(bar->LastAction(), WordBar::kTypedNotFound);

    // Each coal keeps its own record: a redraw shows the word coal full size
    // and the alphabet coal small.
    LetterSprite* wordCoal = bar->GetLetter({WordBar::kWordRack, 1});
    LetterSprite* alphabetCoal = bar->GetLetter({WordBar::kSupplyRack, 23});
    EXPECT_NE(&wordCoal->Letter(), &alphabetCoal->Letter());
    wordCoal->UpdateImage();
    alphabetCoal->UpdateImage();
    EXPECT_EQ(wordCoal->GetImage()->GetWidth(), 9);
    EXPECT_EQ(alphabetCoal->GetImage()->GetWidth(), 7);
}

TEST_F(WordBarTest, SlotsBarTakesBackIntoGapsAndKeepsSlotsAcrossDeals) {
    const Ref<WordBarSlots> bar = SlotsBar();
    bar->DealLetters(WordOf("abcdef").Get(), 0, false);
    CoalFixture::Run(*root_, 2000);
    const std::vector<Ref<ThresholdSprite>> slots = bar->CoalSlots();
    EXPECT_EQ(slots[5]->GetThreshold(), 1.0f);

    Type(*bar, "abc");
    scene_.sounds.clear();
    bar->TakeBackLetters(true, false);
    EXPECT_EQ(scene_.sounds, std::vector<std::string>{kBack});
    EXPECT_EQ(Layout(*bar, WordBar::kWordRack), "ab....");
    Click(*bar, {WordBar::kWordRack, 0});
    EXPECT_EQ(Layout(*bar, WordBar::kWordRack), ".b....");
    EXPECT_EQ(scene_.sounds.back(), kBack);
    Type(*bar, "z");
    EXPECT_EQ(Layout(*bar, WordBar::kWordRack), "zb....");

    bar->DealLetters(WordOf("wxyz").Get(), 0, false);
    ASSERT_EQ(bar->CoalSlots().size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(bar->CoalSlots()[i], slots[i]);
    }
    CoalFixture::Run(*root_, 600);
    EXPECT_TRUE(slots[4]->GetParent() == nullptr || slots[4]->IsRemoved());
    EXPECT_EQ(bar->Rack(WordBar::kWordRack).GetSize(), 4);
}

TEST_F(WordBarTest, SubmissionThrowsTheCoalsIntoTheFurnaceAndEndsTheWord) {
    root_->AddChild(scene_.effects.Get());
    // The fixture's font has glyphs for "A", "B" and "Q" only.
    const Ref<WordBarClassic> bar = ClassicBar("BAQxyz", "650");
    Type(*bar, "qab");
    CoalFixture::Run(*root_, 400);
    const Ref<WordSprite> word = WordOf("QAB");
    root_->AddChild(word.Get());
    bar->TransferLetterKinds(word.Get());
    EXPECT_EQ(word->Slots()[1]->Letter().GetType(), LetterData::kStop);
    EXPECT_EQ(word->Slots()[2]->Letter().GetType(), LetterData::kCoin);

    std::vector<Ref<LetterSprite>> coals;
    for (int s = 0; s < 3; ++s) {
        coals.emplace_back(bar->GetLetter({WordBar::kWordRack, s}));
    }
    bar->PlaySubmitAnimation(word.Get());
    EXPECT_EQ(Layout(*bar, WordBar::kWordRack), "......");
    EXPECT_TRUE(coals[0]->IsPopped());
    // The stop coal's timer waits for that coal's own flight, which lands after its delay and the flight time.
    ASSERT_EQ(scene_.timers.size(), 1u);
    const Ref<Modifier> stopFlight = scene_.timers[0].flight;
    ASSERT_TRUE(stopFlight);
    EXPECT_EQ(stopFlight->GetTarget(), coals[1].Get());
    EXPECT_EQ(scene_.timers[0].flightMs, 600 + 150);
    EXPECT_EQ(scene_.coins, (std::vector<std::pair<int32_t, int32_t>>{{300, 100}}));
    EXPECT_TRUE(word->IsAnimating());

    // The last letter's coal leaves first.
    const int32_t firstX = coals[0]->GetX();
    const int32_t lastX = coals[2]->GetX();
    CoalFixture::Run(*root_, 200);
    EXPECT_NE(coals[2]->GetX(), lastX);
    EXPECT_EQ(coals[0]->GetX(), firstX);

    CoalFixture::Run(*root_, 500);
    EXPECT_FALSE(stopFlight->IsFinished());
    CoalFixture::Run(*root_, 100);
    EXPECT_TRUE(stopFlight->IsFinished());

    CoalFixture::Run(*root_, 7400);
    for (const Ref<LetterSprite>& coal : coals) {
        EXPECT_TRUE(coal->GetParent() == nullptr);
    }
    const std::string furnaceSound = "SOUND_COALS_ENTER_FURNACE@gamescene";
    EXPECT_EQ(std::count(scene_.sounds.begin(), scene_.sounds.end(), furnaceSound), 3);
    EXPECT_EQ(scene_.coalSparks.size(), 12u);
    EXPECT_EQ(scene_.coalSparks.front(), (std::pair<int32_t, int32_t>{300, 100}));
    EXPECT_EQ(scene_.floatingScores, 1);
    EXPECT_EQ(scene_.starThrows, 0);  // only words of more than 5 letters throw stars
    // Every flying letter has reached its slot and faded; then the word's end ran.
    EXPECT_FALSE(word->IsAnimating());
}

}  // namespace
