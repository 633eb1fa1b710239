#include "engine/scene/Particle.h"

#include <limits>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Color.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/media/Canvas.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/AdditiveSprite.h"

namespace {
const ClassRegistration particleRegistration("Particle", CreateFromProperty<Particle>);
const ClassRegistration additiveRegistration("AdditiveParticle", CreateFromProperty<AdditiveParticle>);
}  // namespace

Particle::Particle(Property* definition) : Sprite(definition) {
    const Property* fill = Property::Child(&Property::NodeOf(definition), "fillmask");
    if (fill != nullptr && Property::AsBool(fill)) {
        FillWithColour();
    }
}

void Particle::FillWithColour() {
    const Surface* picture = GetImage();
    if (picture == nullptr) {
        return;
    }
    const Ref<MemorySurface> silhouette = CloneSurface(*picture);
    const Ref<Canvas> canvas = silhouette->CreateCanvas();
    canvas->SetColor(Color(static_cast<uint32_t>(GetColor())));
    canvas->Clear();
    SetImage(silhouette.Get());
    SetFrameCount(-1, false);
}

void Particle::Update(int32_t elapsedMs) {
    // Widened, so that a long-lived particle's age never wraps round.
    const int64_t age = static_cast<int64_t>(age_) + elapsedMs;
    age_ = static_cast<int32_t>(std::min<int64_t>(age, std::numeric_limits<int32_t>::max()));
    if (age_ >= life_) {
        SetRemoved(true);
        age_ = std::numeric_limits<int32_t>::min();
    }
}

void AdditiveParticle::Draw(Canvas& canvas) {
    DrawAdditive(*this, canvas);
}
