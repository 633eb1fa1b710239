#include "ControlTestSupport.h"
#include "engine/ui/Panel.h"
#include "engine/ui/ScrollPanel.h"
#include "engine/ui/Slider.h"

namespace {

class PanelTest : public UiTest {};

Ref<Sprite> Named(const std::string& name, int32_t x = 0, int32_t y = 0, int32_t w = 10, int32_t h = 10) {
    Ref<Sprite> sprite(new Sprite(x, y, w, h));
    sprite->SetName(name);
    return sprite;
}

TEST_F(PanelTest, FindChildSearchesNestedPanelsDepthFirst) {
    const Ref<Panel> panel = Build<Panel>(
        R"(<Panel id="it"><Vector id="components">)"
        R"(<Panel name="inner"><Vector id="components"><Sprite name="ok"/><Sprite name="deep"/></Vector></Panel>)"
        R"(<NoSuchClass name="skipped"/>)"
        R"(<Sprite name="ok" x="7"><Vector id="children"><Sprite name="hidden"/></Vector></Sprite>)"
        R"(<Panel name="gone"><Vector id="components"><Sprite name="lost"/></Vector></Panel>)"
        R"(</Vector></Panel>)");
    ASSERT_TRUE(panel);
    const GameNode* inner = panel->FindChild("inner");
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(panel->FindChild("ok")->GetParent()->GetParent(), inner);  // the nested one comes first
    EXPECT_NE(panel->FindChild("deep"), nullptr);
    EXPECT_EQ(panel->FindChild("hidden"), nullptr);  // children of a plain sprite are not components
    EXPECT_EQ(panel->FindChild("skipped"), nullptr);
    EXPECT_EQ(panel->FindChild("OK"), nullptr);

    GameNode* gone = panel->FindChild("gone");
    ASSERT_NE(gone, nullptr);
    EXPECT_NE(panel->FindChild("lost"), nullptr);
    panel->RemoveChild(gone);
    EXPECT_TRUE(gone->IsRemoved());
    EXPECT_EQ(panel->FindChild("gone"), gone);  // still found by its own name
    EXPECT_EQ(panel->FindChild("lost"), nullptr);

    // Adding moves a node under the components and clears its removal.
    const Ref<Sprite> extra = Named("extra");
    extra->SetRemoved(true);
    panel->AddChild(extra.Get());
    EXPECT_EQ(extra->GetParent(), panel->GetComponentNode());
    EXPECT_FALSE(extra->IsRemoved());
    EXPECT_EQ(panel->FindChild("extra"), extra.Get());
}

TEST_F(PanelTest, UpdateClippingHandsTheClipRectangleToEverySpriteBelow) {
    const Ref<Panel> panel(new Panel);
    const Ref<Sprite> child = Named("child");
    const Ref<Sprite> grandchild = Named("grandchild");
    child->GameNode::AddChild(grandchild.Get());
    panel->AddChild(child.Get());
    panel->AddChild(Named("sibling").Get());

    panel->UpdateClipping();
    EXPECT_FALSE(child->GetClipRect());

    panel->SetClipRect(1, 2, 30, 40);
    panel->SetDirty(false);
    panel->UpdateClipping();
    EXPECT_TRUE(panel->IsDirty());
    for (const GameNode* node : {static_cast<const GameNode*>(child.Get()),
                                 static_cast<const GameNode*>(grandchild.Get()),
                                 static_cast<const GameNode*>(panel->FindChild("sibling"))}) {
        const Sprite* sprite = ObjectCast<Sprite>(node);
        ASSERT_TRUE(sprite->GetClipRect());
        EXPECT_EQ(*sprite->GetClipRect(), (Rect{1, 2, 30, 40}));
    }
}

class ScrollPanelTest : public UiTest {
protected:
    // A scroll panel with a vertical bar 6 wide and 30 high whose content is
    // 100 high; `bars` adds a horizontal one 50 wide and 4 high.
    Ref<ScrollPanel> MakeScrollPanel(bool bars) {
        const std::string horizontal = bars ? R"(<Slider id="scrollbar_horizontal" width="50" height="4">)"
                                              R"(<Button id="button" image="KNOB" section="ui"/></Slider>)"
                                            : "";
        return Build<ScrollPanel>(
            R"(<ScrollPanel id="it" width="40" height="30"><Vector id="panelcomponents">)"
            R"(<Sprite name="tall" width="20" height="100"/></Vector>)" +
            horizontal +
            R"(<Slider id="scrollbar_vertical" width="6" height="30" vertical="true">)"
            R"(<Button id="button" image="KNOB" section="ui"/></Slider></ScrollPanel>)");
    }
};

TEST_F(ScrollPanelTest, BarsScrollTheContentByTheOverhang) {
    const Ref<ScrollPanel> panel = MakeScrollPanel(true);
    ASSERT_TRUE(panel);
    Slider* vertical = panel->GetVerticalBar();
    Slider* horizontal = panel->GetHorizontalBar();
    ASSERT_NE(vertical, nullptr);
    ASSERT_NE(horizontal, nullptr);
    Panel* content = panel->GetContentPanel();
    EXPECT_NE(panel->FindChild("tall"), nullptr);
    EXPECT_EQ(content->GetHeight(), 100);

    // The vertical bar's length and the horizontal bar's set the size.
    EXPECT_EQ(panel->GetWidth(), 56);   // 50 + the vertical bar
    EXPECT_EQ(panel->GetHeight(), 34);  // 30 + the horizontal bar
    EXPECT_EQ(vertical->GetX(), 50);
    EXPECT_EQ(horizontal->GetY(), 30);
    ASSERT_TRUE(content->GetClipRect());
    EXPECT_EQ(*content->GetClipRect(), (Rect{0, 0, 50, 30}));

    struct Case {
        float fraction;
        int32_t y;
    };
    // Range 100 + 4 - 34 = 70; the offset is truncated.
    for (const Case& c : {Case{0.0f, 0}, Case{0.5f, -35}, Case{0.99f, -69}, Case{1.0f, -70}}) {
        vertical->SetValue(c.fraction);
        ScrollPanel::OnVerticalScroll(panel.Get(), vertical);
        EXPECT_EQ(content->GetY(), c.y) << c.fraction;
        EXPECT_FLOAT_EQ(vertical->GetValue(), c.fraction);
    }
    // The content is no wider than the window: it never moves sideways.
    for (const float fraction : {0.0f, 0.5f, 1.0f}) {
        horizontal->SetValue(fraction);
        ScrollPanel::OnHorizontalScroll(panel.Get(), horizontal);
        EXPECT_EQ(content->GetX(), 0) << fraction;
    }
}

TEST_F(ScrollPanelTest, WithoutABarThePanelGrowsToHoldItsContent) {
    const Ref<ScrollPanel> panel = MakeScrollPanel(false);
    ASSERT_TRUE(panel);
    Panel* content = panel->GetContentPanel();
    EXPECT_EQ(panel->GetWidth(), 46);  // the window of 40 + the vertical bar
    EXPECT_EQ(panel->GetVerticalBar()->GetX(), 40);
    const Ref<Sprite> wide = Named("wide", 70, 5, 30, 10);
    wide->SetAnchorPoint(10.4f, 0.0f);
    panel->AddChild(wide.Get());
    EXPECT_EQ(wide->GetParent(), content->GetComponentNode());
    EXPECT_EQ(content->GetWidth(), 90);
    EXPECT_EQ(panel->GetWidth(), 96);
    EXPECT_EQ(panel->GetVerticalBar()->GetX(), 90);
    EXPECT_EQ(*content->GetClipRect(), (Rect{0, 0, 90, 30}));
}

}  // namespace
