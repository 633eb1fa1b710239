#pragma once

#include <cstdint>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/media/Rect.h"
#include "engine/media/Surface.h"
#include "engine/scene/GameNode.h"
#include "engine/scene/Particle.h"

class Modifier;

// A particle effect: emits copies of its template particles at a fixed
// interval for a given time (or for ever), each with a straight flight and its
// delayed fade, scale, frame and spin effects in the scene's animation tree.
// Once it has stopped emitting and its last particles are gone, it calls back
// once and removes itself.
class ParticleEngine : public GameNode {
    ENGINE_CLASS(ParticleEngine, GameNode)

public:
    enum CoordinateSystem : int32_t { kRelative = 0, kScreen = 1, kParent = 2 };
    // Called once with the engine when it ends.
    using EndFunction = void (*)(void* context, ParticleEngine& engine);

    // The GameNode keys, then the engine's keys (timings, speeds, forces,
    // mask and the "particles" vector of templates).
    explicit ParticleEngine(Property* definition);

    void Update(int32_t elapsedMs) override;
    // Sets a new particle's life, start point, flight and effects.
    void InitParticle(Particle& particle);

    void SetEndCallback(void* context, EndFunction function) {
        endContext_ = context;
        endFunction_ = function;
    }
    // The animation tree entry under which particles' flights are added;
    // without one particles neither move nor show their effects.
    void SetAnimationEntry(Modifier* entry) { animationEntry_ = entry; }
    // Where unmasked particles start, relative to the engine.
    void SetEmissionArea(int32_t x, int32_t y, int32_t w, int32_t h);

    bool IsEmitting() const { return emitting_; }
    bool IsEndless() const { return endless_; }
    int32_t GetSpeedRangeX() const { return speedRangeX_; }
    int32_t GetSpeedRangeY() const { return speedRangeY_; }

private:
    void ReadDefinition(Property* node);
    void ReadTemplates(Property* node);
    // The speed ranges and the endless flag from the settings.
    void FinishSettings();
    void EmitOne();
    // A point of the mask opaque enough to emit from, relative to the mask's
    // centre; false when none is found in 1000 tries.
    bool DrawMaskPoint(PointF& point) const;
    void PlaceParticle(Particle* particle);
    void AddEffects(Particle& particle, Modifier& motion) const;

    void* endContext_ = nullptr;
    EndFunction endFunction_ = nullptr;
    std::vector<Ref<Particle>> templates_;
    int32_t originX_ = 0;
    int32_t originY_ = 0;
    int32_t emitWidth_ = 1;
    int32_t emitHeight_ = 1;
    int32_t coordinateSystem_ = kScreen;
    Modifier* animationEntry_ = nullptr;
    Ref<Surface> mask_;
    bool emitting_ = true;
    bool endless_ = true;
    int32_t accumulator_ = 0;
    int32_t startDelay_ = 0;
    int32_t remaining_ = -1;
    int32_t animationStart_ = 0;
    int32_t animationFrameTime_ = 50;
    int32_t animationLoops_ = -1;
    int32_t particleInterval_ = 0;
    int32_t particleDuration_ = 0;
    int32_t fadeInStart_ = 0;
    int32_t fadeInDuration_ = 0;
    int32_t fadeOutStart_ = 0;
    int32_t fadeOutDuration_ = 0;
    int32_t scaleStart_ = 0;
    int32_t scaleDuration_ = 0;
    int32_t rotationStart_ = 0;
    int32_t rotationDuration_ = 0;
    PointF minimumSpeed_{};
    PointF maximumSpeed_{};
    int32_t speedRangeX_ = 1;
    int32_t speedRangeY_ = 1;
    PointF gravity_{};
    PointF friction_{};
    float scaleStartFactor_ = 0.0f;
    float scaleEndFactor_ = 0.0f;
    float rotationSpeed_ = 0.0f;
    int32_t alphaMaskThreshold_ = 255;
};
