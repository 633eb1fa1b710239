#include <optional>
#include <utility>

#include "EffectsFixture.h"
#include "game/world/WinLoseBanner.h"

namespace {

using WinLoseBannerTest = EffectsFixture;

std::pair<int32_t, int32_t> CropSize(const Sprite& sprite) {
    const std::optional<Rect>& crop = sprite.GetCropRect();
    return crop ? std::make_pair(crop->w, crop->h) : std::make_pair(sprite.GetWidth(), sprite.GetHeight());
}

TEST_F(WinLoseBannerTest, BounceKeyframesFromFullSizeAndFromNothing) {
    using Size = std::pair<int32_t, int32_t>;
    const struct {
        bool keepSize, fromFull;
        Size atOnce;
        // The size reached at the end of each step, and the step lengths.
        int32_t steps[3];
    } cases[] = {
        {false, true, {100, 50}, {180, 180, 180}},
        {true, false, {100, 50}, {360, 180, 180}},
        {false, false, {0, 0}, {360, 180, 180}},
    };
    const Size ends[] = {{120, 45}, {80, 65}, {100, 50}};
    for (const auto& c : cases) {
        Ref<Sprite> node(new Sprite(0, 0, 100, 50));
        root->AddChild(node.Get());
        PlayBounce(*node, 40, c.keepSize, c.fromFull);
        EXPECT_EQ(CropSize(*node), c.atOnce);
        Run(40);
        for (int step = 0; step < 3; ++step) {
            // A step writes its end in the frame after its time has run
            // out, the frame in which the next step writes its start.
            Run(c.steps[step]);
            EXPECT_EQ(CropSize(*node), ends[step]) << c.keepSize << c.fromFull << " step " << step;
        }
        EXPECT_FALSE(node->HasModifiers());
        EXPECT_FALSE(node->GetCropRect());
        node->SetRemoved(true);
    }
}

TEST_F(WinLoseBannerTest, ANodeWithoutSizeStaysWithoutSize) {
    Ref<Sprite> node(new Sprite(0, 0, 0, 0));
    root->AddChild(node.Get());
    PlayBounce(*node, 0, false, false);
    EXPECT_EQ(node->GetModifiers().size(), 3u);
    for (int i = 0; i < 10; ++i) {
        Run(80);
        EXPECT_EQ(CropSize(*node), std::make_pair(0, 0));
    }
    EXPECT_FALSE(node->HasModifiers());
}

TEST_F(WinLoseBannerTest, RepeatedBounceLastsAsLongAsTheNode) {
    Ref<Sprite> node(new Sprite(0, 0, 100, 50));
    root->AddChild(node.Get());
    RepeatBounce(0, node.Get());
    Run(2100);
    EXPECT_EQ(CropSize(*node), std::make_pair(100, 50));
    Run(200);
    EXPECT_NE(CropSize(*node), std::make_pair(100, 50));  // the first bounce under way
    Run(5000);
    EXPECT_TRUE(node->HasModifiers());  // still looping
    node->SetRemoved(true);
    Run(10);
    EXPECT_EQ(node->GetParent(), nullptr);
    const size_t left = node->GetModifiers().size();
    Run(5000);
    EXPECT_EQ(node->GetModifiers().size(), left);
}

class BannerTest : public EffectsFixture {
protected:
    BannerTest() : banner(new Sprite()), text(new Sprite()) {
        images = {{"WIN_BACK", {200, 40}}, {"WIN_TEXT", {100, 20}}, {"LOSE_BACK", {220, 44}},
                  {"LOSE_TEXT", {80, 16}}};
        root->AddChild(banner.Get());
        banner->AddChild(text.Get());
        banner->SetVisible(false);
        queue->SetClipRect(400, 300, 300, 60);
    }

    Ref<Sprite> banner;
    Ref<Sprite> text;
};

TEST_F(BannerTest, SlidesInOverTheWordQueueThenBouncesAndFadesOut) {
    const struct {
        bool won;
        int32_t bannerWidth, bannerHeight, textWidth;
    } cases[] = {{true, 200, 40, 100}, {false, 220, 44, 80}};
    for (const auto& c : cases) {
        levelEndSteps = 0;
        ShowWinLoseBanner(*banner, c.won);
        EXPECT_EQ(banner->GetWidth(), c.bannerWidth);
        EXPECT_EQ(text->GetWidth(), c.textWidth);
        // The queue at (400, 300), 300 wide: it starts a banner's half width
        // right of the queue and ends over its middle.
        const int32_t start = c.bannerWidth / 2 + 300 + 399;
        EXPECT_EQ(banner->GetX(), start);
        EXPECT_EQ(text->GetX(), 399 - c.textWidth / 2 - start);
        EXPECT_TRUE(banner->IsVisible());
        ASSERT_TRUE(banner->GetClipRect());
        EXPECT_EQ(*banner->GetClipRect(), (Rect{400, 297, 300, 66}));

        Run(530);
        EXPECT_EQ(banner->GetX(), 549);
        EXPECT_EQ(banner->GetY(), c.bannerHeight / 2 + 300 - 6);
        EXPECT_EQ(text->GetX(), 0);
        EXPECT_EQ(text->GetY(), -4);
        EXPECT_EQ(levelEndSteps, 1);
        EXPECT_EQ(CountChildren(*layer), 25);  // the stars from the banner

        Run(3000);
        EXPECT_TRUE(banner->IsVisible());
        EXPECT_EQ(banner->GetAlpha(), 255);
        Run(1200);  // the text grows back in 720 ms, the banner fades in 400
        EXPECT_FALSE(banner->IsVisible());
        EXPECT_EQ(banner->GetAlpha(), 0);
        EXPECT_FALSE(banner->HasModifiers());
    }
}

TEST_F(BannerTest, HidingWithClearDropsTheSlide) {
    ShowWinLoseBanner(*banner, true);
    HideWinLoseBanner(*banner, true);
    Run(1300);
    EXPECT_EQ(levelEndSteps, 0);
    EXPECT_FALSE(banner->IsVisible());
}

}  // namespace
