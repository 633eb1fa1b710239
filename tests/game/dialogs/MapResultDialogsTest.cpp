#include <gtest/gtest.h>

#include "GameDialogFixture.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/media/Canvas.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/Button.h"
#include "engine/ui/Label.h"
#include "game/dialogs/DialogLevelSuccess.h"
#include "game/dialogs/DialogRanking.h"
#include "game/dialogs/MapDialogHooks.h"
#include "game/progress/KR2Player.h"
#include "game/progress/LevelStats.h"
#include "game/words/TicketInfo.h"

namespace {

// Records what the result dialogs ask of the map.
class RecordingMap : public MapDialogHooks {
public:
    KR2Player* Player() const override { return player.Get(); }
    const LevelStats* LastLevel() const override { return &level; }
    void SetMapState(int32_t state) override { log.push_back("state " + std::to_string(state)); }
    void CountScoreTo(int32_t total) override { log.push_back("count to " + std::to_string(total)); }
    void SetScore(int32_t total) override { log.push_back("score " + std::to_string(total)); }
    void SetRankToolTip(const std::wstring&, bool) override { log.push_back("tooltip"); }
    void ShowRank(const std::wstring&, int32_t frame) override { log.push_back("rank " + std::to_string(frame)); }
    void PresentTrophy(int32_t trophy) override { log.push_back("trophy " + std::to_string(trophy)); }

    bool Logged(const std::string& entry) const { return std::find(log.begin(), log.end(), entry) != log.end(); }

    Ref<KR2Player> player{new KR2Player("rider")};
    LevelStats level;
    std::vector<std::string> log;
};

const std::string kDialogs =
    R"(<DialogLevelSuccess id="DIALOG_LEVEL_SUCCESS" width="300" height="200"><Vector id="components">)"
    R"(<Label name="CONGRATULATIONS" font="TINY" section="dlgfonts"/>)"
    R"(<Label name="HEADER" font="TINY" section="dlgfonts"/>)"
    R"(<Label name="LABEL_RANKING_SCORE" font="TINY" section="dlgfonts"/>)"
    R"(<Label name="LABEL_RANKING_NAME" font="TINY" section="dlgfonts"/>)"
    R"(<Sprite name="SPRITE_RANKING" width="4" height="4"/>)"
    R"(<Label name="LABEL_STATS_WORDS" font="TINY" section="dlgfonts"/>)"
    R"(</Vector><Label id="right_value" x="200" y="50" font="TINY" section="dlgfonts"/></DialogLevelSuccess>)"
    R"(<DialogRanking id="DIALOG_RANKING" width="800" height="600"><Vector id="components">)"
    R"(<Button name="BUTTON_OK" x="400" y="500" image="KNOB" section="ui"/>)"
    R"(<Label name="RANKING_WON" font="TINY" section="dlgfonts"/>)"
    R"(<Sprite name="GUI_BAR" y="480" width="800" height="40"/>)"
    R"(<Label name="LABEL_REWARD_TEXT" font="TINY" section="dlgfonts"/>)"
    R"(<Label name="LABEL_RANKING_NAME" font="TINY" section="dlgfonts"/>)"
    R"(<Label name="RANKING_TEXT" font="TINY" section="dlgfonts"/>)"
    R"(</Vector></DialogRanking>)";

class MapResultDialogsTest : public GameDialogTest {
protected:
    MapResultDialogsTest() {
        UseDialogs(kDialogs);
        Defines::Instance()->StoreText(
            Ref<PropertyValue>(PropertyValue::FromText("STATISTICS_LEVELEND_WORDS_2", L"placed", false)).Get());
        map_.player->currentTicket = new TicketInfo;
        map_.player->currentTicket->GameType = 3;
        MapDialogHooks::Install(&map_);
    }
    ~MapResultDialogsTest() override { MapDialogHooks::Install(nullptr); }

    static std::wstring TextOf(GameNode* node) { return ObjectCast<Label>(node)->GetText(); }

    RecordingMap map_;
};

TEST_F(MapResultDialogsTest, LevelResultShowsTimeWithoutHoursAndWordsAsAShare) {
    const struct {
        int32_t playtime, found, queued, inserted;
        std::wstring time, words, caption;
    } cases[] = {
        {3725000, 7, 9, 0, L"2:05", L"7/9 (77%)", L""},
        {59999, 3, 3, 0, L"0:59", L"3/3 (100%)", L""},
        {61000, 0, 0, 12, L"1:01", L"12", L"placed"},  // no queue: the inserted words
    };
    for (const auto& c : cases) {
        map_.level.playtime = c.playtime;
        map_.level.numWordsFound = c.found;
        map_.level.numWordsInQueue = c.queued;
        map_.level.numWordsInserted = c.inserted;
        map_.level.score = 1234;
        map_.level.moneyEarned = 56;
        auto* dialog = ObjectCast<DialogLevelSuccess>(GameScene()->GetDialog("DIALOG_LEVEL_SUCCESS", true, "L"));
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->GetScoreLabel()->GetText(), L"1234");
        EXPECT_EQ(dialog->GetCoinsLabel()->GetText(), L"56");
        EXPECT_EQ(dialog->GetTimeLabel()->GetText(), c.time);
        EXPECT_EQ(dialog->GetWordsLabel()->GetText(), c.words);
        EXPECT_EQ(TextOf(dialog->FindChild("LABEL_STATS_WORDS")), c.caption);
        EXPECT_EQ(dialog->GetWordsLabel()->GetY() - dialog->GetScoreLabel()->GetY(), 60);
        GameScene()->CloseDialog(dialog);
    }
}

