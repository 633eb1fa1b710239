#include <gtest/gtest.h>

#include "GameDialogFixture.h"
#include "engine/foundation/Players.h"
#include "engine/media/InputDispatcher.h"
#include "engine/scene/AdditiveSprite.h"
#include "engine/ui/Button.h"
#include "engine/ui/Label.h"
#include "engine/ui/Painter.h"
#include "game/dialogs/HintDialog.h"
#include "game/progress/KR2Player.h"

namespace {

// Hint 0 has a short and a four-line page, hint 1 one page with an extra
// picture, hint 2 none at all. The text area holds 10 pixels before growing.
const std::string kPainter =
    R"(<HintPainter id="PAINTER_T" section="dialogs"><Vector id="images">)"
    R"(<String value="A0"/><String value="A1"/><String value="A2"/><String value="A3"/><String value=""/>)"
    R"(<String value="A5"/><String value="A6"/><String value="A7"/><String value="A8"/><String value="M0"/>)"
    R"(<String value="M1"/><String value="M2"/><String value="M3"/><String value=""/><String value="M5"/>)"
    R"(<String value="M6"/><String value="M7"/><String value="M8"/></Vector></HintPainter>)";
const std::string kHint =
    R"(<HintDialog id="DIALOG_HINT" painterid="PAINTER_T" minwidth="200" minheight="100" TUT_MIDDLE_HEIGHT="10">)"
    R"(<Vector id="components">)"
    R"(<Label name="LABEL_TEXT" y="20" font="TINY" section="dlgfonts"/>)"
    R"(<Button name="BUTTON_OK" x="100" y="70" image="KNOB" section="ui" firekeycode="#0D"/>)"
    R"(</Vector><Vector id="descs">)"
    R"(<Vector><Node textid="P1"/><Node textid="P2"/></Vector>)"
    R"(<Vector><Node textid="P1"><Vector id="extra"><Sprite x="3" y="4"/></Vector></Node></Vector>)"
    R"(</Vector></HintDialog>)";

class HintDialogTest : public GameDialogTest {
protected:
    HintDialogTest() {
        // The painter lives at the top level, beside the dialogs.
        const std::string text = "<root>" + kPainter + "<Node id=\"dialogs\">" + kHint + "</Node></root>";
        const std::string path = folder_.Path() + "/dialogs.xml";
        WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
        DialogTable::Create(path);
        for (const auto& [id, text] :
             std::vector<std::pair<std::string, std::wstring>>{{"P1", L"one"}, {"P2", L"a\\nb\\nc\\nd"}}) {
            Defines::Instance()->StoreText(Ref<PropertyValue>(PropertyValue::FromText(id, text, false)).Get());
        }
        HINT_ENTER_FROM_OPEN = 300;
        HINT_AUTO_CLOSE_TIME = 2;
        Players::Create("1", false);
        player_ = new KR2Player("Ann");
        player_->showhints = true;
        player_->hints.fill(true);
        Players::Instance()->SetCurrent(player_.Get());
        GameScene();
    }

    ~HintDialogTest() override {
        HintDialog::ReleaseOpen();
        Players::Free();
        HINT_ENTER_FROM_OPEN = savedEnter_;
        HINT_AUTO_CLOSE_TIME = savedAutoClose_;
    }

    HintDialog* ShowCentred(int32_t hintId) {
        HintDialog* dialog = OpenHint(hintId, nullptr, nullptr);
        Run(150);
        return dialog;
    }

    void PressOk(HintDialog* dialog) { dialog->GetOkButton()->Invoke(dialog->GetOkButton()); }

