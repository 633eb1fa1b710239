#include <gtest/gtest.h>

#include "GameDialogFixture.h"
#include "engine/media/CanvasTestSupport.h"
#include "engine/ui/Button.h"
#include "game/dialogs/CreditsDialog.h"
#include "game/dialogs/KR2Painter.h"

namespace {

// The game's frame painter without pieces: only the gradient, one colour.
const std::string kPainter = R"(<KR2Painter id="painter" color1="#102030" color2="#102030" color3="#102030"/>)";

TEST_F(GameDialogTest, KeysTakeTheirDefaultsAndBooleansAreTrueUnlessEmptyOrFalse) {
    struct Case {
        std::string attributes;
        bool autoCenter, darken;
        std::string open, close, section;
    };
    const std::vector<Case> cases = {
        {"", false, false, "SOUND_DIALOG_SHOW", "SOUND_DIALOG_HIDE", "default"},
        {R"(autocenter="true" dodarkenbackground="yes")", true, true, "SOUND_DIALOG_SHOW", "SOUND_DIALOG_HIDE",
         "default"},
        {R"(autocenter="false" dodarkenbackground="")", false, false, "SOUND_DIALOG_SHOW", "SOUND_DIALOG_HIDE",
         "default"},
        {R"(opensound="ON" closesound="OFF" soundsection="ui")", false, false, "ON", "OFF", "ui"},
    };
    for (const Case& c : cases) {
        const Ref<KR2Dialog> dialog = Build<KR2Dialog>(R"(<KR2Dialog id="it" )" + c.attributes + "/>");
        ASSERT_TRUE(dialog) << c.attributes;
        EXPECT_EQ(dialog->IsAutoCenter(), c.autoCenter) << c.attributes;
        EXPECT_EQ(dialog->DarkensBackground(), c.darken) << c.attributes;
        EXPECT_EQ(dialog->GetOpenSound(), c.open) << c.attributes;
        EXPECT_EQ(dialog->GetCloseSound(), c.close) << c.attributes;
        EXPECT_EQ(dialog->GetSoundSection(), c.section) << c.attributes;
        EXPECT_TRUE(dialog->GetPlaySounds());
        EXPECT_TRUE(dialog->GetNotifyGameScene());
    }
}

TEST_F(GameDialogTest, TheHeaderComesFromTheTextTableOnlyWithTheGamePainter) {
    const struct {
        std::string attributes;
        std::wstring header;
    } cases[] = {{"", L"na"}, {R"(headertext="H")", L"header"}, {R"(headertext="NO_SUCH_TEXT")", L""}};
    for (const auto& c : cases) {
        const Ref<KR2Dialog> dialog =
            Build<KR2Dialog>(R"(<KR2Dialog id="it" )" + c.attributes + ">" + kPainter + "</KR2Dialog>");
        const auto* painter = ObjectCast<KR2Painter>(dialog->GetPainter());
        ASSERT_TRUE(painter && painter->GetHeaderLabel()) << c.attributes;
        EXPECT_EQ(painter->GetHeaderLabel()->GetText(), c.header) << c.attributes;
        EXPECT_EQ(painter->GetHeaderLabel()->GetFont(), font_.Get());
    }
    // Without the game's painter there is no header and no width rule.
    const Ref<KR2Dialog> plain = Build<KR2Dialog>(R"(<KR2Dialog id="it" width="10" headertext="H"/>)");
    EXPECT_EQ(plain->GetPainter(), nullptr);
    EXPECT_EQ(plain->GetWidth(), 10);
}

TEST_F(GameDialogTest, AWideHeaderGrowsTheDialogWhichNeverShrinks) {
    // Minimum width 60, centre width 20: a header wider than 20 needs 40 to spare.
    // -1 stands for the header's width + 40.
    const struct {
        int32_t width;
        std::wstring header;
        int32_t expected;
    } cases[] = {
        {100, L"ab", 100},                    // narrower than the centre width
        {100, L"abcdefghij", 100},            // about 43 wide, enough to spare
        {100, L"abcdefghijklmnopqrst", -1},   // about 83 wide, too little to spare
        {300, L"abcdefghijklmnopqrst", 300},  // wide enough already
        {30, L"ab", 60},                      // at least the minimum width
    };
    for (const auto& c : cases) {
        const Ref<KR2Dialog> dialog =
            Build<KR2Dialog>(R"(<KR2Dialog id="it" autoenlarge="false">)" + kPainter + "</KR2Dialog>");
        dialog->SetWidth(c.width);
        dialog->SetHeaderText(c.header);
        const int32_t headerWidth = ObjectCast<KR2Painter>(dialog->GetPainter())->GetHeaderLabel()->GetWidth();
        EXPECT_EQ(dialog->GetWidth(), c.expected < 0 ? headerWidth + 40 : c.expected) << c.width;
        if (c.expected < 0) {
            EXPECT_GT(headerWidth, 60);
        }
    }
}

TEST_F(GameDialogTest, AutoCentringTruncatesOnTheScreen) {
    const struct {
        int32_t width, height, x, y;
    } cases[] = {{300, 200, 250, 200}, {301, 201, 249, 199}, {800, 600, 0, 0}};
    for (const auto& c : cases) {
        UseDialogs(R"(<KR2Dialog id="C" autocenter="true" x="7" y="9" width=")" + std::to_string(c.width) +
                   R"(" height=")" + std::to_string(c.height) + R"("/>)");
        const KR2Dialog* dialog = Open("C");
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->GetX(), c.x) << c.width;
        EXPECT_EQ(dialog->GetY(), c.y) << c.height;
        GameScene()->CloseDialog(GameScene()->GetDialog("C"));
    }
}