TEST_F(MapResultDialogsTest, SkippingTheRevealShowsEverythingOnceAndLaterSkipsChangeNothing) {
    map_.player->stats.score = 5000;
    auto* dialog = Open<DialogLevelSuccess>("DIALOG_LEVEL_SUCCESS");
    Run(100);
    EXPECT_EQ(dialog->GetWordsLabel()->GetAlpha(), 0);
    EXPECT_FALSE(dialog->OnKeyDown('A'));
    EXPECT_TRUE(dialog->OnKeyDown(DialogLevelSuccess::kSkipKey));
    EXPECT_TRUE(dialog->IsFinished());
    for (Label* label : {dialog->GetScoreLabel(), dialog->GetWordsLabel(), dialog->GetRankScoreLabel()}) {
        EXPECT_EQ(label->GetAlpha(), 255);
    }
    EXPECT_TRUE(map_.Logged("score 5000"));
    const auto logged = map_.log.size();
    EXPECT_TRUE(dialog->OnKeyDown(DialogLevelSuccess::kSkipKey));
    EXPECT_FALSE(dialog->OnLButtonUp(0, 0, 0));
    Run(4000);  // the cancelled reveal must not come back
    EXPECT_EQ(map_.log.size(), logged);
    EXPECT_FALSE(map_.Logged("count to 5000"));
}

TEST_F(MapResultDialogsTest, TheRevealCountsTheScoreUpAndEndsOnItsOwn) {
    map_.player->stats.score = 700;
    auto* dialog = Open<DialogLevelSuccess>("DIALOG_LEVEL_SUCCESS");
    Run(3000);
    EXPECT_TRUE(map_.Logged("count to 700"));
    EXPECT_TRUE(map_.Logged("tooltip"));
    EXPECT_EQ(dialog->GetWordsLabel()->GetAlpha(), 255);
    dialog->FinishAnimation();  // after the end: no second rank step
    EXPECT_EQ(std::count(map_.log.begin(), map_.log.end(), "tooltip"), 1);
}

