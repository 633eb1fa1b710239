#include <gtest/gtest.h>

#include <numbers>
#include <string>
#include <vector>

#include "engine/foundation/ClassFactory.h"
#include "engine/media/AlphaMemorySurface.h"
#include "engine/media/Canvas.h"
#include "engine/media/CanvasTestSupport.h"
#include "engine/scene/AdditiveSprite.h"
#include "engine/scene/BlendModeSprite.h"
#include "engine/scene/GaugeSprite.h"
#include "engine/scene/SceneTestSupport.h"
#include "engine/scene/ThresholdSprite.h"

namespace {

constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kWhite = 0xFFFFFFFF;

std::vector<uint32_t> Row(const Surface& surface, int32_t y = 0) {
    std::vector<uint32_t> row;
    for (int32_t x = 0; x < surface.GetWidth(); ++x) {
        row.push_back(PixelAt(surface, x, y));
    }
    return row;
}

template <typename T>
Ref<T> Build(const std::string& element) {
    const Ref<PropertyFile> file = ParseDefinitions("<root>" + element + "</root>");
    const Ref<Object> built(ClassFactory::Instance().Create(Property::Child(file.Get(), "s")));
    return Ref<T>(ObjectCast<T>(built.Get()));
}

}  // namespace

TEST(AdditiveSpriteTest, AddsItsFrameAtTheTruncatedAnchorWithinTheClip) {
    const Ref<MemorySurface> picture = FilledSurface(3, 1, kWhite);
    const Ref<AdditiveSprite> sprite(new AdditiveSprite(3, 0, picture.Get()));
    sprite->SetAnchorPoint(1.9f, 0.0f);  // cut to 1, where the plain sprite rounds to 2
    const Ref<MemorySurface> screen = FilledSurface(8, 1, kBlack);
    const Ref<Canvas> canvas = screen->CreateCanvas();
    canvas->SetOrigin(1, 0);
    sprite->Draw(*canvas);
    // At 3 - 1 + 1: an opaque pair adds unscaled, the odd last pixel at weight 254.
    EXPECT_EQ(Row(*screen),
              (std::vector<uint32_t>{kBlack, kBlack, kBlack, kWhite, kWhite, 0xFFFDFDFD, kBlack, kBlack}));

    // The sprite's own clip rectangle replaces the canvas clip for the draw only.
    const Ref<MemorySurface> clipped = FilledSurface(8, 1, kBlack);
    const Ref<Canvas> clippedCanvas = clipped->CreateCanvas();
    sprite->SetClipRect(4, 0, 1, 1);
    sprite->Draw(*clippedCanvas);
    EXPECT_EQ(ChangedPixels(*clipped, kBlack), (std::set<std::pair<int32_t, int32_t>>{{4, 0}}));
    EXPECT_EQ(clippedCanvas->GetClipRect(), (Rect{0, 0, 8, 1}));

    const Ref<MemorySurface> untouched = FilledSurface(8, 1, kBlack);
    sprite->SetAlpha(0);
    sprite->Draw(*untouched->CreateCanvas());
    EXPECT_EQ(ChangedPixels(*untouched, kBlack).size(), 0u);
}

TEST(AdditiveSpriteTest, DrawsOnlyTheCurrentFrame) {
    Ref<MemorySurface> strip = FilledSurface(2, 2, 0xFF101010);
    strip->Pixels32()[strip->PixelIndex(0, 1)] = 0xFF202020;
    strip->Pixels32()[strip->PixelIndex(1, 1)] = 0xFF202020;
    const Ref<AdditiveSprite> sprite(new AdditiveSprite(0, 0, strip.Get()));
    sprite->SetFrameCount(2, false);
    sprite->SetFrame(1);
    const Ref<MemorySurface> screen = FilledSurface(2, 2, kBlack);
    sprite->Draw(*screen->CreateCanvas());
    EXPECT_EQ(Row(*screen, 0), (std::vector<uint32_t>{0xFF202020, 0xFF202020}));
    EXPECT_EQ(Row(*screen, 1), (std::vector<uint32_t>{kBlack, kBlack}));
}

