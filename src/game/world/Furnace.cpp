#include "game/world/Furnace.h"

#include <cmath>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/RandomGenerator.h"
#include "engine/media/Canvas.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/AdditiveSprite.h"
#include "engine/scene/ModifierEaseMove.h"
#include "engine/scene/ModifierPulse.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/SpeedToTarget.h"
#include "game/words/LetterData.h"
#include "game/words/LetterSprite.h"
#include "game/words/TicketConstants.h"
#include "game/world/EffectsContext.h"
#include "game/world/HudSceneHooks.h"
#include "game/world/PlayerTrain.h"
#include "game/world/RaceContext.h"
#include "game/world/ScoreStars.h"

namespace {

const ClassRegistration registration("Furnace", CreateFromProperty<Furnace>);

constexpr const char* kSection = "gamescene";
constexpr int32_t kIconColumns = 3;
constexpr int32_t kIconRows = 7;
constexpr int32_t kClipWidth = 800;
constexpr int32_t kSpeckInterval = 120;
constexpr int32_t kSpeckMargin = 40;
constexpr int32_t kLidStars = 20;
constexpr int32_t kUnlitFadeMs = 1000;
constexpr int32_t kLightDimAlpha = 180;
constexpr float kLidSpeed = 500.0f;
constexpr float kLidAcceleration = 400.0f;
constexpr float kGlowLidShare = 0.4f;

int32_t Constant(const char* name) { return ticket_constants::Int(name); }

void PlaySound(const char* name) {
    RaceContext::Current().PlaySound(name, RaceContext::kFullVolume, RaceContext::kCentrePan);
}

Ref<Surface> Image(const std::string& name) { return RaceContext::Current().FindImage(name, kSection); }

// The shared generator's next value; 0 while none is set.
uint32_t NextRandom() {
    RandomGenerator* generator = RandomGenerator::Global();
    return generator != nullptr ? generator->Next() : 0U;
}

// A random offset below `range`; a range of 0 or less (a picture narrower
// than what rises through it) gives 0 instead of dividing by it.
int32_t RandomBelow(int32_t range) {
    const uint32_t value = NextRandom();
    return range > 0 ? static_cast<int32_t>(value % static_cast<uint32_t>(range)) : 0;
}

Modifier* Fade(int32_t from, int32_t to, int32_t durationMs, uint32_t options) {
    auto* fade = new ModifierValue(from, to, durationMs);
    fade->SetOptions(options);
    return fade;
}

}  // namespace

Furnace::Furnace(Property* definition)
    : Sprite(definition), coalTarget_(new GameNode()), iconLayer_(new GameNode()) {
    coalTarget_->SetPosition(Property::AsInt(Property::Child(definition, "firex")),
                             Property::AsInt(Property::Child(definition, "firey")));

    fire_ = TakeSceneNode("FURNACE_FIRE");
    door_ = TakeSceneNode("FURNACE_OPEN");
    wheel_ = TakeSceneNode("FURNACE_WHEEL");
    light_ = TakeSceneNode("FURNACE_LIGHT");
    lid_ = TakeSceneNode("LID_LID");
    coil_ = TakeSceneNode("LID_SPIRAL1");
    nails_ = TakeSceneNode("LID_NAILS");
    AddChild(fire_.Get());
    AddChild(door_.Get());
    AddChild(wheel_.Get());
    AddChild(coalTarget_.Get());

    const Ref<Sprite> spiral = TakeSceneNode("LID_SPIRAL2");
    coil_->AddChild(spiral.Get());
    coil_->AddChildFront(light_.Get());
    coil_->AddChildFront(iconLayer_.Get());

    light_->SetAlpha(0);
    light_->SetX(coil_->GetWidth() / 2);
    iconLayer_->SetVisible(false);

    iconsImage_ = Image("LID_ICONS");
    speckImage_ = Image("LID_SPECK");

    lidRestY_ = coil_->GetY();
    lidPosition_ = static_cast<float>(lidRestY_);
    lidTarget_ = lidPosition_;
    lidHeight_ = coil_->GetHeight();
    coil_->SetClipRect(0, 0, kClipWidth, 0);
    PlaceParts();
}

Furnace::~Furnace() = default;