TEST_F(GameDialogTest, FadesInWithItsSoundAndTakesInputOnlyAfterTheFade) {
    UseDialogs(R"(<KR2Dialog id="D" width="40" height="30" opensound="ON" closesound="OFF" soundsection="ui"/>)");
    KR2Dialog* dialog = Open("D");
    KR2Dialog::FadeIn(dialog, 100);
    EXPECT_EQ(Played(), std::vector<std::string>{"ON"});
    EXPECT_FALSE(dialog->IsInputEnabled());
    EXPECT_FALSE(dialog->IsActive());
    EXPECT_EQ(dialog->GetAlpha(), 0);
    EXPECT_TRUE(dialog->UsesBuffer());  // the controls fade with the picture
    Run(50);
    EXPECT_GT(dialog->GetAlpha(), 0);
    EXPECT_FALSE(dialog->IsInputEnabled());
    Run(70);
    EXPECT_EQ(dialog->GetAlpha(), 255);
    EXPECT_TRUE(dialog->IsInputEnabled());
    EXPECT_TRUE(dialog->IsActive());
    EXPECT_FALSE(dialog->UsesBuffer());
}

TEST_F(GameDialogTest, ClosingFadesOutThenLeavesTheSceneThenRunsTheAfterCloseFunction) {
    UseDialogs(R"(<KR2Dialog id="D" width="40" height="30" opensound="ON" closesound="OFF" soundsection="ui"/>)");
    KR2Dialog* dialog = Open("D");
    const Ref<KR2Dialog> keep(dialog);
    std::vector<std::string> order;
    dialog->SetAfterClose([&](KR2Dialog* closed) {
        order.push_back(GameScene()->GetDialogMap().count("D") == 0 ? "after, gone" : "after, still there");
        EXPECT_EQ(closed, dialog);
    });
    Played();
    dialog->Close();
    EXPECT_FALSE(dialog->IsInputEnabled());
    EXPECT_EQ(Played(), std::vector<std::string>{"OFF"});
    Run(90);
    EXPECT_TRUE(GameScene()->IsDialogShown("D"));
    EXPECT_TRUE(order.empty());
    Run(30);
    EXPECT_EQ(GameScene()->GetDialogMap().count("D"), 0u);
    EXPECT_EQ(order, std::vector<std::string>{"after, gone"});
    EXPECT_EQ(hooks_.log, (std::vector<std::string>{"opened D", "closed D"}));

    // The next opening is a fresh instance.
    KR2Dialog* again = Open("D");
    EXPECT_NE(again, dialog);
    EXPECT_TRUE(again->IsInputEnabled());
}

TEST_F(GameDialogTest, ClosingTwiceOrDuringTheFadeInClosesOnce) {
    UseDialogs(R"(<KR2Dialog id="D" width="40" height="30" opensound="ON" closesound="OFF" soundsection="ui"/>)");
    KR2Dialog* dialog = Open("D");
    const Ref<KR2Dialog> keep(dialog);
    int afterCloseRuns = 0;
    dialog->SetAfterClose([&](KR2Dialog*) { ++afterCloseRuns; });
    KR2Dialog::FadeIn(dialog, 100);
    Run(50);
    Played();
    dialog->Close();
    dialog->Close();
    Run(60);  // the fade-in ends: input stays off
    EXPECT_FALSE(dialog->IsInputEnabled());
    Run(300);
    EXPECT_EQ(Played(), std::vector<std::string>{"OFF"});
    EXPECT_EQ(afterCloseRuns, 1);
    EXPECT_EQ(GameScene()->GetDialogMap().count("D"), 0u);
}

