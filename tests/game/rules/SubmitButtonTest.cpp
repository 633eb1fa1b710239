#include <gtest/gtest.h>

#include "engine/foundation/Ref.h"
#include "game/rules/SubmitButton.h"

namespace {

TEST(SubmitButton, HitsFromTheAreaNodeDownToItsOwnLowerEdge) {
    Ref<GameNode> screen = new GameNode;
    screen->SetPosition(100, 50);
    Ref<Sprite> door = new Sprite;
    door->SetPosition(10, 20);
    door->SetSize(80, 40);
    screen->AddChild(door.Get());
    Ref<SubmitButton> button = new SubmitButton(nullptr);
    button->SetPosition(20, 150);
    button->SetSize(60, 30);
    screen->AddChild(button.Get());

    EXPECT_FALSE(button->HitTest(110, 70));  // nothing before the area is set
    button->SetHitArea(*door);
    EXPECT_EQ(button->HitHeight(), 230 - 70);
    const struct {
        int x;
        int y;
        bool hit;
    } cases[] = {
        {110, 70, true},  {189, 229, true}, {150, 150, true},  {109, 100, false},
        {190, 100, false}, {150, 69, false}, {150, 230, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(button->HitTest(c.x, c.y), c.hit) << c.x << ", " << c.y;
    }
}

// On the game screen the door stands far left of the button: a click on the
// button's own picture fires too.
TEST(SubmitButton, AnswersOnItsOwnPictureBesideTheArea) {
    Ref<GameNode> screen = new GameNode;
    Ref<Sprite> door = new Sprite;
    door->SetPosition(30, 450);
    door->SetSize(60, 40);
    screen->AddChild(door.Get());
    Ref<SubmitButton> button = new SubmitButton(nullptr);
    button->SetPosition(640, 520);
    button->SetSize(110, 30);
    screen->AddChild(button.Get());
    button->SetHitArea(*door);

    EXPECT_TRUE(button->HitTest(700, 535));
    EXPECT_TRUE(button->HitTest(50, 470));
    EXPECT_FALSE(button->HitTest(400, 535));
}

}  // namespace
