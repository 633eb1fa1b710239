#include <gtest/gtest.h>

#include <algorithm>

#include "LevelFixture.h"
#include "game/constants/GameConstants.h"
#include "game/words/WordSprite.h"

namespace {

const std::vector<std::string> kDictionary = {"ate", "eat", "tea", "tee", "team", "meat", "mate", "tame", "seat"};

int Count(const std::vector<std::string>& sounds, const std::string& id) {
    return static_cast<int>(std::count(sounds.begin(), sounds.end(), id));
}

WordSprite* Queued(LevelFixture& level, const std::string& text) {
    return level.scene.queue->FindWord(text, 7);
}

struct JudgementCase {
    const char* label;
    int gameType;
    std::vector<std::string> queue;
    std::vector<std::string> foundBefore;
    std::string rack;  // '?' is a joker standing for 'e'
    int judgement;
    // The queue word judged (its text after judging); empty for none.
    std::string judged;
};

TEST(GameModes, JudgeTheWordRackByTheirOwnRules) {
    const JudgementCase cases[] = {
        // Anagrams: any dictionary word with the current word's number of letters.
        {"anagrams, the queued spelling", 3, {"team"}, {}, "team", 1, "team"},
        {"anagrams, another spelling", 3, {"team"}, {}, "meat", 1, "meat"},
        {"anagrams, too short", 3, {"team"}, {}, "tea", 2, ""},
        {"anagrams, not a word", 3, {"team"}, {}, "mtea", 2, ""},
        {"anagrams, found before", 3, {"team", "seat"}, {"team"}, "team", 3, "team"},
        // Classic: only queued words count.
        {"classic, queued", 0, {"ate", "eat", "tea"}, {}, "eat", 1, "eat"},
        {"classic, a word the set cannot make", 0, {"ate", "eat", "tea"}, {}, "tee", 2, ""},
        {"classic, found before", 0, {"ate", "eat", "tea"}, {"eat"}, "eat", 3, "eat"},
        {"classic, a joker finds the unfound word", 0, {"ate", "eat", "tea"}, {"tee"}, "t?a", 1, "tea"},
        // Slots: the current word letter by letter, its left-out letters free.
        {"slots, free letter", 4, {"t?a"}, {}, "tea", 1, "tea"},
        {"slots, wrong fixed letter", 4, {"t?a"}, {}, "tee", 2, ""},
        {"slots, not a word", 4, {"t?a"}, {}, "tta", 2, ""},
        {"slots, the gaps alone", 4, {"t?a"}, {}, "e", 2, ""},
        // The joker judgement.
        {"secret, queued", 6, {"tea"}, {}, "tea", 1, "tea"},
        {"secret, found before", 6, {"tea"}, {"tea"}, "tea", 3, "tea"},
        {"joker, a joker matching a queued word", 7, {"tea"}, {}, "t?a", 1, "tea"},
        {"joker, nothing matches", 7, {"tea"}, {}, "x?z", 2, ""},
    };
    for (const JudgementCase& c : cases) {
        LevelFixture level(c.gameType, TicketInfo::kClassicFixed, kDictionary);
        level.AddQueueWords(c.queue);
        for (const std::string& found : c.foundBefore) {
            if (WordSprite* word = Queued(level, found)) {
                word->SetFound();
            }
        }
        Ref<GameMode> mode = level.MakeMode();
        LevelFixture::PlaceWord(*mode, c.rack, 'e');
        mode->JudgeWord();
        EXPECT_EQ(mode->GetJudgement(), c.judgement) << c.label;
        if (c.judged.empty()) {
            EXPECT_EQ(mode->JudgedWord(), nullptr) << c.label;
        } else if (mode->JudgedWord() != nullptr) {
            EXPECT_EQ(mode->JudgedWord()->PlainText(), c.judged) << c.label;
            EXPECT_FALSE(mode->IsNewJokerWord()) << c.label;
        } else {
            ADD_FAILURE() << c.label << ": nothing judged";
        }
    }
}

TEST(GameModes, AJokerTypedAsALetterCountsAsThatLetter) {
    const std::vector<std::string> dictionary = {"bare", "bawl", "bore", "bowl", "lire", "lore", "planed", "planet"};
    const struct {
        const char* label;
        int gameType;
        std::string supply;  // '?' is the joker
        std::vector<std::string> queue;
        std::string typed;
    } cases[] = {
        {"joker race, o onto the joker", 7, "ewlr?b", {"brew"}, "lore"},
        {"joker race, the joker in the middle", 7, "ewlr?b", {"brew"}, "bowl"},
        {"joker race, a queued word fits the pattern too", 7, "ewlr?b", {"bare", "bore"}, "bore"},
        {"secret words, t onto the joker", 6, "?aplen", {"planed", "planet"}, "planet"},
        {"keep the word", 5, "ewlr?b", {"brew"}, "lore"},
        {"six letters", 0, "?aplen", {"planed", "planet"}, "planet"},
    };
    for (const auto& c : cases) {
        LevelFixture level(c.gameType, TicketInfo::kClassicFixed, dictionary);
        level.AddQueueWords(c.queue);
        Ref<GameMode> mode = level.MakeMode();
        mode->SetState(GameMode::kRacing);
        LevelFixture::PlaceSupply(*mode, c.supply);
        for (const char letter : c.typed) {
            mode->OnCharTyped(letter);
        }
        ASSERT_EQ(mode->GetJudgement(), GameMode::kNewWord) << c.label;
        EXPECT_EQ(mode->JudgedWord()->PlainText(), c.typed) << c.label;
        mode->SubmitWord();
        const WordSprite* listed = Queued(level, c.typed);
        ASSERT_NE(listed, nullptr) << c.label;
        EXPECT_EQ(listed->Status(), WordSprite::kFound) << c.label;
        EXPECT_GT(mode->Stats().score, 0) << c.label;
    }

    // A joker put in without a letter still stands for any letter.
    LevelFixture level(7, TicketInfo::kClassicFixed, dictionary);
    level.AddQueueWords({"brew"});
    Ref<GameMode> mode = level.MakeMode();
    LevelFixture::PlaceWord(*mode, "l?re", '?');
    mode->JudgeWord();
    ASSERT_EQ(mode->GetJudgement(), GameMode::kNewWord);
    EXPECT_EQ(mode->JudgedWord()->PlainText(), "lire");
}

TEST(GameModes, AnagramsShowThePlayersSpellingInTheQueue) {
    LevelFixture level(3, TicketInfo::kClassicFixed, kDictionary);
    level.AddQueueWords({"team"});
    Ref<GameMode> mode = level.MakeMode();
    LevelFixture::PlaceWord(*mode, "mate");
    mode->JudgeWord();
    ASSERT_EQ(mode->GetJudgement(), GameMode::kNewWord);
    EXPECT_EQ(level.scene.queue->Words()[0]->ShownText(), "mate");
}

TEST(GameModes, AJokerWordOutsideTheQueueIsAddedWhenSubmitted) {
    LevelFixture level(7, TicketInfo::kClassicFixed, kDictionary);
    level.AddQueueWords({"tea"});
    Ref<GameMode> mode = level.MakeMode();
    LevelFixture::PlaceWord(*mode, "?at", 'e');
    mode->JudgeWord();
    ASSERT_EQ(mode->GetJudgement(), GameMode::kNewWord);
    ASSERT_TRUE(mode->IsNewJokerWord());
    EXPECT_EQ(mode->JudgedWord()->PlainText(), "eat");
    EXPECT_TRUE(mode->JudgedWord()->IsCustom());

    mode->SubmitWord();
    WordSprite* added = Queued(level, "eat");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->Status(), WordSprite::kFound);
    EXPECT_TRUE(added->IsVisual());
    EXPECT_EQ(level.scene.queue->Words().size(), 2u);
    EXPECT_EQ(mode->Stats().score, 30);
    EXPECT_EQ(Count(level.scene.sounds, "SOUND_SUBMIT3"), 1);
    EXPECT_EQ(level.scene.furnaceFeeds, 1);
    EXPECT_EQ(mode->GetJudgement(), GameMode::kNotJudged);
    EXPECT_FALSE(mode->IsNewJokerWord());
}

