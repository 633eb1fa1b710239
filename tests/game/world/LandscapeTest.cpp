#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "RaceFixture.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "game/world/AutoTrain.h"
#include "game/world/LSO.h"
#include "game/world/Landscape.h"
#include "game/world/PlayerTrain.h"

namespace {

// The strip stands at x 0 with its scroll node at 100; tiles are 300 wide;
// the race is 100 units of 10 px; the camera stops 300 px before the end.
class LandscapeTest : public testing::Test {
protected:
    LandscapeTest() {
        definition_ = new PropertyFile;
        const std::string xml =
            "<root><Node id=\"strip\"><LSO id=\"START_STATION\" width=\"50\" height=\"40\"/>"
            "<LSO id=\"END_STATION\" width=\"60\" height=\"40\"/></Node></root>";
        definition_->LoadFromMemory(xml.data(), xml.size(), "strip");
    }

    Ref<Landscape> NewRace() const {
        Ref<Landscape> landscape(new Landscape(Property::Child(definition_.Get(), "strip")));
        landscape->CreateTrains();
        landscape->PlaceStations();
        landscape->GetPlayerTrain()->SetUnitsToTravel(100);
        landscape->GetAutoTrain()->SetUnitsToTravel(100);
        return landscape;
    }

    static std::vector<int> TileScreenXs(const Landscape& landscape) {
        std::vector<int> xs;
        const GameNode& layer = landscape.GetLayer(Landscape::kTrackLayer);
        for (GameNode* tile = layer.GetFirstChild(); tile != nullptr; tile = tile->GetNextSibling()) {
            xs.push_back(tile->GetAbsoluteX());
        }
        return xs;
    }

