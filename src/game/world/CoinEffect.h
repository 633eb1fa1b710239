#pragma once

#include <cstdint>

class Modifier;
class Sprite;

// A coin worth `value` that shows at (x, y - 20) of the effect layer once
// `waitFor` (may be null) has finished and `delay` ms have passed, spins,
// sounds, is thrown up and right (harder when strong) and is pulled to the
// coin counter, where it is counted. Its worth is in flight until then.
// Null when the game scene offers no effect layer or coin counter.
Sprite* SpawnCoins(Modifier* waitFor, int32_t x, int32_t y, int32_t value, bool strong, int32_t delay);
