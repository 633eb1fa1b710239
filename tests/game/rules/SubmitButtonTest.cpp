#include <gtest/gtest.h>

#include "engine/foundation/Ref.h"
#include "game/rules/SubmitButton.h"

namespace {

// The door stands at the left, the button far to its right and lower down,
// as on the game screen: either one takes the click.
TEST(SubmitButton, HitsOnItsOwnPictureAndFromTheAreaNodeDownToItsLowerEdge) {
    Ref<GameNode> screen = new GameNode;
    screen->SetPosition(100, 50);
    Ref<Sprite> door = new Sprite;
    door->SetPosition(10, 20);
    door->SetSize(80, 40);
    screen->AddChild(door.Get());
    Ref<SubmitButton> button = new SubmitButton(nullptr);
    button->SetPosition(300, 150);
    button->SetSize(60, 30);
    screen->AddChild(button.Get());

    // Before the area is set only the picture answers.
    EXPECT_FALSE(button->HitTest(110, 70));
    EXPECT_TRUE(button->HitTest(430, 215));
    button->SetHitArea(*door);
    EXPECT_EQ(button->HitHeight(), 230 - 70);
    const struct {
        int x;
        int y;
        bool hit;
    } cases[] = {
        // The area: the door's column down to the button's lower edge.
        {110, 70, true},
        {189, 229, true},
        {150, 150, true},
        {109, 100, false},
        {190, 100, false},
        {150, 69, false},
        {150, 230, false},
        // The button's own picture, corners included, and just beside it.
        {400, 200, true},
        {459, 229, true},
        {399, 215, false},
        {460, 215, false},
        {430, 199, false},
        // Between the two: neither.
        {300, 215, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(button->HitTest(c.x, c.y), c.hit) << c.x << ", " << c.y;
    }
}

}  // namespace
