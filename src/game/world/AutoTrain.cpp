#include "game/world/AutoTrain.h"

#include <algorithm>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/RandomGenerator.h"
#include "game/constants/GameConstants.h"
#include "game/words/TicketConstants.h"
#include "game/world/Landscape.h"
#include "game/world/PlayerTrain.h"
#include "game/world/RaceContext.h"
#include "game/world/RaceMath.h"

namespace {

const ClassRegistration registration("AutoTrain", CreateFromProperty<AutoTrain>);

constexpr int32_t kLoudest = 120;
constexpr int32_t kPanSpread = 200;
constexpr float kChuffSpeed = 150.0f;
constexpr uint32_t kPuffSpreadMs = 40000;
constexpr int32_t kShortestPuffMs = 3000;

}  // namespace

AutoTrain::AutoTrain(Property* saved) : Train(saved) {
    if (saved != nullptr) {
        progress_ = Property::AsInt(Property::Child(saved, "prog"));
        out_ = Property::AsInt(Property::Child(saved, "out"));
        Advance(0);
    }
    SetY(ticket_constants::Int("MINIMAP_OPPONENT_TRAIN_Y"));
    LoadDefinition("AUTOTRAINS", 0);
}

void AutoTrain::Reset() {
    Train::Reset();
    progress_ = 0;
    out_ = 0;
    SetWheelPhaseOrigin(GetCurrentFrame());
}

void AutoTrain::Save(PropertyNode& node) const {
    Train::Save(node);
    node.SetTypeName("AutoTrain");
    node.Add(PropertyValue::FromInteger("prog", progress_, false));
    node.Add(PropertyValue::FromInteger("out", out_, false));
}

void AutoTrain::Advance(int32_t elapsedMs) {
    const int32_t gameTime = DEFAULT_GAME_TIME;
    if (out_ < 1) {
        progress_ = std::min(progress_ + elapsedMs, gameTime);
    } else {
        out_ -= elapsedMs;
        if (out_ < 1) {
            RaceContext::Current().PlaySound("SOUND_OPPONENT_RETURNS", RaceContext::kFullVolume,
                                             RaceContext::kCentrePan);
        }
    }
    const float length =
        static_cast<float>(GetUnitsToTravel()) * static_cast<float>(MINIMAP_PIXELS_PER_UNIT);
    SetRealX(race_math::Ratio(static_cast<float>(progress_), static_cast<float>(gameTime)) * length);
}

void AutoTrain::Update(int32_t elapsedMs) {
    if (!RaceContext::Current().IsRacing() || !IsVisible()) {
        return;
    }
    Advance(elapsedMs);
    AnimateWheels();
    const int32_t volume = ChuffVolume();
    if (volume > 0) {
        PlayMovingSound(elapsedMs, kPanSpread, volume, kChuffSpeed);
    }
    Puff(elapsedMs);
}

int32_t AutoTrain::ChuffVolume() const {
    const int32_t s = GetAbsoluteX();
    const int32_t r = s + (GetBody() != nullptr ? GetBody()->GetWidth() : 0);
    if (r <= 0 || s >= race_math::kScreenWidth) {
        return 0;
    }
    const Landscape* landscape = Landscape::Of(*this);
    const PlayerTrain* player = landscape != nullptr ? landscape->GetPlayerTrain() : nullptr;
    if (player == nullptr) {
        return 0;
    }
    const int32_t p = player->GetAbsoluteX();
    const int32_t q = p + (player->GetBody() != nullptr ? player->GetBody()->GetWidth() : 0);
    if (r < p) {
        return p != 0 ? r * kLoudest / p : 0;
    }
    if (s > q) {
        const int32_t room = race_math::kScreenWidth - q;
        return room != 0 ? (race_math::kScreenWidth - s) * kLoudest / room : 0;
    }
    return kLoudest;
}

void AutoTrain::Puff(int32_t elapsedMs) {
    smokeTimer_ -= elapsedMs;
    if (smokeTimer_ > 0) {
        return;
    }
    BlowSmoke(L"ooo");
    RandomGenerator* generator = RandomGenerator::Global();
    const uint32_t draw = generator != nullptr ? generator->Next() : 0;
    smokeTimer_ = static_cast<int32_t>(draw % kPuffSpreadMs) + kShortestPuffMs;
}
