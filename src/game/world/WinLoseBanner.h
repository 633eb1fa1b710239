#pragma once

#include <cstdint>

class GameNode;
class Sprite;

// Squash, stretch and settle of the node's crop size, appended to its
// modifiers after `delay` ms: from full size in 540 ms, or grown from nothing
// in 720 ms. Unless keepSize or fromFull is set, the node collapses at once.
void PlayBounce(Sprite& node, int32_t delay, bool keepSize, bool fromFull);
// Callback shape: bounces the node every 2200 ms for as long as it lives.
void RepeatBounce(uint32_t value, GameNode* node);

// Slides the banner (whose first child is its text) in over the word queue,
// throws stars from it, continues the level end and later fades it out.
void ShowWinLoseBanner(Sprite& banner, bool won);
// Bounces the text, then fades the banner out and hides it; clear drops the
// modifiers of both first.
void HideWinLoseBanner(Sprite& banner, bool clear);
