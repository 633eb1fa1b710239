#pragma once

#include <cstdint>
#include <string>

class GameNode;

// The effects of an accepted word on its way into the furnace. The first two
// have the callback shape (the value is not used), so the word bar can hang
// them on its letter sprites.

// The word's score, "+30x2+50", rising and fading above the node.
void ShowFloatingScore(uint32_t value, GameNode* node);
// Score stars over a letter of a long word; the node's colour value is the
// letter's index in the word.
void ThrowCoalScoreStars(uint32_t value, GameNode* node);
// The wide score text: points, then "x" and the multiplier above 1, then
// "+" and the bonus above 0.
std::wstring FloatingScoreText(int32_t points, int32_t multiplier, int32_t bonus);

// A node thrown upward at a random angle under gravity and friction that
// removes itself after 4000 ms; appended to the parent at (x, y).
GameNode* SpawnSparkCarrier(GameNode& parent, int32_t x, int32_t y);
// Two glows and three sparks riding one spark carrier.
void SpawnCoalSparks(GameNode& parent, int32_t x, int32_t y);
