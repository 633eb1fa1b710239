#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"

class Label;
class Modifier;

// What the screens that wait for resource sections share.

// Wakes the loader; true once the section list is declared and every
// section queued for loading is in (their weights counted as done).
// Without a section manager nothing can be waiting.
bool QueuedSectionsLoaded();

// The endless pulse of a waiting text: full, then down to 100, a second each way.
Ref<Modifier> MakeLoadingPulse();

// The "loading" text with a dot more every 400 ms: the word, then one, two
// and three dots, then the word again.
class LoadingTextCadence {
public:
    static constexpr int32_t kDotIntervalMs = 400;

    // The next change is due at `nowMs`, starting with the bare word.
    void Start(int32_t nowMs);
    // Every change due by `nowMs`; the bare word is centred on `width`.
    void Advance(Label& label, int32_t nowMs, int32_t width);

private:
    int32_t nextMs_ = 0;
    int32_t dots_ = 0;
};
