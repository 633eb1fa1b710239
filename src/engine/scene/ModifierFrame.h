#pragma once

#include <cstdint>

#include "engine/scene/Modifier.h"

class Property;

// Steps the target sprite's frames, one per frame time: for ever, or until
// the end frame has been reached a number of times.
class ModifierFrame : public Modifier {
    ENGINE_CLASS(ModifierFrame, Modifier)

public:
    static constexpr int32_t kEndless = -1;
    static constexpr int32_t kDefaultFrameTimeMs = 100;

    // Keys "loopcount" (default endless) and "frametime" (default 100 ms).
    explicit ModifierFrame(Property* definition);
    // A negative loop count runs for ever; 0 counts as 1.
    ModifierFrame(int32_t loopCount, int32_t frameTimeMs);

    void Update(int32_t elapsedMs) override;

private:
    void AddTime(int32_t elapsedMs);

    int32_t loopCount_;
    int32_t frameTime_;
    int32_t accumulated_ = 0;
    bool atEnd_ = false;
};
