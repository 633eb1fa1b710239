#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/scene/Path.h"
#include "engine/scene/Sprite.h"

class GameNode;
class Surface;

// The dots that run along the routes the ticket panel shows: a fixed pool
// of sprites, at most kMaxRoutes routes of at most kMaxDots dots each. The
// map scene moves them while it is idle; the panel lays and clears them.
class MapRouteDots {
public:
    static constexpr int32_t kMaxRoutes = 5;
    static constexpr int32_t kMaxDots = 50;
    static constexpr float kSpacing = 30.0f;
    // Pixels per millisecond: 40 a second.
    static constexpr float kSpeed = 0.04f;
    static constexpr float kFadePerPixel = 8.5f;

    // Makes the pool from the dot picture (two frames, centred).
    void Build(Surface* dot);

    // Lays a route of `dotCount` dots (cut to the pool) along `curve` under
    // `parent`; false, laying nothing, when every route of the pool is used.
    bool AddRoute(Path* curve, int32_t dotCount, GameNode& parent);
    // Takes every dot off the map and forgets the routes.
    void Clear();

    // Advances the phase by `elapsedMs` and places the dots; the first dot
    // of a route fades in and the last fades out as the chain moves one
    // spacing on, so the chain seems endless. Nothing moves without routes.
    void Update(int32_t elapsedMs);

    bool Empty() const { return curves_.empty(); }
    float Phase() const { return phase_; }
    void SetPhase(float phase) { phase_ = phase; }
    const std::vector<std::vector<Sprite*>>& Routes() const { return dots_; }

private:
    void PlaceDots();

    std::array<std::vector<Ref<Sprite>>, kMaxRoutes> pool_;
    std::vector<Ref<Path>> curves_;
    // Each route's dots, taken from its pool entry; held by the pool.
    std::vector<std::vector<Sprite*>> dots_;
    float phase_ = 0.0f;
};
