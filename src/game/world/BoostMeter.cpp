#include "game/world/BoostMeter.h"

#include <algorithm>
#include <cmath>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Property.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/SpeedToTarget.h"
#include "game/words/TicketConstants.h"
#include "game/words/TicketInfo.h"
#include "game/world/HudSceneHooks.h"
#include "game/world/PartBuilder.h"
#include "game/world/PlayerTrain.h"
#include "game/world/RaceContext.h"

namespace {

const ClassRegistration registration("BoostMeter", CreateFromProperty<BoostMeter>);

constexpr const char* kSection = "gamescene";
constexpr int32_t kTopFrameMs = 120;
constexpr int32_t kClipLeft = -100;
constexpr int32_t kClipWidth = 200;
constexpr int32_t kOpenClipHeight = 600;
// Within this many pixels of full, the top edge shrinks away.
constexpr int32_t kTopShrinkZone = 6;
constexpr float kLevelAcceleration = 400.0f;
constexpr int32_t kPulseMs = 200;
constexpr int32_t kFadeInMs = 500;

Ref<Surface> Image(const std::string& name, int32_t model) {
    return RaceContext::Current().FindImage(name + std::to_string(model), kSection);
}

Modifier* Fade(int32_t from, int32_t to, int32_t durationMs) {
    auto* fade = new ModifierValue(from, to, durationMs);
    fade->SetOptions(Modifier::kBlockFollowing);
    return fade;
}

// Up to full strength and back down; returns the last step.
Modifier* AppendPulse(GameNode& node) {
    node.AddModifier(Fade(0, 255, kPulseMs));
    return node.AddModifier(Fade(255, 0, kPulseMs));
}

}  // namespace

BoostMeter::BoostMeter(Property* definition)
    : Sprite(definition),
      top_(BuildPartSprite(definition, "top")),
      fill_(BuildPartSprite(definition, "fill")),
      overlay_(BuildPartSprite(definition, "overlay")) {
    top_->AddModifier(new ModifierFrame(ModifierFrame::kEndless, kTopFrameMs));
    top_->SetVisible(false);
    AddChild(fill_.Get());
    AddChild(top_.Get());
    AddChild(overlay_.Get());
    emptyLevel_ = top_->GetY();
    Reset();
}

BoostMeter::~BoostMeter() = default;

int32_t BoostMeter::GetCapacity() {
    const int32_t coals =
        ticket_constants::IntAt(ticket_constants::List("COALS_PER_SECTION"), RaceContext::Current().BoostIndex());
    return coals * ticket_constants::Int("TRAIN_BOOST_MSEC_PER_COAL");
}

Modifier* BoostMeter::Build() {
    const int32_t model = RaceContext::Current().BoostIndex();
    emptyLevel_ = ticket_constants::IntAt(ticket_constants::List("BOOST_OVERLAY"), model);
    SetImage(Image("BOOSTMETER", model + 1).Get());
    overlay_->SetImage(Image("BOOSTMETER_OVERLAY", model + 1).Get());

    overlay_->SetY(emptyLevel_);
    fill_->SetY(emptyLevel_);
    top_->SetClipRect(kClipLeft, overlay_->GetY() - overlay_->GetHeight(), kClipWidth, kOpenClipHeight);
    top_->SetVisible(true);

    range_ = overlay_->GetHeight() + 1;
    capacity_ = GetCapacity();

    const HudSceneHooks& hooks = HudSceneHooks::Current();
    const TicketInfo* ticket = RaceContext::Current().CurrentTicket();
    if (model >= 1 && model != hooks.OldBoostIndex() && GetParent() != nullptr && ticket != nullptr &&
        ticket->GameMode == TicketInfo::kMapTicket) {
        return PlayUpgradeShow(model);
    }
    return nullptr;
}

