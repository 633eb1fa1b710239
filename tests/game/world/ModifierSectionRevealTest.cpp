#include <gtest/gtest.h>

#include "MapFixture.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/ModifierImageSweep.h"
#include "engine/scene/Sprite.h"
#include "game/world/ModifierSectionReveal.h"

namespace {

// Section 0's track 0 (parts 0, 1, 2; circle points at x = 50, 150, 250 on
// y = 0, radii 25, 25, 60), a train, a host node and one hidden item per
// circle point.
class RevealTest : public testing::Test {
protected:
    RevealTest() : section(fixture.map->Section(0)), track(*section.tracks[0]) {
        for (int part = 0; part < 3; ++part) {
            Ref<Sprite> item = new Sprite(0, 0, 8, 8);
            item->SetVisible(false);
            section.trackParts[part]->circleItems = {{Ref<Object>(item.Get())}};
            items.push_back(item);
        }
        brush->SetImage(CreateMemorySurface(16, 16).Get());
    }

    Ref<ModifierSectionReveal> MakeReveal() {
        Ref<ModifierSectionReveal> reveal = new ModifierSectionReveal(section, track, train.Get(), brush.Get(), map.Get());
        host->AddModifier(reveal.Get());
        return reveal;
    }

    int SweepCount() const {
        int count = 0;
        for (const Ref<Modifier>& modifier : host->GetModifiers()) {
            count += ObjectCast<ModifierImageSweep>(modifier.Get()) != nullptr;
        }
        return count;
    }

    MapFixture fixture;
    SectionInfo& section;
    TrackInfo& track;
    Ref<Sprite> train = new Sprite(0, 0, 4, 4);
    Ref<Sprite> brush = new Sprite();
    Ref<Sprite> host = new Sprite();
    Ref<MemorySurface> map = CreateMemorySurface(400, 200);
    std::vector<Ref<Sprite>> items;
};

TEST_F(RevealTest, SweepsEachPointOnceAsTheTrainPassesAndEndsWhenAllAreDone) {
    Ref<ModifierSectionReveal> reveal = MakeReveal();
    struct Step {
        int trainX;
        int sweeps;
    };
    // 30 px from the first point is out of its 25 px reach; 40 px from the
    // third is within its 60 px.
    for (const Step step : {Step{20, 0}, Step{40, 1}, Step{50, 1}, Step{160, 2}, Step{210, 3}}) {
        train->SetX(step.trainX);
        reveal->Update(10);
        EXPECT_EQ(SweepCount(), step.sweeps) << "train at " << step.trainX;
    }
    EXPECT_TRUE(reveal->IsFinished());
    for (int part = 0; part < 3; ++part) {
        EXPECT_TRUE(section.trackParts[part]->revealed) << part;
    }
    EXPECT_FALSE(section.trackParts[3]->revealed);
}

TEST_F(RevealTest, ItemsPopUpOnlyAfterTheirSweep) {
    Ref<ModifierSectionReveal> reveal = MakeReveal();
    train->SetX(50);
    reveal->Update(10);
    items[0]->UpdateModifiers(10);
    EXPECT_FALSE(items[0]->IsVisible());
    for (int frame = 0; frame < 80 && !items[0]->IsVisible(); ++frame) {
        host->UpdateModifiers(10);
        items[0]->UpdateModifiers(10);
    }
    EXPECT_TRUE(items[0]->IsVisible());
    EXPECT_FALSE(items[1]->IsVisible());
}

TEST_F(RevealTest, GivesUpAfterTheCapAndStillMarksThePartsRevealed) {
    Ref<ModifierSectionReveal> reveal = MakeReveal();
    train->SetPosition(0, 150);  // never near the track
    int updates = 0;
    while (!reveal->IsFinished() && updates < 1000) {
        reveal->Update(100);
        ++updates;
    }
    EXPECT_EQ(updates, 46);  // 45 updates reach 4500 ms; the next one ends it
    EXPECT_EQ(SweepCount(), 0);
    EXPECT_TRUE(section.trackParts[0]->revealed);
}

TEST_F(RevealTest, RevealedPartsAndUnknownCurvesAreLeftAlone) {
    section.trackParts[0]->revealed = true;
    track.curveIds = {0, 1, 2, 99, -1};
    Ref<ModifierSectionReveal> reveal = MakeReveal();
    train->SetX(50);
    reveal->Update(10);
    EXPECT_EQ(SweepCount(), 0);
}

}  // namespace
