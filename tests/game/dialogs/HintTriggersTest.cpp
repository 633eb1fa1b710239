#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "engine/scene/Sprite.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/HintTriggers.h"
#include "game/progress/KR2Player.h"

namespace {

struct Opened {
    int32_t hint = -1;
    GameNode* target = nullptr;
    std::optional<HintRect> rect;
};

class RecordingOpener : public HintOpener {
public:
    HintDialog* Open(int32_t hintId, GameNode* target, const HintRect* rect) override {
        opened.push_back({hintId, target, rect != nullptr ? std::optional<HintRect>(*rect) : std::nullopt});
        return nullptr;
    }
    std::vector<Opened> opened;
};

// A race where nothing calls for a hint: the rules are switched on one by one.
class FakeRace : public RaceHintView {
public:
    int32_t Now() const override { return now; }
    int32_t LastWordBar() const override { return lastWordBar; }
    int32_t LastSubmit() const override { return lastSubmit; }
    bool TrainHasBonus() const override { return bonus; }
    GameNode* LastSupplyCoal() const override { return supplyCoal; }
    GameNode* IdleSupplyCoalOfType(int32_t type) const override {
        const auto found = idleCoals.find(type);
        return found != idleCoals.end() ? found->second : nullptr;
    }
    bool HoldsNewValidWord() const override { return newValidWord; }
    bool TypedWordFlag() const override { return typedWord; }
    void SetTypedWordFlag() override { typedWord = true; }
    void ClearTypedWordFlag() override { typedWord = false; }
    bool WordRackHasTypedCoal() const override { return false; }
    bool WordRackHoldsCoals() const override { return wordRackCoals; }
    int32_t WordBarMoveState() const override { return 0; }
    bool HandReturnsToSupply() const override { return false; }
    GameNode* CoalAtHand() const override { return nullptr; }
    void FinishWordBarChange() override {}
    int32_t GameType() const override { return gameType; }
    bool IsAdventure() const override { return adventure; }
    bool AllowsSkip() const override { return skip; }
    float TrainSpeed() const override { return speed; }
    int32_t LevelWordsFound() const override { return wordsFound; }
    bool OpponentVisible() const override { return opponentVisible; }
    GameNode* OpponentBody() const override { return opponent; }
    bool FurnaceLidRaised() const override { return lidRaised; }
    GameNode* FurnaceLid() const override { return lid; }
    GameNode* SceneNode(const char* name) const override {
        const auto found = nodes.find(name);
        return found != nodes.end() ? found->second : nullptr;
    }

    int32_t now = 1000;
    int32_t lastWordBar = 0;
    int32_t lastSubmit = 0;
    bool wordRackCoals = false;
    bool bonus = false;
    GameNode* supplyCoal = nullptr;
    std::map<int32_t, GameNode*> idleCoals;
    bool newValidWord = false;
    bool typedWord = false;
    int32_t gameType = 0;
    bool adventure = false;
    bool skip = false;
    float speed = 0.0F;
    int32_t wordsFound = 0;
    bool opponentVisible = false;
    GameNode* opponent = nullptr;
    bool lidRaised = false;
    GameNode* lid = nullptr;
    std::map<std::string, GameNode*> nodes;
};

class FakeMap : public MapHintView {
public:
    GameNode* Train() const override { return train; }
    std::vector<Ticket> Tickets() const override { return tickets; }
    int32_t IdleTime() const override { return idle; }
    bool ShowDefeatHint() const override { return defeat; }
    void ClearDefeatHint() override { defeat = false; }
    GameNode* FirstTrackPanel() const override { return panel; }
    GameNode* NextSectionButton() const override { return nextSection; }
    int32_t ShownSection() const override { return section; }
    bool TrainAtLeaveCity() const override { return atLeaveCity; }
    bool SectionFinished() const override { return finished; }
    bool EnoughCitiesVisited(int32_t) const override { return enoughCities; }
    int32_t TrackCost() const override { return cost; }
    std::optional<std::pair<float, float>> OfferedTrackMiddle() const override { return trackMiddle; }
    void LetTicketsTakeClicks(HintDialog*, const std::vector<GameNode*>& sprites, bool behind) override {
        clickable = sprites;
        clickableBehind = behind;
    }

