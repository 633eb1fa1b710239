#include "game/world/Landscape.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/media/Surface.h"
#include "game/constants/GameConstants.h"
#include "game/words/TicketConstants.h"
#include "game/words/TicketInfo.h"
#include "game/world/AutoTrain.h"
#include "game/world/Flagpole.h"
#include "game/world/LSO.h"
#include "game/world/PlayerTrain.h"
#include "game/world/RaceContext.h"

namespace {

const ClassRegistration registration("Landscape", CreateFromProperty<Landscape>);

constexpr int32_t kMostTilesPerFill = 1000;
constexpr float kFlagpoleBehindPerron = 360.0f;
constexpr int32_t kFlagpoleAboveBottom = 27;

int32_t Constant(const char* name) { return ticket_constants::Int(name); }

template <typename Train>
Ref<Train> TrainFromSave(const Property* saved, const char* key) {
    Property* node = Property::Child(saved, key);
    Object* created = node != nullptr ? ClassFactory::Instance().Create(node) : nullptr;
    Ref<Object> keep(created);
    Ref<Train> train(ObjectCast<Train>(created));
    if (!train) {
        ENGINE_LOG(1, "Landscape: the saved game has no train \"%s\"; a new one takes its place", key);
        train = new Train;
    }
    return train;
}

}  // namespace

Landscape::Landscape(Property* definition) : Sprite(definition) {
    const int32_t height = Constant("MINIMAP_HEIGHT");
    SetSize(kWidth, height);
    SetClipRect(GetX(), GetY(), kWidth, height);
    scrollNode_ = new GameNode;
    scrollNode_->SetX(Constant("MINIMAP_PLAYER_TRAIN_X"));
    AddChild(scrollNode_.Get());
    for (Ref<GameNode>& layer : layers_) {
        layer = new GameNode;
        scrollNode_->AddChild(layer.Get());
    }
    startStation_ = CreateStation(definition, "START_STATION");
    endStation_ = CreateStation(definition, "END_STATION");
    startPerron_ = CreatePerron();
    endPerron_ = CreatePerron();
    PutBackStationsAndPerrons();
    ApplyScroll();
    FillTrackTiles(kTrackLayer);
}

Landscape::~Landscape() { Clear(false); }

Landscape* Landscape::Of(const GameNode& node) {
    for (GameNode* parent = node.GetParent(); parent != nullptr; parent = parent->GetParent()) {
        if (auto* landscape = ObjectCast<Landscape>(parent)) {
            return landscape;
        }
    }
    return nullptr;
}

Ref<LSO> Landscape::CreateStation(Property* definition, const char* key) {
    Property* stationDefinition = Property::Child(definition, key);
    Object* created = stationDefinition != nullptr ? ClassFactory::Instance().Create(stationDefinition) : nullptr;
    const Ref<Object> keep(created);
    Ref<LSO> station(ObjectCast<LSO>(created));
    if (!station) {
        ENGINE_LOG(1, "Landscape: \"%s\" builds no landscape object", key);
    }
    return station;
}

Ref<LSO> Landscape::CreatePerron() const {
    Ref<LSO> perron(new LSO);
    const Ref<Surface> picture = RaceContext::Current().FindImage("PERRON1", "gamescene");
    if (!picture) {
        ENGINE_LOG(1, "Landscape: no image \"PERRON1\"");
    }
    perron->SetImage(picture.Get());
    perron->SetAnchorKind(Sprite::kBottomLeft);
    perron->SetY(GetHeight());
    return perron;
}

void Landscape::AddToLayer(LSO& object, int32_t layer) {
    object.SetLayer(layer);
    layers_[static_cast<size_t>(layer)]->AddChild(&object);
}

void Landscape::PutBackStationsAndPerrons() {
    for (LSO* station : {startStation_.Get(), endStation_.Get()}) {
        if (station != nullptr) {
            AddToLayer(*station, kStationLayer);
        }
    }
    AddToLayer(*startPerron_, kFrontLayer);
    AddToLayer(*endPerron_, kFrontLayer);
}

void Landscape::AddTrains(Ref<PlayerTrain> player, Ref<AutoTrain> opponent) {
    playerTrain_ = std::move(player);
    autoTrain_ = std::move(opponent);
    AddToLayer(*playerTrain_, kPlayerLayer);
    AddToLayer(*autoTrain_, kOpponentLayer);
}

void Landscape::CreateTrains(const Property* saved) {
    if (saved == nullptr) {
        AddTrains(Ref<PlayerTrain>(new PlayerTrain), Ref<AutoTrain>(new AutoTrain));
        return;
    }
    AddTrains(TrainFromSave<PlayerTrain>(saved, "pt"), TrainFromSave<AutoTrain>(saved, "ot"));
}

void Landscape::PlaceStations() {
    const int32_t stationOffset = Constant("MINIMAP_STATION_X_OFFSET");
    const int32_t perronOffset = Constant("MINIMAP_PERRON_X_OFFSET");
    const TicketInfo* ticket = RaceContext::Current().CurrentTicket();
    const int32_t length = (ticket != nullptr ? ticket->GetRaceUnits() : 0) * Constant("MINIMAP_PIXELS_PER_UNIT");
    if (startStation_) {
        startStation_->SetRealX(static_cast<float>(stationOffset));
    }
    if (endStation_) {
        endStation_->SetRealX(static_cast<float>(stationOffset + length));
    }
    startPerron_->SetRealX(static_cast<float>(perronOffset));
    endPerron_->SetRealX(static_cast<float>(perronOffset + length));
    PlaceFlagpole();
}