    Ref<KR2Player> player_;

private:
    int32_t savedEnter_ = HINT_ENTER_FROM_OPEN;
    int32_t savedAutoClose_ = HINT_AUTO_CLOSE_TIME;
};

TEST(HintPlacement, BubbleGoesWhereThereIsRoomAndStaysOnScreen) {
    struct Case {
        HintRect target;
        int32_t width;
        int32_t height;
        int32_t x;
        int32_t y;
        const char* corner;
    };
    const Case cases[] = {
        {{100, 100, 40, 20}, 200, 100, 125, 120, "TOP_LEFT"},      // room below and right
        {{600, 100, 40, 20}, 200, 100, 406, 120, "TOP_RIGHT"},     // 2x + w > 830
        {{100, 450, 40, 20}, 200, 100, 125, 360, "BOTTOM_LEFT"},   // 2y + h + 25 > 600
        {{600, 450, 40, 20}, 200, 100, 406, 360, "BOTTOM_RIGHT"},  // both
        {{410, 285, 10, 5}, 200, 100, 405, 290, "TOP_LEFT"},       // 2y + h + 25 = 600, 2x + w = 830
        {{-50, -30, 10, 10}, 200, 100, 0, 0, "TOP_LEFT"},          // past the left and top edges
        {{0, 560, 10, 40}, 200, 100, 0, 470, "BOTTOM_LEFT"},       // past the left edge
        {{780, 590, 10, 10}, 200, 100, 586, 500, "BOTTOM_RIGHT"},  // right, bottom
        {{10, 10, 10, 10}, 900, 50, -100, 20, "TOP_LEFT"},         // wider than the screen: x = 800 - W
        {{10, 590, 10, 10}, 50, 700, 5, -100, "BOTTOM_LEFT"},      // taller than the screen: y = 600 - H
    };
    for (const Case& c : cases) {
        const HintPlacement placed = PlaceBesideTarget(c.target, c.width, c.height);
        const std::string where = std::to_string(c.target.x) + "," + std::to_string(c.target.y);
        EXPECT_EQ(placed.corner, c.corner) << where;
        EXPECT_EQ(placed.x, c.x) << where;
        EXPECT_EQ(placed.y, c.y) << where;
    }
}

TEST_F(HintDialogTest, ShowHintFollowsTheSwitchButOpenHintDoesNot) {
    player_->showhints = false;
    EXPECT_EQ(ShowHint(0, nullptr, nullptr), nullptr);
    EXPECT_EQ(HintDialog::Open(), nullptr);
    EXPECT_TRUE(player_->hints[0]);

    // The locked-classic and too-few-coins hints ignore the switch; showing clears the flag.
    HintDialog* dialog = ShowCentred(1);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(HintDialog::Open(), dialog);
    EXPECT_FALSE(player_->hints[1]);
    EXPECT_EQ(dialog->GetX(), 400 - dialog->GetWidth() / 2);
    EXPECT_EQ(dialog->GetY(), 300 - dialog->GetHeight() / 2);

    player_->showhints = true;
    HintDialog* again = ShowHint(0, nullptr, nullptr);
    EXPECT_EQ(again, dialog);  // the shown bubble is reused
    EXPECT_FALSE(player_->hints[0]);
}

TEST_F(HintDialogTest, PagesAdvanceOnOkOnlyAfterTheEnterDelayThenTheBubbleCloses) {
    HintDialog* dialog = ShowCentred(0);
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->GetPageCount(), 2);
    // The four-line page (4 x 6 pixels) grows the bubble by 14; the label
    // drops by half the grown text area.
    EXPECT_EQ(dialog->GetHeight(), 114);
    EXPECT_EQ(dialog->GetTextLabel()->GetY(), 20 + (10 + 14) / 2);
    EXPECT_EQ(dialog->GetOkButton()->GetY(), dialog->GetHeight() - 80);
    EXPECT_EQ(dialog->GetTextLabel()->GetText(), L"one");

    PressOk(dialog);  // 150 ms up: too early
    EXPECT_EQ(dialog->GetPageIndex(), 0);
    Run(200);
    PressOk(dialog);
    EXPECT_EQ(dialog->GetPageIndex(), 1);
    EXPECT_EQ(dialog->GetOpenTime(), 0);
    EXPECT_EQ(dialog->GetTextLabel()->GetText(), L"a\nb\nc\nd");
    PressOk(dialog);  // the new page has its own delay
    EXPECT_EQ(dialog->GetPageIndex(), 1);
    Run(300);
    PressOk(dialog);
    Run(150);
    EXPECT_EQ(HintDialog::Open(), nullptr);
    EXPECT_EQ(GameScene()->GetDialogMap().count("DIALOG_HINT"), 0u);
}

TEST_F(HintDialogTest, HintWithoutPagesClosesOnTheFirstOk) {
    HintDialog* dialog = ShowCentred(2);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetPageCount(), 0);
    EXPECT_EQ(dialog->GetTextLabel()->GetText(), L"");
    Run(300);
    PressOk(dialog);
    Run(150);
    EXPECT_EQ(HintDialog::Open(), nullptr);
}