    RaceConstants constants_;
    RecordingRace race_;
    Ref<PropertyFile> definition_;
};

TEST_F(LandscapeTest, BuildsTheStripWithStationsPerronsAndTiles) {
    const Ref<Landscape> landscape = NewRace();
    EXPECT_EQ(landscape->GetWidth(), 800);
    EXPECT_EQ(landscape->GetHeight(), 150);
    ASSERT_NE(landscape->GetStartStation(), nullptr);
    ASSERT_NE(landscape->GetEndStation(), nullptr);
    EXPECT_EQ(landscape->GetStartStation()->GetWidth(), 50);
    EXPECT_EQ(landscape->GetStartStation()->GetX(), 60);
    EXPECT_EQ(landscape->GetEndStation()->GetX(), 1060);
    EXPECT_EQ(landscape->GetStartPerron()->GetX(), 20);
    EXPECT_EQ(landscape->GetEndPerron()->GetX(), 1020);
    EXPECT_EQ(landscape->GetEndPerron()->GetY(), 150);
    EXPECT_EQ(landscape->GetEndPerron()->GetParent(), &landscape->GetLayer(Landscape::kFrontLayer));
    EXPECT_EQ(landscape->GetPlayerTrain()->GetParent(), &landscape->GetLayer(Landscape::kPlayerLayer));
    EXPECT_EQ(landscape->GetAutoTrain()->GetParent(), &landscape->GetLayer(Landscape::kOpponentLayer));
    // From the screen's left edge to past 799, and no more on the next frame.
    EXPECT_EQ(TileScreenXs(*landscape), (std::vector<int>{0, 300, 600}));
    landscape->Update(16);
    EXPECT_EQ(TileScreenXs(*landscape), (std::vector<int>{0, 300, 600}));
}

TEST_F(LandscapeTest, AMissingOrEmptyTilePictureStopsTheFill) {
    for (const auto& [section, image] : {std::pair{4, "TRACK_BACKGROUND5"}, std::pair{5, "TRACK_BACKGROUND6"}}) {
        race_.section = section;
        race_.images["TRACK_BACKGROUND6"] = {0, 150};  // an empty picture
        const Ref<Landscape> landscape = NewRace();
        landscape->Update(16);
        EXPECT_TRUE(TileScreenXs(*landscape).empty()) << image;
        // It is looked for again: once the picture is there, the strip fills.
        race_.images[image] = {400, 150};
        landscape->Update(16);
        EXPECT_EQ(TileScreenXs(*landscape), (std::vector<int>{0, 400})) << image;
    }
}

TEST_F(LandscapeTest, TheCameraFollowsOnlyWhileRacingAndBrakesBeforeTheEnd) {
    const Ref<Landscape> landscape = NewRace();
    landscape->GetPlayerTrain()->SetRealX(1000.0f);  // at the end station
    for (int state : {0, 1}) {
        race_.state = state;
        landscape->Update(16);
    }
    race_.state = RaceContext::kRacing;
    race_.paused = true;
    landscape->Update(16);
    EXPECT_EQ(landscape->GetPosX(), 0.0f);
    race_.paused = false;

    float furthest = 0.0f;
    for (int i = 0; i < 400; ++i) {
        landscape->Update(16);
        furthest = std::max(furthest, landscape->GetPosX());
    }
    // 1000 - 300: it may overrun by at most one frame at full speed.
    EXPECT_LE(furthest, 700.0f + 400.0f * 0.016f);
    EXPECT_GT(landscape->GetPosX(), 690.0f);
    EXPECT_EQ(landscape->GetSpeed(), 0.0f);
    // Layers follow the camera; tiles keep covering the screen.
    EXPECT_EQ(landscape->GetLayer(0).GetX(), -static_cast<int>(std::lround(landscape->GetPosX())));
    const std::vector<int> xs = TileScreenXs(*landscape);
    ASSERT_FALSE(xs.empty());
    EXPECT_LE(xs.front(), 0);
    EXPECT_GT(xs.back() + 300, 799);
}

TEST_F(LandscapeTest, ShiftingToTheNextRaceKeepsTheSceneAndSwapsTheStations) {
    const Ref<Landscape> landscape = NewRace();
    landscape->GetPlayerTrain()->SetRealX(1000.0f);
    landscape->GetAutoTrain()->SetRealX(900.0f);
    race_.state = RaceContext::kRacing;
    for (int i = 0; i < 200; ++i) {
        landscape->Update(16);
    }
    const float posx = landscape->GetPosX();
    const std::vector<int> tilesBefore = TileScreenXs(*landscape);
    LSO* oldEnd = landscape->GetEndStation();
    LSO* oldStart = landscape->GetStartStation();
    const int endScreenX = oldEnd->GetAbsoluteX();

    landscape->ShiftToNextRace();
    EXPECT_EQ(landscape->GetPosX(), posx - 1000.0f);
    EXPECT_EQ(landscape->GetPlayerTrain()->GetX(), 0);
    EXPECT_EQ(landscape->GetAutoTrain()->GetRealX(), -100.0f);
    EXPECT_EQ(landscape->GetStartStation(), oldEnd);
    EXPECT_EQ(landscape->GetEndStation(), oldStart);
    // The old end station was at 1060; it now stands where a start belongs.
    EXPECT_EQ(oldEnd->GetX(), 60);
    EXPECT_EQ(oldStart->GetX(), 1060);
    landscape->ApplyScroll();
    EXPECT_EQ(TileScreenXs(*landscape), tilesBefore);
    EXPECT_EQ(oldEnd->GetAbsoluteX(), endScreenX);
}

// A save game may give a race of any length: one too long to count in 32-bit
// pixels still has its end far ahead, so the camera follows the train.
TEST_F(LandscapeTest, ARaceTooLongForItsPixelsStillScrolls) {
    const Ref<Landscape> landscape = NewRace();
    landscape->GetPlayerTrain()->SetUnitsToTravel(INT32_MAX);
    landscape->GetPlayerTrain()->SetRealX(1000.0f);
    race_.state = RaceContext::kRacing;
    for (int i = 0; i < 100; ++i) {
        landscape->Update(16);
    }
    EXPECT_GT(landscape->GetPosX(), 0.0f);
}

TEST_F(LandscapeTest, SaveAndLoadRestoreTrainsAndCamera) {
    const Ref<Landscape> landscape = NewRace();
    landscape->GetPlayerTrain()->SetUnitsTravelled(40);
    race_.state = RaceContext::kRacing;
    for (int i = 0; i < 100; ++i) {
        landscape->Update(16);
    }
    PropertyNode saved("landscape", "");
    landscape->Save(saved);

    const Ref<Landscape> restored(new Landscape(Property::Child(definition_.Get(), "strip")));
    restored->Clear(true);
    restored->Load(&saved);
    restored->PlaceStations();
    ASSERT_NE(restored->GetPlayerTrain(), nullptr);
    ASSERT_NE(restored->GetAutoTrain(), nullptr);
    EXPECT_EQ(restored->GetPlayerTrain()->GetRealX(), landscape->GetPlayerTrain()->GetRealX());
    EXPECT_EQ(restored->GetPlayerTrain()->GetSpeed(), landscape->GetPlayerTrain()->GetSpeed());
    EXPECT_EQ(restored->GetAutoTrain()->GetProgress(), landscape->GetAutoTrain()->GetProgress());
    EXPECT_EQ(restored->GetPosX(), landscape->GetPosX());
    EXPECT_EQ(restored->GetSpeed(), landscape->GetSpeed());
    EXPECT_EQ(restored->GetLayer(3).GetX(), landscape->GetLayer(3).GetX());
    EXPECT_EQ(restored->GetPlayerTrain()->GetParent(), &restored->GetLayer(Landscape::kPlayerLayer));

    // A save whose trains are missing or of another kind gets new ones.
    PropertyNode broken("landscape", "");
    broken.Add(PropertyValue::FromInteger("pt", 3, false));
    const Ref<Landscape> renewed(new Landscape(Property::Child(definition_.Get(), "strip")));
    renewed->Clear(true);
    renewed->Load(&broken);
    ASSERT_NE(renewed->GetPlayerTrain(), nullptr);
    ASSERT_NE(renewed->GetAutoTrain(), nullptr);
    EXPECT_EQ(renewed->GetPlayerTrain()->GetParent(), &renewed->GetLayer(Landscape::kPlayerLayer));
    EXPECT_EQ(renewed->GetAutoTrain()->GetProgress(), 0);

    // Clearing drops the trains and keeps stations, perrons and tiles.
    restored->Clear(true);
    EXPECT_EQ(restored->GetPlayerTrain(), nullptr);
    EXPECT_EQ(restored->GetStartStation()->GetParent(), &restored->GetLayer(Landscape::kStationLayer));
    EXPECT_EQ(restored->GetPosX(), 0.0f);
    EXPECT_FALSE(TileScreenXs(*restored).empty());
}

}  // namespace
