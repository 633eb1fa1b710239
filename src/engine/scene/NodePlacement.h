#pragma once

#include <cstdint>

class GameNode;
class Sprite;

// Moves the node under a new parent so that it stays where it is on the
// screen: its position changes by the difference of the two parents'
// absolute positions.
void ReparentKeepingPosition(GameNode& node, GameNode& newParent);

// Sets the sprite's anchor kind (and its pivot's, when that follows) and moves
// the sprite by the change of the anchor (cut toward zero), so that the drawn
// image stays put.
void SetAnchorKindKeepingPlace(Sprite& sprite, int32_t kind);