void Landscape::PlaceFlagpole() {
    if (flagpole_) {
        flagpole_->SetRemoved(true);
        flagpole_.Reset();
    }
    flagpole_ = new Flagpole(endPerron_->GetRealX() + kFlagpoleBehindPerron, GetHeight() - kFlagpoleAboveBottom);
    flagpole_->SetLayer(endPerron_->GetLayer());
    flagpole_->InsertBefore(endPerron_.Get());
}

void Landscape::ShiftToNextRace() {
    const int32_t dx = playerTrain_ ? playerTrain_->GetX() : 0;
    posX_ -= static_cast<float>(dx);
    for (const Ref<GameNode>& layer : layers_) {
        for (GameNode* child = layer->GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
            if (auto* object = ObjectCast<LSO>(child)) {
                object->SetRealX(static_cast<float>(object->GetX() - dx));
            } else {
                child->SetX(child->GetX() - dx);
            }
        }
    }
    std::swap(startStation_, endStation_);
    std::swap(startPerron_, endPerron_);
    PlaceStations();
}

void Landscape::Clear(bool rebuild) {
    for (GameNode* train : {static_cast<GameNode*>(playerTrain_.Get()), static_cast<GameNode*>(autoTrain_.Get())}) {
        if (train != nullptr) {
            train->SetRemoved(true);
        }
    }
    playerTrain_.Reset();
    autoTrain_.Reset();
    for (const Ref<GameNode>& layer : layers_) {
        layer->RemoveChildren();
    }
    if (!rebuild) {
        return;
    }
    PutBackStationsAndPerrons();
    posX_ = 0.0f;
    speed_ = 0.0f;
    ApplyScroll();
    FillTrackTiles(kTrackLayer);
}

void Landscape::Save(PropertyNode& node) const {
    if (playerTrain_) {
        auto* player = new PropertyNode("pt", "PlayerTrain");
        node.Add(player);
        playerTrain_->Save(*player);
    }
    if (autoTrain_) {
        auto* opponent = new PropertyNode("ot", "AutoTrain");
        node.Add(opponent);
        autoTrain_->Save(*opponent);
    }
    node.Add(PropertyValue::FromFloat("posx", posX_, false));
    node.Add(PropertyValue::FromFloat("speed", speed_, false));
}

void Landscape::Load(const Property* saved) {
    CreateTrains(saved);
    posX_ = Property::AsFloat(Property::Child(saved, "posx"));
    speed_ = Property::AsFloat(Property::Child(saved, "speed"));
    Scroll(0);
    ApplyScroll();
    FillTrackTiles(kTrackLayer);
}

void Landscape::Update(int32_t elapsedMs) {
    const RaceContext& context = RaceContext::Current();
    const int32_t state = context.GameState();
    if (!context.IsPaused() && state != 0 && state != 1) {
        maximumSpeed_ = MINIMAP_MAX_SPEED;
        acceleration_ = MINIMAP_ACC_INC;
        braking_ = MINIMAP_ACC_DEC;
        Scroll(elapsedMs);
    }
    ApplyScroll();
    FillTrackTiles(kTrackLayer);
}

void Landscape::Scroll(int32_t elapsedMs) {
    if (!playerTrain_) {
        return;
    }
    const int64_t end =
        playerTrain_->RaceLengthPixels(Constant("MINIMAP_PIXELS_PER_UNIT")) - Constant("MINIMAP_STOP_OFFSET");
    const float target = static_cast<float>(std::min<int64_t>(end, playerTrain_->GetX()));
    const float dt = static_cast<float>(elapsedMs);
    if (target <= speed_ * 0.5f * (speed_ / braking_) + posX_) {
        speed_ = std::max(speed_ - dt * braking_ / 1000.0f, 0.0f);
    } else {
        speed_ = std::min(speed_ + dt * acceleration_ / 1000.0f, maximumSpeed_);
    }
    posX_ += dt * speed_ / 1000.0f;
}

void Landscape::ApplyScroll() {
    const auto x = static_cast<int32_t>(std::lround(-posX_));
    for (const Ref<GameNode>& layer : layers_) {
        layer->SetX(x);
    }
}

void Landscape::FillTrackTiles(int32_t layerIndex) {
    GameNode& layer = *layers_.at(static_cast<size_t>(layerIndex));
    LSO* last = nullptr;
    for (GameNode* child = layer.GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
        if (auto* object = ObjectCast<LSO>(child)) {
            last = object;
        }
    }
    const int32_t ancestors = layer.GetParentAbsoluteX();
    const int32_t layerX = layer.GetX();
    const std::string image = "TRACK_BACKGROUND" + std::to_string(RaceContext::Current().CurrentSection() + 1);
    Ref<Surface> picture;
    for (int32_t i = 0; i < kMostTilesPerFill; ++i) {
        const int32_t right = last != nullptr ? last->GetWidth() + last->GetX() + layerX + ancestors : 0;
        if (last != nullptr && right > kWidth - 1) {
            return;
        }
        if (!picture) {
            picture = RaceContext::Current().FindImage(image, "gamescene");
        }
        // A tile without width would never reach the right edge. The
        // picture may still be loading, so it is looked for again next frame.
        if (!picture || picture->GetWidth() <= 0) {
            if (image != reportedMissingTile_) {
                ENGINE_LOG(1, "Landscape: the track tile \"%s\" is missing or empty", image.c_str());
                reportedMissingTile_ = image;
            }
            return;
        }
        Ref<LSO> tile(new LSO);
        tile->SetImage(picture.Get());
        tile->SetLayer(layerIndex);
        layer.AddChild(tile.Get());
        tile->SetRealX(static_cast<float>(right - (layerX + ancestors)));
        last = tile.Get();
    }
}
