#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/foundation/MediaNumbers.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/scene/GameNode.h"
#include "engine/scene/Path.h"
#include "engine/scene/Sprite.h"
#include "scenes/MapAnchorPoints.h"
#include "scenes/MapDepthOrder.h"
#include "scenes/MapRouteDots.h"

// The map scene's pure parts: the train's depth among the section's pieces,
// the anchor file's hit circles and the moving route dots.
namespace {

// Nodes named by their letter, in the order given; "T" is the train.
struct Row {
    std::string name;
    int32_t y;
};

std::string Order(const GameNode& parent) {
    std::string names;
    for (const GameNode* node = parent.GetFirstChild(); node != nullptr; node = node->GetNextSibling()) {
        names += node->GetName();
    }
    return names;
}

TEST(MapDepthOrder, TheTrainStandsAfterEveryPieceAboveOrLevelWithItAndBeforeTheRest) {
    const struct {
        const char* what;
        std::vector<Row> rows;
        const char* expected;
    } cases[] = {
        {"back walk", {{"H", 0}, {"A", 10}, {"B", 30}, {"C", 40}, {"T", 20}}, "HATBC"},
        {"forward walk", {{"H", 0}, {"T", 35}, {"A", 10}, {"B", 30}, {"C", 40}}, "HABTC"},
        {"tie: after the equals", {{"H", 0}, {"A", 20}, {"T", 20}, {"B", 20}, {"C", 30}}, "HABTC"},
        {"already in place", {{"H", 0}, {"A", 10}, {"T", 15}, {"B", 30}}, "HATB"},
        {"last and lowest", {{"H", 0}, {"A", 10}, {"T", 50}}, "HAT"},
        {"first", {{"T", 5}, {"A", 10}}, "TA"},
        // Every earlier piece lower: the back walk runs off the front and
        // the forward walk finds nothing, so the train stays.
        {"walk passes the first child", {{"A", 30}, {"B", 40}, {"T", 10}}, "ABT"},
    };
    for (const auto& c : cases) {
        const Ref<GameNode> parent = new GameNode;
        GameNode* train = nullptr;
        for (const Row& row : c.rows) {
            const Ref<GameNode> node = new GameNode;
            node->SetName(row.name);
            node->SetY(row.y);
            parent->AddChild(node.Get());
            if (row.name == "T") train = node.Get();
        }
        SortTrainDepth(*train);
        EXPECT_EQ(Order(*parent), c.expected) << c.what;
        EXPECT_FALSE(train->IsRemoved()) << c.what;
    }
}

Ref<PropertyVector> Values(const std::vector<std::string>& texts) {
    Ref<PropertyVector> vector = new PropertyVector("circles");
    for (const std::string& text : texts) vector->Add(PropertyValue::FromString("", text, true));
    return vector;
}

TEST(MapAnchorPoints, CircleValuesComeInThreesInDecimalOrHexadecimal) {
    EXPECT_EQ(map_assets::ParseCircleValue("#1F"), 31);
    EXPECT_EQ(map_assets::ParseCircleValue("31"), 31);
    EXPECT_EQ(map_assets::ParseCircleValue("-4"), -4);
    EXPECT_EQ(map_assets::ParseCircleValue("wide"), 0);
    EXPECT_EQ(map_assets::ParseCircleValue("#"), 0);

    // Seven values: two circles, the odd one out dropped; moved to (100, 50).
    const auto circles = map_assets::ReadHitCircles(Values({"1", "2", "3", "#A", "-5", "6", "7"}).Get(), 100, 50);
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_EQ(circles[0].x, 101);
    EXPECT_EQ(circles[0].y, 52);
    EXPECT_EQ(circles[0].radius, 3);
    EXPECT_EQ(circles[1].x, 110);
    EXPECT_EQ(circles[1].y, 45);
    EXPECT_EQ(circles[1].radius, 6);
    // Offsets and radii beyond any screen are read as the nearest distance
    // that still adds to a position.
    const auto far = map_assets::ReadHitCircles(Values({"2147483647", "-2147483648", "#FFFFFFFF"}).Get(), 100, 50);
    ASSERT_EQ(far.size(), 1u);
    EXPECT_EQ(far[0].x, 100 + media_numbers::kPositionLimit);
    EXPECT_EQ(far[0].y, 50 - media_numbers::kPositionLimit);
    EXPECT_EQ(far[0].radius, 0);
    EXPECT_TRUE(map_assets::ReadHitCircles(nullptr, 0, 0).empty());
    const Ref<PropertyValue> notAVector(PropertyValue::FromString("", "3", true));
    EXPECT_TRUE(map_assets::ReadHitCircles(notAVector.Get(), 0, 0).empty());
}

TEST(MapAnchorPoints, APieceIsInsideWhenAllItsCirclesAreAndAlwaysWithoutCircles) {
    const TrackPart::CirclePoint point{100, 100, 50};
    using Circles = std::vector<map_assets::HitCircle>;
    const struct {
        const char* what;
        Circles circles;
        bool inside;
    } cases[] = {
        {"no circles", {}, true},
        {"touching the rim from inside", {{130, 100, 20}}, true},
        {"one pixel over the rim", {{131, 100, 20}}, false},
        {"one in, one out", {{100, 100, 5}, {200, 100, 5}}, false},
        {"diagonal, within", {{120, 120, 21}}, true},  // 28.28 + 21 <= 50
        {"diagonal, beyond", {{120, 120, 22}}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(map_assets::InsideCircle(c.circles, point), c.inside) << c.what;
    }
}

class MapRouteDotsTest : public testing::Test {
protected:
    MapRouteDotsTest() {
        // A straight route along y = 40 from x 0 to x 300.
        line_->Append({0, 40});
        line_->Append({300, 40});
        dots_.Build(nullptr);
    }
    ~MapRouteDotsTest() override { dots_.Clear(); }

    Ref<Path> line_ = new Path;
    Ref<GameNode> parent_ = new GameNode;
    MapRouteDots dots_;
};

TEST_F(MapRouteDotsTest, DotsRunAlongTheRouteThirtyPixelsApartWithTheChainEndsFading) {
    ASSERT_TRUE(dots_.AddRoute(line_.Get(), 3, *parent_));
    dots_.SetPhase(35.0f);
    dots_.Update(250);  // 35 mod 30 = 5, then 10 pixels on
    EXPECT_FLOAT_EQ(dots_.Phase(), 15.0f);
    const std::vector<Sprite*>& route = dots_.Routes().at(0);
    ASSERT_EQ(route.size(), 3u);
    const int32_t xs[] = {15, 45, 75};
    for (size_t i = 0; i < route.size(); ++i) {
        EXPECT_EQ(route[i]->GetX(), xs[i]);
        EXPECT_EQ(route[i]->GetY(), 40);
        EXPECT_EQ(route[i]->GetParent(), parent_.Get());
    }
    EXPECT_EQ(route[0]->GetAlpha(), 127);  // trunc(15 x 8.5)
    EXPECT_EQ(route[1]->GetAlpha(), 255);
    EXPECT_EQ(route[2]->GetAlpha(), 128);

    dots_.Clear();
    EXPECT_EQ(parent_->GetFirstChild(), nullptr);
    dots_.Update(100);
    EXPECT_FLOAT_EQ(dots_.Phase(), 15.0f) << "no route, no movement";
}

TEST_F(MapRouteDotsTest, ALoneDotEndsFadingOutAndThePoolIsNeverOverrun) {
    ASSERT_TRUE(dots_.AddRoute(line_.Get(), 1, *parent_));
    dots_.Update(0);
    EXPECT_EQ(dots_.Routes()[0][0]->GetAlpha(), 255) << "phase 0: the last dot's alpha wins";

    ASSERT_TRUE(dots_.AddRoute(line_.Get(), 80, *parent_));
    EXPECT_EQ(dots_.Routes()[1].size(), static_cast<size_t>(MapRouteDots::kMaxDots));
    for (int32_t i = 2; i < MapRouteDots::kMaxRoutes; ++i) EXPECT_TRUE(dots_.AddRoute(line_.Get(), 2, *parent_));
    EXPECT_FALSE(dots_.AddRoute(line_.Get(), 2, *parent_)) << "a sixth route would overrun the pool";
    EXPECT_EQ(dots_.Routes().size(), static_cast<size_t>(MapRouteDots::kMaxRoutes));
}

}  // namespace