Ref<Sprite> Furnace::TakeSceneNode(const std::string& name) {
    GameNode* node = HudSceneHooks::Current().FindSceneNode(name);
    Ref<Sprite> part(ObjectCast<Sprite>(node));
    if (!part) {
        ENGINE_LOG(1, "Furnace: the game scene holds no sprite \"%s\"; an empty one takes its place",
                   name.c_str());
        part = new Sprite();
        part->SetName(name);
    }
    return part;
}

int32_t Furnace::TurboTurns() const {
    const PlayerTrain* train = HudSceneHooks::Current().GetPlayerTrain();
    return train != nullptr ? train->GetTurboTurns() : 0;
}

void Furnace::FeedWord(const std::vector<LetterSprite*>& coals) {
    if (doorState_ != kOpen) {
        doorState_ = kOpening;
        if (doorTimer_ < Constant("FURNACE_WHEEL_TIME")) {
            PlaySound("SOUND_FURNACE_WHEEL_TURNS");
        }
    }
    bool noTurbo = TurboTurns() <= 0;
    const auto count = static_cast<int32_t>(coals.size());
    for (int32_t i = 0; i < count; ++i) {
        LetterSprite* coal = coals[static_cast<size_t>(i)];
        trackedCoals_.push_back({Ref<GameNode>(coal), coal->GetParent() != nullptr});
        const int32_t type = coal->Letter().GetType();
        if (type == LetterData::kTurbo || (noTurbo && type != LetterData::kNormal)) {
            pendingLight_ = type;
            lightDelay_ = (count - 1 - i) * Constant("SUBMIT_ANIM_INIT_DELAY") + Constant("SUBMIT_ANIM_COAL_TIME");
            noTurbo = false;
        }
    }

    const PlayerTrain* train = HudSceneHooks::Current().GetPlayerTrain();
    const EffectsContext& effects = EffectsContext::Current();
    if (train != nullptr && train->WasTurboUsed() && effects.HighQuality() && effects.EffectLayer() != nullptr) {
        SpawnScoreStars(*effects.EffectLayer(), coil_->GetAbsoluteX(), lidRestY_, kLidStars, coil_->GetWidth(), -1,
                        speckImage_.Get(), nullptr);
    }
}

void Furnace::Update(int32_t elapsedMs) {
    if (lightDelay_ > 0) {
        lightDelay_ -= elapsedMs;
        if (lightDelay_ <= 0) {
            ChangeLight();
        }
    }
    StepDoor(elapsedMs);
    StepLid(elapsedMs);
    if (IsLightLit()) {
        SpawnIconsAndSpecks(elapsedMs);
    }
    PaintLight();
}

void Furnace::ChangeLight() {
    const int32_t blinkMs = Constant("FURNACE_BLINK_TIME");
    currentLight_ = pendingLight_;
    glowTimer_ = currentLight_ != LetterData::kTurbo ? Constant("FURNACE_GLOW_TIME") : 0;
    iconTimer_ = 0;
    speckTimer_ = 0;

    // The old light fades out over the new one.
    if (light_->GetAlpha() > 0 && light_->GetImage() != nullptr) {
        const Ref<MemorySurface> copy = CloneSurface(*light_->GetImage());
        Ref<Sprite> fading(new AdditiveSprite(light_->GetX(), light_->GetY(), copy.Get()));
        fading->SetAnchorPoint(light_->GetAnchorX(), light_->GetAnchorY());
        fading->SetAlpha(light_->GetAlpha());
        fading->AddModifier(Fade(light_->GetAlpha(), 0, blinkMs, Modifier::kRemoveNodeAtEnd));
        coil_->AddChildFront(fading.Get());
    }

    currentLightImage_ = Image("FURNACE_LIGHT_" + std::to_string(currentLight_));
    if (currentLightImage_) {
        paintedLight_ = CloneSurface(*currentLightImage_);
        light_->SetImage(paintedLight_.Get());
    }
    light_->SetColor(1);
    light_->SetAlpha(0);
    light_->ClearModifiers();
    light_->AddModifier(Fade(0, 255, blinkMs, Modifier::kBlockFollowing));
    light_->AddModifier(new ModifierPulse(255, kLightDimAlpha, ModifierPulse::Timing{blinkMs, blinkMs, 0, 0}, -1));
    PlaySound("SOUND_BONUS_USED");
}

