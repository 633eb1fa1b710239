#pragma once

#include <cstdint>
#include <string>

#include "engine/foundation/Ref.h"
#include "engine/scene/Modifier.h"

class SoundSample;

// Plays a sound effect once and, unless told not to wait, finishes when the
// sound has played out. Without its sound it plays the target's own sound
// when the target is a sound node.
class ModifierSound : public Modifier {
    ENGINE_CLASS(ModifierSound, Modifier)

public:
    // Looks the sound up among the loaded resources of the section.
    ModifierSound(const std::string& resourceName, const std::string& sectionName, bool noWait);
    ~ModifierSound() override;

    void Update(int32_t elapsedMs) override;

private:
    // Starts the sound; its length in ms, 0 when nothing plays.
    int64_t Start();

    Ref<SoundSample> sample_;
    bool noWait_;
    bool started_ = false;
    int64_t remaining_ = 0;
};