// Rank i needs 1000 x i points. The result opens on the rank held before the
// level with the points it then lacked to the next, and ends on the rank and
// points of now: the name beside a figure is always the rank it counts from,
// and the map's badge changes with them.
TEST_F(MapResultDialogsTest, TheRankLineNamesTheRankItsFigureCountsFromBeforeAndAfterTheLevel) {
    std::string ladder = "<root><Vector id=\"RANKINGS\">";
    for (int rank = 0; rank < 15; ++rank) {
        ladder += "<Node score=\"" + std::to_string(rank * 1000) + "\"/>";
    }
    ladder += "</Vector><Text id=\"RANKING_NEXTRANG_SCORE\">%i to go</Text>";
    for (int rank = 0; rank < 15; ++rank) {
        ladder += "<Text id=\"RANK_NAME" + std::to_string(rank) + "\">R" + std::to_string(rank) + "</Text>";
    }
    ladder += "</root>";
    const Ref<PropertyFile> constants = new PropertyFile;
    ASSERT_TRUE(constants->LoadFromMemory(ladder.data(), ladder.size(), "ladder"));
    ClassFactory::Instance().CreateNamedObjects(*constants);
    const struct {
        const char* name;
        int32_t ranking, scoreAfter, gained;
        std::wstring rankBefore, before, rankAfter, after;
    } cases[] = {
        {"rank kept", 1, 1800, 500, L"R1", L"700 to go", L"R1", L"200 to go"},
        {"one rank up", 2, 2300, 500, L"R1", L"200 to go", L"R2", L"700 to go"},
        {"two ranks up", 3, 3100, 1500, L"R1", L"400 to go", L"R3", L"900 to go"},
        // A classic game raised the score since the rank was last booked.
        {"rank booked late", 1, 7600, 500, L"R7", L"900 to go", L"R7", L"400 to go"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        map_.log.clear();
        map_.player->ranking = c.ranking;
        map_.player->rankChanged = c.rankBefore != c.rankAfter;
        map_.player->stats.score = c.scoreAfter;
        map_.level.score = c.gained;
        auto* dialog = Open<DialogLevelSuccess>("DIALOG_LEVEL_SUCCESS");
        EXPECT_EQ(dialog->GetRankNameLabel()->GetText(), c.rankBefore);
        EXPECT_EQ(dialog->GetRankScoreLabel()->GetText(), c.before);
        dialog->FinishAnimation();
        EXPECT_EQ(dialog->GetRankNameLabel()->GetText(), c.rankAfter);
        EXPECT_EQ(dialog->GetRankScoreLabel()->GetText(), c.after);
        const int32_t rankNow = c.scoreAfter / 1000;
        EXPECT_EQ(map_.Logged("rank " + std::to_string(rankNow)), c.rankBefore != c.rankAfter);
        GameScene()->CloseDialog(dialog);
        EXPECT_TRUE(map_.Logged("rank " + std::to_string(rankNow)));
        EXPECT_FALSE(map_.Logged("rank " + std::to_string(c.ranking)) && c.ranking != rankNow);
    }
}

TEST_F(MapResultDialogsTest, ClosingOpensTheRankDialogOnlyWhenTheRankRoseAndLeavesTheTopTrophyPending) {
    for (const bool rose : {false, true}) {
        map_.log.clear();
        map_.player->rankChanged = rose;
        map_.player->trophies[DialogRanking::kTopRankTrophy] = KR2Player::kTrophyPending;
        auto* dialog = Open<DialogLevelSuccess>("DIALOG_LEVEL_SUCCESS");
        GameScene()->CloseDialog(dialog);
        EXPECT_EQ(GameScene()->IsDialogShown("DIALOG_RANKING"), rose);
        EXPECT_EQ(map_.Logged("state 0"), !rose);
        EXPECT_EQ(map_.Logged("state 7"), rose);
        EXPECT_EQ(map_.player->trophies[DialogRanking::kTopRankTrophy], KR2Player::kTrophyPending);
    }
}

TEST_F(MapResultDialogsTest, TheStarWidensOnBothSidesWhenTheRewardOverhangs) {
    const Ref<MemorySurface> star = FilledSurface(20, 50, 0xFFFFFF00);  // five 20 x 10 frames
    const Ref<MemorySurface> reward = FilledSurface(15, 4, 0xFF0000FF);
    const struct {
        Surface* reward;
        int32_t aX, width, rewardX;
    } cases[] = {{reward.Get(), 10, 30, 15}, {reward.Get(), 2, 20, 2}, {nullptr, 10, 20, -1}};
    for (const auto& c : cases) {
        const Ref<Surface> composite = DialogRanking::ComposeStar(*star, c.reward, c.aX, 3);
        ASSERT_EQ(composite->GetWidth(), c.width);
        ASSERT_EQ(composite->GetHeight(), 50);
        const int32_t shift = (c.width - 20) / 2;
        EXPECT_EQ(PixelAt(*composite, shift, 0), 0xFFFFFF00u);  // the star sits in the middle
        for (int32_t frame = 0; frame < DialogRanking::kStarFrames; ++frame) {
            const uint32_t expected = c.rewardX < 0 ? 0xFFFFFF00u : 0xFF0000FFu;
            EXPECT_EQ(PixelAt(*composite, c.rewardX < 0 ? 12 : c.rewardX, frame * 10 + 3), expected) << c.aX;
        }
    }
}

TEST_F(MapResultDialogsTest, RankDialogFreezesTheSceneTakesInputLateAndRestoresTheSceneOnEveryClose) {
    map_.player->trophies[DialogRanking::kTopRankTrophy] = KR2Player::kTrophyPending;
    for (const bool byOk : {true, false}) {
        map_.log.clear();
        GameScene();
        DialogRanking::Show();
        auto* dialog = ObjectCast<DialogRanking>(GameScene()->GetDialogMap().at("DIALOG_RANKING").Get());
        const Ref<DialogRanking> keep(dialog);
        EXPECT_TRUE(map_.Logged("state 7"));
        EXPECT_FALSE(GameScene()->IsVisible());
        EXPECT_FALSE(GameScene()->GetComponentNode()->IsVisible());
        EXPECT_NE(dialog->GetStarSprite(), nullptr);
        Run(300);
        EXPECT_FALSE(dialog->IsInputEnabled());
        Run(3000);
        EXPECT_TRUE(dialog->IsInputEnabled());
        if (byOk) {
            auto* ok = ObjectCast<Button>(dialog->FindChild("BUTTON_OK"));
            ok->Invoke(ok);
            Run(300);
        } else {
            GameScene()->CloseDialog(dialog);
        }
        EXPECT_FALSE(GameScene()->IsDialogShown("DIALOG_RANKING"));
        EXPECT_TRUE(GameScene()->IsVisible()) << byOk;
        EXPECT_TRUE(GameScene()->GetComponentNode()->IsVisible()) << byOk;
        EXPECT_TRUE(map_.Logged("trophy 21")) << byOk;
    }
}

}  // namespace
