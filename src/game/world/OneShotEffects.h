#pragma once

#include <cstdint>

class GameNode;
class Modifier;
class Sprite;

// Ten sparks, 140 ms apart after `delay`, each falling 40 px from a random
// point of a 50 x 20 box above (x, y) of the parent.
void SpawnBonusSpark(GameNode& parent, int32_t x, int32_t y, int32_t delay);
// A star that flies 530 px from (x, y) in the direction `angle` (radians,
// 0 straight down). Its modifiers go into the animation tree below
// `parentModifier`, so it starts once that one has finished. Returns the
// flight, below which callers chain more; null when there is no parent
// modifier or no star definition.
Modifier* SpawnStar(GameNode& parent, Modifier* parentModifier, int32_t x, int32_t y, float angle, int32_t delay,
                    bool silver);
// The celebration burst from (x, y): nine rings of ten stars, ring k leaving
// 40 + 95 k ms after `parentModifier` has finished, its first star turned
// (k mod 3) x 12 degrees.
void BurstStarRings(GameNode& parent, Modifier* parentModifier, int32_t x, int32_t y, bool silver);
// The flash on the mini train at (x, y) of the parent.
void ShowTrainGlow(GameNode& parent, int32_t x, int32_t y);
// A short wobble of the node's scale; each call appends one after the last.
void PlayZoomWobble(Sprite& node);