    GameNode* train = nullptr;
    std::vector<Ticket> tickets;
    int32_t idle = 0;
    bool defeat = false;
    GameNode* panel = nullptr;
    GameNode* nextSection = nullptr;
    int32_t section = 0;
    bool atLeaveCity = false;
    bool finished = false;
    bool enoughCities = false;
    int32_t cost = 0;
    std::optional<std::pair<float, float>> trackMiddle;
    std::vector<GameNode*> clickable;
    bool clickableBehind = false;
};

class HintTriggersTest : public ::testing::Test {
protected:
    HintTriggersTest() {
        player_->hints.fill(true);
        player_->showhints = true;
        constants_ = {{&HINT_WORDBAR_CLICK_TIME, 8},    {&HINT_SUBMIT_CLICK_TIME, 6},
                      {&HINT_SUBMIT_NO_ENTER_TIME, 10}, {&HINT_SHUFFLE_WORDBAR_TIME, 20},
                      {&HINT_SHUFFLE_SUBMIT_TIME, 25},  {&HINT_SKIP_TIME, 40},
                      {&HINT_OPPONENT_TIME, 15},        {&HINT_KEYBOARD_WORDS_FOUND, 5},
                      {&HINT_MAP_TICKET_FIRSTTIME_TIME, 6}, {&NUM_CITIES_VISITED_OFFSET, 1},
                      {&GAMES_WON_BEFORE_CLASSIC, 3}};
        for (auto& [constant, value] : constants_) {
            std::swap(*constant, value);
        }
    }
    ~HintTriggersTest() override {
        for (auto& [constant, value] : constants_) {
            std::swap(*constant, value);
        }
    }

    int32_t RaceHint() {
        opener_.opened.clear();
        const bool fired = CheckRaceHints(*player_, race_, opener_);
        EXPECT_EQ(fired, !opener_.opened.empty());
        return opener_.opened.empty() ? -1 : opener_.opened.back().hint;
    }
    int32_t MapHint() {
        opener_.opened.clear();
        const bool fired = CheckMapHints(*player_, map_, opener_);
        EXPECT_EQ(fired, !opener_.opened.empty());
        return opener_.opened.empty() ? -1 : opener_.opened.back().hint;
    }

