#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "GameDialogFixture.h"
#include "engine/foundation/Players.h"
#include "engine/media/ImageTools.h"
#include "engine/ui/Button.h"
#include "engine/ui/Label.h"
#include "engine/ui/ScrollPanel.h"
#include "game/dialogs/TrophyAwardedDialog.h"
#include "game/dialogs/TrophyButton.h"
#include "game/dialogs/TrophyDialog.h"
#include "game/progress/KR2Player.h"

namespace {

constexpr uint32_t kCupColour = 0xFFFF0000;
constexpr uint32_t kStarColour = 0xFF0000FF;

std::string LabelXml(const char* name) {
    return std::string(R"(<Label name=")") + name + R"(" font="TINY" section="dlgfonts"/>)";
}
std::string Knob(const char* name) { return std::string(R"(<Button name=")") + name + R"(" image="KNOB" section="ui"/>)"; }

// Trophy i at (20 + 30 i, 40) of the cabinet.
std::string CabinetXml(const char* id, int32_t places) {
    std::string xml = std::string(R"(<TrophyDialog id=")") + id + R"(" width="800" height="300" dodarkenbackground="true">)"
                      R"(<Vector id="components">)" +
                      LabelXml("LABEL_TROPHY_NAME") + LabelXml("LABEL_HEADER") + LabelXml("LABEL_DESCRIPTION") +
                      R"(<ScrollPanel name="SCROLLPANEL" width="100" height="40"/>)" + Knob("BUTTON_OK") +
                      Knob("BUTTON_PREV") + Knob("BUTTON_NEXT") + R"(</Vector><Vector id="trophypos">)";
    for (int32_t i = 0; i < places; ++i) {
        xml += R"(<Node><Integer id="x" value=")" + std::to_string(20 + 30 * i) +
               R"("/><Integer id="y" value="40"/></Node>)";
    }
    return xml +
           R"(</Vector><Label id="stat_name" y="2" width="20" font="TINY" section="dlgfonts" wrapstyle="wordwrap"/>)"
           R"(<Label id="stat_val" x="50" font="TINY" section="dlgfonts"/><Integer id="stat_offset" value="8"/>)"
           R"(</TrophyDialog>)";
}

const std::string kDialogs =
    CabinetXml("DIALOG_TROPHY_SCREEN", 23) + CabinetXml("MANY_PLACES", 25) +
    R"(<TrophyAwardedDialog id="DIALOG_TROPHY_AWARDED" width="800" height="600"><Vector id="components">)" +
    Knob("BUTTON_OK") + R"(<Sprite name="TROPHY_WON" image="KNOB" section="ui"/>)" +
    R"(<Sprite name="GUI_BAR" y="500" image="KNOB" section="ui"/>)" + LabelXml("LABEL_TROPHY_TEXT") +
    LabelXml("LABEL_TROPHY_NAME") + R"(</Vector></TrophyAwardedDialog>)" +
    R"(<Sprite id="SPRITE_STAR" width="4" height="4" framecount="2"/>)";

// Every trophy a 10 x 10 cup anchored at its centre, opaque only in its left
// half; the big pictures for trophies 0 to 21 only.
std::string ConstantLists() {
    std::string buttons = R"(<Vector id="TROPHY_DIALOG_BUTTONS">)";
    std::string big = R"(<Vector id="TROPHY_BIG_SPRITES">)";
    for (int32_t i = 0; i < TrophyDialog::kTrophyCount; ++i) {
        buttons += R"(<Node><String id="star" value="STAR"/><String id="button" value="CUP"/>)"
                   R"(<Integer id="aX" value="5"/><Integer id="aY" value="5"/></Node>)";
        if (i < TrophyDialog::kTrophyCount - 1) {
            big += R"(<Node><String id="button" value="CUP"/><Integer id="aX" value="0"/>)"
                   R"(<Integer id="aY" value="0"/><Float id="scale" value="0.5"/></Node>)";
        }
    }
    // Rank i needs 100 x i points.
    std::string ranks = R"(<Vector id="RANKINGS">)";
    for (int32_t rank = 0; rank < 15; ++rank) {
        ranks += R"(<Node score=")" + std::to_string(rank * 100) + R"("/>)";
    }
    return "<root>" + buttons + "</Vector>" + big + "</Vector>" + ranks + "</Vector></root>";
}

Ref<MemorySurface> HalfCup() {
    Ref<MemorySurface> cup = CreateMemorySurface(10, 10);
    for (int32_t y = 0; y < 10; ++y) {
        for (int32_t x = 0; x < 10; ++x) {
            cup->Pixels32()[y * 10 + x] = x < 5 ? kCupColour : 0u;
        }
    }
    return cup;
}

class TrophyDialogsTest : public GameDialogTest {
protected:
    TrophyDialogsTest() {
        // The flying stars' definition sits at the top level, beside the dialogs.
        const std::string text = R"(<root><Node id="dialogs">)" + kDialogs +
                                 R"(</Node><Sprite id="SPRITE_STAR" width="4" height="4" framecount="2"/></root>)";
        const std::string path = folder_.Path() + "/dialogs.xml";
        WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
        DialogTable::Create(path);
        lists_ = ParseDefinitions(ConstantLists());
        Defines::Instance()->StoreVector(Property::Child(lists_.Get(), "TROPHY_DIALOG_BUTTONS"));
        Defines::Instance()->StoreVector(Property::Child(lists_.Get(), "TROPHY_BIG_SPRITES"));
        Defines::Instance()->StoreVector(Property::Child(lists_.Get(), "RANKINGS"));
        auto* trophies = new Section("trophy", false);
        trophies->AddResource("CUP", new HeldResource(HalfCup().Get()));
        trophies->AddResource("STAR", new HeldResource(FilledSurface(8, 40, 0xFF00FF00).Get()));
        sections_.Load(trophies);
        AddDefaultResource("TROPHY_STAR_BIG", bigStar_.Get());
        for (const auto& [id, text] : std::vector<std::pair<std::string, std::wstring>>{
                 {"TROPHY_NAME3", L"cup"},
                 {"TROPHY_DESC3", L"won three"},
                 {"TROPHY_AWARDED_DESC3", L"well done"},
                 {"TROPHY_DESC_DEFAULT", L"point"},
                 {"RANK_NAME2", L"stoker"},
                 {"RANK_NAME3", L"driver"},
                 {"RANK_NAME14", L"chief"},
                 {"STATISTICS_NAME1", L"aaaa bbbb cccc"}}) {
            Defines::Instance()->StoreText(Ref<PropertyValue>(PropertyValue::FromText(id, text, false)).Get());
        }
    }

    ~TrophyDialogsTest() override { Players::Free(); }

    // Players of those names; the first is current.
    std::vector<Ref<KR2Player>> UsePlayers(const std::vector<std::string>& names) {
        Players::Free();
        Players* players = Players::Create("1", false);
        std::vector<Ref<KR2Player>> made;
        for (const std::string& name : names) {
            made.emplace_back(new KR2Player(name));
            players->Add(made.back().Get());
        }
        return made;
    }

    static Label* Child(Dialog* dialog, const char* name) { return ObjectCast<Label>(dialog->FindChild(name)); }

    Ref<PropertyFile> lists_;
    // Five 20 x 10 frames.
    Ref<MemorySurface> bigStar_ = FilledSurface(20, 50, kStarColour);
};

TEST_F(TrophyDialogsTest, StatisticsShowThePlayersTotalsRowByRow) {
    const Ref<KR2Player> player = UsePlayers({"Ann"})[0];
    player->cp = 0.456f;
    // The rank the score earns, whatever rank was booked last.
    player->ranking = 0;
    player->stats.score = 250;
    PlayerStats& stats = player->stats;
    stats.tracksBought = 7;
    stats.numWordsInserted = 11;
    stats.coalsUsed = 5;
    stats.moneyEarned = 300;
    stats.moneySpent = 120;
    stats.playcount = {1, 2, 3, 0, 0, 0, 0, 4};
    stats.missionsWon = {4, 5, 6};
    stats.missionsLost = 3;
    TrophyDialog* cabinet = Open<TrophyDialog>("DIALOG_TROPHY_SCREEN");
    ASSERT_NE(cabinet, nullptr);
    const std::wstring expected[] = {L"45%", L"7", L"stoker", L"driver", L"11", L"5", L"300",
                                     L"120", L"10", L"4",      L"5",      L"6",  L"3"};
    for (int32_t row = 0; row < TrophyDialog::kStatisticRows; ++row) {
        EXPECT_EQ(cabinet->GetStatisticValue(row)->GetText(), expected[row]) << "row " << row + 1;
    }
    EXPECT_EQ(Child(cabinet, "LABEL_HEADER")->GetText(), L"Ann");

    // The next rank stops at the top one.
    player->stats.score = 99999;
    cabinet->ShowPlayer(0);
    EXPECT_EQ(cabinet->GetStatisticValue(2)->GetText(), L"chief");
    EXPECT_EQ(cabinet->GetStatisticValue(3)->GetText(), L"chief");
}

TEST_F(TrophyDialogsTest, ALongStatisticNamePushesTheRowsBelowAndKeepsItsValueOnItsLastLine) {
    UsePlayers({"Ann"});
    TrophyDialog* cabinet = Open<TrophyDialog>("DIALOG_TROPHY_SCREEN");
    const Label* longName = cabinet->GetStatisticName(0);
    ASSERT_GT(longName->GetHeight(), 8);
    const int32_t top = longName->GetY();
    EXPECT_EQ(top, 2);
    EXPECT_EQ(cabinet->GetStatisticValue(0)->GetY() + cabinet->GetStatisticValue(0)->GetHeight(),
              top + longName->GetHeight());
    // The short rows below take the row height each.
    EXPECT_EQ(cabinet->GetStatisticName(1)->GetY(), top + longName->GetHeight());
    EXPECT_EQ(cabinet->GetStatisticName(2)->GetY(), top + longName->GetHeight() + 8);
    const auto* panel = ObjectCast<ScrollPanel>(cabinet->FindChild("SCROLLPANEL"));
    EXPECT_EQ(panel->GetContentPanel()->GetHeight(), top + longName->GetHeight() + 12 * 8);
}

TEST_F(TrophyDialogsTest, OnlyShownTrophiesAppearAndTheArrowsPageThroughThePlayers) {
    const std::vector<Ref<KR2Player>> players = UsePlayers({"Ann", "Bob", "Cy"});
    players[0]->trophies[1] = KR2Player::kTrophyShown;
    players[0]->trophies[2] = KR2Player::kTrophyPending;
    players[1]->trophies[4] = KR2Player::kTrophyShown;
    TrophyDialog* cabinet = Open<TrophyDialog>("DIALOG_TROPHY_SCREEN");
    const struct {
        int32_t index;
        bool previous, next;
        const wchar_t* name;
        std::vector<int32_t> shown;
    } pages[] = {{0, false, true, L"Ann", {1}}, {1, true, true, L"Bob", {4}}, {2, true, false, L"Cy", {}}};
    for (const auto& page : pages) {
        if (page.index > 0) {
            cabinet->GetNextButton()->Invoke(cabinet->GetNextButton());
        }
        EXPECT_EQ(cabinet->GetPlayerIndex(), page.index);
        EXPECT_EQ(cabinet->GetPrevButton()->IsEnabled(), page.previous) << page.index;
        EXPECT_EQ(cabinet->GetNextButton()->IsEnabled(), page.next) << page.index;
        EXPECT_EQ(Child(cabinet, "LABEL_HEADER")->GetText(), page.name);
        for (int32_t i = 0; i < TrophyDialog::kTrophyCount; ++i) {
            const bool shown = std::find(page.shown.begin(), page.shown.end(), i) != page.shown.end();
            EXPECT_EQ(cabinet->GetTrophyButton(i)->GetAlpha(), shown ? 255 : 0) << page.index << " trophy " << i;
            EXPECT_EQ(cabinet->GetTrophyButton(i)->GetPicture()->GetAlpha(), shown ? 255 : 0);
        }
    }
    cabinet->GetPrevButton()->Invoke(cabinet->GetPrevButton());
    EXPECT_EQ(cabinet->GetPlayerIndex(), 1);

    UsePlayers({"Solo"});
    TrophyDialog* single = Open<TrophyDialog>("MANY_PLACES");
    EXPECT_FALSE(single->GetPrevButton()->IsEnabled());
    EXPECT_FALSE(single->GetNextButton()->IsEnabled());
}

TEST_F(TrophyDialogsTest, PointingShowsTheShownTrophyUnderTheOpaquePixelsOnly) {
    UsePlayers({"Ann"})[0]->trophies[3] = KR2Player::kTrophyShown;
    TrophyDialog* cabinet = Open<TrophyDialog>("DIALOG_TROPHY_SCREEN");
    Label* name = cabinet->GetNameLabel();
    Label* description = cabinet->GetDescriptionLabel();
    EXPECT_FALSE(name->IsVisible());
    EXPECT_TRUE(description->IsVisible());
    EXPECT_EQ(description->GetText(), L"point");

    const TrophyButton* cup = cabinet->GetTrophyButton(3);
    const int32_t x = cup->GetAbsoluteX();
    const int32_t y = cup->GetAbsoluteY();
    const struct {
        int32_t dx;
        int32_t pointed;
        bool nameShown, descriptionShown;
        const wchar_t* description;
    } moves[] = {
        {+2, -1, false, true, L"point"},  // the cup's transparent half
        {-3, 3, true, true, L"won three"},
        {+2, -1, false, false, nullptr},  // once a trophy was pointed at, nothing clears both
        {-50, -1, false, false, nullptr},
        {-3 + 30, -1, false, false, nullptr},  // trophy 4's opaque half, but trophy 4 is not won
    };
    for (const auto& move : moves) {
        cabinet->OnMouseMove(x + move.dx, y, 0);
        EXPECT_EQ(cabinet->GetPointedTrophy(), move.pointed) << move.dx;
        EXPECT_EQ(name->IsVisible(), move.nameShown) << move.dx;
        EXPECT_EQ(description->IsVisible(), move.descriptionShown) << move.dx;
        if (move.description != nullptr) {
            EXPECT_EQ(description->GetText(), move.description);
        }
    }
    EXPECT_EQ(name->GetText(), L"cup");
    EXPECT_FALSE(cabinet->GetTrophyButton(4)->HitTest(x - 3 + 30, y));
}

TEST_F(TrophyDialogsTest, MoreTrophyPlacesThanTrophiesAreIgnored) {
    UsePlayers({"Ann"});
    TrophyDialog* cabinet = Open<TrophyDialog>("MANY_PLACES");
    ASSERT_NE(cabinet, nullptr);
    int32_t buttons = 0;
    for (GameNode* child = cabinet->GetComponentNode()->GetFirstChild(); child != nullptr;
         child = child->GetNextSibling()) {
        buttons += ObjectCast<TrophyButton>(child) != nullptr ? 1 : 0;
    }
    EXPECT_EQ(buttons, TrophyDialog::kTrophyCount);
    EXPECT_EQ(cabinet->GetTrophyButton(TrophyDialog::kTrophyCount), nullptr);
    cabinet->OnMouseMove(20 + 30 * 24, 40, 0);
    EXPECT_EQ(cabinet->GetPointedTrophy(), -1);
}

TEST_F(TrophyDialogsTest, OkClosesTheCabinetAndThenRunsTheAfterCloseFunction) {
    UsePlayers({"Ann"});
    TrophyDialog* cabinet = Open<TrophyDialog>("DIALOG_TROPHY_SCREEN");
    std::vector<Scene*> calls;
    cabinet->SetAfterClose([&calls](Scene* scene) { calls.push_back(scene); });
    Run(400);
    Button* ok = ObjectCast<Button>(cabinet->FindChild("BUTTON_OK"));
    ok->Invoke(ok);
    EXPECT_TRUE(calls.empty());
    Run(300);
    EXPECT_EQ(calls, std::vector<Scene*>{GameScene()});
    EXPECT_FALSE(GameScene()->IsDialogShown("DIALOG_TROPHY_SCREEN"));
}

TEST_F(TrophyDialogsTest, TheAwardFreezesTheSceneAndTakesInputOnlyOnceItsTextsHaveFadedIn) {
    const Ref<KR2Player> player = UsePlayers({"Ann"})[0];
    player->trophies[3] = KR2Player::kTrophyPending;
    GameScene()->SetBackground(FilledSurface(800, 600, 0xFFFFFFFF).Get());
    TrophyAwardDialogs awards;
    static_cast<TrophyAwards&>(awards).Show(3);

    EXPECT_EQ(player->trophies[3], KR2Player::kTrophyShown);
    auto* award = ObjectCast<TrophyAwardedDialog>(GameScene()->GetDialogMap().at("DIALOG_TROPHY_AWARDED").Get());
    auto* cabinet = ObjectCast<TrophyDialog>(GameScene()->GetDialogMap().at("DIALOG_TROPHY_SCREEN").Get());
    ASSERT_NE(award, nullptr);
    ASSERT_NE(cabinet, nullptr);
    EXPECT_TRUE(cabinet->IsAwardMode());
    EXPECT_FALSE(cabinet->IsVisible());
    EXPECT_FALSE(GameScene()->IsVisible());
    EXPECT_FALSE(GameScene()->GetComponentNode()->IsVisible());
    // White under black at alpha 190: about a quarter of white is left.
    const uint32_t frozen = award->GetBackground()->Pixels32()[300 * 800 + 400];
    EXPECT_NEAR(static_cast<int>(frozen & 0xFF), 255 - 190, 2);

    Run(500);
    EXPECT_FALSE(award->IsInputEnabled());
    EXPECT_EQ(award->GetNameLabel()->GetAlpha(), 0);
    Run(800);
    EXPECT_TRUE(award->IsInputEnabled());
    EXPECT_EQ(award->GetNameLabel()->GetText(), L"cup");
    EXPECT_EQ(award->GetTextLabel()->GetText(), L"well done");
    EXPECT_EQ(award->GetTextLabel()->GetAlpha(), 255);
    EXPECT_EQ(award->GetOkButton()->GetY(), 0);
    EXPECT_EQ(award->GetFlash()->GetAlpha(), 0);
}

TEST_F(TrophyDialogsTest, OkHandsTheTrophyToTheCabinetWhereItLandsOnItsPlace) {
    const Ref<KR2Player> player = UsePlayers({"Ann"})[0];
    player->trophies[3] = KR2Player::kTrophyPending;
    GameScene();
    std::vector<Scene*> calls;
    TrophyAwardedDialog::Show(3, [&calls](Scene* scene) { calls.push_back(scene); });
    auto* award = ObjectCast<TrophyAwardedDialog>(GameScene()->GetDialogMap().at("DIALOG_TROPHY_AWARDED").Get());
    const Ref<TrophyDialog> cabinet(
        ObjectCast<TrophyDialog>(GameScene()->GetDialogMap().at("DIALOG_TROPHY_SCREEN").Get()));
    // OK as soon as it takes input, while the trophy still bounces.
    while (!award->IsInputEnabled()) {
        Run(10);
    }
    const Ref<Sprite> big(award->GetBigTrophy());
    award->GetOkButton()->Invoke(award->GetOkButton());

    EXPECT_TRUE(GameScene()->IsVisible());
    EXPECT_TRUE(GameScene()->GetComponentNode()->IsVisible());
    EXPECT_TRUE(cabinet->IsVisible());
    EXPECT_EQ(cabinet->GetNameLabel()->GetText(), L"cup");
    EXPECT_EQ(cabinet->GetTrophyButton(3)->GetAlpha(), 0);  // until it lands
    Run(2000);
    EXPECT_FALSE(GameScene()->IsDialogShown("DIALOG_TROPHY_AWARDED"));
    EXPECT_EQ(big->GetParent(), cabinet->GetTrophyButton(3)->GetParent());
    EXPECT_EQ(big->GetX(), cabinet->GetTrophyButton(3)->GetX());
    EXPECT_EQ(big->GetY(), cabinet->GetTrophyButton(3)->GetY());
    EXPECT_FLOAT_EQ(big->GetScale(), 0.5f);
    EXPECT_FALSE(cabinet->IsAwardMode());
    EXPECT_EQ(cabinet->GetTrophyButton(3)->GetAlpha(), 255);
    EXPECT_EQ(player->trophies[3], KR2Player::kTrophyShown);

    Button* ok = ObjectCast<Button>(cabinet->FindChild("BUTTON_OK"));
    ok->Invoke(ok);
    Run(300);
    EXPECT_EQ(calls, std::vector<Scene*>{GameScene()});
}

TEST_F(TrophyDialogsTest, TheCabinetBehindAnAwardBuildsItsBackdropAndPictureOnlyInThePauseBeforeTheText) {
    UsePlayers({"Ann"})[0]->trophies[3] = KR2Player::kTrophyPending;
    TrophyDialog* alone = Open<TrophyDialog>("DIALOG_TROPHY_SCREEN");
    ASSERT_NE(alone->GetBackground(), nullptr);
    const Ref<MemorySurface> expected = CloneSurface(*alone->GetBackground());
    const int32_t framePlace = alone->GetComponentNode()->GetX();
    GameScene()->CloseDialog(alone);

    TrophyAwardedDialog::Show(3, nullptr);
    const Ref<TrophyDialog> cabinet(
        ObjectCast<TrophyDialog>(GameScene()->GetDialogMap().at("DIALOG_TROPHY_SCREEN").Get()));
    // The award's first frames pay for no backdrop of the hidden cabinet:
    // its pictures are made a little each frame, then painted.
    EXPECT_EQ(cabinet->GetBackground(), nullptr);
    Run(100);
    EXPECT_EQ(cabinet->GetBackground(), nullptr);
    const auto runUntil = [this](int32_t limitMs, const auto& done) {
        for (int32_t ms = 0; ms < limitMs && !done(); ms += 10) {
            Run(10);
        }
    };
    // Well before the award's text is in.
    runUntil(500, [&] { return cabinet->GetBackground() != nullptr; });
    ASSERT_NE(cabinet->GetBackground(), nullptr);
    EXPECT_FALSE(cabinet->IsVisible());
    EXPECT_EQ(cabinet->GetX(), 0);
    EXPECT_EQ(cabinet->GetComponentNode()->GetX(), framePlace);
    const Surface& painted = *cabinet->GetBackground();
    ASSERT_EQ(painted.GetWidth(), expected->GetWidth());
    ASSERT_EQ(painted.GetHeight(), expected->GetHeight());
    EXPECT_TRUE(std::equal(expected->Pixels32(), expected->Pixels32() + expected->GetWidth() * expected->GetHeight(),
                           painted.Pixels32()));

    // Its picture follows before the OK can be pressed, so the OK builds
    // nothing; it is the picture a cabinet builds when it is drawn.
    runUntil(100, [&] { return cabinet->GetImage() != cabinet->GetBackground(); });
    const Surface* prepared = cabinet->GetImage();
    ASSERT_NE(prepared, nullptr);
    EXPECT_NE(prepared, cabinet->GetBackground());
    const Ref<MemorySurface> preparedLook = CloneSurface(*prepared);
    cabinet->ReleaseBuffers();
    const Ref<MemorySurface> screen = CreateMemorySurface(800, 600);
    cabinet->Draw(*screen->CreateCanvas());
    ASSERT_NE(cabinet->GetImage(), nullptr);
    ASSERT_EQ(cabinet->GetImage()->GetWidth(), preparedLook->GetWidth());
    ASSERT_EQ(cabinet->GetImage()->GetHeight(), preparedLook->GetHeight());
    EXPECT_TRUE(std::equal(preparedLook->Pixels32(),
                           preparedLook->Pixels32() + preparedLook->GetWidth() * preparedLook->GetHeight(),
                           cabinet->GetImage()->Pixels32()));
}

TEST_F(TrophyDialogsTest, ACabinetRevealedBeforeItsBackdropWasPaintedPaintsItThen) {
    UsePlayers({"Ann"});
    auto* cabinet = ObjectCast<TrophyDialog>(GameScene()->GetDialog("DIALOG_TROPHY_SCREEN"));
    ASSERT_NE(cabinet, nullptr);
    cabinet->StartAwardMode(3);
    GameScene()->ShowDialog(cabinet);
    cabinet->SetVisible(false);
    EXPECT_EQ(cabinet->GetBackground(), nullptr);
    cabinet->Reveal();
    EXPECT_TRUE(cabinet->IsVisible());
    EXPECT_NE(cabinet->GetBackground(), nullptr);
}

TEST_F(TrophyDialogsTest, TheBigTrophyIsItsPictureInEveryStarFrameOrABareStarWithoutOne) {
    UsePlayers({"Ann"});
    GameScene();
    const struct {
        int32_t trophy;
        uint32_t frameCentre;  // left of the centre, inside the cup's opaque half
    } cases[] = {{3, kCupColour}, {TrophyDialog::kTrophyCount - 1, kStarColour}};
    for (const auto& c : cases) {
        TrophyAwardedDialog::Show(c.trophy, nullptr);
        auto* award =
            ObjectCast<TrophyAwardedDialog>(GameScene()->GetDialogMap().at("DIALOG_TROPHY_AWARDED").Get());
        const Surface* image = award->GetBigTrophy()->GetImage();
        ASSERT_NE(image, nullptr);
        ASSERT_NE(image, bigStar_.Get());  // drawn into a copy, never into the shared star
        EXPECT_EQ(award->GetBigTrophy()->GetFrameCount(), 5);
        for (int32_t frame = 0; frame < 5; ++frame) {
            EXPECT_EQ(image->Pixels32()[(frame * 10 + 5) * 20 + 8], c.frameCentre) << c.trophy << " " << frame;
            EXPECT_EQ(image->Pixels32()[(frame * 10 + 5) * 20 + 12], kStarColour);  // the cup's clear half
        }
        GameScene()->CloseDialog(award);
        GameScene()->CloseDialog(GameScene()->GetDialogMap().at("DIALOG_TROPHY_SCREEN").Get());
    }
    EXPECT_EQ(bigStar_->Pixels32()[5 * 20 + 8], kStarColour);
}

TEST_F(TrophyDialogsTest, AnAwardOfNoTrophyShowsNothing) {
    UsePlayers({"Ann"});
    GameScene();
    for (const int32_t trophy : {-1, TrophyDialog::kTrophyCount}) {
        TrophyAwardedDialog::Show(trophy, nullptr);
        EXPECT_TRUE(GameScene()->GetShownDialogs().empty()) << trophy;
        EXPECT_TRUE(GameScene()->IsVisible());
    }
}

}  // namespace
