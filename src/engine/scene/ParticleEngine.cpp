#include "engine/scene/ParticleEngine.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/foundation/RandomGenerator.h"
#include "engine/scene/AnimationTree.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/scene/ModifierRotate.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/ModifierZoom.h"
#include "engine/scene/ParticleMotion.h"
#include "engine/scene/SceneResources.h"

namespace {

const ClassRegistration registration("ParticleEngine", CreateFromProperty<ParticleEngine>);

constexpr const char* kCoordinateWords[] = {"relative", "screen", "parent"};
constexpr int kMaskTries = 1000;
constexpr int32_t kLongestRange = 1 << 30;

// A draw of the run's shared generator modulo n; every call draws, and an
// n below 1 (bad data) gives 0.
int32_t DrawBelow(int32_t n) {
    RandomGenerator* generator = RandomGenerator::Global();
    if (generator == nullptr) {
        return 0;
    }
    const uint32_t draw = generator->Next();
    return n > 0 ? static_cast<int32_t>(draw % static_cast<uint32_t>(n)) : 0;
}

// round(maximum - minimum) x 100, at least 1.
int32_t SpeedRange(float minimum, float maximum) {
    const float width = std::round(maximum - minimum) * 100.0f;
    if (!(width >= 1.0f)) {
        return 1;
    }
    return width >= static_cast<float>(kLongestRange) ? kLongestRange : static_cast<int32_t>(width);
}

int32_t IntKey(const Property* node, const char* key, int32_t fallback) {
    const Property* value = Property::Child(node, key);
    return value != nullptr ? Property::AsInt(value) : fallback;
}

float FloatKey(const Property* node, const char* key, float fallback) {
    const Property* value = Property::Child(node, key);
    return value != nullptr ? Property::AsFloat(value) : fallback;
}

}  // namespace

ParticleEngine::ParticleEngine(Property* definition) : GameNode(definition) {
    Property* node = &Property::NodeOf(definition);
    ReadDefinition(node);
    ReadTemplates(node);
    FinishSettings();
}

void ParticleEngine::ReadDefinition(Property* node) {
    const int system = Property::FindChoice(node, "CoordinateSystem", kCoordinateWords, 3);
    if (system >= 0) {
        coordinateSystem_ = system;
    }
    startDelay_ = IntKey(node, "OverallStartTime", 0);
    remaining_ = IntKey(node, "OverallDuration", -1);
    animationStart_ = IntKey(node, "AnimationStartTime", 0);
    animationFrameTime_ = IntKey(node, "AnimationFrameTime", 50);
    animationLoops_ = IntKey(node, "AnimationNumLoop", -1);
    particleInterval_ = IntKey(node, "ParticleInterval", 0);
    particleDuration_ = IntKey(node, "ParticleDuration", 0);
    fadeInStart_ = IntKey(node, "FadeInStartTime", 0);
    fadeInDuration_ = IntKey(node, "FadeInDuration", 0);
    fadeOutStart_ = IntKey(node, "FadeOutStartTime", 0);
    fadeOutDuration_ = IntKey(node, "FadeOutDuration", 0);
    scaleStart_ = IntKey(node, "ScaleStartTime", 0);
    scaleDuration_ = IntKey(node, "ScaleDuration", 0);
    scaleStartFactor_ = FloatKey(node, "ScaleStartFactor", 0.0f);
    scaleEndFactor_ = FloatKey(node, "ScaleEndFactor", 0.0f);
    rotationStart_ = IntKey(node, "RotationStartTime", 0);
    rotationSpeed_ = FloatKey(node, "RotationSpeed", 0.0f);
    rotationDuration_ = IntKey(node, "RotationDuration", 0);
    minimumSpeed_.x = FloatKey(node, "MinStartSpeedX", 0.0f);
    maximumSpeed_.x = FloatKey(node, "MaxStartSpeedX", 0.0f);
    minimumSpeed_.y = FloatKey(node, "MinStartSpeedY", 0.0f);
    maximumSpeed_.y = FloatKey(node, "MaxStartSpeedY", 0.0f);
    gravity_.x = FloatKey(node, "GravityX", 0.0f);
    gravity_.y = FloatKey(node, "GravityY", 0.0f);
    friction_.x = FloatKey(node, "FrictionX", 0.0f);
    friction_.y = FloatKey(node, "FrictionY", 0.0f);
    alphaMaskThreshold_ = IntKey(node, "AlphaMaskTreshold", 255);
    const Property* mask = Property::Child(node, "mask");
    const Property* section = Property::Child(node, "section");
    if (mask != nullptr && section != nullptr) {
        const Ref<Object> data = FindResourceData(Property::AsString(mask), Property::AsString(section));
        mask_ = ObjectCast<Surface>(data.Get());
        if (!mask_) {
            ENGINE_LOG(1, "ParticleEngine: no mask picture \"%s\" in section \"%s\"", Property::AsString(mask).c_str(),
                       Property::AsString(section).c_str());
        }
    }
}