TEST(GameModes, SubmittingActsOnTheJudgement) {
    const struct {
        const char* label;
        std::string rack;
        std::vector<std::string> foundBefore;
        const char* sound;
        int score;
        int takeBacks;
    } cases[] = {
        {"a new word", "eat", {}, "SOUND_SUBMIT3", 30, 0},
        {"found before", "eat", {"eat"}, "SOUND_SUBMIT_ALREADY_FOUND", 0, 1},
        {"not a word", "tee", {}, "SOUND_SUBMIT_INVALID_WORD", 0, 1},
    };
    for (const auto& c : cases) {
        LevelFixture level(0, TicketInfo::kClassicFixed, kDictionary);
        level.AddQueueWords({"ate", "eat", "tea"});
        for (const std::string& found : c.foundBefore) {
            Queued(level, found)->SetFound();
        }
        Ref<GameMode> mode = level.MakeMode();
        mode->SetNextBonus(100);
        LevelFixture::PlaceWord(*mode, c.rack);
        mode->OnSubmitPressed();
        EXPECT_EQ(Count(level.scene.sounds, c.sound), 1) << c.label;
        EXPECT_EQ(mode->Stats().score, c.score) << c.label;
        EXPECT_EQ(level.Bar(*mode).takeBacks, c.takeBacks) << c.label;
        EXPECT_EQ(level.scene.furnaceFeeds, c.score > 0 ? 1 : 0) << c.label;
        EXPECT_EQ(Queued(level, "eat")->Status(), c.rack == "eat" ? WordSprite::kFound : WordSprite::kToFind)
            << c.label;
        EXPECT_EQ(mode->GetJudgement(), GameMode::kNotJudged) << c.label;
    }
}

