#include <gtest/gtest.h>

#include <string>

#include "game/world/MapBackIds.h"

namespace {

TEST(MapBackIdsTest, SectionsCountFromOneInTheIds) {
    const struct {
        std::string (*make)(int32_t);
        int32_t section;
        const char* id;
    } cases[] = {
        {map_backs::MakeBackgroundId, 0, "BACKGROUND1"}, {map_backs::MakeBackgroundId, 9, "BACKGROUND10"},
        {map_backs::MakeOverlayId, 3, "OVERLAY4"},       {map_backs::MakeBetweenId, 0, "BETWEEN_A1"},
        {map_backs::MakeBetweenBId, 8, "BETWEEN_B9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.make(c.section), c.id) << c.id;
    }
}

}  // namespace