void Furnace::StepDoor(int32_t elapsedMs) {
    const int32_t wheelMs = Constant("FURNACE_WHEEL_TIME");
    const int32_t openMs = wheelMs + Constant("FURNACE_DOOR_TIME");
    if (doorState_ == kOpening) {
        const int32_t before = doorTimer_;
        doorTimer_ += elapsedMs;
        if (before <= wheelMs && doorTimer_ > wheelMs) {
            PlaySound("SOUND_FURNACE_OPEN");
        }
        if (doorTimer_ >= openMs) {
            doorTimer_ = openMs;
            doorState_ = kOpen;
        }
    } else if (doorState_ == kClosing) {
        const int32_t before = doorTimer_;
        doorTimer_ -= elapsedMs;
        if (before >= wheelMs && doorTimer_ < wheelMs) {
            PlaySound("SOUND_FURNACE_WHEEL_TURNS");
        }
        if (doorTimer_ <= 0) {
            doorTimer_ = 0;
            doorState_ = kClosed;
        }
    } else if (doorState_ == kOpen) {
        // A coal's last step takes it out of the scene while an endless shrink
        // may still sit in its list: either way its flight is over.
        std::erase_if(trackedCoals_, [](const TrackedCoal& tracked) {
            const GameNode& coal = *tracked.coal;
            return !coal.HasModifiers() || coal.IsRemoved() || (tracked.wasShown && coal.GetParent() == nullptr);
        });
        if (trackedCoals_.empty()) {
            doorState_ = kClosing;
            PlaySound("SOUND_FURNACE_CLOSE");
        }
    }
    ShowDoor();
}

void Furnace::ShutDoor() {
    trackedCoals_.clear();
    doorState_ = kClosed;
    doorTimer_ = 0;
    ShowDoor();
}

void Furnace::ShowDoor() {
    const int32_t wheelMs = Constant("FURNACE_WHEEL_TIME");
    const int32_t doorMs = Constant("FURNACE_DOOR_TIME");
    if (doorTimer_ < wheelMs) {
        door_->SetFrame(0);
        fire_->SetFrame(0);
        fire_->SetVisible(false);
        wheel_->SetFrame(wheelMs > 0 ? (wheel_->GetFrameCount() - 1) * doorTimer_ / wheelMs : 0);
        wheel_->SetVisible(true);
        return;
    }
    const int32_t lastDoorFrame = door_->GetFrameCount() - 1;
    const int32_t frame = doorMs > 0 ? (doorTimer_ - wheelMs) * lastDoorFrame / doorMs : lastDoorFrame;
    if (frame < lastDoorFrame) {
        fire_->SetVisible(true);
        fire_->SetFrameCount(4, false);
        door_->SetFrame(frame);
        wheel_->SetVisible(false);
    }
}

void Furnace::StepLid(int32_t elapsedMs) {
    const int32_t turns = TurboTurns();
    const int32_t maxTurns = Constant("TURBO_MAX_TURNS");
    if (turns > 0 && lightDelay_ <= 0 && maxTurns != 0) {
        lidTarget_ = static_cast<float>(lidRestY_) -
                     static_cast<float>(lidHeight_ * turns) / static_cast<float>(maxTurns);
    } else if (glowTimer_ > 0) {
        glowTimer_ -= elapsedMs;
        lidTarget_ = static_cast<float>(lidRestY_) - kGlowLidShare * static_cast<float>(lidHeight_);
    } else {
        lidTarget_ = static_cast<float>(lidRestY_);
        if (std::fabs(lidPosition_ - static_cast<float>(lidRestY_)) < 1.0f && IsLightLit()) {
            light_->ClearModifiers();
            light_->AddModifier(
                Fade(light_->GetAlpha(), 255, Constant("FURNACE_BLINK_TIME"), Modifier::kBlockFollowing));
            light_->AddModifier(Fade(255, 0, kUnlitFadeMs, 0));
            light_->SetColor(0);
        }
    }
    SpeedToTarget(elapsedMs, lidTarget_, kLidSpeed, kLidAcceleration, kLidAcceleration, true, lidPosition_,
                  lidSpeed_);
    PlaceParts();
}

