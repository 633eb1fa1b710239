#pragma once

#include <cstdint>

#include "engine/scene/Sprite.h"

// A short-lived sprite emitted by a particle engine: it flags itself for
// removal once its age reaches its life.
class Particle : public Sprite {
    ENGINE_CLASS(Particle, Sprite)

public:
    Particle() = default;
    // The sprite's keys, then "fillmask": when true the picture becomes a
    // one-colour silhouette in the sprite's colour, keeping its alpha.
    explicit Particle(Property* definition);
    // The sprite's copy plus life and age.
    Particle(const Particle& other) = default;

    // Ages the particle; reaching its life flags it for removal, once.
    void Update(int32_t elapsedMs) override;

    int32_t GetLife() const { return life_; }
    void SetLife(int32_t lifeMs) { life_ = lifeMs; }
    int32_t GetAge() const { return age_; }

private:
    void FillWithColour();

    int32_t life_ = 0;
    int32_t age_ = 0;
};

// A particle drawn like the additive sprite: added onto what lies beneath.
class AdditiveParticle : public Particle {
    ENGINE_CLASS(AdditiveParticle, Particle)

public:
    AdditiveParticle() = default;
    explicit AdditiveParticle(Property* definition) : Particle(definition) {}
    AdditiveParticle(const AdditiveParticle& other) = default;

    void Draw(Canvas& canvas) override;
};
