#pragma once

#include <cstdint>

class Property;
class PropertyNode;

// How the last submitted word scored: points for its length, the bonus of a
// word scored after the player's train arrived, the product of its double
// and triple coals, and its letters. Saved as the level session's "score".
struct ScoreRule {
    int32_t Score = 0;
    int32_t Bonus = 0;
    int32_t Multiplier = 1;
    int32_t WordLength = 0;

    // Missing keys read as 0.
    void Read(const Property* node);
    void Write(PropertyNode& node) const;
};
