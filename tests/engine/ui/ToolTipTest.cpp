#include <gtest/gtest.h>

#include <vector>

#include "UiTestSupport.h"
#include "engine/media/Canvas.h"
#include "engine/media/CanvasTestSupport.h"
#include "engine/scene/HeadlessWindow.h"
#include "engine/ui/Panel.h"
#include "engine/ui/ToolTip.h"
#include "engine/ui/ToolTipCover.h"
#include "engine/ui/ToolTipLabel.h"

namespace {

constexpr uint32_t kBorder = 0x102030;
constexpr uint32_t kBackground = 0xF0E0D0;

// Stands for an open dialog.
class CoverSprite : public Sprite, public ToolTipCover {
public:
    CoverSprite(int32_t x, int32_t y, int32_t w, int32_t h) : Sprite(x, y, w, h) {}
};

Ref<ToolTipLabel> MakeRenderer(const std::string& extra = "") {
    return BuildFromXml<ToolTipLabel>(R"(<ToolTipLabel id="tip" font="TINY" section="fonts" backgroundcolor="#F0E0D0" )"
                                      R"(bordercolor="#102030" padding="2" )" +
                                      extra + "/>");
}

Sprite* AddSprite(GameNode* parent, Sprite* sprite, const wchar_t* tip) {
    parent->AddChild(sprite);
    if (tip != nullptr) {
        sprite->SetToolTip(tip);
    }
    return sprite;
}

class ToolTipLabelTest : public testing::Test {
protected:
    UiResources resources_;
};

TEST_F(ToolTipLabelTest, DrawsAFramedBoxBehindTheTextAndRestoresTheCanvas) {
    const Ref<ToolTipLabel> label = MakeRenderer();
    label->SetToolTip(L"ab");
    ASSERT_EQ(label->GetWidth(), 12);
    ASSERT_EQ(label->GetHeight(), 6);
    const Ref<MemorySurface> target = FilledSurface(30, 20, 0);
    const Ref<Canvas> canvas = target->CreateCanvas();
    canvas->SetColor(Color(0x445566));
    canvas->SetAlpha(77);
    canvas->SetOrigin(2, 2);
    label->Draw(*canvas);

    // The box reaches 2 pixels beyond (0, 0, 12, 6) from the canvas origin.
    for (const auto& [x, y] : {std::pair{-2, -2}, std::pair{13, -2}, std::pair{-2, 7}, std::pair{13, 7}}) {
        EXPECT_EQ(PixelAt(*target, x + 2, y + 2) & 0xFFFFFF, kBorder) << x << "," << y;
    }
    EXPECT_EQ(PixelAt(*target, 1, 1) & 0xFFFFFF, kBackground);
    EXPECT_EQ(PixelAt(*target, 14, 8) & 0xFFFFFF, kBackground);
    EXPECT_EQ(PixelAt(*target, 16, 10), 0u) << "nothing beyond the frame";
    // The text stands on the box, raised by the font's top pad.
    const uint32_t glyph = PixelAt(*target, 4, 3) & 0xFFFFFF;
    EXPECT_NE(glyph, kBackground);
    EXPECT_NE(glyph, 0u);
    EXPECT_EQ(canvas->GetColor()->Value(), 0x445566u);
    EXPECT_EQ(canvas->GetAlpha(), 77);
}

TEST_F(ToolTipLabelTest, DefinedWidthWrapsThenShrinksToTheText) {
    struct Case {
        const char* attributes;
        const wchar_t* first;
        const wchar_t* second;
        int32_t width, height;  // after the second text
    };
    const std::vector<Case> cases = {
        // Wraps "ab cd" at 20 pixels, shrinks to 11; the next text is laid
        // out at 20 again, not at the shrunken width.
        {R"(width="20" wrapstyle="wordwrap")", L"ab cd", L"abcd", 19, 6},
        {R"(width="20" wrapstyle="wordwrap")", L"abcd", L"ab cd", 11, 12},
        // Without a wrapping style the label sizes to its text.
        {"", L"ab cd", L"abc", 16, 6},
    };
    for (const Case& c : cases) {
        const Ref<ToolTipLabel> label = MakeRenderer(c.attributes);
        label->SetToolTip(c.first);
        label->SetToolTip(c.second);
        EXPECT_EQ(label->GetWidth(), c.width) << c.attributes;
        EXPECT_EQ(label->GetHeight(), c.height) << c.attributes;
    }
}

class ToolTipTest : public testing::Test {
protected:
    ToolTipTest() : root_(new GameNode) {}

    Ref<ToolTip> MakeTip(int32_t showDelay, int32_t removeDelay) {
        Ref<ToolTip> tip(ToolTip::ToolTipFromValues(renderer_.Get(), showDelay, removeDelay));
        tip->SetRoot(root_.Get());
        return tip;
    }

