#pragma once

#include <cstdint>
#include <vector>

#include "engine/scene/Modifier.h"

// Steps a modifier by `elapsedMs` until it finishes, at most `limit` times,
// and gathers what `observe` reads after each update. `updates` is the
// number of updates that ran.
template <typename Observe>
auto RunModifier(Modifier& modifier, int32_t elapsedMs, int limit, Observe observe) {
    struct Run {
        std::vector<decltype(observe())> seen;
        int updates = 0;
        bool finished = false;
    } run;
    while (run.updates < limit && !modifier.IsFinished()) {
        modifier.Update(elapsedMs);
        ++run.updates;
        run.seen.push_back(observe());
    }
    run.finished = modifier.IsFinished();
    return run;
}
