#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "MapFixture.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/Sprite.h"
#include "game/world/MapOverlays.h"

namespace {

struct StampCase {
    float length;
    std::vector<float> distances;
};

TEST(MapOverlaysTest, OverlayStampsSpreadAlongThePart) {
    const StampCase cases[] = {
        {200.0f, {40, 64, 88, 112, 136, 160}},  // 120 px left: five gaps of 24
        {100.0f, {40, 60}},                     // 20 px left rounds to one gap
        {90.0f, {40}},                          // 10 px left rounds to no gap: one stamp
        {60.0f, {30}},                          // shorter than 80: the middle
        {0.0f, {0}},
    };
    for (const StampCase& c : cases) {
        const std::vector<float> distances = OverlayStampDistances(c.length);
        ASSERT_EQ(distances.size(), c.distances.size()) << "length " << c.length;
        for (size_t i = 0; i < distances.size(); ++i) {
            EXPECT_NEAR(distances[i], c.distances[i], 1e-3) << "length " << c.length << " stamp " << i;
        }
    }
}

TEST(MapOverlaysTest, OverlayShowsTheMapOnlyUnderTheStampedCircles) {
    const Ref<TrackPart> part = MapFixture::Line(100, 50, 200, 50);  // stamps at x = 140 and 160
    const Ref<MemorySurface> map = CreateMemorySurface(300, 150);
    std::fill(map->Pixels32(), map->Pixels32() + 300 * 150, 0xFF112233u);
    // Land the map has already uncovered, off the part but under the sprite.
    for (int32_t x = 120; x < 180; ++x) {
        map->Pixels32()[map->PixelIndex(x, 20)] = 0x00112233u;
    }
    const Ref<MemorySurface> circle = CreateMemorySurface(5, 5);  // clear: lowers alpha to 0
    const Ref<Sprite> overlay = DrawTrackOverlay(*part, *map, circle.Get());
    const Rect bounds = part->GetBounds();
    ASSERT_EQ(overlay->GetX(), bounds.x - 35);
    ASSERT_EQ(overlay->GetY(), bounds.y - 35);
    EXPECT_EQ(overlay->GetWidth(), bounds.w + 70);
    EXPECT_EQ(overlay->GetHeight(), bounds.h + 70);
    const Surface& picture = *overlay->GetImage();
    const auto pixel = [&](int32_t x, int32_t y) {
        return picture.Pixels32()[picture.PixelIndex(x - overlay->GetX(), y - overlay->GetY())];
    };
    for (const int32_t x : {140, 142, 160}) {
        EXPECT_EQ(pixel(x, 50), 0xFF112233u) << x;
    }
    for (const int32_t x : {100, 150, 200}) {
        EXPECT_EQ(pixel(x, 50), 0x00112233u) << x;
    }
    for (const int32_t x : {120, 179}) {
        EXPECT_EQ(pixel(x, 20), 0x00112233u) << "uncovered land stays out of the stamp at " << x;
    }
}

// Three hidden items and a visible one at the single circle point of a part.
struct ItemsFixture {
    ItemsFixture() : part(MapFixture::Line(0, 0, 100, 0)) {
        part->circlePoints = {{50, 0, 25}};
        part->circleItems.resize(1);
        for (int i = 0; i < 4; ++i) {
            Ref<Sprite> item = new Sprite(0, 0, 20, 10);
            item->SetVisible(i == 1);
            items.push_back(item);
            part->circleItems[0].emplace_back(item.Get());
        }
    }

    // Steps every item by 10 ms a frame and returns, per item, the time at
    // which it first showed (-1: never).
    std::vector<int> ShowTimes(GameNode* host, int frames) {
        std::vector<int> times(items.size(), -1);
        for (int frame = 0; frame < frames; ++frame) {
            if (host != nullptr) {
                host->UpdateModifiers(10);
            }
            for (size_t i = 0; i < items.size(); ++i) {
                items[i]->UpdateModifiers(10);
                if (times[i] < 0 && items[i]->IsVisible()) {
                    times[i] = (frame + 1) * 10;
                }
            }
        }
        return times;
    }

    Ref<TrackPart> part;
    std::vector<Ref<Sprite>> items;
};

TEST(MapOverlaysTest, ItemsShowAtOnceWithoutAnimation) {
    ItemsFixture fixture;
    ShowSectionAssets(*fixture.part, 0, false, nullptr);
    for (const Ref<Sprite>& item : fixture.items) {
        EXPECT_TRUE(item->IsVisible());
        EXPECT_FALSE(item->HasModifiers());
    }
}

TEST(MapOverlaysTest, AnimatedItemsPopUpInTurnAfterTheGivenModifier) {
    ItemsFixture fixture;
    Ref<Sprite> host = new Sprite(0, 0, 1, 1);
    Modifier* after = host->AddModifier(new ModifierWait(100));
    ShowSectionAssets(*fixture.part, 0, true, after);
    EXPECT_FALSE(fixture.items[0]->IsVisible());
    EXPECT_FALSE(fixture.items[1]->HasModifiers());  // already shown: skipped, not counted

    const std::vector<int> times = fixture.ShowTimes(host.Get(), 60);
    ASSERT_GE(times[0], 100);
    EXPECT_LE(times[0], 120);
    // A gap starts in the frame its predecessor ends and counts that frame.
    EXPECT_NEAR(times[2] - times[0], 150, 10);
    EXPECT_NEAR(times[3] - times[0], 300, 10);
}

TEST(MapOverlaysTest, CirclePointsWithoutItemsAreIgnored) {
    ItemsFixture fixture;
    for (const int point : {-1, 1, 7}) {
        ShowSectionAssets(*fixture.part, point, false, nullptr);
    }
    EXPECT_FALSE(fixture.items[0]->IsVisible());
}

TEST(MapOverlaysTest, PopupGrowsOvershootsAndSettles) {
    Ref<Sprite> item = new Sprite(0, 0, 20, 10);
    item->SetVisible(false);
    ShowItemPopup(*item);
    EXPECT_TRUE(item->IsVisible());

    int widest = 0;
    int frames = 0;
    while (item->HasModifiers() && frames < 100) {
        item->UpdateModifiers(10);
        if (item->GetCropRect()) {
            widest = std::max(widest, item->GetCropRect()->w);
        }
        ++frames;
    }
    EXPECT_EQ(widest, 30);
    EXPECT_GE(frames * 10, 600);  // 250 + 150 + 100 + 100 ms
    EXPECT_LT(frames * 10, 700);
    EXPECT_FALSE(item->GetCropRect().has_value());
}

TEST(MapOverlaysTest, OtherSignsAreAddedWithoutANumber) {
    Ref<CityInfo> city = new CityInfo();
    city->index = 7;
    const Ref<MemorySurface> picture = CreateMemorySurface(60, 20);
    Ref<Sprite> sign = new Sprite(0, 0, picture.Get());
    city->AddSignpostLabel(sign.Get());
    city->AddSignpostLabel(nullptr);
    ASSERT_EQ(city->mapNodes.size(), 1u);
    EXPECT_EQ(city->mapNodes[0].Get(), sign.Get());
    EXPECT_EQ(sign->GetImage(), picture.Get());
}

}  // namespace