int CountKind(const WordSprite& word, int kind) {
    return static_cast<int>(std::count_if(word.Slots().begin(), word.Slots().end(),
                                           [kind](const Ref<LetterSlot>& s) { return s->Letter().GetType() == kind; }));
}

Ref<WordSprite> Dealt(const std::string& text) {
    Ref<WordSprite> word = new WordSprite;
    word->SetWord(text, false);
    return word;
}

TEST(GameModes, AJokerGameNeverDealsASecondJokerWhileOneWaits) {
    LevelFixture level(7, TicketInfo::kClassicFixed, kDictionary);
    Ref<GameMode> mode = level.MakeMode();
    mode->SetNextBonus(100);
    Ref<WordSprite> first = Dealt("tea");
    mode->GenerateCoals(*first);
    EXPECT_EQ(CountKind(*first, LetterData::kJoker), 1);

    Ref<LetterData> joker = new LetterData;
    joker->SetType(LetterData::kJoker);
    Ref<LetterSprite> coal = new LetterSprite(joker.Get(), false);
    mode->GetWordBar()->CoalLayer().AddChild(coal.Get());
    mode->GetWordBar()->Rack(WordBar::kSupplyRack).SetLetter(2, coal.Get());
    Ref<WordSprite> second = Dealt("eat");
    mode->GenerateCoals(*second);
    EXPECT_EQ(CountKind(*second, LetterData::kJoker), 0);
}

// One kind carries all the weight; whether it may appear depends on the level.
TEST(GameModes, SpecialCoalsAppearOnlyWhereTheirKindIsAllowed) {
    const struct {
        const char* label;
        int gameType;
        int ticketMode;
        int kind;
        bool opponentVisible;
        bool playerArrived;
        bool revealInSupply;
        bool expected;
    } cases[] = {
        {"stop before arrival", 0, TicketInfo::kMapTicket, LetterData::kStop, true, false, false, true},
        {"stop without an opponent", 0, TicketInfo::kMapTicket, LetterData::kStop, false, false, false, false},
        {"stop after arrival", 0, TicketInfo::kMapTicket, LetterData::kStop, true, true, false, false},
        {"coin on an adventure", 0, TicketInfo::kMapTicket, LetterData::kCoin, true, false, false, true},
        {"coin in a classic game", 0, TicketInfo::kClassicFixed, LetterData::kCoin, true, false, false, false},
        {"reveal", 0, TicketInfo::kClassicFixed, LetterData::kReveal, true, false, false, true},
        {"reveal with one in the supply", 0, TicketInfo::kClassicFixed, LetterData::kReveal, true, false, true, false},
        {"reveal in a replace game", 2, TicketInfo::kClassicFixed, LetterData::kReveal, true, false, false, false},
        {"joker in an anagrams game", 3, TicketInfo::kClassicFixed, LetterData::kJoker, true, false, false, false},
    };
    for (const auto& c : cases) {
        LevelFixture level(c.gameType, c.ticketMode, kDictionary);
        std::string weights = "<Vector id=\"COAL_TYPE_WEIGHT\">";
        for (int kind = 0; kind < GameMode::kCoalKinds; ++kind) {
            weights += kind == c.kind ? "<Float value=\"1\"/>" : "<Float value=\"0\"/>";
        }
        LevelFixture::Define(weights + "</Vector>");
        Ref<GameMode> mode = level.MakeMode();
        level.opponentTrain->SetVisible(c.opponentVisible);
        if (c.playerArrived) {
            LevelFixture::MoveTo(*level.playerTrain, 1.0f);
        }
        if (c.revealInSupply) {
            Ref<LetterData> reveal = new LetterData;
            reveal->SetType(LetterData::kReveal);
            Ref<LetterSprite> coal = new LetterSprite(reveal.Get(), false);
            mode->GetWordBar()->CoalLayer().AddChild(coal.Get());
            mode->GetWordBar()->Rack(WordBar::kSupplyRack).SetLetter(0, coal.Get());
        }
        mode->SetNextBonus(0);
        mode->SetAddTurbo(false);
        level.scene.sounds.clear();
        Ref<WordSprite> word = Dealt("team");
        mode->GenerateCoals(*word);
        EXPECT_EQ(CountKind(*word, c.kind), c.expected ? 1 : 0) << c.label;
        EXPECT_EQ(Count(level.scene.sounds, "SOUND_BONUS_APPEARS"), c.expected ? 1 : 0) << c.label;
        if (c.expected) {
            // Redrawn from 4 to 8 letters once a coal is set.
            EXPECT_GE(mode->NextBonus(), 4) << c.label;
            EXPECT_LE(mode->NextBonus(), 8) << c.label;
        } else {
            EXPECT_EQ(mode->NextBonus(), 0) << c.label;
        }
    }
}