void Furnace::PlaceParts() {
    const auto y = static_cast<int32_t>(lidPosition_);
    lid_->SetY(y);
    nails_->SetY(y - 4);
    coil_->SetY((lidHeight_ + lidRestY_ + y) / 2);
    coil_->SetClipRect(0, y, kClipWidth, lidRestY_ - y);
    const int32_t frames = nails_->GetFrameCount();
    const int32_t frame = (y / 5) % frames;
    // A lid above the picture's top must not pick a frame before the first.
    nails_->SetFrame(frame < 0 ? frame + frames : frame);
}

void Furnace::SpawnIconsAndSpecks(int32_t elapsedMs) {
    const float speedFactor = 1.0f + 0.8f * static_cast<float>(TurboTurns());
    const bool highQuality = EffectsContext::Current().HighQuality();
    iconTimer_ -= elapsedMs;
    if (iconTimer_ < 0) {
        iconTimer_ = Constant("FURNACE_GLOW_ICON_DELAY");
        if (highQuality) {
            SpawnIcon();
        }
    }
    speckTimer_ -= elapsedMs;
    if (speckTimer_ < 0) {
        speckTimer_ = kSpeckInterval;
        if (highQuality) {
            SpawnSpeck(speedFactor);
        }
    }
}

void Furnace::SpawnIcon() {
    const int32_t iconWidth = iconsImage_ ? iconsImage_->GetWidth() / kIconColumns : 0;
    const int32_t iconHeight = iconsImage_ ? iconsImage_->GetHeight() / kIconRows : 0;
    const auto column = static_cast<int32_t>(NextRandom() % kIconColumns);
    const int32_t x = RandomBelow(light_->GetWidth() - iconWidth);
    const int32_t bottom = coil_->GetHeight();
    Ref<Sprite> icon(new Sprite());
    icon->SetPosition(x, bottom);
    icon->SetColor(column);
    auto* rise = new ModifierEaseMove(static_cast<float>(x), static_cast<float>(bottom), x, -iconHeight,
                                      1200 + 400 * column, true, true, LinearStep);
    rise->SetOptions(Modifier::kRemoveNodeAtEnd);
    icon->AddModifier(rise);
    iconLayer_->AddChild(icon.Get());
}

void Furnace::SpawnSpeck(float speedFactor) {
    const int32_t x = RandomBelow(light_->GetWidth() - 2 * kSpeckMargin) + kSpeckMargin;
    const int32_t speckHeight = speckImage_ ? speckImage_->GetHeight() : 0;
    Ref<Sprite> speck(new AdditiveSprite(x, 0, speckImage_.Get()));
    auto* rise = new ModifierEaseMove(static_cast<float>(x), 0.0f, x, -(coil_->GetHeight() + speckHeight),
                                      static_cast<int32_t>(2400.0f / speedFactor), true, true, LinearStep);
    rise->SetOptions(Modifier::kRemoveNodeAtEnd);
    speck->AddModifier(rise);
    coil_->AddChildFront(speck.Get());
}

void Furnace::PaintLight() {
    // Only the private copy is painted: the picture the definition gave the
    // light is shared with every other user of the resource.
    if (!paintedLight_ || light_->GetImage() != paintedLight_.Get() || !currentLightImage_) {
        return;
    }
    Ref<Canvas> canvas = paintedLight_->CreateCanvas();
    if (!canvas) {
        return;
    }
    // Copied, not blended, so that last frame's icons are gone.
    canvas->CopyRect(*currentLightImage_, 0, 0, 0, 0, currentLightImage_->GetWidth(),
                     currentLightImage_->GetHeight());
    if (!iconsImage_) {
        return;
    }
    const int32_t iconWidth = iconsImage_->GetWidth() / kIconColumns;
    const int32_t iconHeight = iconsImage_->GetHeight() / kIconRows;
    for (GameNode* icon = iconLayer_->GetFirstChild(); icon != nullptr; icon = icon->GetNextSibling()) {
        const auto* sprite = ObjectCast<Sprite>(icon);
        const int32_t column = sprite != nullptr ? sprite->GetColor() : 0;
        canvas->Blit(*iconsImage_, icon->GetX(), icon->GetY(), column * iconWidth, (currentLight_ - 1) * iconHeight,
                     iconWidth, iconHeight);
    }
}
