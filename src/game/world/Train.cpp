#include "game/world/Train.h"

#include <algorithm>
#include <cmath>

#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/media/Surface.h"
#include "engine/scene/DialogTable.h"
#include "game/world/Carriage.h"
#include "game/constants/GameConstants.h"
#include "game/words/TicketConstants.h"
#include "game/world/RaceContext.h"
#include "game/world/RaceMath.h"

namespace {

constexpr int32_t kSmallBarSteps = 100;
constexpr int32_t kBigBarPhase = 40;
constexpr int32_t kMovingSounds = 7;
constexpr float kMinimumChuffSpeed = 0.001f;

int32_t IntKey(const Property* node, const char* key) { return Property::AsInt(Property::Child(node, key)); }

}  // namespace

Train::Train(Property* saved) : LSO(saved) {
    if (saved != nullptr) {
        unitsTravelled_ = IntKey(saved, "UnitsTravelled");
        unitsToTravel_ = IntKey(saved, "UnitsToTravel");
        finish_ = IntKey(saved, "finish");
    }
}

// The sprites and wheels are children of the train, released with its chain.
Train::~Train() = default;

void Train::AttachCarriage(Carriage* carriage) {
    if (carriage_) {
        carriage_->SetRemoved(true);
    }
    carriage_ = carriage;
    if (carriage_) {
        AddChild(carriage_.Get());
    }
}

Ref<Sprite> Train::AddImageSprite(GameNode& parent, const std::string& image, const std::string& section,
                                  int32_t x, int32_t y, bool bottomRight) {
    Ref<Sprite> sprite(new Sprite);
    const Ref<Surface> picture = RaceContext::Current().FindImage(image, section);
    if (!picture) {
        ENGINE_LOG(1, "Train: no image \"%s\" in section \"%s\"", image.c_str(), section.c_str());
    }
    sprite->SetImage(picture.Get());
    if (bottomRight) {
        sprite->SetAnchorKind(Sprite::kBottomRight);
        sprite->SetPivotKind(Sprite::kBottomRight);
    }
    sprite->SetPosition(x, y);
    parent.AddChild(sprite.Get());
    return sprite;
}

Property* Train::LoadDefinition(const std::string& listName, int32_t index) {
    Property* definition = Property::At(ticket_constants::List(listName), index);
    const std::string section = Property::AsString(Property::Child(definition, "section"));
    yOffset_ = IntKey(definition, "yoffset");
    background_ = AddImageSprite(*this, Property::AsString(Property::Child(definition, "bgimage")), section, 0,
                                 -yOffset_, true);
    body_ = AddImageSprite(*this, Property::AsString(Property::Child(definition, "bodyimage")), section, 0,
                           -yOffset_, true);
    const int32_t backgroundWidth = background_->GetWidth();

    wheels_.clear();
    Property* wheelList = Property::Child(definition, "BIGWHEELS");
    const DialogTable* table = DialogTable::Instance();
    for (int32_t i = 0; table != nullptr && i < Property::VectorOf(wheelList).Count(); ++i) {
        const Property* entry = Property::At(wheelList, i);
        Object* created = table->CreateObject(Property::AsString(Property::Child(entry, "wheelid")));
        auto* wheel = ObjectCast<Sprite>(created);
        if (wheel == nullptr) {
            const Ref<Object> discard(created);
            continue;
        }
        wheel->SetPosition(IntKey(entry, "x") - backgroundWidth,
                           yOffset_ - static_cast<int32_t>(std::lround(wheel->GetAnchorX())));
        background_->AddChild(wheel);
        wheels_.push_back(wheel);
    }

    if (Property::Child(definition, "wheelbarx") != nullptr) {
        wheelBarX_ = IntKey(definition, "wheelbarx") - backgroundWidth;
    }
    wheelBarY_ = IntKey(definition, "wheelbary");
    smallBar_ = AddImageSprite(*body_, Property::AsString(Property::Child(definition, "wheelbarSmall")), section,
                               wheelBarX_, wheelBarY_, false);
    if (const Property* bigBar = Property::Child(definition, "wheelbarBig")) {
        bigBar_ = AddImageSprite(*background_, Property::AsString(bigBar), section, 0, -yOffset_, false);
    }
    pixelsPerBigWheelFrame_ = Property::AsFloat(Property::Child(definition, "ppbwf"));
    pixelsPerSmallWheelStep_ = Property::AsFloat(Property::Child(definition, "ppswf"));
    bigRadius_ = IntKey(definition, "bigradius");
    smallRadius_ = IntKey(definition, "smallradius");
    if (Property::Child(definition, "smokex") != nullptr) {
        smokeX_ = IntKey(definition, "smokex");
        smokeY_ = IntKey(definition, "smokey");
    }
    AnimateWheels();
    return definition;
}