Modifier* BoostMeter::PlayUpgradeShow(int32_t model) {
    HudSceneHooks& hooks = HudSceneHooks::Current();
    Ref<Sprite> oldMeter(new Sprite(*this));
    oldMeter->SetImage(Image("BOOSTMETER", model).Get());
    oldMeter->SetAlpha(255);
    oldMeter->InsertBefore(this);
    SetAlpha(0);
    fill_->SetAlpha(0);
    top_->SetAlpha(0);
    overlay_->SetVisible(false);

    Sprite* glow = hooks.GetBoostGlow();
    Modifier* glowPulse = nullptr;
    if (glow != nullptr) {
        // The previous model's glow stands where that model's entry puts it.
        const Property* place = Property::At(ticket_constants::List("BOOST_GLOW"), model - 1);
        glow->SetImage(Image("BOOSTMETER_GLOW", model).Get());
        glow->SetPosition(Property::AsInt(Property::Child(place, "x")), Property::AsInt(Property::Child(place, "y")));
        glow->SetVisible(true);
        glow->SetAlpha(0);
        glow->ClearModifiers();
        glowPulse = AppendPulse(*glow);
    }

    // Without a glow there is no pulse to wait for.
    auto waitFor = [](Modifier* step) -> Modifier* {
        return step != nullptr ? new ModifierWait(step) : new ModifierWait(0);
    };
    Modifier* removeOld = waitFor(glowPulse);
    removeOld->SetOptions(Modifier::kBlockFollowing | Modifier::kRemoveNodeAtEnd);
    oldMeter->AddModifier(removeOld);

    AddModifier(waitFor(removeOld));
    AppendPulse(*this);
    Modifier* meterIn = AddModifier(Fade(0, 255, kPulseMs));
    Ref<Sprite> overlay = overlay_;
    AddModifier(new ModifierCallback([overlay](uint32_t, GameNode*) { overlay->SetVisible(true); }, 0));

    fill_->AddModifier(waitFor(meterIn));
    Modifier* fillIn = fill_->AddModifier(Fade(0, 255, kFadeInMs));
    top_->AddModifier(waitFor(meterIn));
    top_->AddModifier(Fade(0, 255, kFadeInMs));

    Modifier* last = fillIn;
    if (glow != nullptr) {
        glow->AddModifier(waitFor(fillIn));
        Ref<BoostMeter> meter(this);
        glow->AddModifier(new ModifierCallback([meter](uint32_t, GameNode*) { meter->ShowGlow(); }, 0));
        last = AppendPulse(*glow);
    }

    if (!hooks.KeepsOldBoostIndex()) {
        hooks.SetOldBoostIndex(model);
    }
    return last;
}

void BoostMeter::ShowGlow() {
    Sprite* glow = HudSceneHooks::Current().GetBoostGlow();
    if (glow == nullptr) {
        return;
    }
    const int32_t model = RaceContext::Current().BoostIndex();
    const Property* place = Property::At(ticket_constants::List("BOOST_GLOW"), model);
    glow->SetImage(Image("BOOSTMETER_GLOW", model + 1).Get());
    glow->SetPosition(Property::AsInt(Property::Child(place, "x")), Property::AsInt(Property::Child(place, "y")));
}

void BoostMeter::Reset() {
    levelSpeed_ = 0.0f;
    level_ = static_cast<float>(emptyLevel_);
    targetLevel_ = level_;
    fill_->ClearModifiers();
    overlay_->ClearModifiers();
    fill_->SetAlpha(255);
    overlay_->SetVisible(true);
    Layout();
}

void BoostMeter::Update(int32_t elapsedMs) {
    if (capacity_ > 0) {
        const PlayerTrain* train = HudSceneHooks::Current().GetPlayerTrain();
        const int64_t boost = train != nullptr ? train->GetBoostTime() : 0;
        targetLevel_ = static_cast<float>(emptyLevel_) -
                       static_cast<float>(boost * range_) / static_cast<float>(capacity_);
        SpeedToTarget(elapsedMs, targetLevel_, kMaximumLevelSpeed, kLevelAcceleration, kLevelAcceleration, true,
                      level_, levelSpeed_);
    }
    Layout();
}

void BoostMeter::Layout() {
    const auto y = static_cast<int32_t>(level_);
    top_->SetY(y);
    // The fill shows from the level down to the empty mark.
    fill_->SetClipRect(fill_->GetX() - static_cast<int32_t>(fill_->GetAnchorX()), y,
                       std::max(fill_->GetWidth(), 0), std::max(emptyLevel_ - y, 0));
    const int32_t clipTop = overlay_->GetY() - overlay_->GetHeight();
    const int32_t nearFull = emptyLevel_ - overlay_->GetHeight() - top_->GetY() + kTopShrinkZone;
    if (nearFull > 0) {
        top_->SetY(y + 1);
        top_->SetClipRect(kClipLeft, clipTop, kClipWidth, kTopShrinkZone - nearFull);
    } else {
        top_->SetClipRect(kClipLeft, clipTop, kClipWidth, kOpenClipHeight);
    }
}
