#include <gtest/gtest.h>

#include <type_traits>

#include "engine/foundation/ClassFactory.h"
#include "engine/media/Canvas.h"
#include "engine/media/CanvasTestSupport.h"
#include "engine/scene/DisabledSpriteImageVector.h"
#include "engine/scene/SceneTestSupport.h"

namespace {

// A strip 7 pixels wide and 2 high whose column i holds the value 0xFF000001 + i.
Ref<MemorySurface> CountingStrip() {
    Ref<MemorySurface> strip(new MemorySurface(7, 2));
    for (int32_t y = 0; y < 2; ++y) {
        for (int32_t x = 0; x < 7; ++x) {
            strip->Pixels32()[strip->PixelIndex(x, y)] = 0xFF000001u + static_cast<uint32_t>(x);
        }
    }
    return strip;
}

class SpriteImageVectorTest : public testing::Test {
protected:
    void SetUp() override {
        auto* section = new Section("pics", false);
        section->AddResource("STRIP", new HeldResource(strip_.Get()));
        section->AddResource("GREY", new HeldResource(FilledSurface(3, 3, 0xFF808080).Get()));
        sections_.Load(section);
    }

    template <typename T = SpriteImageVector>
    Ref<T> Build(const std::string& attributes) {
        const char* type = std::is_same_v<T, SpriteImageVector> ? "SpriteImageVector" : "DisabledSpriteImageVector";
        file_ = ParseDefinitions("<root><" + std::string(type) + " id=\"v\" section=\"pics\" " + attributes +
                                 "/></root>");
        const Ref<Object> built(ClassFactory::Instance().Create(Property::Child(file_.Get(), "v")));
        return Ref<T>(ObjectCast<T>(built.Get()));
    }

    Ref<MemorySurface> strip_ = CountingStrip();
    Ref<PropertyFile> file_;
    RunningSectionManager sections_;
};

TEST_F(SpriteImageVectorTest, CutsTheStripIntoWholeFramePictures) {
    const Ref<SpriteImageVector> vector =
        Build("image=\"STRIP\" framecount=\"3\" horizontalframelayout=\"true\" x=\"1\"");
    ASSERT_TRUE(vector);
    EXPECT_TRUE(vector->IsHorizontalFrameLayout());
    EXPECT_EQ(vector->GetWidth(), 2);  // 7 / 3: the last column is never shown
    ASSERT_EQ(vector->GetFrameImages().size(), 3u);
    for (uint32_t frame = 0; frame < 3; ++frame) {
        const Surface& picture = *vector->GetFrameImages()[frame];
        EXPECT_EQ(picture.GetWidth(), 2);
        EXPECT_EQ(PixelAt(picture, 0, 1), 0xFF000001u + 2 * frame);
        EXPECT_EQ(PixelAt(picture, 1, 0), 0xFF000002u + 2 * frame);
    }
    EXPECT_FALSE(vector->GetFrameRect());
    EXPECT_FALSE(vector->GetSourceRect());

    vector->SetFrame(2);
    EXPECT_EQ(vector->GetImage(), vector->GetFrameImages()[2].Get());
    const Ref<MemorySurface> screen = FilledSurface(4, 2, 0xFF000000);
    vector->Draw(*screen->CreateCanvas());
    EXPECT_EQ(PixelAt(*screen, 1, 0), 0xFF000005u);  // the whole picture of frame 2
    EXPECT_EQ(PixelAt(*screen, 2, 1), 0xFF000006u);
    EXPECT_EQ(PixelAt(*screen, 3, 0), 0xFF000000u);

    // Frames outside the strip are held to the nearest one.
    vector->SetFrame(7);
    EXPECT_EQ(vector->GetCurrentFrame(), 2);
    vector->SetFrame(-3);
    EXPECT_EQ(vector->GetCurrentFrame(), 0);
    vector->StepFrame();
    EXPECT_EQ(vector->GetImage(), vector->GetFrameImages()[1].Get());
}

TEST_F(SpriteImageVectorTest, ANewImageRebuildsTheFramesAndACountOfOneSharesTheImage) {
    const Ref<SpriteImageVector> vector = Build("image=\"STRIP\" framecount=\"3\" horizontalframelayout=\"true\"");
    vector->SetFrame(1);
    Ref<MemorySurface> tall = FilledSurface(2, 6, 0xFF00FF00);
    tall->SetFrameCount(3);
    vector->SetImage(tall.Get());
    EXPECT_EQ(vector->GetCurrentFrame(), 0);
    EXPECT_EQ(vector->GetHeight(), 2);
    ASSERT_EQ(vector->GetFrameImages().size(), 3u);
    EXPECT_EQ(PixelAt(*vector->GetImage(), 1, 1), 0xFF00FF00u);

    const Ref<SpriteImageVector> single = Build("image=\"STRIP\"");
    ASSERT_EQ(single->GetFrameImages().size(), 1u);
    EXPECT_EQ(single->GetImage(), strip_.Get());  // the object itself, not a copy
}

TEST_F(SpriteImageVectorTest, AFrameCountFromDataIsBounded) {
    // More frames than pixels: only as many pictures as the strip has columns.
    const Ref<SpriteImageVector> many = Build("image=\"STRIP\" framecount=\"100000\" horizontalframelayout=\"true\"");
    EXPECT_EQ(many->GetFrameImages().size(), 7u);
    many->SetFrame(99999);
    EXPECT_EQ(many->GetImage(), nullptr);
    many->Draw(*FilledSurface(2, 2, 0)->CreateCanvas());

    const Ref<SpriteImageVector> none = Build("image=\"STRIP\" framecount=\"0\"");
    EXPECT_EQ(none->GetFrameCount(), 1);
    EXPECT_EQ(none->GetImage(), strip_.Get());
}

Sprite* MakeMarkedSprite(int32_t x, int32_t y, Surface* image) {
    auto* sprite = new Sprite(x, y, image);
    sprite->SetName("made by the hook");
    return sprite;
}

TEST_F(SpriteImageVectorTest, TheDisabledVariantHoldsItsDisabledPicture) {
    const Ref<DisabledSpriteImageVector> plain = Build<DisabledSpriteImageVector>("image=\"STRIP\"");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->GetDisabledSprite(), nullptr);

    DisabledSpriteImageVector::SetDisabledSpriteMaker(MakeMarkedSprite);
    const Ref<DisabledSpriteImageVector> vector = Build<DisabledSpriteImageVector>(
        "image=\"STRIP\" imageDisabled=\"GREY\" x=\"5\" y=\"6\" anchorpoint_x=\"1\" anchorpoint_y=\"2\"");
    DisabledSpriteImageVector::SetDisabledSpriteMaker(nullptr);
    const Sprite* disabled = vector->GetDisabledSprite();
    ASSERT_NE(disabled, nullptr);
    EXPECT_EQ(disabled->GetName(), "made by the hook");
    EXPECT_EQ(disabled->ReferenceCount(), 1);
    EXPECT_EQ(disabled->GetX(), 5);
    EXPECT_EQ(disabled->GetY(), 6);
    EXPECT_EQ(disabled->GetWidth(), 3);
    EXPECT_EQ(disabled->GetAnchorX(), 1.0f);
    EXPECT_EQ(disabled->GetAnchorY(), 2.0f);
}

}  // namespace
