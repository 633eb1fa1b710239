#include "game/world/PlayerTrain.h"

#include <algorithm>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/TextConversions.h"
#include "engine/scene/DialogTable.h"
#include "engine/scene/SpeedToTarget.h"
#include "game/constants/GameConstants.h"
#include "game/words/TicketConstants.h"
#include "game/words/TicketInfo.h"
#include "game/words/WordList.h"
#include "game/world/Carriage.h"
#include "game/world/RaceContext.h"
#include "game/world/RaceMath.h"

namespace {

const ClassRegistration registration("PlayerTrain", CreateFromProperty<PlayerTrain>);

constexpr int32_t kShortestWord = 3;

// The ticket's units for a word of that many letters; 0 for a length the
// ticket has no entry for.
int32_t BaseUnits(int32_t letters) {
    const TicketInfo* ticket = RaceContext::Current().CurrentTicket();
    const int32_t index = letters - kShortestWord;
    if (ticket == nullptr || index < 0 || index >= TicketInfo::kWordLengths) {
        return 0;
    }
    return ticket->Units[static_cast<size_t>(index)];
}

}  // namespace

PlayerTrain::PlayerTrain(Property* saved) : Train(saved) {
    if (saved != nullptr) {
        SetRealX(Property::AsFloat(Property::Child(saved, "realx")));
        speed_ = Property::AsFloat(Property::Child(saved, "speed"));
        turboTurns_ = Property::AsInt(Property::Child(saved, "turbo"));
        boostTime_ = Property::AsInt(Property::Child(saved, "boost"));
        bonus_ = Property::AsBool(Property::Child(saved, "bonus"));
        Move(0);
    }
    SetY(ticket_constants::Int("MINIMAP_PLAYER_TRAIN_Y"));
    Property* model = LoadDefinition("PLAYERTRAINS", RaceContext::Current().BoostIndex());
    HitchCarriage(model);
}

void PlayerTrain::HitchCarriage(Property* model) {
    const RaceContext& race = RaceContext::Current();
    const TicketInfo* ticket = race.CurrentTicket();
    const DialogTable* table = DialogTable::Instance();
    if (ticket == nullptr || ticket->GameMode != TicketInfo::kMapTicket || race.CarriageSize() < 1 ||
        table == nullptr) {
        return;
    }
    Object* created = table->CreateObject("CARRIAGE");
    const Ref<Object> keep(created);
    auto* carriage = ObjectCast<Carriage>(created);
    if (carriage == nullptr) {
        return;
    }
    AttachCarriage(carriage);
    const int32_t backWidth = GetBackground() != nullptr ? GetBackground()->GetWidth() : 0;
    carriage->Build(Property::AsInt(Property::Child(model, "cx")) - backWidth,
                    Property::AsInt(Property::Child(model, "cy")), race.CarriageSize());
}

int32_t PlayerTrain::GetFullBoostSections() const {
    const int32_t perCoal = TRAIN_BOOST_MSEC_PER_COAL;
    int32_t coals = perCoal != 0 ? boostTime_ / perCoal : 0;
    Property* sections = const_cast<Property*>(ticket_constants::List("COALS_PER_SECTION"));
    const int32_t count = Property::VectorOf(sections).Count();
    int32_t full = 0;
    for (int32_t i = 0; i < count; ++i) {
        coals -= ticket_constants::IntAt(sections, i);
        if (coals < 0) {
            break;
        }
        ++full;
    }
    return full;
}

int32_t PlayerTrain::GetBoostPercentage() const {
    return ticket_constants::IntAt(ticket_constants::List("BOOST_PECENTAGE_PER_SECTION"), GetFullBoostSections());
}

int32_t PlayerTrain::GetWordDistance(const RaceWord& word) const {
    const int32_t base = BaseUnits(word.slots);
    int32_t distance = (GetBoostPercentage() + 100) * base / 100;
    distance += (word.multiplier - 1) * base;
    if (turboTurns_ > 0) {
        distance += base;
    }
    return distance;
}

void PlayerTrain::AddWord(const RaceWord& word) {
    std::string folded;
    WordList::FoldWord(word.text, folded);
    BlowSmoke(NarrowToWide(folded));
    // In 64 bits: the units travelled come from save games.
    const int64_t travelled = int64_t{GetUnitsTravelled()} + GetWordDistance(word);
    SetUnitsTravelled(static_cast<int32_t>(std::min<int64_t>(travelled, GetUnitsToTravel())));
    const int64_t boost = static_cast<int64_t>(boostTime_) +
                          static_cast<int64_t>(word.slots) * TRAIN_BOOST_MSEC_PER_COAL;
    boostTime_ = static_cast<int32_t>(std::min<int64_t>(boost, RaceContext::Current().BoostCapacity()));
    turboUsed_ = turboTurns_ > 0;
    if (turboUsed_) {
        --turboTurns_;
    }
    CheckTurboCoal(word);
}

void PlayerTrain::CheckTurboCoal(const RaceWord& word) {
    if (!word.turboCoal) {
        return;
    }
    RaceContext::Current().PlaySound("SOUND_TURBO_USED", RaceContext::kFullVolume, RaceContext::kCentrePan);
    ++turboCoalsUsed_;
    turboTurns_ = TURBO_MAX_TURNS;
}

void PlayerTrain::Reset() {
    Train::Reset();
    speed_ = 0.0f;
    turboTurns_ = 0;
    boostTime_ = 0;
    bonus_ = false;
    turboUsed_ = false;
    turboCoalsUsed_ = 0;
    SetWheelPhaseOrigin(GetCurrentFrame());
}

void PlayerTrain::Save(PropertyNode& node) const {
    Train::Save(node);
    node.SetTypeName("PlayerTrain");
    node.Add(PropertyValue::FromFloat("realx", GetRealX(), false));
    node.Add(PropertyValue::FromFloat("speed", speed_, false));
    node.Add(PropertyValue::FromInteger("turbo", turboTurns_, false));
    node.Add(PropertyValue::FromInteger("boost", boostTime_, false));
    node.Add(PropertyValue::FromBool("bonus", bonus_, false));
}

void PlayerTrain::Update(int32_t elapsedMs) {
    if (!RaceContext::Current().IsRacing()) {
        return;
    }
    if (boostTime_ > 0) {
        boostTime_ = std::max(boostTime_ - elapsedMs, 0);
    }
    // The copied constants: a frame of the race looks nothing up by name.
    maximumSpeed_ = turboTurns_ > 0 ? TRAIN_MAX_TURBO_SPEED : TRAIN_MAX_SPEED;
    acceleration_ = TRAIN_ACC_INC;
    braking_ = TRAIN_ACC_DEC;
    Move(elapsedMs);
    AnimateWheels();
    PlayMovingSound(elapsedMs, 255, RaceContext::kFullVolume, speed_);
}

void PlayerTrain::Move(int32_t elapsedMs) {
    const int32_t units = std::min(GetUnitsTravelled(), GetUnitsToTravel());
    const float target = static_cast<float>(int64_t{units} * MINIMAP_PIXELS_PER_UNIT);
    const bool moving = speed_ > 0.0f;
    float realX = GetRealX();
    SpeedToTarget(elapsedMs, target, maximumSpeed_, acceleration_, braking_, false, realX, speed_);
    if (moving && speed_ <= 0.0f) {
        RaceContext::Current().PlaySound("SOUND_TRAIN_STOPPED", RaceContext::kFullVolume, RaceContext::kCentrePan);
    }
    SetRealX(realX);
}
