#include <gtest/gtest.h>

#include "engine/media/Canvas.h"
#include "engine/media/CanvasTestSupport.h"
#include "engine/scene/HeadlessWindow.h"
#include "engine/scene/RenderPass.h"
#include "engine/scene/SceneTestSupport.h"
#include "engine/scene/Sprite.h"

namespace {

constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kWhite = 0xFFFFFFFF;

// A tree drawn onto an 8 x 2 screen: each sprite is a 2 x 2 white square.
class RenderPassTest : public testing::Test {
protected:
    RenderPassTest() : square_(FilledSurface(2, 2, kWhite)) {}

    Sprite* Square(GameNode& parent, int32_t x) {
        auto* sprite = new Sprite(x, 0, square_.Get());
        parent.AddChild(sprite);
        return sprite;
    }

    std::string DrawTree() {
        const Ref<MemorySurface> screen = FilledSurface(8, 2, kBlack);
        const Ref<Canvas> canvas = screen->CreateCanvas();
        RenderPass::DrawNodeTree(*canvas, *root_);
        EXPECT_EQ(canvas->GetOriginX(), 0);
        EXPECT_EQ(canvas->GetClipRect(), (Rect{0, 0, 8, 2}));
        return PictureRows(*screen, {{kWhite, '#'}})[0];
    }

    Ref<MemorySurface> square_;
    Ref<GameNode> root_{new GameNode};
};

TEST_F(RenderPassTest, APlainNodeDrawsNothingButOffsetsItsChildren) {
    auto* group = new GameNode;
    group->SetPosition(3, 0);
    root_->AddChild(group);
    Square(*group, 1);
    EXPECT_EQ(DrawTree(), "....##..");
}

TEST_F(RenderPassTest, HiddenOrRemovedNodesAreSkippedWithTheirSubtrees) {
    Sprite* parent = Square(*root_, 0);
    Square(*parent, 3);
    Sprite* removed = Square(*root_, 6);
    EXPECT_EQ(DrawTree(), "##.##.##");

    removed->SetRemoved(true);
    EXPECT_EQ(DrawTree(), "##.##...");
    parent->SetVisible(false);
    EXPECT_EQ(DrawTree(), "........");
}

TEST_F(RenderPassTest, AClipCoversTheChildrenOnlyWhenAskedTo) {
    Sprite* parent = Square(*root_, 1);
    parent->SetClipRect(0, 0, 4, 2);  // in the root's space: columns 0 to 3
    Square(*parent, 1);               // columns 2 and 3
    Square(*parent, 3);               // columns 4 and 5: outside the clip
    EXPECT_EQ(DrawTree(), ".###....");

    parent->SetClipChildren(false);
    EXPECT_EQ(DrawTree(), ".#####..");

    // A child's own clip replaces the inherited one for its subtree.
    parent->SetClipChildren(true);
    Sprite* wide = Square(*parent, 5);
    wide->SetClipRect(5, 0, 2, 2);  // relative to the parent: columns 6 and 7
    EXPECT_EQ(DrawTree(), ".###..##");
}

}  // namespace

namespace {

// Stands in for the scene layer: its scene is a sprite drawn before the tree.
class SceneStandIn : public CurrentSceneSource {
public:
    Sprite* GetCurrentSceneSprite() override { return scene.Get(); }
    Ref<Sprite> scene;
};

TEST_F(RenderPassTest, EachFrameDrawsTheCurrentScenesPictureThenTheTreeOnTheWindowsCanvas) {
    const HeadlessWindow window;
    Canvas* canvas = window->GetCanvas();
    ASSERT_NE(canvas, nullptr);
    canvas->SetColor(Color(0x000000));
    canvas->FillRect(0, 0, 8, 2);

    SceneStandIn source;
    source.scene = new Sprite(0, 0, FilledSurface(4, 1, 0xFFFF0000).Get());
    RenderPass::SetCurrentSceneSource(&source);
    Square(*root_, 2);
    const Ref<RenderPass> pass(new RenderPass(root_.Get()));
    pass->Update(16);
    const Surface& back = *window->GetBackSurface();
    EXPECT_EQ(PictureRows(back, {{kWhite, '#'}, {0xFFFF0000, 'R'}})[0].substr(0, 6), "RR##..");

    source.scene->SetVisible(false);
    canvas->FillRect(0, 0, 8, 2);
    pass->Update(16);
    EXPECT_EQ(PictureRows(back, {{kWhite, '#'}, {0xFFFF0000, 'R'}})[0].substr(0, 6), "..##..");
    RenderPass::SetCurrentSceneSource(nullptr);
}

}  // namespace
