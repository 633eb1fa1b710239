#include "engine/scene/GaugeSprite.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/Geometry.h"
#include "engine/scene/SpeedToTarget.h"

namespace {
const ClassRegistration registration("GaugeSprite", CreateFromProperty<GaugeSprite>);

// 1 / (2 pi) as a 32-bit float.
constexpr float kTurnsPerRadian = 0.15915494f;
}  // namespace

GaugeSprite::GaugeSprite(Property* definition) : Sprite(definition) {
    QuadrupleFrames();
}

GaugeSprite::GaugeSprite(Surface* quarterTurnStrip) : Sprite(0, 0, quarterTurnStrip) {
    QuadrupleFrames();
}

void GaugeSprite::QuadrupleFrames() {
    Surface* strip = GetImage();
    if (strip == nullptr) {
        return;
    }
    const Ref<MemorySurface> fullTurn = AddRotatedFrames(*strip);
    if (!fullTurn) {
        return;
    }
    SetImage(fullTurn.Get());
    SetFrameCount(fullTurn->GetHeight() / fullTurn->GetWidth(), false);
}

void GaugeSprite::SetRotation(float angle) {
    targetAngle_ = angle;
}

void GaugeSprite::Update(int32_t elapsedMs) {
    SpeedToTarget(elapsedMs, targetAngle_, kMaximumSpeed, kAcceleration, kDeceleration, true, shownAngle_, speed_);
    const auto frames = static_cast<float>(GetFrameCount());
    SetFrame(static_cast<int32_t>(FloatModulo(frames * shownAngle_ * kTurnsPerRadian, frames)));
}