TEST_F(GameDialogTest, SoundsAreSkippedWhenSwitchedOffOrMissing) {
    UseDialogs(R"(<KR2Dialog id="QUIET" width="40" height="30" opensound="ON" closesound="OFF" soundsection="ui"/>)"
               R"(<KR2Dialog id="MISSING" width="40" height="30" opensound="NOPE" soundsection="nowhere"/>)");
    KR2Dialog* quiet = Open("QUIET");
    quiet->SetPlaySounds(false);
    KR2Dialog::FadeIn(quiet, 10);
    quiet->Close();
    KR2Dialog* missing = Open("MISSING");
    KR2Dialog::FadeIn(missing, 10);
    missing->Close();
    Run(200);
    EXPECT_TRUE(Played().empty());
    EXPECT_TRUE(GameScene()->GetDialogMap().empty());
}

TEST_F(GameDialogTest, OnlyTheGameSceneHearsOfOpeningButEveryCloseIsReported) {
    UseDialogs(R"(<KR2Dialog id="D" width="40" height="30"/>)");
    Open("D")->Close();
    Run(150);
    KR2Dialog* silent = ObjectCast<KR2Dialog>(GameScene()->GetDialog("D", true, "SILENT"));
    silent->SetNotifyGameScene(false);
    GameScene()->ShowDialog(silent);
    GameScene()->CloseDialog(silent);
    hooks_.gameScene = nullptr;  // another scene is current now
    GameScene()->CloseDialog(Open("D"));
    EXPECT_EQ(hooks_.log, (std::vector<std::string>{"opened D", "closed D", "closed SILENT", "closed D"}));
}

TEST_F(GameDialogTest, ADarkenedDialogIsAFullScreenBackdropWithItsFrameInPlace) {
    UseDialogs(R"(<KR2Dialog id="DARK" x="100" y="50" minwidth="200" minheight="100" movable="true")"
               R"( dodarkenbackground="true">)" +
               kPainter + R"(<Vector id="components"><Sprite name="inside" x="5" y="6"/></Vector></KR2Dialog>)");
    KR2Dialog* dialog = Open("DARK");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->GetPainter(), nullptr);
    EXPECT_FALSE(dialog->IsMovable());
    EXPECT_EQ(dialog->GetX(), 0);
    EXPECT_EQ(dialog->GetY(), 0);
    EXPECT_EQ(dialog->GetComponentNode()->GetX(), 100);
    EXPECT_EQ(dialog->GetComponentNode()->GetY(), 50);
    ASSERT_TRUE(dialog->GetImage());
    EXPECT_EQ(dialog->GetWidth(), 800);
    EXPECT_EQ(dialog->GetHeight(), 600);
    const Surface& picture = *dialog->GetImage();
    EXPECT_EQ(PixelAt(picture, 10, 10), 0x80000000u);
    EXPECT_EQ(PixelAt(picture, 99, 149), 0x80000000u);
    EXPECT_EQ(PixelAt(picture, 100, 50), 0xFF102030u);
    EXPECT_EQ(PixelAt(picture, 299, 149), 0xFF102030u);
    EXPECT_EQ(PixelAt(picture, 300, 149), 0x80000000u);
    ASSERT_TRUE(dialog->GetFrameImage());
    EXPECT_EQ(dialog->GetFrameImage()->GetWidth(), 200);
}

TEST_F(GameDialogTest, TheCreditsDialogIsAGameDialogOfItsOwnType) {
    UseDialogs(R"(<CreditsDialog id="CREDITS" width="40" height="30" autocenter="true"/>)"
               R"(<KR2Dialog id="PLAIN" width="40" height="30" autocenter="true"/>)");
    const KR2Dialog* credits = Open("CREDITS");
    const KR2Dialog* plain = Open("PLAIN");
    ASSERT_TRUE(credits && plain);
    EXPECT_TRUE(credits->IsKindOf(&CreditsDialog::classInfo));
    EXPECT_FALSE(plain->IsKindOf(&CreditsDialog::classInfo));
    EXPECT_EQ(credits->GetX(), plain->GetX());
    EXPECT_EQ(credits->GetY(), plain->GetY());
}

// A dialog that nobody binds a way out of would trap the player: its OK
// button closes it.
TEST_F(GameDialogTest, TheCreditsDialogClosesWithItsOkButton) {
    UseDialogs(R"(<CreditsDialog id="CREDITS" width="40" height="30"><Vector id="components">)"
               R"(<Button name="BUTTON_OK" image="BUTTON_OK" section="dialogs"/></Vector></CreditsDialog>)");
    KR2Dialog* credits = Open("CREDITS");
    ASSERT_NE(credits, nullptr);
    auto* ok = ObjectCast<Button>(credits->FindChild("BUTTON_OK"));
    ASSERT_NE(ok, nullptr);
    ok->Invoke(ok);
    Run(200);
    EXPECT_EQ(GameScene()->GetDialogMap().count("CREDITS"), 0u);
}

}  // namespace
