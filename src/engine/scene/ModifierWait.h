#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/scene/GameNode.h"
#include "engine/scene/Modifier.h"

// Holds back the modifiers behind it in a node's list (option 0x1) until a
// time has passed, another modifier has finished, or a node's own modifier
// list has run empty.
class ModifierWait : public Modifier {
    ENGINE_CLASS(ModifierWait, Modifier)

public:
    explicit ModifierWait(int32_t timeMs);
    explicit ModifierWait(Modifier* awaited);
    explicit ModifierWait(GameNode* awaited);

    void Update(int32_t elapsedMs) override;

private:
    // What the awaiting forms keep in the time field.
    static constexpr int32_t kAwaiting = -100;

    int32_t time_;
    Ref<Modifier> awaitedModifier_;
    Ref<GameNode> awaitedNode_;
};