    // Runs one frame on a cleared window and answers whether the tip's
    // frame was drawn where the tip stands.
    bool Frame(ToolTip& tip, uint32_t elapsedMs) {
        Surface& back = *window_->GetBackSurface();
        Canvas& canvas = *window_->GetCanvas();
        canvas.SetColor(Color(0));
        canvas.FillRect(0, 0, back.GetWidth(), back.GetHeight());
        tip.Update(elapsedMs);
        const ScopedSurfaceLock lock(back);
        const int32_t x = tip.GetTipX() - renderer_->GetPadding();
        const int32_t y = tip.GetTipY() - renderer_->GetPadding();
        return x >= 0 && y >= 0 && (PixelAt(back, x, y) & 0xFFFFFF) == kBorder;
    }

    HeadlessWindow window_;
    UiResources resources_;
    Ref<ToolTipLabel> renderer_ = MakeRenderer();
    Ref<GameNode> root_;
};

TEST_F(ToolTipTest, ShowsAfterTheShowDelayAndGoesAfterTheRemoveDelay) {
    const Sprite* sprite = AddSprite(root_.Get(), new Sprite(10, 10, 50, 50), L"ab");
    AddSprite(root_.Get(), new Sprite(100, 10, 50, 50), L"abc");
    const Ref<ToolTip> tip = MakeTip(100, 150);
    tip->OnMouseMove(20, 20, 0);

    // Frame by frame, 50 ms each: armed in the first, shown when 100 ms
    // have passed since, for three frames (150 ms), then spent.
    std::vector<bool> drawn;
    for (int frame = 0; frame < 7; ++frame) {
        drawn.push_back(Frame(*tip, 50));
    }
    EXPECT_EQ(drawn, (std::vector<bool>{false, false, true, true, true, false, false}));
    EXPECT_EQ(tip->GetCurrentSprite(), sprite);
    EXPECT_EQ(tip->GetTipX(), 20);
    EXPECT_EQ(tip->GetTipY(), 44);

    // Moving inside the sprite neither re-arms nor moves the tip; moving off
    // and back arms it again.
    tip->OnMouseMove(30, 30, 0);
    EXPECT_FALSE(Frame(*tip, 500));
    tip->OnMouseMove(5, 5, 0);
    EXPECT_FALSE(Frame(*tip, 50));
    EXPECT_EQ(tip->GetCurrentSprite(), nullptr);
    tip->OnMouseMove(30, 30, 0);
    Frame(*tip, 50);
    Frame(*tip, 50);
    EXPECT_TRUE(Frame(*tip, 50));
    EXPECT_EQ(tip->GetTipX(), 30);

    // Another sprite with a tip arms at once with its own text.
    tip->OnMouseMove(110, 20, 0);
    EXPECT_FALSE(Frame(*tip, 50));
    EXPECT_EQ(renderer_->GetText(), L"abc");
}

TEST_F(ToolTipTest, NeverShowsWithoutARemoveDelayRootOrRenderer) {
    AddSprite(root_.Get(), new Sprite(0, 0, 50, 50), L"ab");
    for (const int32_t removeDelay : {0, -5}) {
        const Ref<ToolTip> tip = MakeTip(0, removeDelay);
        tip->OnMouseMove(10, 10, 0);
        for (int frame = 0; frame < 3; ++frame) {
            EXPECT_FALSE(Frame(*tip, 50)) << removeDelay;
        }
    }
    const Ref<ToolTip> rootless = MakeTip(0, 1000);
    rootless->SetRoot(nullptr);
    EXPECT_FALSE(Frame(*rootless, 50));
    EXPECT_EQ(rootless->GetCurrentSprite(), nullptr);
    const Ref<ToolTip> bare(ToolTip::ToolTipFromValues(nullptr, 0, 1000));
    bare->SetRoot(root_.Get());
    bare->OnMouseMove(10, 10, 0);
    bare->Update(50);
    EXPECT_EQ(bare->GetCurrentSprite(), nullptr);
}

TEST_F(ToolTipTest, WithoutAShowDelayTheTipStandsAtThePointerAtOnce) {
    AddSprite(root_.Get(), new Sprite(0, 0, 800, 600), L"ab");
    const Ref<ToolTip> tip = MakeTip(0, 1000);
    tip->OnMouseMove(200, 300, 0);
    EXPECT_TRUE(Frame(*tip, 16));
    EXPECT_EQ(tip->GetTipX(), 200);
    EXPECT_EQ(tip->GetTipY(), 324);
}

TEST_F(ToolTipTest, KeepsClearOfTheBottomAndRightEdges) {
    // The window is 800 x 600; the tip "ab" is 12 x 6, so it counts as 15 x 9.
    struct Case {
        int32_t mouseX, mouseY, tipX, tipY;
    };
    const std::vector<Case> cases = {
        {100, 100, 100, 124},  // below the pointer
        {100, 567, 100, 591},  // just fits below
        {100, 568, 116, 568},  // too low: beside the pointer at its height
        {100, 595, 116, 591},  // still too low: against the bottom edge
        {785, 100, 785, 124},  // just fits
        {790, 100, 785, 124},  // pushed against the right edge
        {790, 595, 773, 591},  // moved up, then left of the pointer
        {780, 580, 763, 580},  // beside the pointer would cross the right edge
    };
    AddSprite(root_.Get(), new Sprite(0, 0, 800, 600), L"ab");
    for (const Case& c : cases) {
        const Ref<ToolTip> tip = MakeTip(10, 1000);
        tip->OnMouseMove(c.mouseX, c.mouseY, 0);
        tip->Update(16);
        tip->Update(16);
        EXPECT_EQ(tip->GetTipX(), c.tipX) << c.mouseX << "," << c.mouseY;
        EXPECT_EQ(tip->GetTipY(), c.tipY) << c.mouseX << "," << c.mouseY;
    }
}

TEST_F(ToolTipTest, TheTopmostSpriteWithATipWinsUnlessCoveredBySomethingDrawnLater) {
    // Each variant builds a scene over the pointer at (20, 20) and answers
    // the sprite whose tip should be current.
    const auto build = [](GameNode* root, int variant) -> const Sprite* {
        Sprite* under = AddSprite(root, new Sprite(0, 0, 50, 50), L"ab");
        switch (variant) {
            case 0:  // an untipped sprite on top hides nothing
                AddSprite(root, new Sprite(0, 0, 50, 50), nullptr);
                return under;
            case 1:  // an open dialog away from the pointer still covers it
                AddSprite(root, new CoverSprite(300, 300, 10, 10), nullptr);
                return nullptr;
            case 2: {  // a dialog's own components show their tips
                Sprite* cover = AddSprite(root, new CoverSprite(300, 300, 10, 10), nullptr);
                return AddSprite(cover, new Sprite(-300, -300, 50, 50), L"abc");
            }
            case 3: {  // a panel under the pointer covers; its own tip shows
                auto* panel = new Panel;
                panel->SetSize(50, 50);
                AddSprite(root, panel, nullptr);
                return nullptr;
            }
            case 4: {
                auto* panel = new Panel;
                panel->SetSize(50, 50);
                return AddSprite(root, panel, L"abc");
            }
            case 5: {  // a panel away from the pointer covers nothing
                auto* panel = new Panel;
                panel->SetPosition(300, 300);
                panel->SetSize(50, 50);
                AddSprite(root, panel, nullptr);
                return under;
            }
            case 6: {  // a later sprite with a tip wins
                return AddSprite(root, new Sprite(0, 0, 50, 50), L"abc");
            }
            case 7: {  // hidden and removed sprites, and their children, are passed over
                Sprite* hidden = AddSprite(root, new Sprite(0, 0, 50, 50), L"abc");
                AddSprite(hidden, new Sprite(0, 0, 50, 50), L"abc");
                hidden->SetVisible(false);
                Sprite* removed = AddSprite(root, new Sprite(0, 0, 50, 50), L"abc");
                removed->SetRemoved(true);
                return under;
            }
            default:
                return nullptr;
        }
    };
    for (int variant = 0; variant < 8; ++variant) {
        root_ = new GameNode;
        const Sprite* expected = build(root_.Get(), variant);
        const Ref<ToolTip> tip = MakeTip(1000, 1000);
        tip->OnMouseMove(20, 20, 0);
        tip->Update(16);
        EXPECT_EQ(tip->GetCurrentSprite(), expected) << "variant " << variant;
    }
}

TEST(ToolTipDefinitionTest, ReadsTheRendererAndDelays) {
    UiResources resources;
    const Ref<ToolTip> tip = BuildFromXml<ToolTip>(
        R"(<ToolTip id="t" showdelay="250" removedelay="4000"><ToolTipLabel id="renderer" font="TINY" section="fonts" padding="5"/></ToolTip>)");
    ASSERT_TRUE(tip);
    ASSERT_NE(tip->GetRenderer(), nullptr);
    EXPECT_EQ(tip->GetRenderer()->GetPadding(), 5);
    EXPECT_EQ(tip->GetRenderer()->GetBackgroundColor(), 0xFFFFE1);
    EXPECT_EQ(tip->GetShowDelay(), 250);
    EXPECT_EQ(tip->GetRemoveDelay(), 4000);
    EXPECT_TRUE(tip->IsInputEnabled());
    EXPECT_FALSE(tip->OnMouseMove(1, 2, 0));

    const Ref<ToolTip> defaults = BuildFromXml<ToolTip>(R"(<ToolTip id="t"><Label id="renderer"/></ToolTip>)");
    EXPECT_EQ(defaults->GetRenderer(), nullptr) << "a renderer of another class is refused";
    EXPECT_EQ(defaults->GetShowDelay(), 1000);
    EXPECT_EQ(defaults->GetRemoveDelay(), 10000);
}

}  // namespace
