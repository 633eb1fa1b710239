#include <gtest/gtest.h>

#include "GameDialogFixture.h"
#include "engine/ui/Button.h"
#include "engine/ui/Label.h"
#include "game/dialogs/YesNoDialog.h"

namespace {

// 100 x 50, minimum height 40; the buttons stand 10 above the bottom and
// meet the centre (100 / 2 + offset 2 = 52) with their inner edges.
const std::string kYesNo =
    R"(<YesNoDialog id="DIALOG_YESNO" width="100" height="50" minheight="40"><Vector id="components">)"
    R"(<Label name="MESSAGE" font="TINY" section="dlgfonts" anchorpoint="center"/>)"
    R"(<Button name="BUTTON_YES" y="30" image="KNOB" section="ui" anchorpoint="topright"/>)"
    R"(<Button name="BUTTON_NO" y="30" image="KNOB" section="ui" anchorpoint="topleft"/>)"
    R"(</Vector></YesNoDialog>)";

class YesNoDialogTest : public GameDialogTest {
protected:
    YesNoDialogTest() {
        UseDialogs(kYesNo);
        Defines::Instance()->StoreText(
            Ref<PropertyValue>(PropertyValue::FromText("LONG", L"a\\nb\\nc\\nd\\ne\\nf\\ng\\nh", false)).Get());
    }

    YesNoDialog* AskAndShow(const std::string& question, ControlCallback::Function yes = nullptr,
                            void* yesContext = nullptr, ControlCallback::Function no = nullptr,
                            void* noContext = nullptr) {
        YesNoDialog* dialog = YesNoDialog::Ask(question, "H", yesContext, yes, noContext, no, GameScene());
        GameScene()->ShowDialog(dialog);
        Run(150);
        return dialog;
    }
};

TEST_F(YesNoDialogTest, WithoutFunctionsBothButtonsClose) {
    for (const char* pressed : {"BUTTON_YES", "BUTTON_NO"}) {
        YesNoDialog* dialog = AskAndShow("Q");
        ASSERT_TRUE(dialog && dialog->GetMessageLabel() && dialog->GetYesButton() && dialog->GetNoButton());
        EXPECT_EQ(dialog->GetName(), "Q");
        EXPECT_EQ(dialog->GetMessageLabel()->GetText(), L"question");
        EXPECT_TRUE(dialog->IsInputEnabled());
        ObjectCast<Button>(dialog->FindChild(pressed))->Invoke(nullptr);
        EXPECT_FALSE(dialog->IsInputEnabled()) << pressed;
        Run(150);
        EXPECT_EQ(GameScene()->GetDialogMap().count("Q"), 0u) << pressed;
    }
}

TEST_F(YesNoDialogTest, ButtonsRunTheCallersFunctionsWithTheirContexts) {
    HandlerLog yes;
    HandlerLog no;
    YesNoDialog* dialog = AskAndShow("Q", HandlerLog::Record, &yes, HandlerLog::Record, &no);
    dialog->GetNoButton()->Invoke(dialog->GetNoButton());
    EXPECT_EQ(no.calls, 1);
    EXPECT_EQ(yes.calls, 0);
    EXPECT_TRUE(dialog->IsInputEnabled());  // closing is the caller's business now

    // Only a yes function: no closes.
    YesNoDialog* second = AskAndShow("OTHER", HandlerLog::Record, &yes);
    second->GetNoButton()->Invoke(second->GetNoButton());
    EXPECT_FALSE(second->IsInputEnabled());
}

TEST_F(YesNoDialogTest, AskingAgainReplacesTheOpenBox) {
    YesNoDialog* first = AskAndShow("Q");
    const Ref<YesNoDialog> keep(first);
    YesNoDialog* second = AskAndShow("Q");
    EXPECT_NE(first, second);
    ASSERT_EQ(GameScene()->GetShownDialogs().size(), 1u);
    EXPECT_EQ(GameScene()->GetShownDialogs().front().Get(), second);
    EXPECT_EQ(first->GetParent(), nullptr);  // left the scene's tree
}

TEST_F(YesNoDialogTest, ALongMessageGrowsTheBoxAndTheButtonsKeepTheirBottomGap) {
    const struct {
        const char* question;
        int32_t height;
    } cases[] = {{"Q", 50}, {"LONG", 8 * 6 + 40}};
    for (const auto& c : cases) {
        const YesNoDialog* dialog = AskAndShow(c.question);
        EXPECT_EQ(dialog->GetHeight(), c.height) << c.question;
        EXPECT_EQ(dialog->GetMessageLabel()->GetX(), 52);
        EXPECT_EQ(dialog->GetMessageLabel()->GetY(), c.height / 2);
        EXPECT_EQ(dialog->GetYesButton()->GetX(), 32);
        EXPECT_EQ(dialog->GetNoButton()->GetX(), 72);
        EXPECT_EQ(dialog->GetYesButton()->GetY(), c.height - 10) << c.question;
        EXPECT_EQ(dialog->GetNoButton()->GetY(), c.height - 10) << c.question;
    }
}

TEST_F(YesNoDialogTest, OkOnlyShowsOneCentredOkButtonThatRunsTheYesFunction) {
    HandlerLog yes;
    YesNoDialog* dialog = AskAndShow("Q", HandlerLog::Record, &yes);
    YesNoDialog::MakeOkOnly(dialog);
    EXPECT_FALSE(dialog->GetNoButton()->IsVisible());
    EXPECT_FALSE(dialog->GetNoButton()->IsEnabled());
    Button* ok = dialog->GetYesButton();
    EXPECT_EQ(ok->GetX(), 52);
    EXPECT_EQ(ok->GetAnchorKind(), Sprite::kTop);
    EXPECT_EQ(ok->GetImage(), okImage_.Get());
    ok->Invoke(ok);
    EXPECT_EQ(yes.calls, 1);
}

TEST_F(YesNoDialogTest, ADefinitionWithoutItsControlsStillAsks) {
    UseDialogs(R"(<YesNoDialog id="DIALOG_YESNO" width="100" height="50" minheight="40"/>)");
    YesNoDialog* dialog = AskAndShow("Q");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->GetYesButton(), nullptr);
    YesNoDialog::MakeOkOnly(dialog);
    EXPECT_EQ(YesNoDialog::Ask("Q", "H", nullptr, nullptr, nullptr, nullptr, nullptr), nullptr);
}

}  // namespace