TEST_F(HintDialogTest, ExtraNodesLiveOnlyWhileTheirPageIsUp) {
    HintDialog* dialog = ShowCentred(1);
    ASSERT_NE(dialog->GetExtraNode()->GetFirstChild(), nullptr);
    EXPECT_EQ(dialog->GetExtraNode()->GetFirstChild()->GetX(), 3);
    // Reused for a hint without extras: the old ones go, and so do old targets.
    Ref<GameNode> target(new Sprite(10, 10, 20, 20));
    dialog->AddTarget(target.Get());
    HintDialog* again = ShowCentred(0);
    ASSERT_EQ(again, dialog);
    EXPECT_EQ(dialog->GetExtraNode()->GetFirstChild(), nullptr);
    ASSERT_EQ(dialog->GetTargets().size(), 1u);
    EXPECT_EQ(dialog->GetTargets()[0], nullptr);
    EXPECT_EQ(dialog->GetPageIndex(), 0);
}

TEST_F(HintDialogTest, ArrowCornerReplacesThePaintersCornerAndMask) {
    Ref<Sprite> target(new Sprite(600, 450, 40, 20));
    HintDialog* dialog = OpenHint(0, target.Get(), nullptr);
    ASSERT_NE(dialog, nullptr);
    const std::vector<std::string>& names = dialog->GetPainter()->GetImageNames();
    EXPECT_EQ(names[8], "HINT_ARROW_BOTTOM_RIGHT");
    EXPECT_EQ(names[17], "HINT_ARROW_BOTTOM_RIGHT_MASK");
    EXPECT_EQ(names[0], "A0");
    EXPECT_EQ(dialog->GetX(), 606 - dialog->GetWidth());
    EXPECT_EQ(dialog->GetY(), 460 - dialog->GetHeight());
    Run(150);
    EXPECT_EQ(dialog->GetX(), 606 - dialog->GetWidth());  // showing does not centre it again

    // The next hint starts from the painter's own corners.
    OpenHint(0, nullptr, nullptr);
    EXPECT_EQ(dialog->GetPainter()->GetImageNames()[8], "A8");
    EXPECT_EQ(dialog->GetPainter()->GetImageNames()[17], "M8");
}

// A scene that is left takes its open bubble along, modal or not, and only
// its own: a bubble in another scene stays the open hint.
TEST_F(HintDialogTest, ALeftSceneClosesOnlyItsOwnOpenBubble) {
    HintDialog* bubble = ShowCentred(8);
    ASSERT_NE(bubble, nullptr);
    EXPECT_FALSE(bubble->IsModal());
    const Ref<LoggingScene> elsewhere = MakeScene("MAP");
    HintDialog::CloseOpenIn(*elsewhere);
    EXPECT_EQ(HintDialog::Open(), bubble);

    HintDialog::CloseOpenIn(*GameScene());
    EXPECT_EQ(HintDialog::Open(), nullptr);
    EXPECT_FALSE(GameScene()->IsDialogShown("DIALOG_HINT"));
    EXPECT_EQ(GameScene()->GetDialogMap().count("DIALOG_HINT"), 0u);
    HintDialog::CloseOpenIn(*GameScene());  // nothing open: nothing to do
    EXPECT_EQ(HintDialog::Open(), nullptr);
}

TEST_F(HintDialogTest, GameInputGatingForTheWordBarHintAndAutoClose) {
    struct Case {
        int32_t moveState;
        bool allowed;
    };
    for (const Case c : {Case{0, true}, Case{4, true}, Case{1, false}}) {
        HintDialog* dialog = ShowCentred(7);
        EXPECT_EQ(HintDialog::OnGameInput(7, c.moveState), c.allowed) << c.moveState;
        Run(150);
        EXPECT_EQ(HintDialog::Open() != nullptr, !c.allowed) << c.moveState;
        if (HintDialog::Open() != nullptr) {
            dialog->Advance();
            Run(150);
        }
    }

    // Another input passes, and closes the bubble only once it has been up long enough.
    ShowCentred(7);
    EXPECT_TRUE(HintDialog::OnGameInput(8, 1));
    Run(150);
    EXPECT_NE(HintDialog::Open(), nullptr);
    Run(2000);
    EXPECT_TRUE(HintDialog::OnGameInput(8, 1));
    Run(150);
    EXPECT_EQ(HintDialog::Open(), nullptr);
    EXPECT_TRUE(HintDialog::OnGameInput(8, 1));  // nothing open: nothing held
}