TEST(GameModes, NoSpecialCoalWhileLettersRemainBeforeTheNext) {
    LevelFixture level(0, TicketInfo::kClassicFixed, kDictionary);
    Ref<GameMode> mode = level.MakeMode();
    mode->SetNextBonus(1);
    Ref<WordSprite> word = Dealt("team");
    mode->GenerateCoals(*word);
    EXPECT_EQ(CountKind(*word, LetterData::kNormal), 4);
}

TEST(GameModes, TheTurboGoesToTheLetterOfTheFewestWordsLeft) {
    LevelFixture level(0, TicketInfo::kClassicFixed, kDictionary);
    level.AddQueueWords({"tea", "eat", "tee", "seat", "ate"});
    Queued(level, "ate")->SetFound();
    Ref<GameMode> mode = level.MakeMode();
    mode->SetAddTurbo(true);
    // t: 4 words left, e: 4, a: 3 (tea, eat, seat).
    Ref<WordSprite> word = Dealt("tea");
    mode->GenerateCoals(*word);
    EXPECT_EQ(word->Slots()[2]->Letter().GetType(), LetterData::kTurbo);
    EXPECT_FALSE(mode->AddsTurbo());
    EXPECT_EQ(Count(level.scene.sounds, "SOUND_TURBO_APPEARS"), 1);

    // A new player on an adventure gets no turbo yet.
    LevelFixture::Define(
        "<Vector id=\"MISSIONS_BEFORE_BONUS_COALS\"><Integer value=\"0\"/><Integer value=\"3\"/></Vector>");
    level.Ticket().GameMode = TicketInfo::kMapTicket;
    mode->SetAddTurbo(true);
    mode->SetNextBonus(5);
    Ref<WordSprite> next = Dealt("tea");
    mode->GenerateCoals(*next);
    EXPECT_EQ(CountKind(*next, LetterData::kTurbo), 0);
    EXPECT_FALSE(mode->AddsTurbo());
}

TEST(GameModes, ClassicStartsWithEveryWordOfTheLetterSetSortedByLength) {
    LevelFixture level(0, TicketInfo::kClassicFixed, kDictionary);
    level.Ticket().LetterSet = "team";
    Ref<GameMode> mode = level.MakeMode();
    mode->StartLevel(false);
    std::vector<std::string> texts;
    for (const Ref<WordSprite>& word : level.scene.queue->Words()) {
        texts.push_back(word->PlainText());
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"ate", "eat", "tea", "mate", "meat", "tame", "team"}));
    EXPECT_EQ(mode->GetWordBar()->Rack(WordBar::kSupplyRack).OccupiedCount(), 4);
}

std::string SortedSupply(GameMode& mode) {
    std::string letters;
    mode.GetWordBar()->Rack(WordBar::kSupplyRack).GetWord(letters, false);
    std::sort(letters.begin(), letters.end());
    return letters;
}

// The bar fills free supply slots in order: the whole set dealt again would
// bring back its first letters instead of those the word used.
TEST(GameModes, AfterAWordTheLetterSetGamesDealBackTheLettersItUsed) {
    for (int type : {0, 6, 7}) {
        LevelFixture level(type, TicketInfo::kClassicFixed, kDictionary);
        level.Ticket().LetterSet = "steam";
        Ref<GameMode> mode = level.MakeMode();
        mode->SetNextBonus(100);
        mode->DealWord("", true);
        ASSERT_EQ(SortedSupply(*mode), "aemst") << "type " << type;
        LetterRack& supply = mode->GetWordBar()->Rack(WordBar::kSupplyRack);
        for (int slot = 2; slot < 5; ++slot) {  // "eam" went into a word
            supply.SetLetter(slot, nullptr);
        }
        mode->DealWord("", false);
        EXPECT_EQ(SortedSupply(*mode), "aemst") << "type " << type;
    }
}

}  // namespace
