#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "mediagen/MapPlan.h"

namespace {

TEST(MapPlan, ReadsSectionsCitiesRolesAndTracks) {
    const MapPlan plan = ParseMapPlan(
        "# a comment\n"
        "section meadows\n"
        "city Ashby 100 300 enter   # trailing comment\n"
        "city Brook 400 200\n"
        "city Clay 700 310 leave\n"
        "track Ashby Brook unlocked\n"
        "track Clay Brook\n"
        "\n"
        "section farmland\n"
        "city Dun 90 200 enter\n");
    ASSERT_EQ(plan.sections.size(), 2u);
    const PlanSection& first = plan.sections[0];
    EXPECT_EQ(first.theme, "meadows");
    ASSERT_EQ(first.cities.size(), 3u);
    EXPECT_EQ(first.cities[1].name, "Brook");
    EXPECT_EQ(first.cities[1].x, 400);
    EXPECT_EQ(first.cities[1].y, 200);
    EXPECT_EQ(first.enter, 0);
    EXPECT_EQ(first.leave, 2);
    ASSERT_EQ(first.tracks.size(), 2u);
    EXPECT_TRUE(first.tracks[0].unlocked);
    EXPECT_EQ(first.tracks[1].city0, 2);
    EXPECT_EQ(first.tracks[1].city1, 1);
    EXPECT_FALSE(first.tracks[1].unlocked);
    EXPECT_EQ(plan.sections[1].enter, 0);
    EXPECT_EQ(plan.sections[1].leave, -1);
}

TEST(MapPlan, FaultsNameTheirLine) {
    const std::string head = "section meadows\ncity Ashby 100 300\ncity Brook 400 200\n";
    const struct {
        std::string text;
        std::string fault;
    } cases[] = {
        {"city Ashby 1 2\n", "line 1: a city or track before the first section"},
        {head + "city Ashby 5 5\n", "line 4: city named twice"},
        {head + "city Clay 5 x\n", "line 4: not a whole number"},
        {head + "city Clay 5 5 middle\n", "line 4: not a city role"},
        {head + "city Clay 5 5 enter\ncity Dun 6 6 enter\n", "line 5: a second enter city"},
        {head + "track Ashby Nowhere\n", "line 4: no city Nowhere"},
        {head + "track Ashby Ashby\n", "line 4: a track from a city to itself"},
        {head + "track Ashby Brook\ntrack Brook Ashby\n", "line 5: track given twice"},
        {head + "track Ashby Brook open\n", "line 4: not a track flag"},
        {head + "station Ashby\n", "line 4: not understood"},
        {"section\n", "line 1: not understood"},
    };
    for (const auto& c : cases) {
        try {
            ParseMapPlan(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(c.fault), std::string::npos) << error.what();
        }
    }
}

}  // namespace
