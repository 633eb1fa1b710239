#include <gtest/gtest.h>

#include "GameDialogFixture.h"
#include "engine/ui/Button.h"
#include "engine/ui/Label.h"
#include "game/dialogs/HelpDialog.h"
#include "game/dialogs/NumberFields.h"

namespace {

std::string HelpXml(const char* id, int32_t panels) {
    std::string xml = std::string(R"(<HelpDialog id=")") + id +
                      R"(" width="200" height="200" opensound="ON" soundsection="ui"><Vector id="components">)"
                      R"(<Label name="LABEL_PANELHEADER" font="TINY" section="dlgfonts"/>)"
                      R"(<Label name="LABEL_PANELSUB" font="TINY" section="dlgfonts"/>)"
                      R"(<Label name="LABEL_INDEX" font="TINY" section="dlgfonts"/>)"
                      R"(<Button name="BUTTON_PREV" image="KNOB" section="ui"/>)"
                      R"(<Button name="BUTTON_NEXT" image="KNOB" section="ui"/>)"
                      R"(<Button name="BUTTON_OK" image="KNOB" section="ui"/>)";
    for (int32_t i = 0; i < panels; ++i) {
        xml += R"(<Panel name="panel)" + std::to_string(i) + R"("/>)";
    }
    return xml + "</Vector></HelpDialog>";
}

// Three pages by default ("HELP_HEADERS" a, b, c), but only two sub-headers.
class HelpDialogTest : public GameDialogTest {
protected:
    HelpDialogTest() {
        UseDialogs(HelpXml("DIALOG_HELP", 3) + HelpXml("NO_PANELS", 0));
        Defines::Instance()->StoreText(
            Ref<PropertyValue>(PropertyValue::FromText("TEXT_PAGE_FORMAT", L"%i/%i %s%%", false)).Get());
        UseHeaders({"a", "b", "c"}, {"x", "y"});
    }

    void UseHeaders(const std::vector<std::string>& headers, const std::vector<std::string>& subHeaders) {
        auto list = [](const char* id, const std::vector<std::string>& entries) {
            std::string xml = std::string(R"(<Vector id=")") + id + R"(">)";
            for (const std::string& entry : entries) {
                xml += R"(<String value=")" + entry + R"("/>)";
            }
            return xml + "</Vector>";
        };
        lists_ = ParseDefinitions("<root>" + list("HELP_HEADERS", headers) + list("HELP_SUBHEADERS", subHeaders) +
                                  "</root>");
        Defines::Instance()->StoreVector(Property::Child(lists_.Get(), "HELP_HEADERS"));
        Defines::Instance()->StoreVector(Property::Child(lists_.Get(), "HELP_SUBHEADERS"));
    }

    static std::wstring TextOf(Dialog* dialog, const char* name) {
        return ObjectCast<Label>(dialog->FindChild(name))->GetText();
    }
    static bool Enabled(Dialog* dialog, const char* name) {
        return ObjectCast<Button>(dialog->FindChild(name))->IsEnabled();
    }
    static void Press(Dialog* dialog, const char* name) {
        auto* button = ObjectCast<Button>(dialog->FindChild(name));
        button->Invoke(button);
    }

    Ref<PropertyFile> lists_;
};

TEST_F(HelpDialogTest, PagesTurnWithTheirHeadersPanelsAndButtons) {
    HelpDialog* help = Open<HelpDialog>("DIALOG_HELP");
    ASSERT_NE(help, nullptr);
    const struct {
        int32_t page;
        bool previous, next;
        std::wstring index, header, subHeader;
    } pages[] = {{0, false, true, L"1/3 %s%", L"a", L"x"},
                 {1, true, true, L"2/3 %s%", L"b", L"y"},
                 {2, true, false, L"3/3 %s%", L"c", L""}};  // beyond the sub-headers: empty
    for (const auto& p : pages) {
        EXPECT_EQ(help->GetCurrentPage(), p.page);
        EXPECT_EQ(Enabled(help, "BUTTON_PREV"), p.previous) << p.page;
        EXPECT_EQ(Enabled(help, "BUTTON_NEXT"), p.next) << p.page;
        EXPECT_EQ(TextOf(help, "LABEL_INDEX"), p.index);
        EXPECT_EQ(TextOf(help, "LABEL_PANELHEADER"), p.header);
        EXPECT_EQ(TextOf(help, "LABEL_PANELSUB"), p.subHeader);
        EXPECT_EQ(ObjectCast<Label>(help->FindChild("LABEL_PANELSUB"))->GetLineHeight(), 35);
        for (int32_t panel = 0; panel < 3; ++panel) {
            EXPECT_EQ(help->FindChild("panel" + std::to_string(panel))->IsVisible(), panel == p.page);
        }
        Press(help, "BUTTON_NEXT");
    }
    EXPECT_EQ(help->GetCurrentPage(), 2);  // no page past the last
    Press(help, "BUTTON_PREV");
    EXPECT_EQ(help->GetCurrentPage(), 1);
    Press(help, "BUTTON_OK");
    EXPECT_FALSE(help->IsInputEnabled());
}

TEST_F(HelpDialogTest, OnePageDisablesBothPagingButtonsAndMissingPanelsAreSkipped) {
    UseHeaders({"only"}, {});
    HelpDialog* help = Open<HelpDialog>("NO_PANELS");
    EXPECT_EQ(help->GetPageCount(), 1);
    EXPECT_FALSE(Enabled(help, "BUTTON_PREV"));
    EXPECT_FALSE(Enabled(help, "BUTTON_NEXT"));
    EXPECT_EQ(TextOf(help, "LABEL_INDEX"), L"1/1 %s%");
    Press(help, "BUTTON_NEXT");
    Press(help, "BUTTON_PREV");
    EXPECT_EQ(help->GetCurrentPage(), 0);
}

TEST_F(HelpDialogTest, ShowsAfterAPauseAndAFadeOrAtOnceWithoutTheOpenSound) {
    HelpDialog* help = ObjectCast<HelpDialog>(GameScene()->GetDialog("DIALOG_HELP"));
    GameScene()->ShowDialog(help);
    EXPECT_EQ(Played(), std::vector<std::string>{"ON"});
    Run(190);
    EXPECT_EQ(help->GetAlpha(), 0);
    Run(130);
    EXPECT_EQ(help->GetAlpha(), 255);
    GameScene()->CloseDialog(help);

    HelpDialog* atOnce = ObjectCast<HelpDialog>(GameScene()->GetDialog("DIALOG_HELP"));
    atOnce->SetShowAtOnce(true);
    GameScene()->ShowDialog(atOnce);
    EXPECT_EQ(atOnce->GetAlpha(), 255);
    EXPECT_TRUE(atOnce->IsInputEnabled());
    EXPECT_TRUE(Played().empty());
}

TEST(NumberFieldsTest, FillsOnlyNumberFieldsInOrder) {
    const struct {
        std::wstring text;
        std::vector<int32_t> numbers;
        std::wstring filled;
    } cases[] = {
        {L"Page %i of %i", {2, 5}, L"Page 2 of 5"},
        {L"%d coins", {-40}, L"-40 coins"},
        {L"%s %n %x 100%% %", {1}, L"%s %n %x 100% %"},  // nothing but number fields is read
        {L"%i and %i", {7}, L"7 and %i"},                 // more fields than numbers
        {L"no fields", {1, 2}, L"no fields"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FillNumberFields(c.text, c.numbers), c.filled) << c.filled.size();
    }
}

}  // namespace
