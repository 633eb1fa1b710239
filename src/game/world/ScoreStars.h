#pragma once

#include <cstdint>

class GameNode;
class Surface;

// Throws a fan of glowing stars upward from (x, y) of the parent: `count`
// stars spread over `spread` pixels. With a slot of 0 or more the fan covers
// that letter's share of the last scored word and turns with it; -1 means
// no slot. Null pictures take "SCORE_STAR" and "SCORE_GLOW" of "default".
// Every star fades and removes itself within 1699 ms.
void SpawnScoreStars(GameNode& parent, int32_t x, int32_t y, int32_t count, int32_t spread, int32_t slot,
                     Surface* star = nullptr, Surface* glow = nullptr);

// Callback shape: 25 stars over the width of the node, in the effect layer.
void ThrowScoreStarsAtNode(uint32_t value, GameNode* node);