TEST(BlendModeSpriteTest, ReadsTheModeWordAsWritten) {
    const std::pair<std::string, int32_t> cases[] = {
        {"blend=\"multiply\"", kBlendMultiply},    {"blend=\"Multiply\"", kBlendAlpha},
        {"", kBlendAlpha},                          {"blend=\"substractive\"", kBlendSubtractive},
        {"blend=\"subtractive\"", kBlendAlpha},    {"blend=\"softlight\"", kBlendSoftLight},
    };
    for (const auto& [attributes, mode] : cases) {
        const Ref<BlendModeSprite> sprite = Build<BlendModeSprite>("<BlendModeSprite id=\"s\" " + attributes + "/>");
        ASSERT_TRUE(sprite) << attributes;
        EXPECT_EQ(sprite->GetBlendMode(), mode) << attributes;
    }
}

TEST(BlendModeSpriteTest, BlendsOnto32BitsAndIsInvisibleOn16) {
    const Ref<MemorySurface> picture = FilledSurface(2, 1, kWhite);
    const Ref<BlendModeSprite> sprite(new BlendModeSprite);
    sprite->SetImage(picture.Get());
    sprite->SetBlendMode(kBlendMultiply);
    sprite->SetX(1);
    const Ref<MemorySurface> screen = FilledSurface(4, 1, 0xFFC8C8C8);
    sprite->Draw(*screen->CreateCanvas());
    EXPECT_EQ(Row(*screen), (std::vector<uint32_t>{0xFFC8C8C8, 0xFFC7C7C7, 0xFFC7C7C7, 0xFFC8C8C8}));

    const Ref<AlphaMemorySurface> display(new AlphaMemorySurface(4, 1));
    sprite->Draw(*display->CreateCanvas());
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(display->Pixels16()[i], 0);
    }
}

class GaugeSpriteTest : public testing::Test {
protected:
    // A strip of two 2 x 2 frames, a quarter turn: eight frames once quadrupled.
    Ref<GaugeSprite> gauge_{new GaugeSprite(FilledSurface(2, 4, kWhite).Get())};

