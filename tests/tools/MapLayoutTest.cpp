#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/Ref.h"
#include "mediagen/Families.h"
#include "mediagen/MapChecks.h"
#include "mediagen/MapKinds.h"
#include "mediagen/MapXml.h"
#include "platform/Files.h"
#include "support/TempFolder.h"

namespace {

MapLayout ShippedLayout() {
    Bytes text;
    EXPECT_TRUE(platform::ReadWholeFile(MapPlanFile(WORDRAIL_MEDIA_SOURCE), text));
    return LayOutMap(ParseMapPlan(std::string(text.begin(), text.end())));
}

bool HasFault(const std::vector<std::string>& faults, const std::string& part) {
    return std::any_of(faults.begin(), faults.end(), [&](const std::string& f) { return f.find(part) != std::string::npos; });
}

TEST(MapLayout, TheShippedPlanKeepsEveryConstraint) {
    const MapLayout layout = ShippedLayout();
    EXPECT_EQ(CheckMapLayout(layout), std::vector<std::string>{});
    // Curves start and end on the cities' points, so the game can chain them.
    for (const LaidSection& section : layout.sections) {
        for (const LaidTrack& track : section.tracks) {
            const std::vector<MapPoint> rails = TrackRails(section, track);
            EXPECT_EQ(rails.front().x, section.cities[track.city0].x);
            EXPECT_EQ(rails.back().y, section.cities[track.city1].y);
        }
    }
}

TEST(MapLayout, LayingOutTwiceGivesTheSameMap) {
    EXPECT_EQ(SectionsXml(ShippedLayout()), SectionsXml(ShippedLayout()));
}

TEST(MapLayout, ChecksFindEachBrokenConstraint) {
    const struct {
        const char* name;
        std::function<void(MapLayout&)> breakIt;
        std::string fault;
    } cases[] = {
        {"one unlocked track too many", [](MapLayout& m) { m.sections[3].unlocked.push_back(0); }, "14 unlocked tracks"},
        {"a section missing", [](MapLayout& m) { m.sections.pop_back(); }, "9 sections"},
        {"six tracks at a city",
         [](MapLayout& m) {
             LaidSection& s = m.sections[0];
             for (int i = 0; i < 6; ++i) {
                 s.tracks.push_back(s.tracks[0]);
             }
         },
         "more than 5 tracks"},
        {"a route too long",
         [](MapLayout& m) {
             LaidSection& s = m.sections[1];
             for (int i = 0; i < 6; ++i) {
                 const LaidTrack there = s.tracks[0];
                 s.tracks[0].parts.insert(s.tracks[0].parts.end(), there.parts.rbegin(), there.parts.rend());
             }
         },
         "px long"},
        {"curves that do not chain",
         [](MapLayout& m) {
             LaidTrack& t = *std::find_if(m.sections[2].tracks.begin(), m.sections[2].tracks.end(),
                                          [](const LaidTrack& track) { return track.parts.size() > 1; });
             std::reverse(t.parts.begin(), t.parts.end());
         },
         "do not chain"},
        {"a city without a station", [](MapLayout& m) { m.sections[4].cities[2].assets.clear(); }, "no station"},
        {"a signpost standing on its station",
         [](MapLayout& m) {
             std::vector<PlacedAsset>& assets = m.sections[1].cities[3].assets;
             assets.back().x = assets.front().x;
             assets.back().y = assets.front().y;
         },
         "sign over its station"},
        {"a boat on dry land",
         [](MapLayout& m) {
             LaidSection& coast = m.sections[8];
             const int boat = KindIndex(LandscapeKinds(), "ASSET_BOAT");
             coast.assets.push_back({boat, coast.cities[0].x, coast.cities[0].y});
         },
         "ASSET_BOAT at"},
        {"a house in the sea",
         [](MapLayout& m) { m.sections[8].assets.push_back({KindIndex(LandscapeKinds(), "ASSET_HOUSE"), 400, 596}); },
         "ASSET_HOUSE at 400,596 in the water"},
        {"a ticket under the top bar", [](MapLayout& m) { m.sections[9].cities[4].ticketY = 40; }, "under the top bar"},
        {"no leave city", [](MapLayout& m) { m.sections[5].leave = -1; }, "no leave city"},
        {"no enter city", [](MapLayout& m) { m.sections[6].enter = 40; }, "no enter city"},
        {"a track to no city", [](MapLayout& m) { m.sections[7].tracks[0].city1 = 99; }, "ends at no city"},
        {"too few cities", [](MapLayout& m) { m.sections[8].cities.resize(7); }, "not 8 to 12"},
        {"tracks that cross",
         [](MapLayout& m) {
             // A straight track between two far cities cuts through the others.
             LaidSection& s = m.sections[9];
             const LaidCity& a = s.cities[s.enter];
             const LaidCity& b = s.cities[s.leave];
             LaidPart part;
             part.span = {{double(a.x), double(a.y)}, {double(a.x), double(a.y)}, {double(b.x), double(b.y)},
                          {double(b.x), double(b.y)}};
             part.samples = SampleSpan(part.span, 40);
             part.circles.push_back({a.x, a.y, 50});
             s.parts.push_back(part);
             s.tracks.push_back({s.enter, s.leave, {}, {int(s.parts.size()) - 1}});
         },
         "cross"},
    };
    const MapLayout sound = ShippedLayout();
    for (const auto& c : cases) {
        MapLayout broken = sound;
        c.breakIt(broken);
        const std::vector<std::string> faults = CheckMapLayout(broken);
        EXPECT_TRUE(HasFault(faults, c.fault)) << c.name << ": " << (faults.empty() ? "no fault" : faults.front());
    }
}

// The generated lists are added to the hand-written constants, which keep
// everything they had.
TEST(MapLists, AssetsFileKeepsTheHandWrittenConstantsAndGainsTheLists) {
    const std::string handWritten = "<?xml version=\"1.0\" ?>\n<root>\n  <Integer id=\"KEPT\" value=\"7\"/>\n</root>\n";
    for (const std::string& source : {handWritten, std::string()}) {
        const std::string xml = CompleteAssetsXml(source);
        Ref<PropertyFile> file = new PropertyFile;
        ASSERT_TRUE(file->LoadFromMemory(xml.data(), xml.size(), "assets.xml"));
        EXPECT_EQ(Property::AsInt(Property::Child(file.Get(), "KEPT")), source.empty() ? 0 : 7);
        const Property* assets = Property::Child(file.Get(), "ASSETS");
        const Property* stations = Property::Child(file.Get(), "STATIONS");
        for (size_t i = 0; i < LandscapeKinds().size(); ++i) {
            EXPECT_EQ(Property::AsString(Property::Child(Property::At(assets, int(i)), "image")), LandscapeKinds()[i].id);
        }
        EXPECT_EQ(Property::At(assets, int(LandscapeKinds().size())), nullptr);
        for (size_t i = 0; i < StationKinds().size(); ++i) {
            const Property* node = Property::At(stations, int(i));
            EXPECT_EQ(node->TypeName(), "DisabledSpriteImageVector");
            EXPECT_EQ(Property::AsString(Property::Child(node, "section")), StationKinds()[i].section);
            EXPECT_EQ(Property::AsString(Property::Child(node, "imageDisabled")), StationKinds()[i].disabledId);
        }
    }
    EXPECT_THROW(CompleteAssetsXml("<root>\n<Vector id=\"ASSETS\"/>\n</root>\n"), std::runtime_error);
    EXPECT_THROW(CompleteAssetsXml("<root>\n"), std::runtime_error);
}

}  // namespace

namespace {

TEST(MapPictures, InBetweenWidthFollowsTheConstants) {
    TempFolder media;
    EXPECT_EQ(SectionBetweenWidth(media.Path()), 100);
    std::filesystem::create_directories(media.Path() + "/properties");
    std::ofstream(media.Path() + "/properties/a.xml") << "<root><Integer id=\"OTHER\" value=\"3\"/></root>\n";
    std::ofstream(media.Path() + "/properties/b.xml") << "<root><Integer id=\"SECTION_BETWEEN_WIDTH\" value=\"64\"/></root>\n";
    EXPECT_EQ(SectionBetweenWidth(media.Path()), 64);
    std::ofstream(media.Path() + "/properties/b.xml") << "<root><Integer id=\"SECTION_BETWEEN_WIDTH\" value=\"0\"/></root>\n";
    EXPECT_THROW(SectionBetweenWidth(media.Path()), std::runtime_error);
}

}  // namespace