void ParticleEngine::ReadTemplates(Property* node) {
    Property* particles = Property::Child(node, "particles");
    if (particles == nullptr) {
        return;
    }
    for (const Ref<Property>& element : Property::VectorOf(particles).Items()) {
        PropertyNode& definition = Property::NodeOf(element.Get());
        const Ref<Object> built(ClassFactory::Instance().Create(&definition));
        if (auto* particle = ObjectCast<Particle>(built.Get())) {
            templates_.emplace_back(particle);
        } else {
            ENGINE_LOG(1, "ParticleEngine: particle of type \"%s\" is not a particle", definition.TypeName().c_str());
        }
    }
}

void ParticleEngine::FinishSettings() {
    speedRangeX_ = SpeedRange(minimumSpeed_.x, maximumSpeed_.x);
    speedRangeY_ = SpeedRange(minimumSpeed_.y, maximumSpeed_.y);
    endless_ = remaining_ <= 0;
}

void ParticleEngine::SetEmissionArea(int32_t x, int32_t y, int32_t w, int32_t h) {
    originX_ = x;
    originY_ = y;
    emitWidth_ = w;
    emitHeight_ = h;
}

void ParticleEngine::Update(int32_t elapsedMs) {
    if (startDelay_ > 0) {
        startDelay_ -= elapsedMs;
        return;
    }
    if (!emitting_ && !endless_ && remaining_ < -particleDuration_) {
        // Every particle has died. The function is dropped first, so that it
        // runs once however often the engine is stepped before it goes.
        const EndFunction function = std::exchange(endFunction_, nullptr);
        if (function != nullptr) {
            function(endContext_, *this);
        }
        SetRemoved(true);
    }
    if (emitting_ && !endless_ && remaining_ < 0) {
        emitting_ = false;
    }
    if (!endless_ && remaining_ >= -particleDuration_) {
        remaining_ -= elapsedMs;
    }
    // An interval of 0 or less would never leave the loop: such an engine emits nothing.
    if (!emitting_ || particleInterval_ <= 0) {
        return;
    }
    accumulator_ += elapsedMs;
    while (accumulator_ > 0) {
        accumulator_ -= particleInterval_;
        EmitOne();
    }
}

void ParticleEngine::EmitOne() {
    // Without templates, or with an empty mask, there is nothing to draw from.
    if (templates_.empty() || (mask_ && (mask_->GetWidth() <= 0 || mask_->GetHeight() <= 0))) {
        return;
    }
    const Particle& chosen = *templates_[static_cast<size_t>(DrawBelow(static_cast<int32_t>(templates_.size())))];
    Ref<Particle> particle;
    if (const auto* additive = ObjectCast<AdditiveParticle>(&chosen)) {
        particle = new AdditiveParticle(*additive);
    } else {
        particle = new Particle(chosen);
    }
    InitParticle(*particle);
    PlaceParticle(particle.Get());
}

void ParticleEngine::PlaceParticle(Particle* particle) {
    GameNode* parent = GetParent();
    if (coordinateSystem_ == kScreen && parent != nullptr) {
        if (GameNode* next = GetNextSibling()) {
            particle->InsertBefore(next);
        } else {
            parent->AddChild(particle);
        }
    } else {
        // Newer particles go first, so they are drawn below the older ones.
        AddChildFront(particle);
    }
}

