#include "game/world/Carriage.h"

#include <algorithm>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Property.h"
#include "engine/scene/DialogTable.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierEaseMove.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/scene/ModifierWait.h"
#include "game/words/TicketConstants.h"
#include "game/words/TicketInfo.h"
#include "game/world/CoinEffect.h"
#include "game/world/EffectsContext.h"
#include "game/world/HudSceneHooks.h"
#include "game/world/PartBuilder.h"
#include "game/world/RaceContext.h"
#include "game/world/RaceMath.h"

namespace {

const ClassRegistration registration("Carriage", CreateFromProperty<Carriage>);

constexpr const char* kSection = "gamescene";
constexpr float kPassengersPerRating = 6.0f;
// A bound on the coins a constant file may ask of one passenger.
constexpr int32_t kMostCoinsPerPassenger = 100;
constexpr const char* kWheelKeys[][2] = {
    {"wheelfrontx", "wheelfronty"}, {"wheelback1x", "wheelback1y"}, {"wheelback2x", "wheelback2y"}};

int32_t IntKey(const Property* node, const char* key) { return Property::AsInt(Property::Child(node, key)); }

}  // namespace

Carriage::Carriage(Property* definition) : LSO(definition) {
    const int32_t spacing = ticket_constants::Int("MINIMAP_PASSENGER_SPACING");
    for (int32_t i = 0; i < kMaximumSize; ++i) {
        Ref<GameNode> window = BuildPartNode(definition, "window");
        window->SetX(window->GetX() + i * spacing);
        windows_[static_cast<size_t>(i)] = window;
    }
    front_ = BuildPartNode(definition, "front");
    door_ = BuildPartSprite(definition, "door");
    passengers_ = BuildPartNode(definition, "passengers");
    back_ = BuildPartSprite(definition, "back");
    for (const Ref<GameNode>& window : windows_) {
        AddChild(window.Get());
    }
    AddChild(front_.Get());
    AddChild(door_.Get());
    AddChild(passengers_.Get());
    AddChild(back_.Get());
}

Carriage::~Carriage() = default;

int32_t Carriage::PassengersForRating(float rating) {
    const int32_t seated = race_math::Truncate(rating * kPassengersPerRating);
    return std::clamp(seated, 0, kMaximumSize);
}

int32_t Carriage::CoinsPerPassenger() {
    return std::clamp(ticket_constants::Int("COINS_PER_PASSENGER"), 0, kMostCoinsPerPassenger);
}

void Carriage::Build(int32_t x, int32_t y, int32_t size) {
    size_ = size;
    const Property* setup = Property::At(ticket_constants::List("CARRIAGE_SETUP"), size);

    back_->SetImage(RaceContext::Current().FindImage("CARRIAGE_BACK" + std::to_string(size), kSection).Get());
    const int32_t right = back_->GetWidth() + back_->GetX();
    front_->SetX(right);
    door_->SetX(right - 2);

    for (int32_t i = 0; i < kMaximumSize; ++i) {
        windows_[static_cast<size_t>(i)]->SetVisible(i < size);
    }
    SeatPassengers();

    SetPosition(x - IntKey(setup, "x"), y - IntKey(setup, "y"));
    SetRealX(static_cast<float>(GetX()));

    const DialogTable* table = DialogTable::Instance();
    for (const auto& keys : kWheelKeys) {
        Object* created = table != nullptr ? table->CreateObject("CARRIAGE_WHEEL") : nullptr;
        auto* wheel = ObjectCast<Sprite>(created);
        if (wheel == nullptr) {
            const Ref<Object> discard(created);
            continue;
        }
        wheel->SetPosition(IntKey(setup, keys[0]), IntKey(setup, keys[1]));
        AddChild(wheel);
        wheels_.push_back(wheel);
    }
}