TEST_F(HintDialogTest, ModalHintsPauseTheGameAndGlowOnStrayInput) {
    HintDialog* modal = ShowCentred(0);
    EXPECT_EQ(hooks_.log, std::vector<std::string>{"opened DIALOG_HINT"});
    EXPECT_FALSE(modal->OnChar('a'));  // the letter still reaches the game
    ASSERT_NE(modal->GetGlow(), nullptr);
    EXPECT_EQ(modal->GetGlow()->GetNextSibling(), modal->GetOkButton());
    Run(100);
    EXPECT_GT(modal->GetGlow()->GetAlpha(), 0);
    modal->OnLButtonUp(5, 5, 0);  // a click outside the bubble glows again
    EXPECT_TRUE(modal->GetGlow()->HasModifiers());

    for (int32_t hint = 7; hint <= 10; ++hint) {
        hooks_.log.clear();
        HintDialog* dialog = ShowCentred(hint);
        EXPECT_FALSE(dialog->IsModal()) << hint;
        EXPECT_TRUE(hooks_.log.empty() || hooks_.log == std::vector<std::string>{"closed DIALOG_HINT"}) << hint;
        dialog->GetGlow()->ClearModifiers();
        dialog->OnChar('a');
        EXPECT_FALSE(dialog->GetGlow()->HasModifiers()) << hint;
    }
}

TEST_F(HintDialogTest, EnterPressesOkOfAModalBubbleOnlyAndReachesTheGameUnderTheOthers) {
    constexpr int32_t kEnter = 0x0D;
    InputDispatcher* input = GameScene()->GetInputDispatcher();
    HintDialog* modal = ShowCentred(0);
    Run(500);  // past the half second in which a new bubble takes no key
    EXPECT_TRUE(input->OnKeyDown(kEnter));
    EXPECT_TRUE(input->OnKeyUp(kEnter));
    EXPECT_EQ(modal->GetPageIndex(), 1);
    HintDialog::ReleaseOpen();

    // Hint 8 teaches firing with Enter: the bubble must let the key pass,
    // also when its instance was a modal bubble before.
    for (const int32_t hint : {8, 0}) {
        HintDialog* dialog = ShowCentred(hint);
        Run(500);
        const bool takesEnter = hint == 0;
        EXPECT_EQ(input->OnKeyDown(kEnter), takesEnter) << hint;
        EXPECT_EQ(input->OnKeyUp(kEnter), takesEnter) << hint;
        EXPECT_EQ(dialog->GetPageIndex(), takesEnter ? 1 : 0) << hint;
    }
}

TEST_F(HintDialogTest, HitTestTakesOnlyOpaquePixelsInsideThePicture) {
    HintDialog* dialog = ShowCentred(2);
    dialog->SetPosition(0, 0);
    Ref<MemorySurface> picture = FilledSurface(10, 10, 0xFF112233);
    picture->Lock();
    picture->Pixels32()[picture->PixelIndex(1, 1)] = 0xAA000000U;
    picture->Pixels32()[picture->PixelIndex(2, 1)] = 0xAA000001U;
    picture->Unlock();
    dialog->SetImage(picture.Get());
    // The sprite's bounds outgrow its picture, as after a layout before a repaint.
    dialog->SetWidth(300);
    dialog->SetHeight(300);
    ASSERT_GE(dialog->GetWidth(), 200);
    EXPECT_TRUE(dialog->HitTest(5, 5));
    EXPECT_FALSE(dialog->HitTest(1, 1));
    EXPECT_TRUE(dialog->HitTest(2, 1));
    EXPECT_FALSE(dialog->HitTest(150, 150));  // inside the bounds, past the picture
    EXPECT_FALSE(dialog->OnLButtonDown(150, 150, 0, false));
    // Until its OK could be pressed the new bubble lets clicks pass to what lies under it.
    EXPECT_FALSE(dialog->OnLButtonDown(5, 5, 0, false));
    EXPECT_FALSE(dialog->OnLButtonUp(5, 5, 0));
    Run(HINT_ENTER_FROM_OPEN);
    EXPECT_TRUE(dialog->OnLButtonDown(5, 5, 0, false));
    EXPECT_TRUE(dialog->OnLButtonUp(5, 5, 0));
}

TEST_F(HintDialogTest, TheLastPageRunsTheHeldBackChangeOnce) {
    HintDialog* dialog = ShowCentred(1);
    int runs = 0;
    dialog->SetOnFinished([&runs] { ++runs; });
    dialog->Advance();
    dialog->Advance();
    Run(150);
    EXPECT_EQ(runs, 1);
}

}  // namespace
