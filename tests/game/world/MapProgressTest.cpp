#include <gtest/gtest.h>

#include <string>

#include "MapFixture.h"
#include "engine/foundation/PropertyNode.h"

namespace {

// Every progress field of the map as one comparable list.
std::vector<int> Progress(const SectionList& map) {
    std::vector<int> values;
    for (int s = 0; s < SectionList::kSectionCount; ++s) {
        const SectionInfo& section = map.Section(s);
        values.push_back(section.finished);
        for (const Ref<TrackInfo>& track : section.tracks) {
            values.insert(values.end(), {track->bought, track->games});
        }
        for (const Ref<CityInfo>& city : section.cities) {
            values.insert(values.end(), {city->bought, city->visited});
        }
    }
    return values;
}

void PlaySome(SectionList& map) {
    SectionInfo& first = map.Section(0);
    first.finished = true;
    first.tracks[0]->bought = true;
    first.tracks[0]->games = 7;
    first.tracks[1]->bought = false;
    first.cities[2]->visited = true;
    first.cities[3]->bought = true;
    map.Section(1).tracks[1]->games = 2;
}

TEST(MapProgressTest, WrittenProgressReadsBack) {
    MapFixture fixture;
    SectionList& map = *fixture.map;
    PlaySome(map);
    const std::vector<int> played = Progress(map);
    Ref<PropertyVector> stored = new PropertyVector("sections");
    map.WriteProgress(stored.Get());
    ASSERT_EQ(stored->Count(), SectionList::kSectionCount);
    EXPECT_EQ(stored->Items()[0]->TypeName(), "PlayerSectionData");

    map.ResetProgress();
    EXPECT_NE(Progress(map), played);
    map.ReadProgress(stored.Get());
    EXPECT_EQ(Progress(map), played);
}

TEST(MapProgressTest, ResetBuysOnlyTheUnlockedTracks) {
    MapFixture fixture;
    SectionList& map = *fixture.map;
    PlaySome(map);
    map.Section(0).cities[0]->mapNodes.push_back(new Object);
    map.ResetProgress();
    EXPECT_FALSE(map.Section(0).finished);
    EXPECT_FALSE(map.Section(0).tracks[0]->bought);
    EXPECT_EQ(map.Section(0).tracks[0]->games, 0);
    EXPECT_TRUE(map.Section(0).tracks[1]->bought);
    EXPECT_FALSE(map.Section(1).tracks[0]->bought);
    EXPECT_TRUE(map.Section(1).tracks[1]->bought);
    EXPECT_FALSE(map.Section(0).cities[3]->bought);
    EXPECT_FALSE(map.Section(0).cities[2]->visited);
    EXPECT_TRUE(map.Section(0).cities[0]->mapNodes.empty());
}

TEST(MapProgressTest, OnlyNonEmptyTextOtherThanFalseReadsTrue) {
    const struct {
        const char* element;
        bool bought;
    } cases[] = {
        {"<Boolean id=\"bought\" value=\"true\"/>", true},  {"<Boolean id=\"bought\" value=\"yes\"/>", true},
        {"<Boolean id=\"bought\" value=\"0\"/>", true},     {"<Boolean id=\"bought\" value=\"false\"/>", false},
        {"<Boolean id=\"bought\" value=\"\"/>", false},     {"", false},
    };
    for (const auto& c : cases) {
        Ref<PropertyFile> file = MapFixture::Parse(std::string("<Node id=\"track\">") + c.element +
                                                   "<Integer id=\"games\" value=\"3\"/></Node>");
        TrackInfo track;
        track.bought = !c.bought;
        track.ReadProgress(Property::Child(file.Get(), "track"));
        EXPECT_EQ(track.bought, c.bought) << c.element;
        EXPECT_EQ(track.games, 3);
    }
}

TEST(MapProgressTest, ShortListsLeaveTheRestAtTheirResetValues) {
    MapFixture fixture;
    SectionList& map = *fixture.map;
    // One section stored, with one track and one city; section 1 played.
    Ref<PropertyFile> file = MapFixture::Parse(
        "<Vector id=\"sections\"><PlayerSectionData><Boolean id=\"finished\" value=\"true\"/>"
        "<Vector id=\"tracks\"><PlayerTrackData><Boolean id=\"bought\" value=\"true\"/>"
        "<Integer id=\"games\" value=\"4\"/></PlayerTrackData></Vector>"
        "<Vector id=\"cities\"><PlayerCityData><Boolean id=\"visited\" value=\"true\"/></PlayerCityData>"
        "</Vector></PlayerSectionData></Vector>");
    map.Section(1).finished = true;
    map.ResetProgress();
    map.ReadProgress(Property::Child(file.Get(), "sections"));
    const SectionInfo& first = map.Section(0);
    EXPECT_TRUE(first.finished);
    EXPECT_TRUE(first.tracks[0]->bought);
    EXPECT_EQ(first.tracks[0]->games, 4);
    EXPECT_TRUE(first.tracks[1]->bought);  // unlocked, not stored
    EXPECT_TRUE(first.cities[0]->visited);
    EXPECT_FALSE(first.cities[0]->bought);
    EXPECT_FALSE(first.cities[1]->visited);
    EXPECT_FALSE(map.Section(1).finished);
    EXPECT_TRUE(map.Section(1).tracks[1]->bought);
}

}  // namespace