void Carriage::SeatPassengers() {
    for (Sprite*& passenger : passengerSprites_) {
        if (passenger != nullptr) {
            passenger->SetRemoved(true);
            passenger = nullptr;
        }
    }
    const TicketInfo* ticket = RaceContext::Current().CurrentTicket();
    const int32_t count = ticket != nullptr ? PassengersForRating(ticket->Rating) : 0;
    const int32_t spacing = ticket_constants::Int("MINIMAP_PASSENGER_SPACING");
    for (int32_t i = 0; i < count; ++i) {
        const int32_t kind = ticket->Passengers[static_cast<size_t>(i)];
        const Ref<Surface> image = RaceContext::Current().FindImage("PASSENGER" + std::to_string(kind), kSection);
        auto* passenger = new Sprite(i * spacing, 0, image.Get());
        passenger->SetAnchorKind(Sprite::kTop);
        passengers_->AddChild(passenger);
        passengerSprites_[static_cast<size_t>(i)] = passenger;
    }
}

void Carriage::AnimateWheels(int32_t trainX) {
    if (wheels_.empty()) {
        return;
    }
    const int32_t frames = std::max(wheels_.front()->GetFrameCount(), 1);
    const int32_t frame = race_math::Truncate(static_cast<float>(trainX) / kPixelsPerWheelFrame) % frames;
    for (Sprite* wheel : wheels_) {
        wheel->SetFrame(frame);
    }
}

int32_t Carriage::ShownPassengers() const {
    return static_cast<int32_t>(std::count_if(passengerSprites_.begin(), passengerSprites_.end(),
                                              [](const Sprite* passenger) { return passenger != nullptr; }));
}

Sprite* Carriage::GetPassenger(int32_t index) const {
    return index >= 0 && index < kMaximumSize ? passengerSprites_[static_cast<size_t>(index)] : nullptr;
}

GameNode* Carriage::GetWindow(int32_t index) const {
    return index >= 0 && index < kMaximumSize ? windows_[static_cast<size_t>(index)].Get() : nullptr;
}

void Carriage::UnloadPassengers(float count) {
    HudSceneHooks& hooks = HudSceneHooks::Current();
    // Only the passengers who sit in the carriage can step out of it.
    const float bounded = count >= 0.0f ? std::min(count, static_cast<float>(kMaximumSize)) : 0.0f;
    const int32_t leaving = std::min(static_cast<int32_t>(bounded), ShownPassengers());
    GameNode* lastCoin = nullptr;
    if (leaving >= 1) {
        hooks.ResetAwardCoins();
        door_->AddModifier(new ModifierFrame(0, kDoorFrameMs));
        // Coins fly in the effect layer: the passengers' screen origin in its terms.
        const GameNode* layer = EffectsContext::Current().EffectLayer();
        const int32_t originX = passengers_->GetAbsoluteX() - (layer != nullptr ? layer->GetAbsoluteX() : 0);
        const int32_t originY = passengers_->GetAbsoluteY() - (layer != nullptr ? layer->GetAbsoluteY() : 0);
        const int32_t spacing = ticket_constants::Int("MINIMAP_PASSENGER_SPACING");
        const int32_t exitX = back_->GetWidth() + ticket_constants::Int("CARRIAGE_EXIT_OFFSET");
        const int32_t coins = CoinsPerPassenger();
        for (int32_t i = leaving - 1, k = 0; i >= 0; --i, ++k) {
            Sprite* passenger = passengerSprites_[static_cast<size_t>(i)];
            const int32_t targetX = i * spacing + exitX;
            const int32_t y = passenger->GetY();
            passenger->AddModifier(new ModifierWait(k * kStepOutIntervalMs));
            Modifier* glide = passenger->AddModifier(
                new ModifierEaseMove(static_cast<float>(passenger->GetX()), static_cast<float>(y), targetX, y,
                                     kStepOutMs, true, false, Smoothstep));
            glide->SetOptions(Modifier::kBlockFollowing);
            for (int32_t c = 0; c < coins; ++c) {
                if (GameNode* coin = SpawnCoins(glide, originX + targetX, originY + y, 1, false, k * kCoinIntervalMs)) {
                    lastCoin = coin;
                }
            }
        }
    }
    if (lastCoin != nullptr && lastCoin->HasModifiers()) {
        AddModifier(new ModifierWait(lastCoin->GetModifiers().back().Get()));
    }
    AddModifier(new ModifierCallback([](uint32_t, GameNode*) { HudSceneHooks::Current().UnloadingFinished(); }, 0));
}