void Train::Reset() {
    // A reset race has not been won by anyone yet: "finish" goes back to
    // "not arrived", so the earlier arrival still wins the next race.
    finish_ = kNotFinished;
    unitsTravelled_ = 0;
    SetRealX(0.0f);
}

void Train::Save(PropertyNode& node) const {
    node.Add(PropertyValue::FromInteger("UnitsTravelled", unitsTravelled_, false));
    node.Add(PropertyValue::FromInteger("UnitsToTravel", unitsToTravel_, false));
    node.Add(PropertyValue::FromInteger("finish", finish_, false));
}

void Train::AnimateWheels() {
    const float x = static_cast<float>(GetX());
    if (smallBar_) {
        const int32_t step = race_math::Truncate(race_math::Ratio(x, pixelsPerSmallWheelStep_) -
                                                 static_cast<float>(wheelPhaseOrigin_)) %
                             kSmallBarSteps;
        const float angle = static_cast<float>(step) * 2.0f * race_math::kPi / static_cast<float>(kSmallBarSteps);
        smallBar_->SetPosition(race_math::Truncate(std::cos(angle) * static_cast<float>(smallRadius_)) + wheelBarX_,
                               race_math::Truncate(std::sin(angle) * static_cast<float>(smallRadius_)) + wheelBarY_);
    }
    if (carriage_) {
        carriage_->AnimateWheels(GetX());
    }
    // A model without big wheels has no wheel phase to follow.
    if (wheels_.empty()) {
        return;
    }
    const Sprite& first = *wheels_.front();
    const int32_t frames = std::max(first.GetFrameCount(), 1);
    const int32_t frame = race_math::Truncate(race_math::Ratio(x, pixelsPerBigWheelFrame_) -
                                              static_cast<float>(wheelPhaseOrigin_)) %
                          frames;
    for (Sprite* wheel : wheels_) {
        wheel->SetFrame(frame);
    }
    if (bigBar_) {
        const float angle = 2.0f * race_math::kPi / static_cast<float>(frames) *
                            static_cast<float>((frame + kBigBarPhase) % frames);
        bigBar_->SetPosition(first.GetX() + race_math::Truncate(std::cos(angle) * static_cast<float>(bigRadius_)),
                             first.GetY() + race_math::Truncate(std::sin(angle) * static_cast<float>(bigRadius_)) -
                                 yOffset_);
    }
}

void Train::PlayMovingSound(int32_t elapsedMs, int32_t panSpread, int32_t volume, float speed) {
    soundTimer_ -= elapsedMs;
    if (soundTimer_ >= 0) {
        return;
    }
    if (speed >= kMinimumChuffSpeed) {
        const int32_t bodyWidth = body_ ? body_->GetWidth() : 0;
        const int32_t pan =
            (255 - panSpread) / 2 + (GetAbsoluteX() + bodyWidth / 2) * panSpread / race_math::kScreenWidth;
        RaceContext::Current().PlaySound("SOUND_TRAIN_MOVING_" + std::to_string(soundStep_), volume,
                                         std::clamp(pan, 0, 255));
    }
    const float shortening =
        race_math::Ratio(static_cast<float>(TRAIN_SLOWEST_SOUND_DELAY - TRAIN_FASTEST_SOUND_DELAY), TRAIN_MAX_SPEED) *
        speed;
    soundTimer_ += TRAIN_SLOWEST_SOUND_DELAY - race_math::Truncate(shortening);
    soundStep_ = (soundStep_ + 1) % kMovingSounds;
}

void Train::BlowSmoke(const std::wstring& text) {
    if (body_) {
        RaceContext::Current().SpawnTrainSmoke(*body_, text, 0, smokeX_, smokeY_);
    }
}
