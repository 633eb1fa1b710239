#pragma once

#include <cstdint>

#include "engine/scene/Sprite.h"

// A landscape object: a sprite on the race strip that keeps its exact x as a
// float beside the integer node x, and the index of the strip layer that
// holds it.
class LSO : public Sprite {
    ENGINE_CLASS(LSO, Sprite)

public:
    static constexpr int32_t kDefaultLayer = 6;

    // The sprite keys, then "layer" when present; realx starts at the node's x.
    explicit LSO(Property* definition = nullptr);

    float GetRealX() const { return realX_; }
    // Stores the exact x and places the node at it, truncated toward zero.
    void SetRealX(float x);
    int32_t GetLayer() const { return layer_; }
    void SetLayer(int32_t layer) { layer_ = layer; }

private:
    float realX_ = 0.0f;
    int32_t layer_ = kDefaultLayer;
};