bool ParticleEngine::DrawMaskPoint(PointF& point) const {
    Surface& mask = *mask_;
    const int32_t width = mask.GetWidth();
    const int32_t height = mask.GetHeight();
    ScopedSurfaceLock lock(mask);
    for (int tries = 0; tries < kMaskTries; ++tries) {
        const int32_t x = DrawBelow(width);
        const int32_t y = DrawBelow(height);
        const auto alpha = static_cast<int32_t>(mask.Pixels32()[mask.PixelIndex(x, y)] >> 24);
        if (alpha >= alphaMaskThreshold_) {
            point = PointF{static_cast<float>(x - width / 2), static_cast<float>(y - height / 2)};
            return true;
        }
    }
    return false;
}

void ParticleEngine::InitParticle(Particle& particle) {
    particle.SetLife(particleDuration_);
    PointF start;
    if (mask_) {
        if (mask_->GetPixelFormat().bytesPerPixel != 4 || !DrawMaskPoint(start)) {
            return;  // the particle keeps the template's place and does not move
        }
    } else {
        const int32_t x = originX_ + DrawBelow(emitWidth_);
        const int32_t y = originY_ + DrawBelow(emitHeight_);
        start = PointF{static_cast<float>(x), static_cast<float>(y)};
    }
    // The engine holds its particles itself: as children they share its
    // origin, as its siblings ("screen") they stand in its parent's.
    if (coordinateSystem_ == kScreen) {
        start.x += static_cast<float>(GetX());
        start.y += static_cast<float>(GetY());
    }
    particle.SetPosition(static_cast<int32_t>(start.x), static_cast<int32_t>(start.y));
    const float speedX = minimumSpeed_.x + static_cast<float>(DrawBelow(speedRangeX_)) * 0.01f;
    const float speedY = minimumSpeed_.y + static_cast<float>(DrawBelow(speedRangeY_)) * 0.01f;
    const Ref<ParticleMotion> motion(new ParticleMotion(start, gravity_, friction_, PointF{speedX, speedY}));
    if (animationEntry_ == nullptr) {
        return;
    }
    motion->SetOptions(motion->GetOptions() | Modifier::kStopEnclosingGroup);
    AnimationTree::Add(animationEntry_, motion.Get(), &particle);
    AddEffects(particle, *motion);
}

void ParticleEngine::AddEffects(Particle& particle, Modifier& motion) const {
    // Each effect waits under its own delay, counted from the particle's birth.
    struct Effect {
        int32_t delay;
        Ref<Modifier> modifier;
    };
    std::vector<Effect> effects;
    if (scaleStartFactor_ != scaleEndFactor_) {
        effects.push_back({scaleStart_, new ModifierZoom(scaleDuration_, scaleStartFactor_, scaleEndFactor_)});
    }
    if (fadeInDuration_ >= 0) {
        effects.push_back({fadeInStart_, new ModifierValue(0, 255, fadeInDuration_)});
    }
    if (fadeOutDuration_ >= 0) {
        const Ref<Modifier> fadeOut(new ModifierValue(255, 0, fadeOutDuration_));
        fadeOut->SetOptions(Modifier::kRemoveNodeAtEnd);
        effects.push_back({fadeOutStart_, fadeOut});
    }
    if (particle.GetFrameCount() > 1) {
        effects.push_back({animationStart_, new ModifierFrame(animationLoops_, animationFrameTime_)});
    }
    if (rotationDuration_ > 0) {
        const float from = particle.GetRotation();
        const float to = from + static_cast<float>(rotationDuration_) * rotationSpeed_;
        effects.push_back({rotationStart_, new ModifierRotate(from, to, rotationDuration_)});
    }
    // Each wait goes right behind the motion, so the last made stands first:
    // appending in reverse gives that order, the motion being the last child.
    Modifier* entry = motion.GetTreeParent();
    for (auto effect = effects.rbegin(); effect != effects.rend(); ++effect) {
        const Ref<Modifier> wait(new ModifierWait(effect->delay));
        AnimationTree::Add(entry, wait.Get(), &particle);
        AnimationTree::Add(wait.Get(), effect->modifier.Get(), &particle);
    }
}
