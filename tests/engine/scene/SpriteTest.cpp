#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/Section.h"
#include "engine/media/Canvas.h"
#include "engine/media/CanvasTestSupport.h"
#include "engine/scene/SceneTestSupport.h"
#include "engine/scene/Sprite.h"

namespace {


constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;

// A 4 x 2 picture: two red columns, then two blue ones.
Ref<MemorySurface> RedBlueStrip() {
    Ref<MemorySurface> strip = FilledSurface(4, 2, kRed);
    for (int32_t y = 0; y < 2; ++y) {
        strip->Pixels32()[strip->PixelIndex(2, y)] = kBlue;
        strip->Pixels32()[strip->PixelIndex(3, y)] = kBlue;
    }
    return strip;
}

std::vector<std::string> Draw(Sprite& sprite) {
    const Ref<MemorySurface> screen = FilledSurface(8, 3, kBlack);
    const Ref<Canvas> canvas = screen->CreateCanvas();
    sprite.Draw(*canvas);
    EXPECT_EQ(canvas->GetClipRect(), (Rect{0, 0, 8, 3}));  // the clip is given back
    EXPECT_EQ(canvas->GetAlpha(), 255);
    return PictureRows(*screen, {{kRed, 'R'}, {kBlue, 'B'}});
}

TEST(SpriteTest, StepFrameWrapsByStyle) {
    struct Case {
        int32_t style;
        int32_t from;
        int32_t reverse;
        std::vector<int32_t> frames;  // after each step
        int32_t reverseAfter;
    };
    const Case cases[] = {
        {Sprite::kWrapLoop, 2, 0, {3, 0, 1}, 0},
        {Sprite::kWrapLoop, 1, 1, {0, 3, 2}, 1},
        {Sprite::kWrapSwitch, 2, 0, {3, 2, 1, 0, 1}, 0},
        {Sprite::kWrapSwitch, 1, 1, {0, 1}, 0},
        {Sprite::kWrapOnce, 2, 0, {3, 0}, 0},  // stepping past the end shows frame 0
        {Sprite::kWrapOnce, 1, 1, {0, 0}, 1},
    };
    for (const Case& c : cases) {
        const Ref<Sprite> sprite(new Sprite(0, 0, 4, 8));
        sprite->SetFrameCount(4, false);
        sprite->SetWrapStyle(c.style);
        sprite->SetFrame(c.from);
        sprite->SetReverse(c.reverse);
        std::vector<int32_t> frames;
        for (size_t i = 0; i < c.frames.size(); ++i) {
            sprite->StepFrame();
            frames.push_back(sprite->GetCurrentFrame());
            EXPECT_EQ(sprite->GetSourceRect()->y, sprite->GetCurrentFrame() * 2);
        }
        EXPECT_EQ(frames, c.frames) << "style " << c.style << " from " << c.from;
        EXPECT_EQ(sprite->GetReverse(), c.reverseAfter) << "style " << c.style;
    }
}

TEST(SpriteTest, FrameLayoutAndFrameCountsBelowOne) {
    const Ref<Sprite> sprite(new Sprite(0, 0, RedBlueStrip().Get()));
    EXPECT_EQ(sprite->GetWidth(), 4);
    EXPECT_EQ(sprite->GetHeight(), 2);

    sprite->SetFrameCount(3, true);  // integer division: frames of 1 pixel, offset 1
    EXPECT_EQ(sprite->GetWidth(), 1);
    EXPECT_EQ(sprite->GetFrameOffsetX(), 1);
    sprite->SetFrame(2);
    EXPECT_EQ(sprite->GetSourceRect(), (Rect{2, 0, 1, 2}));
    sprite->SetDirty(false);
    sprite->SetFrame(2);
    EXPECT_FALSE(sprite->IsDirty());

    // A count of 0 (data may say so) lays the image out as one frame.
    sprite->SetFrameCount(0, true);
    EXPECT_EQ(sprite->GetFrameCount(), 1);
    EXPECT_EQ(sprite->GetWidth(), 4);
    sprite->SetFrameCount(-1, false);  // keeps the count
    EXPECT_EQ(sprite->GetFrameCount(), 1);
    sprite->StepFrame();
    EXPECT_EQ(sprite->GetCurrentFrame(), 0);

    Ref<MemorySurface> zeroFrames = RedBlueStrip();
    zeroFrames->SetFrameCount(0);
    const Ref<Sprite> fromImage(new Sprite(0, 0, zeroFrames.Get()));
    EXPECT_EQ(fromImage->GetFrameCount(), 1);
    EXPECT_EQ(fromImage->GetHeight(), 2);
}

TEST(SpriteTest, AnchorKindsFollowTheSizeAndExplicitPointsStay) {
    const Ref<Sprite> sprite(new Sprite(0, 0, 20, 10));
    sprite->SetAnchorKind(Sprite::kBottomRight);
    EXPECT_EQ(sprite->GetAnchorX(), 20.0f);
    EXPECT_EQ(sprite->GetAnchorY(), 10.0f);
    EXPECT_EQ(sprite->GetPivotKind(), Sprite::kBottomRight);
    sprite->SetWidth(30);
    EXPECT_EQ(sprite->GetAnchorX(), 30.0f);
    EXPECT_EQ(sprite->GetPivotX(), 30.0f);
    sprite->SetAnchorKind(Sprite::kCenter);
    EXPECT_EQ(sprite->GetAnchorX(), 15.0f);
    EXPECT_EQ(sprite->GetAnchorY(), 5.0f);

    sprite->SetAnchorPoint(3.0f, 4.0f);
    sprite->SetSize(50, 60);
    EXPECT_EQ(sprite->GetAnchorX(), 3.0f);
    EXPECT_EQ(sprite->GetPivotY(), 4.0f);
    EXPECT_EQ(sprite->GetAnchorKind(), Sprite::kExplicitPoint);
}

TEST(SpriteTest, HitTestUsesTheAnchorAndTheParentsPosition) {
    const Ref<GameNode> root(new GameNode);
    auto* sprite = new Sprite(100, 100, 20, 10);
    sprite->SetAnchorKind(Sprite::kCenter);
    root->AddChild(sprite);
    struct Case {
        int32_t x;
        int32_t y;
        bool hit;
    };
    const Case cases[] = {{90, 95, true}, {109, 104, true}, {110, 100, false}, {89, 100, false}, {100, 105, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(sprite->HitTest(c.x, c.y), c.hit) << c.x << "," << c.y;
    }
    sprite->SetRotation(1.0f);
    sprite->SetScale(3.0f);
    EXPECT_TRUE(sprite->HitTest(90, 95));  // turning and scaling play no part
    root->SetPosition(-50, 0);
    EXPECT_TRUE(sprite->HitTest(40, 95));
    EXPECT_FALSE(sprite->HitTest(90, 95));
}

TEST(SpriteTest, CropRectangleGrowsAboutThePivotAndFollowsTheSprite) {
    const Ref<Sprite> sprite(new Sprite(100, 50, 40, 20));
    sprite->SetAnchorKind(Sprite::kCenter);
    sprite->SetCropWidth(20);
    EXPECT_EQ(sprite->GetCropRect(), (Rect{90, 50, 20, 20}));  // centred across; the other axis from the position
    sprite->SetCropHeight(10);
    EXPECT_EQ(sprite->GetCropRect(), (Rect{90, 45, 20, 10}));
    sprite->SetPosition(110, 60);
    EXPECT_EQ(sprite->GetCropRect(), (Rect{100, 55, 20, 10}));
    sprite->SetCropSize(40, 20);
    EXPECT_EQ(sprite->GetCropRect(), (Rect{90, 50, 40, 20}));

    // Without a size of its own the crop never divides by zero.
    const Ref<Sprite> empty(new Sprite(5, 5, 0, 0));
    empty->SetCropSize(8, 8);
    empty->SetCropWidth(4);
    empty->SetCropHeight(4);
    EXPECT_EQ(empty->GetCropRect(), (Rect{5, 5, 4, 4}));
}

TEST(SpriteTest, DrawingChoosesBlitScaledBlitOrTurnedBlit) {
    const Ref<MemorySurface> strip = RedBlueStrip();
    struct Case {
        const char* what;
        std::function<void(Sprite&)> set;
        std::vector<std::string> picture;
    };
    const Case cases[] = {
        {"plain", [](Sprite&) {}, {"........", ".RRBB...", ".RRBB..."}},
        {"no frame rectangles: the whole image", [](Sprite& s) { s.ClearFrameRects(); },
         {"........", ".RRBB...", ".RRBB..."}},
        {"a frame of a horizontal strip",
         [](Sprite& s) {
             s.SetFrameCount(2, true);
             s.SetFrame(1);
         },
         {"........", ".BB.....", ".BB....."}},
        {"a crop of half the width squeezes the image", [](Sprite& s) { s.SetCropWidth(2); },
         {"........", ".RB.....", ".RB....."}},
        {"the crop squeezes only the shown frame",
         [](Sprite& s) {
             s.SetFrameCount(2, true);
             s.SetCropSize(1, 2);
         },
         {"........", ".R......", ".R......"}},
        {"a scale other than 1 turns and scales, ignoring the crop",
         [](Sprite& s) {
             s.SetCropWidth(2);
             s.SetScale(2.0f);
         },
         {"........", ".RRRRBBB", ".RRRRBBB"}},
        {"the clip rectangle, relative to the parent", [](Sprite& s) { s.SetClipRect(0, 0, 3, 2); },
         {"........", ".RR.....", "........"}},
        {"alpha 0 draws nothing", [](Sprite& s) { s.SetAlpha(0); }, {"........", "........", "........"}},
    };
    for (const Case& c : cases) {
        const Ref<Sprite> sprite(new Sprite(1, 1, strip.Get()));
        c.set(*sprite);
        EXPECT_EQ(Draw(*sprite), c.picture) << c.what;
        EXPECT_FALSE(sprite->IsDirty()) << c.what;
    }

    // Turned: the canvas's smooth turned blit at the anchored position with
    // the frame and the rounded pivot.
    const Ref<Sprite> turned(new Sprite(1, 1, strip.Get()));
    turned->SetAnchorPoint(0.4f, 0.6f);
    turned->SetRotation(1.0f);
    turned->SetSmoothRotateScale(true);
    const Ref<MemorySurface> expected = FilledSurface(8, 3, kBlack);
    expected->CreateCanvas()->RotateScaleBlitSmooth(*strip, 1.0, 1.0, 1, 0, 0, 0, 4, 2, 0, 1);
    const std::vector<std::string> picture = Draw(*turned);
    EXPECT_EQ(picture, PictureRows(*expected, {{kRed, 'R'}, {kBlue, 'B'}}));
    EXPECT_NE(picture, Draw(*Ref<Sprite>(new Sprite(0, 0, 4, 4))));

    const Ref<Sprite> empty(new Sprite(0, 0, 4, 4));
    EXPECT_TRUE(empty->IsDirty());
    EXPECT_EQ(Draw(*empty), (std::vector<std::string>{"........", "........", "........"}));
    EXPECT_FALSE(empty->IsDirty());  // cleared even without an image
}

TEST(SpriteTest, SettersMarkTheSpriteDirtyOnlyOnChange) {
    const Ref<Sprite> sprite(new Sprite(0, 0, 4, 4));
    struct Case {
        const char* what;
        std::function<void(Sprite&)> set;
        bool dirty;
    };
    const Case cases[] = {
        {"same alpha", [](Sprite& s) { s.SetAlpha(255); }, false},
        {"new alpha", [](Sprite& s) { s.SetAlpha(10); }, true},
        {"same colour", [](Sprite& s) { s.SetColor(0); }, false},
        {"new colour", [](Sprite& s) { s.SetColor(0x123456); }, true},
        {"same visibility", [](Sprite& s) { s.SetVisible(true); }, false},
        {"hidden", [](Sprite& s) { s.SetVisible(false); }, true},
        {"removed", [](Sprite& s) { s.SetRemoved(true); }, true},
        {"rotation, always", [](Sprite& s) { s.SetRotation(s.GetRotation()); }, true},
        {"scale, never", [](Sprite& s) { s.SetScale(2.0f); }, false},
        {"first clip", [](Sprite& s) { s.SetClipRect(0, 0, 1, 1); }, true},
        {"same clip", [](Sprite& s) { s.SetClipRect(0, 0, 1, 1); }, false},
    };
    for (const Case& c : cases) {
        sprite->SetDirty(false);
        c.set(*sprite);
        EXPECT_EQ(sprite->IsDirty(), c.dirty) << c.what;
    }
}

TEST(SpriteTest, CopyTakesTheLookAndSharesTheImage) {
    const Ref<MemorySurface> strip = RedBlueStrip();
    const Ref<Sprite> original(new Sprite(3, 4, strip.Get()));
    original->SetAlpha(99);
    original->SetAnchorKind(Sprite::kCenter);
    original->SetFrameCount(2, true);
    original->SetFrame(1);
    original->SetName("not copied");
    const Ref<Sprite> copy(new Sprite(*original));
    EXPECT_EQ(copy->GetX(), 3);
    EXPECT_EQ(copy->GetY(), 4);
    EXPECT_EQ(copy->GetImage(), strip.Get());
    EXPECT_EQ(strip->ReferenceCount(), 3);
    EXPECT_EQ(copy->GetAlpha(), 99);
    EXPECT_EQ(copy->GetAnchorX(), 1.0f);
    EXPECT_EQ(copy->GetSourceRect(), (Rect{2, 0, 2, 2}));
    EXPECT_EQ(copy->GetName(), "");
}

class SpriteDefinitionTest : public testing::Test {
protected:
    void SetUp() override {
        auto* section = new Section("pics", false);
        Ref<MemorySurface> tall = FilledSurface(6, 8, kRed);
        tall->SetFrameCount(2);
        section->AddResource("TALL", new HeldResource(tall.Get()));
        section->AddResource("WIDE", new HeldResource(FilledSurface(9, 2, kBlue).Get()));
        sections_.Load(section);
        Defines::Create();
        const Ref<PropertyValue> tip(PropertyValue::FromText("TIP_PLAY", L"Play!", false));
        Defines::Instance()->StoreText(tip.Get());
    }
    void TearDown() override {
        Defines::ReleaseInstance();
    }

    static Ref<Sprite> Build(const std::string& attributes) {
        const Ref<PropertyFile> file = ParseDefinitions("<root><Sprite id=\"s\" " + attributes + "/></root>");
        const Ref<Object> built(ClassFactory::Instance().Create(Property::Child(file.Get(), "s")));
        return Ref<Sprite>(ObjectCast<Sprite>(built.Get()));
    }

    RunningSectionManager sections_;
};

// A size read from a definition becomes a picture's size: one of more than
// 4,096 pixels a side, or below none, is read as the nearer of those.
TEST_F(SpriteDefinitionTest, SizesBeyondAPictureTheGameCanMakeAreHeld) {
    const struct {
        const char* attributes;
        int32_t width;
        int32_t height;
    } cases[] = {{R"(width="100000" height="30000")", 4096, 4096},
                 {R"(width="-2147483648" height="600")", 0, 600},
                 {R"(width="800" height="2147483647")", 800, 4096}};
    for (const auto& c : cases) {
        const Ref<Sprite> sprite = Build(c.attributes);
        ASSERT_TRUE(sprite) << c.attributes;
        EXPECT_EQ(sprite->GetWidth(), c.width) << c.attributes;
        EXPECT_EQ(sprite->GetHeight(), c.height) << c.attributes;
    }
}

TEST_F(SpriteDefinitionTest, ReadsImageFramesAnchorAndTooltip) {
    const Ref<Sprite> tall = Build(
        "image=\"TALL\" section=\"pics\" x=\"5\" alpha=\"128\" color=\"#FF8000\" currentframe=\"1\" initanimation=\"false\" "
        "anchorpoint=\"bottom\" tooltip=\"TIP_PLAY\" framewrapstyle=\"switch\" reverseframes=\"true\" "
        "smoothrotatescale=\"true\"");
    ASSERT_TRUE(tall);
    EXPECT_EQ(tall->GetX(), 5);
    EXPECT_EQ(tall->GetWidth(), 6);
    EXPECT_EQ(tall->GetHeight(), 4);  // the image's own two frames, stacked
    EXPECT_EQ(tall->GetSourceRect(), (Rect{0, 4, 6, 4}));
    EXPECT_EQ(tall->GetAlpha(), 128);
    EXPECT_EQ(tall->GetColor(), 0xFF8000);
    EXPECT_EQ(tall->GetAnchorX(), 3.0f);
    EXPECT_EQ(tall->GetAnchorY(), 4.0f);
    EXPECT_EQ(tall->GetToolTip(), std::wstring(L"Play!"));
    EXPECT_EQ(tall->GetWrapStyle(), Sprite::kWrapSwitch);
    EXPECT_EQ(tall->GetReverse(), 1);
    EXPECT_TRUE(tall->IsSmoothRotateScale());

    // A horizontal strip by key; the explicit anchor wins over the kind.
    const Ref<Sprite> wide = Build(
        "image=\"WIDE\" section=\"pics\" framecount=\"3\" horizontalframelayout=\"true\" anchorpoint_x=\"1.5\" "
        "anchorpoint_y=\"2\" anchorpoint=\"center\" framewrapstyle=\"Loop\"");
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->GetWidth(), 3);
    EXPECT_EQ(wide->GetFrameOffsetX(), 3);
    EXPECT_EQ(wide->GetAnchorKind(), Sprite::kExplicitPoint);
    EXPECT_EQ(wide->GetAnchorX(), 1.5f);
    EXPECT_EQ(wide->GetAnchorY(), 2.0f);
    EXPECT_EQ(wide->GetWrapStyle(), Sprite::kWrapLoop);  // an unknown word leaves the style

    const Ref<Sprite> notLaidOut = Build("image=\"WIDE\" section=\"pics\" framecount=\"3\" initanimation=\"false\"");
    EXPECT_EQ(notLaidOut->GetWidth(), 9);
    EXPECT_EQ(notLaidOut->GetFrameCount(), 3);

    // A missing image leaves the given size; a frame count of 0 counts as 1.
    const Ref<Sprite> missing = Build("image=\"NONE\" section=\"pics\" width=\"7\" height=\"3\" framecount=\"0\"");
    EXPECT_EQ(missing->GetImage(), nullptr);
    EXPECT_EQ(missing->GetWidth(), 7);
    EXPECT_EQ(missing->GetHeight(), 3);
    EXPECT_EQ(missing->GetFrameCount(), 1);
}

}  // namespace
