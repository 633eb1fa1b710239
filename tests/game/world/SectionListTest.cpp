#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "MapFixture.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/PropertyFile.h"
#include "platform/Files.h"

namespace {

std::vector<float> Xs(const Path& path) {
    std::vector<float> xs;
    for (int32_t i = 0; i < path.Count(); ++i) {
        xs.push_back(path.Point(i).x);
    }
    return xs;
}

Ref<TrackPart> Line(float x0, float y0, float x1, float y1) {
    return MapFixture::Line(x0, y0, x1, y1);
}

TEST(SectionListTest, BuildsTheSectionsOfTheFile) {
    MapFixture fixture;
    const SectionList& map = *fixture.map;
    const SectionInfo& first = map.Section(0);
    ASSERT_EQ(first.cities.size(), 4u);
    EXPECT_EQ(first.cities[1]->x, 100);
    EXPECT_EQ(first.cities[1]->ticketY, -30);
    EXPECT_EQ(first.cities[1]->index, 1);
    ASSERT_EQ(first.cities[1]->assets.ids.size(), 1u);
    EXPECT_EQ(first.cities[1]->assets.positions[0].x, 105.0f);
    EXPECT_EQ(first.trackParts.size(), 5u);
    ASSERT_EQ(first.trackParts[0]->circlePoints.size(), 1u);
    EXPECT_EQ(first.trackParts[0]->circlePoints[0].radius, 25);
    EXPECT_EQ(first.trackParts[0]->circleItems.size(), 1u);
    ASSERT_EQ(first.tracks.size(), 2u);
    EXPECT_EQ(first.tracks[0]->ends[1], (CityRef{1, 0}));
    EXPECT_EQ(first.tracks[0]->trackIndicatorY, 22);
    EXPECT_EQ(first.assets.ids, std::vector<int>{2});
    EXPECT_EQ(first.enter, 0);
    EXPECT_EQ(first.leave, 2);
    // Only the unlocked track is bought.
    EXPECT_FALSE(first.tracks[0]->bought);
    EXPECT_TRUE(first.tracks[1]->bought);
    // Sections the file leaves out stay empty.
    EXPECT_TRUE(map.Section(9).cities.empty());
    EXPECT_EQ(map.Section(9).enter, -1);
    EXPECT_EQ(map.TrackCount(), 4);
}

TEST(SectionListTest, DropsEntriesWhoseIndicesLeaveTheirLists) {
    MapFixture fixture;
    const SectionInfo& second = fixture.map->Section(1);
    // Entry 0 ends at a missing city, entry 1 names another section.
    ASSERT_EQ(second.tracks.size(), 2u);
    EXPECT_EQ(second.tracks[0]->curveIds, std::vector<int32_t>{0});
    EXPECT_EQ(second.tracks[1]->ends[0], (CityRef{1, 1}));
    // Unlocked entry 3 is the second kept track; entries 0 and 7 are gone.
    EXPECT_EQ(second.unlockedTracks, std::vector<int32_t>{1});
    EXPECT_FALSE(second.tracks[0]->bought);
    EXPECT_TRUE(second.tracks[1]->bought);
}

// The fixture's map with its first list `id` written as a node.
std::string WithListAsNode(const std::string& xml, const std::string& id) {
    std::string out = xml;
    const std::string open = "<Vector id=\"" + id + "\">";
    const size_t at = out.find(open);
    if (at == std::string::npos) {
        return out;
    }
    out.replace(at, open.size(), "<Node id=\"" + id + "\">");
    int depth = 0;
    for (size_t i = at + 1; i < out.size(); ++i) {
        if (out.compare(i, 7, "<Vector") == 0) {
            ++depth;
        } else if (out.compare(i, 9, "</Vector>") == 0 && depth-- == 0) {
            out.replace(i, 9, "</Node>");
            break;
        }
    }
    return out;
}

TEST(SectionListTest, AListWrittenAsANodeReadsAsEmpty) {
    const struct {
        const char* list;
        size_t (*count)(const SectionList&);
    } cases[] = {
        {"sections", [](const SectionList& map) { return map.Section(0).cities.size(); }},
        {"cities", [](const SectionList& map) { return map.Section(0).cities.size(); }},
        {"trackParts", [](const SectionList& map) { return map.Section(0).trackParts.size(); }},
        {"tracks", [](const SectionList& map) { return map.Section(0).tracks.size(); }},
        {"assets", [](const SectionList& map) { return map.Section(0).cities[0]->assets.ids.size(); }},
        {"unlockedtracks", [](const SectionList& map) { return map.Section(0).unlockedTracks.size(); }},
        {"curveIDs", [](const SectionList& map) { return map.Section(0).tracks[0]->curveIds.size(); }},
    };
    MapFixture fixture;
    for (const auto& c : cases) {
        EXPECT_GT(c.count(*fixture.map), 0u) << c.list << " is filled in the fixture";
        const Ref<PropertyFile> file = MapFixture::Parse(WithListAsNode(MapFixture::SectionsXml(), c.list));
        const Ref<SectionList> map(new SectionList);
        map->Build(Property::Child(file.Get(), "sections"));
        EXPECT_EQ(c.count(*map), 0u) << c.list;
    }
}

TEST(SectionListTest, ChainsTheCurvesOfATrack) {
    MapFixture fixture;
    const SectionInfo& first = fixture.map->Section(0);
    EXPECT_EQ(Xs(first.tracks[0]->GetPath()), (std::vector<float>{0, 100, 100, 200, 200, 300}));
    EXPECT_EQ(Xs(first.tracks[1]->GetPath()), (std::vector<float>{300, 300}));
}

TEST(SectionListTest, TurnsEachCurveToContinueThePath) {
    // Every join case yields the same path from x = 0 to x = 20.
    struct Case {
        const char* name;
        Ref<TrackPart> a, b;
    };
    const Case cases[] = {
        {"first meets first", Line(10, 0, 0, 0), Line(10, 0, 20, 0)},
        {"last meets first", Line(10, 0, 0, 0), Line(20, 0, 10, 0)},
        {"first meets last", Line(0, 0, 10, 0), Line(10, 0, 20, 0)},
        {"last meets last", Line(0, 0, 10, 0), Line(20, 0, 10, 0)},
    };
    for (const Case& c : cases) {
        TrackInfo track;
        track.curveIds = {0, 1};
        track.AssemblePath({c.a, c.b});
        EXPECT_EQ(Xs(track.GetPath()), (std::vector<float>{0, 10, 10, 20})) << c.name;
    }
    TrackInfo apart;
    apart.curveIds = {0, 1};
    apart.AssemblePath({Line(0, 0, 10, 0), Line(11, 0, 20, 0)});
    EXPECT_EQ(apart.GetPath().Count(), 0);
    TrackInfo none;
    none.AssemblePath({});
    EXPECT_EQ(none.GetPath().Count(), 0);
    TrackInfo beyond;
    beyond.curveIds = {0, 2};
    beyond.AssemblePath({Line(0, 0, 10, 0), Line(10, 0, 20, 0)});
    EXPECT_EQ(beyond.GetPath().Count(), 0);
}

TEST(SectionListTest, LengthClassIsTheFirstLongerThreshold) {
    const std::vector<int32_t> thresholds{165, 200, 235, 1600};
    struct Case {
        float length;
        std::vector<int32_t> thresholds;
        int32_t expected;
    };
    const Case cases[] = {
        {0, thresholds, 0},   {164.9f, thresholds, 0}, {165, thresholds, 1}, {234, thresholds, 2},
        {1599, thresholds, 3}, {1600, thresholds, 3},   {5000, thresholds, 3}, {5000, {}, 0},
    };
    for (const Case& c : cases) {
        TrackInfo track;
        track.curveIds = {0};
        track.AssemblePath({Line(0, 0, c.length, 0)});
        track.ComputeLengthClass(c.thresholds);
        EXPECT_EQ(track.lengthClass, c.expected) << c.length;
    }
}

TEST(SectionListTest, NearTestCountsTheRadiusItself) {
    const Ref<TrackPart> part = Line(0, 0, 100, 0);
    struct Case {
        int32_t x, y, radius;
        bool near;
    };
    const Case cases[] = {{50, 10, 10, true}, {50, 10, 9, false}, {110, 0, 10, true}, {-6, 8, 10, true},
                          {-6, 8, 9, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(part->IsNearPoint(c.x, c.y, c.radius), c.near) << c.x << "," << c.y << " r" << c.radius;
    }
    const Ref<PropertyFile> file = MapFixture::Parse(
        "<TrackPart><Vector id=\"points\"><Node><Float id=\"x\" value=\"5\"/></Node></Vector></TrackPart>");
    const TrackPart single(Property::At(file.Get(), 0));
    EXPECT_FALSE(single.IsNearPoint(5, 0, 100));
}

TEST(SectionListTest, TracksOfACity) {
    MapFixture fixture;
    const struct {
        CityRef city;
        std::vector<TrackRef> tracks;
    } cases[] = {
        {{1, 0}, {{0, 0}, {1, 0}}},
        {{2, 0}, {{1, 0}}},
        {{3, 0}, {}},
        {{1, 1}, {{0, 1}, {1, 1}}},
        {{1, 12}, {}},
    };
    for (const auto& c : cases) {
        std::vector<TrackRef> found;
        fixture.map->GetTracksOfCity(c.city, found);
        EXPECT_EQ(found, c.tracks) << c.city.city << "/" << c.city.section;
    }
}

TEST(SectionListTest, FindsUnboughtPartsNearATrack) {
    MapFixture fixture;
    const SectionInfo& first = fixture.map->Section(0);
    // Track part 4 touches the circle points of two of track 0's parts; part 3 is
    // near too but is bought with track 1.
    std::vector<Ref<TrackPart>> found;
    fixture.map->FindTrackPartsNearTrack({0, 0}, found, 0, 0);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].Get(), first.trackParts[4].Get());
    EXPECT_EQ(found[1].Get(), first.trackParts[4].Get());
    // Moved 100 to the right, only part 0's circle point still reaches it.
    found.clear();
    fixture.map->FindTrackPartsNearTrack({0, 0}, found, 0, -100);
    EXPECT_EQ(found.size(), 1u);
    found.clear();
    fixture.map->FindTrackPartsNearTrack({5, 0}, found, 0, 0);
    EXPECT_TRUE(found.empty());
}

