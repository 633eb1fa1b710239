#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/foundation/Ref.h"
#include "game/world/LSO.h"

// The passenger carriage the player's train pulls on map tickets: one
// window per compartment, the ticket's passengers at the windows, wheels
// turned by the train, and at the end station the passengers stepping out
// one after another, each paying coins.
class Carriage : public LSO {
    ENGINE_CLASS(Carriage, LSO)

public:
    static constexpr int32_t kMaximumSize = 5;
    static constexpr float kPixelsPerWheelFrame = 25.0f;
    static constexpr int32_t kStepOutIntervalMs = 520;
    static constexpr int32_t kStepOutMs = 550;
    static constexpr int32_t kCoinIntervalMs = 50;
    static constexpr int32_t kDoorFrameMs = 200;

    // The landscape object keys, then the parts of the definition's children
    // "window" (five of them), "front", "door", "passengers" and "back".
    explicit Carriage(Property* definition = nullptr);
    ~Carriage() override;

    // Shows `size` compartments with the current ticket's passengers and
    // places the carriage behind the train's hitch at (x, y).
    void Build(int32_t x, int32_t y, int32_t size);
    // The wheels follow the train's x.
    void AnimateWheels(int32_t trainX);
    // The first `count` passengers (at most those shown) step out and pay;
    // the game scene hears when they are out.
    void UnloadPassengers(float count);

    // Passengers the ticket's rating seats: 6 per full rating, at most 5.
    static int32_t PassengersForRating(float rating);
    // The coins each passenger pays, as the constant files ask, held to 0..100.
    static int32_t CoinsPerPassenger();

    int32_t GetSize() const { return size_; }
    int32_t ShownPassengers() const;
    Sprite* GetPassenger(int32_t index) const;
    GameNode* GetWindow(int32_t index) const;
    Sprite* GetBack() const { return back_.Get(); }
    Sprite* GetDoor() const { return door_.Get(); }
    GameNode* GetFront() const { return front_.Get(); }
    GameNode* GetPassengersNode() const { return passengers_.Get(); }
    const std::vector<Sprite*>& GetWheels() const { return wheels_; }

private:
    void SeatPassengers();

    Ref<GameNode> front_;
    Ref<Sprite> back_;
    Ref<Sprite> door_;
    std::array<Ref<GameNode>, kMaximumSize> windows_;
    std::array<Sprite*, kMaximumSize> passengerSprites_{};
    Ref<GameNode> passengers_;
    int32_t size_ = kMaximumSize;
    std::vector<Sprite*> wheels_;
};