    Ref<KR2Player> player_{new KR2Player("Ann")};
    FakeRace race_;
    FakeMap map_;
    RecordingOpener opener_;
    Ref<Sprite> a_{new Sprite(100, 100, 20, 10)};
    Ref<Sprite> b_{new Sprite(200, 100, 20, 10)};
    Ref<Sprite> c_{new Sprite(300, 100, 20, 10)};

private:
    std::vector<std::pair<int32_t*, int32_t>> constants_;
};

// Each step makes one more rule eligible at the front of the order, so the
// rule of that step must win over every rule behind it; then its flag goes.
TEST_F(HintTriggersTest, RaceRulesFireInOrderOncePerFlag) {
    race_.nodes = {{"BUTTON_SUBMIT", a_.Get()}, {"BUTTON_SHUFFLE", b_.Get()}, {"BUTTON_SKIP", c_.Get()},
                   {"BOOSTMETER", a_.Get()}};
    struct Step {
        int32_t hint;
        std::function<void(FakeRace&, KR2Player&)> enable;
    };
    const std::vector<Step> backToFront = {
        {26, [this](FakeRace& r, KR2Player&) { r.idleCoals[8] = c_.Get(); }},
        {19, [this](FakeRace& r, KR2Player&) { r.idleCoals[1] = c_.Get(); }},
        {2, [](FakeRace& r, KR2Player&) { r.gameType = 3; }},
        {18, [this](FakeRace& r, KR2Player&) { r.lidRaised = true, r.lid = b_.Get(); }},
        {17, [this](FakeRace& r, KR2Player&) { r.now = 16000, r.lastWordBar = r.lastSubmit = 16000,
                                                r.opponentVisible = true, r.opponent = a_.Get(); }},
        {15, [this](FakeRace& r, KR2Player& p) { p.stats.numWordsFound = 3, r.wordsFound = 2, r.supplyCoal = b_.Get(); }},
        {12, [](FakeRace& r, KR2Player& p) { r.adventure = true, p.boostidx = 2; }},
        {11, [](FakeRace& r, KR2Player&) { r.speed = 230.5F; }},
        {10, [](FakeRace& r, KR2Player&) { r.skip = true, r.lastSubmit = 16000 - 40001; }},
        {9, [](FakeRace& r, KR2Player&) { r.lastSubmit = r.lastWordBar = 16000 - 40001; }},
        {13, [](FakeRace& r, KR2Player&) { r.typedWord = true; }},
        {8, [](FakeRace& r, KR2Player&) { r.newValidWord = true; }},
        {7, [](FakeRace&, KR2Player&) {}},  // the supply coal and the idle word bar are already there
        {16, [](FakeRace& r, KR2Player&) { r.bonus = true; }},
    };
    for (const Step& step : backToFront) {
        step.enable(race_, *player_);
    }
    for (auto step = backToFront.rbegin(); step != backToFront.rend(); ++step) {
        EXPECT_EQ(RaceHint(), step->hint);
        EXPECT_FALSE(player_->hints[static_cast<size_t>(step->hint)]);
    }
    EXPECT_EQ(RaceHint(), -1);
    EXPECT_FALSE(race_.typedWord);  // hint 13 took the typed-word flag
    EXPECT_EQ(player_->oldboostidx, 2);
}

TEST_F(HintTriggersTest, RaceRulesTargetTheirNodesAndBands) {
    race_.nodes = {{"BOOSTMETER", a_.Get()}};
    race_.speed = 300.0F;
    ASSERT_EQ(RaceHint(), 11);
    ASSERT_TRUE(opener_.opened[0].rect.has_value());
    const HintRect band = *opener_.opened[0].rect;
    EXPECT_EQ(band.x, 100);
    EXPECT_EQ(band.y, 180);
    EXPECT_EQ(band.width, 20);
    EXPECT_EQ(band.height, 30);

    // The word bar hint needs a coal to point at: without one the next rule is tried.
    race_.speed = 0;
    race_.now = 9001 + race_.lastWordBar;
    race_.gameType = 2;
    EXPECT_EQ(RaceHint(), 1);
    EXPECT_TRUE(player_->hints[7]);
    race_.supplyCoal = b_.Get();
    EXPECT_EQ(RaceHint(), 7);
    EXPECT_EQ(opener_.opened[0].target, b_.Get());
}

// A hint that stops the race would swallow the letters of the word being
// formed: it waits for the word rack to empty and the keys to rest, while
// the hints that leave the race running still answer at once.
TEST_F(HintTriggersTest, HintsThatStopTheRaceWaitForTheWordBeingFormed) {
    race_.gameType = 2;
    race_.wordRackCoals = true;
    EXPECT_EQ(RaceHint(), -1);
    race_.newValidWord = true;
    race_.now = 6001 + race_.lastSubmit;
    race_.lastWordBar = race_.now;
    EXPECT_EQ(RaceHint(), 8);

    race_.wordRackCoals = false;
    race_.lastSubmit = race_.now - 999;
    EXPECT_EQ(RaceHint(), -1);
    race_.lastSubmit = race_.now - 1000;
    EXPECT_EQ(RaceHint(), -1);  // the last letter typed is as recent
    race_.lastWordBar = race_.now - 1000;
    EXPECT_EQ(RaceHint(), 1);
}

TEST_F(HintTriggersTest, NothingFiresWithHintsOff) {
    player_->showhints = false;
    race_.bonus = true;
    race_.gameType = 1;
    map_.train = a_.Get();
    EXPECT_EQ(RaceHint(), -1);
    EXPECT_EQ(MapHint(), -1);
    EXPECT_FALSE(CheckCoalHint(*player_, true, true, a_.Get(), opener_));
    EXPECT_TRUE(player_->hints[16] && player_->hints[26] && player_->hints[14]);
}

TEST_F(HintTriggersTest, CoalHintNeedsATypedCoalAndAReturningHand) {
    EXPECT_FALSE(CheckCoalHint(*player_, false, true, a_.Get(), opener_));
    EXPECT_FALSE(CheckCoalHint(*player_, true, false, a_.Get(), opener_));
    EXPECT_TRUE(CheckCoalHint(*player_, true, true, nullptr, opener_));
    ASSERT_EQ(opener_.opened.size(), 1u);
    EXPECT_EQ(opener_.opened[0].hint, 14);
    EXPECT_EQ(opener_.opened[0].target, nullptr);  // centred without a coal there
    EXPECT_FALSE(CheckCoalHint(*player_, true, true, a_.Get(), opener_));
}

// The first map hint and the coal hint of type 8 share a flag: whichever
// fires first, the other never shows.
TEST_F(HintTriggersTest, TheSharedFlagServesTheMapTrainAndTheLastCoalType) {
    map_.train = a_.Get();
    ASSERT_EQ(MapHint(), 26);
    ASSERT_TRUE(opener_.opened[0].rect.has_value());
    EXPECT_EQ(opener_.opened[0].rect->x, 100 - 35);
    EXPECT_EQ(opener_.opened[0].rect->width, 70);
    race_.idleCoals[8] = b_.Get();
    for (int32_t hint = 19; hint <= 25; ++hint) {
        player_->hints[static_cast<size_t>(hint)] = false;
    }
    EXPECT_EQ(RaceHint(), -1);
}

TEST_F(HintTriggersTest, TicketHintsPointAtTheirTicketAndLetTicketsTakeClicks) {
    player_->hints[26] = false;
    player_->hints[27] = false;
    player_->stats.playcount[0] = 1;
    map_.tickets = {{a_.Get(), 1, 0}, {b_.Get(), 3, 0}};
    // Only two tickets: hint 35 points at the last instead of a third that is not there.
    ASSERT_GT(player_->GetTotalPlayCount(), 0);
    ASSERT_EQ(MapHint(), 35);
    EXPECT_EQ(opener_.opened[0].target, b_.Get());
    EXPECT_EQ(map_.clickable, (std::vector<GameNode*>{b_.Get(), a_.Get()}));
    EXPECT_FALSE(map_.clickableBehind);

    map_.tickets.push_back({c_.Get(), 1, 0});
    player_->hints[35] = true;
    ASSERT_EQ(MapHint(), 35);
    EXPECT_EQ(opener_.opened[0].target, c_.Get());

    // A game type's hint goes to the first ticket of that type, alone clickable.
    EXPECT_EQ(MapHint(), 28);
    EXPECT_EQ(opener_.opened[0].target, a_.Get());
    EXPECT_EQ(map_.clickable, std::vector<GameNode*>{a_.Get()});
    EXPECT_EQ(MapHint(), 30);
    EXPECT_EQ(opener_.opened[0].target, b_.Get());

    // Difficulties: all equal fires nothing; differing points at the first of 1 or more.
    EXPECT_EQ(MapHint(), -1);
    map_.tickets[2].difficulty = 2;
    EXPECT_EQ(MapHint(), 37);
    EXPECT_EQ(opener_.opened[0].target, c_.Get());
    EXPECT_TRUE(map_.clickableBehind);  // every ticket goes behind the bubble
}

TEST_F(HintTriggersTest, MapHintsInOrderDownToThePurchaseHint) {
    player_->hints[26] = false;
    map_.train = a_.Get();
    map_.defeat = true;
    EXPECT_EQ(MapHint(), 36);
    EXPECT_FALSE(map_.defeat);

    map_.tickets = {{b_.Get(), 0, 0}};
    map_.idle = 5999;
    map_.panel = c_.Get();
    EXPECT_EQ(MapHint(), 38);  // the first-ticket hint waits for the idle time
    map_.idle = 6000;
    EXPECT_EQ(MapHint(), 27);

    map_.nextSection = b_.Get();
    EXPECT_EQ(MapHint(), 39);
    map_.atLeaveCity = true;
    map_.section = 9;
    EXPECT_EQ(MapHint(), -1);  // no next section after the last
    map_.section = 3;
    EXPECT_EQ(MapHint(), 40);

    player_->hints[41] = true;
    player_->coins = 50;
    map_.cost = 50;
    map_.enoughCities = true;
    player_->stats.gamesCounter = 2;
    EXPECT_EQ(MapHint(), -1);  // every track bought
    map_.trackMiddle = std::pair{300.4F, 200.6F};
    map_.panel = nullptr;
    EXPECT_EQ(MapHint(), -1);  // no track for sale from here: no price sign is up
    map_.panel = c_.Get();
    ASSERT_EQ(MapHint(), 41);
    ASSERT_TRUE(opener_.opened[0].rect.has_value());
    EXPECT_EQ(opener_.opened[0].rect->x, 292);
    EXPECT_EQ(opener_.opened[0].rect->y, 193);
    EXPECT_EQ(opener_.opened[0].rect->width, 16);
    EXPECT_EQ(player_->stats.gamesCounter, 0);
}

TEST_F(HintTriggersTest, DirectHintsAndTheirConditions) {
    // The ticket dialog's hint: difficulty 1 or more and a choice of tickets.
    EXPECT_FALSE(OpenTicketDialogHint(player_.Get(), a_.Get(), 0, 3, opener_));
    EXPECT_FALSE(OpenTicketDialogHint(player_.Get(), a_.Get(), 2, 1, opener_));
    EXPECT_TRUE(OpenTicketDialogHint(player_.Get(), a_.Get(), 2, 2, opener_));
    EXPECT_FALSE(OpenTicketDialogHint(player_.Get(), a_.Get(), 2, 2, opener_));
    EXPECT_FALSE(player_->hints[37]);

    // Locked classic games and too few coins ignore the switch and the flags.
    player_->showhints = false;
    player_->hints.fill(false);
    EXPECT_TRUE(OpenClassicLockedHint(nullptr, opener_));
    player_->stats.missionsWon = {1, 0, 1};
    EXPECT_TRUE(OpenClassicLockedHint(player_.Get(), opener_));
    player_->stats.missionsWon[1] = 1;
    EXPECT_FALSE(OpenClassicLockedHint(player_.Get(), opener_));
    EXPECT_TRUE(OpenTooFewCoinsHint(49, 50, opener_));
    EXPECT_FALSE(OpenTooFewCoinsHint(50, 50, opener_));
    player_->hints[43] = true;
    EXPECT_FALSE(OpenClassicIntroHint(player_.Get(), opener_));
    player_->showhints = true;
    EXPECT_TRUE(OpenClassicIntroHint(player_.Get(), opener_));

    std::vector<int32_t> ids;
    for (const Opened& opened : opener_.opened) {
        ids.push_back(opened.hint);
    }
    EXPECT_EQ(ids, (std::vector<int32_t>{37, 42, 42, 44, 43}));
}

}  // namespace