    // Steps until the needle rests; false when it does not within 2000 steps.
    bool SettleAt(float target) {
        gauge_->SetRotation(target);
        for (int step = 0; step < 2000; ++step) {
            gauge_->Update(16);
            if (gauge_->GetSpeed() == 0.0f && gauge_->GetShownAngle() == target) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(GaugeSpriteTest, RestsOnTheFrameOfItsTarget) {
    EXPECT_EQ(gauge_->GetFrameCount(), 8);
    EXPECT_EQ(gauge_->GetHeight(), 2);
    ASSERT_TRUE(SettleAt(std::numbers::pi_v<float> / 2));
    EXPECT_EQ(gauge_->GetCurrentFrame(), 2);
    EXPECT_EQ(gauge_->GetRotation(), 0.0f);  // the picture itself is never turned
    ASSERT_TRUE(SettleAt(-1.0f));            // behind the needle: it reverses
    EXPECT_EQ(gauge_->GetCurrentFrame(), 6);  // 8 - 1.27..., wrapped into the turn
}

TEST_F(GaugeSpriteTest, ATargetSetBackToTheNeedleStopsItAtOnce) {
    gauge_->SetRotation(3.0f);
    for (int step = 0; step < 20; ++step) {
        gauge_->Update(16);
    }
    ASSERT_GT(gauge_->GetSpeed(), 0.0f);
    const float here = gauge_->GetShownAngle();
    gauge_->SetRotation(here);
    gauge_->Update(16);
    EXPECT_EQ(gauge_->GetShownAngle(), here);
    EXPECT_EQ(gauge_->GetSpeed(), 0.0f);
}

class ThresholdSpriteTest : public testing::Test {
protected:
    static constexpr uint8_t kValues[] = {0, 61, 62, 126, 127, 254, 255};
    static constexpr int32_t kCount = 7;

    void SetUp() override {
        for (int32_t i = 0; i < kCount; ++i) {
            picture_->Pixels32()[i] = 0xFF000000u | static_cast<uint32_t>(i + 1);
            map_->GetBytes()[i] = kValues[i];
        }
        sprite_->SetPicture(picture_.Get());
        sprite_->SetThresholdMap(map_.Get());
    }

    // Which pixels the image shows, as '#' and '.'.
    std::string Shown() const {
        std::string shown;
        for (int32_t i = 0; i < kCount; ++i) {
            shown += sprite_->GetImage()->Pixels32()[i] != 0 ? '#' : '.';
        }
        return shown;
    }

    void Draw() { sprite_->Draw(*screen_->CreateCanvas()); }

    Ref<MemorySurface> picture_ = FilledSurface(kCount, 1, 0);
    Ref<ChannelMap> map_{new ChannelMap(kCount, 1)};
    Ref<ThresholdSprite> sprite_{new ThresholdSprite};
    Ref<MemorySurface> screen_ = FilledSurface(kCount, 1, kBlack);
};

TEST_F(ThresholdSpriteTest, ShowsTheBandBelowTheThreshold) {
    struct Case {
        float threshold;
        float band;
        int32_t lower;
        int32_t upper;
        const char* shown;  // map values 0, 61, 62, 126, 127, 254, 255
    };
    const Case cases[] = {
        {0.5f, 256.0f, -1, 126, "####..."},
        {0.5f, 0.25f, 62, 126, "..##..."},
        {0.0f, 256.0f, -1, -1, "......."},
        {1.0f, 256.0f, -1, 254, "######."},  // 255 is never shown
    };
    for (const Case& c : cases) {
        sprite_->SetBandWidth(c.band);
        sprite_->SetThreshold(c.threshold);
        screen_ = FilledSurface(kCount, 1, kBlack);
        Draw();
        EXPECT_EQ(sprite_->GetShownLowerBound(), c.lower) << c.threshold << " " << c.band;
        EXPECT_EQ(sprite_->GetShownUpperBound(), c.upper) << c.threshold << " " << c.band;
        EXPECT_EQ(Shown(), c.shown) << c.threshold << " " << c.band;
        EXPECT_EQ(PixelAt(*screen_, 0, 0) != kBlack, c.shown[0] == '#');  // and draws its image
    }
}

TEST_F(ThresholdSpriteTest, RebuildsOnlyWhenTheBoundsMove) {
    sprite_->SetThreshold(0.5f);
    Draw();
    picture_->Pixels32()[0] = 0xFF00FF00;
    sprite_->SetThreshold(0.5f);
    Draw();
    EXPECT_EQ(sprite_->GetImage()->Pixels32()[0], 0xFF000001u);  // same bounds, not rebuilt
    sprite_->SetThreshold(0.6f);
    Draw();
    EXPECT_EQ(sprite_->GetImage()->Pixels32()[0], 0xFF00FF00u);

    Surface* image = sprite_->GetImage();
    sprite_->SetPicture(picture_.Get());
    EXPECT_EQ(sprite_->GetImage(), image);
    EXPECT_EQ(sprite_->GetShownUpperBound(), 152);
}

TEST_F(ThresholdSpriteTest, RebuildsTheDisplayCopyOn16Bits) {
    const Ref<AlphaMemorySurface> display(new AlphaMemorySurface(kCount, 1));
    const Ref<Canvas> canvas = display->CreateCanvas();
    sprite_->SetThreshold(0.5f);
    sprite_->Draw(*canvas);  // the first draw makes the 16-bit copy
    sprite_->SetThreshold(1.0f);
    sprite_->Draw(*canvas);
    auto* copy = ObjectCast<AlphaMemorySurface>(sprite_->GetImage()->GetDisplayCopy());
    ASSERT_NE(copy, nullptr);
    std::string shown;
    for (int32_t i = 0; i < kCount; ++i) {
        shown += copy->GetAlphaBuffer()[i] == 255 ? '#' : copy->GetAlphaBuffer()[i] == 0 ? '.' : '?';
    }
    EXPECT_EQ(shown, "######.");
}

TEST_F(ThresholdSpriteTest, AMapOfAnotherSizeIsRefused) {
    sprite_->SetThresholdMap(Ref<ChannelMap>(new ChannelMap(3, 1)).Get());
    sprite_->SetThreshold(1.0f);
    Draw();
    EXPECT_EQ(Shown(), ".......");
}
