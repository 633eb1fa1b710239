#include <gtest/gtest.h>

#include <cstdint>

#include "MapFixture.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/ModifierImageSweep.h"
#include "game/world/ModifierBuildTrack.h"

namespace {

// Section 0's track 0 runs 300 px along y = 0; the map picture is 800 px
// wide, so the worker stands where the stamp goes.
class BuildTrackTest : public testing::Test {
protected:
    BuildTrackTest() : track(*fixture.map->Section(0).tracks[0]) {
        map = CreateMemorySurface(800, 4);
        std::fill(map->Pixels32(), map->Pixels32() + 800 * 4, 0xFF000000u);
        stamp = CreateMemorySurface(1, 1);  // alpha 0
    }

    Ref<ModifierBuildTrack> Make(CityInfo* end0 = nullptr, CityInfo* end1 = nullptr) {
        Ref<ModifierBuildTrack> build =
            new ModifierBuildTrack(track, end0, end1, stamp.Get(), map.Get(), top.Get(), 1000);
        host->AddModifier(build.Get());
        return build;
    }

    uint32_t AlphaAt(int32_t x) const { return map->Pixels32()[x] >> 24; }

    MapFixture fixture;
    TrackInfo& track;
    Ref<MemorySurface> map;
    Ref<MemorySurface> stamp;
    Ref<Sprite> top = new Sprite();
    Ref<Sprite> host = new Sprite();
};

TEST_F(BuildTrackTest, WorkerFollowsTheTrackBySmoothstep) {
    Ref<ModifierBuildTrack> build = Make();
    struct Step {
        int32_t elapsed;
        int32_t x;
    };
    int32_t elapsed = 0;
    for (const Step step : {Step{250, 47}, Step{500, 150}, Step{750, 253}, Step{1000, 300}}) {
        build->Update(step.elapsed - elapsed);
        elapsed = step.elapsed;
        EXPECT_EQ(build->Worker().GetX(), step.x) << step.elapsed;
        EXPECT_EQ(build->Worker().GetY(), 0);
    }
    EXPECT_TRUE(build->IsFinished());
    EXPECT_TRUE(build->Worker().IsRemoved());
}

TEST_F(BuildTrackTest, StampsOnlyFromNinePixelsOn) {
    Ref<ModifierBuildTrack> build = Make();
    build->Update(50);  // 2.2 px
    build->Update(50);  // 8.4 px
    for (int32_t x = 0; x < 800; ++x) {
        ASSERT_EQ(AlphaAt(x), 255u) << x;
    }
    build->Update(50);  // 18.2 px
    EXPECT_EQ(AlphaAt(18), 0u);
    while (!build->IsFinished()) {
        build->Update(50);
    }
    for (int32_t x = 0; x < 9; ++x) {
        EXPECT_EQ(AlphaAt(x), 255u) << x;
    }
    EXPECT_EQ(AlphaAt(300), 0u);
}

TEST_F(BuildTrackTest, LongLastFrameEndsAtTheTrackEnd) {
    Ref<ModifierBuildTrack> build = Make();
    build->Update(1500);
    EXPECT_EQ(build->Worker().GetX(), 300);
}

TEST_F(BuildTrackTest, OnlyCitiesWithHiddenItemsPopUpAtTheEnd) {
    struct End {
        bool hasAssets;
        bool firstShown;
        bool popsUp;
    };
    const End ends[] = {{true, false, true}, {true, true, false}, {false, false, false}};
    for (const End& end : ends) {
        Ref<CityInfo> city = new CityInfo();
        city->circleRadius = 40;
        if (end.hasAssets) {
            city->assets.ids = {1, 2};
        }
        Ref<Sprite> first = new Sprite(0, 0, 8, 8);
        Ref<Sprite> second = new Sprite(0, 0, 8, 8);
        first->SetVisible(end.firstShown);
        second->SetVisible(false);
        city->mapNodes = {Ref<Object>(first.Get()), Ref<Object>(second.Get())};

        host->ClearModifiers();
        Ref<ModifierBuildTrack> build = Make(city.Get(), nullptr);
        build->Update(1000);
        int sweeps = 0;
        for (const Ref<Modifier>& modifier : host->GetModifiers()) {
            sweeps += ObjectCast<ModifierImageSweep>(modifier.Get()) != nullptr;
        }
        EXPECT_EQ(second->IsVisible(), end.popsUp);
        EXPECT_EQ(sweeps, end.popsUp ? 1 : 0);
    }
}

TEST_F(BuildTrackTest, PiecesFlyFromBehindTheWorker) {
    Ref<ModifierBuildTrack> build = Make();
    build->Update(10);
    const auto* piece = ObjectCast<Sprite>(top->GetFirstChild());
    ASSERT_NE(piece, nullptr);
    EXPECT_NE(piece, &build->Worker());
    EXPECT_EQ(piece->GetNextSibling(), &build->Worker());
    EXPECT_EQ(piece->GetAlpha(), 0);
}

}  // namespace
