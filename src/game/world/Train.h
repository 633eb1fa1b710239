#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/Ref.h"
#include "game/world/LSO.h"

class Carriage;
class PropertyNode;

// What the race makes of an accepted word.
struct RaceWord {
    std::string text;
    // Letter slots of the word.
    int32_t slots = 0;
    // Product of the letter multipliers; 1 for none.
    int32_t multiplier = 1;
    // Whether a slot holds a turbo coal.
    bool turboCoal = false;
};

// The common base of the player's train and the opponent: its look from a
// train definition, the wheels and rods turned by its x, chuffing while it
// moves, and the race values it saves.
class Train : public LSO {
    ENGINE_CLASS(Train, LSO)

public:
    // "Not arrived yet": later than any arrival.
    static constexpr int32_t kNotFinished = 2147483647;

    // With a saved node, "UnitsTravelled", "UnitsToTravel" and "finish".
    explicit Train(Property* saved = nullptr);
    ~Train() override;

    virtual void AddWord(const RaceWord& /*word*/) {}
    virtual void Reset();
    // Adds the race values; the subclass then names the node after its class.
    virtual void Save(PropertyNode& node) const;

    // Wheels and rods follow the node's x.
    void AnimateWheels();
    // Counts the sound timer down and chuffs when it runs out.
    void PlayMovingSound(int32_t elapsedMs, int32_t panSpread, int32_t volume, float speed);

    int32_t GetUnitsTravelled() const { return unitsTravelled_; }
    void SetUnitsTravelled(int32_t units) { unitsTravelled_ = units; }
    int32_t GetUnitsToTravel() const { return unitsToTravel_; }
    void SetUnitsToTravel(int32_t units) { unitsToTravel_ = units; }
    // The race's length at that many pixels a unit, in 64 bits: the units
    // come from save games and tickets, and may be any number.
    int64_t RaceLengthPixels(int32_t pixelsPerUnit) const { return int64_t{unitsToTravel_} * pixelsPerUnit; }
    int32_t GetFinish() const { return finish_; }
    void SetFinish(int32_t playtimeMs) { finish_ = playtimeMs; }
    Sprite* GetBody() const { return body_.Get(); }
    Sprite* GetBackground() const { return background_.Get(); }
    Carriage* GetCarriage() const { return carriage_.Get(); }
    // Hitches the carriage (null: none) as a child; its wheels follow the train.
    void AttachCarriage(Carriage* carriage);
    Sprite* GetSmallWheelBar() const { return smallBar_.Get(); }
    Sprite* GetBigWheelBar() const { return bigBar_.Get(); }
    const std::vector<Sprite*>& GetWheels() const { return wheels_; }
    int32_t GetSmokeX() const { return smokeX_; }
    int32_t GetSmokeY() const { return smokeY_; }

protected:
    // Builds the look from entry `index` of the define list and returns the
    // entry (the shared default node when missing).
    Property* LoadDefinition(const std::string& listName, int32_t index);
    void SetWheelPhaseOrigin(int32_t origin) { wheelPhaseOrigin_ = origin; }
    // Hands the text to the smoke effect at the chimney.
    void BlowSmoke(const std::wstring& text);

private:
    Ref<Sprite> AddImageSprite(GameNode& parent, const std::string& image, const std::string& section,
                               int32_t x, int32_t y, bool bottomRight);

    Ref<Carriage> carriage_;
    Ref<Sprite> body_;
    Ref<Sprite> background_;
    Ref<Sprite> bigBar_;
    Ref<Sprite> smallBar_;
    int32_t bigRadius_ = 0;
    int32_t smallRadius_ = 0;
    std::vector<Sprite*> wheels_;
    float pixelsPerBigWheelFrame_ = 0.0f;
    float pixelsPerSmallWheelStep_ = 0.0f;
    int32_t soundStep_ = 0;
    int32_t soundTimer_ = 0;
    int32_t wheelPhaseOrigin_ = 0;
    int32_t unitsTravelled_ = 0;
    int32_t unitsToTravel_ = 0;
    int32_t yOffset_ = 0;
    int32_t wheelBarX_ = 0;
    int32_t wheelBarY_ = 0;
    int32_t smokeX_ = 0;
    int32_t smokeY_ = 0;
    int32_t finish_ = kNotFinished;
};