TEST(SectionListTest, AllTracksBought) {
    MapFixture fixture;
    EXPECT_FALSE(fixture.map->AllTracksBought());
    for (int s = 0; s < SectionList::kSectionCount; ++s) {
        for (const Ref<TrackInfo>& track : fixture.map->Section(s).tracks) {
            track->bought = true;
        }
    }
    EXPECT_TRUE(fixture.map->AllTracksBought());
}

TEST(SectionListTest, AnswersTheLengthClassForTickets) {
    MapFixture fixture;
    const TicketMapHook& hook = *fixture.map;
    EXPECT_EQ(hook.TrackLengthClass(0, 0), 3);  // 300 pixels
    EXPECT_EQ(hook.TrackLengthClass(0, 1), 0);  // 100 pixels
    EXPECT_EQ(hook.TrackLengthClass(0, 2), 0);
    EXPECT_EQ(hook.TrackLengthClass(10, 0), 0);
}

TEST(SectionListTest, AMissingFileLeavesTenEmptySections) {
    Ref<SectionList> map = new SectionList;
    map->Build(nullptr);
    EXPECT_EQ(map->TrackCount(), 0);
    EXPECT_TRUE(map->AllTracksBought());
}

// The map this build generated chains every track's curves end to end.
TEST(SectionListTest, AssemblesTheGeneratedMap) {
    const std::string path = std::string(WORDRAIL_BUILD_DIR) + "/" + SectionList::kFileName;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(path, bytes)) << "build the generated_media target: " << path;
    Ref<PropertyFile> file = new PropertyFile;
    ASSERT_TRUE(file->LoadFromMemory(reinterpret_cast<const char*>(bytes.data()), bytes.size(), path));
    Defines::Create();
    Ref<SectionList> map = new SectionList;
    map->Build(Property::Child(file.Get(), "sections"));
    Defines::ReleaseInstance();
    ASSERT_GT(map->TrackCount(), 13);
    for (int s = 0; s < SectionList::kSectionCount; ++s) {
        const SectionInfo& section = map->Section(s);
        EXPECT_FALSE(section.unlockedTracks.empty()) << s;
        for (size_t t = 0; t < section.tracks.size(); ++t) {
            const TrackInfo& track = *section.tracks[t];
            const Path& assembled = track.GetPath();
            int32_t sampled = 0;
            double length = 0;
            for (const int32_t id : track.curveIds) {
                const Path& part = section.trackParts[static_cast<size_t>(id)]->SampledPath();
                sampled += part.Count();
                length += part.GetLength();
            }
            // No curve left out, and no jump where one curve meets the next:
            // a curve turned the wrong way would add its length again.
            EXPECT_EQ(assembled.Count(), sampled) << s << "/" << t;
            EXPECT_NEAR(assembled.GetLength(), length, 0.01) << s << "/" << t;
            EXPECT_GT(length, 0.0) << s << "/" << t;
        }
    }
}

}  // namespace
