#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/scene/Sprite.h"
#include "game/words/FurnacePosition.h"

class LetterSprite;

// The locomotive's firebox in the HUD. Its door opens for every accepted
// word and closes once the word's coals have flown in; the lid above it
// rises with the turbo turns left (or briefly after a bonus coal), and the
// light on the lid shows the last bonus coal with icons and specks rising
// through it. The parts are nodes of the game scene's definition, taken
// over by name.
class Furnace : public Sprite, public FurnacePosition {
    ENGINE_CLASS(Furnace, Sprite)

public:
    enum DoorState : int32_t { kClosed = 0, kOpening = 1, kOpen = 2, kClosing = 3 };

    // The sprite keys, then "firex" and "firey" for the coal target.
    explicit Furnace(Property* definition = nullptr);
    ~Furnace() override;

    void Update(int32_t elapsedMs) override;
    // Opens the door for the coals of an accepted word (in the word's order)
    // and schedules the light of its last counting bonus coal.
    void FeedWord(const std::vector<LetterSprite*>& coals);
    // Places lid, nails and coil for the current lid position.
    void PlaceParts();
    // Forgets the coals still flying when a level is left and shows the door
    // shut, so the next level does not start with a stale open fire.
    void ShutDoor();

    GameNode* CoalTarget() const override { return coalTarget_.Get(); }
    Sprite* GetDoor() const { return door_.Get(); }
    Sprite* GetLid() const { return lid_.Get(); }
    Sprite* GetLight() const { return light_.Get(); }
    GameNode* GetIconLayer() const { return iconLayer_.Get(); }
    Sprite* GetCoil() const { return coil_.Get(); }
    int32_t GetDoorState() const { return doorState_; }
    int32_t GetDoorTimer() const { return doorTimer_; }
    size_t TrackedCoalCount() const { return trackedCoals_.size(); }
    float GetLidPosition() const { return lidPosition_; }
    float GetLidTarget() const { return lidTarget_; }
    void SetLidTarget(float target) { lidTarget_ = target; }
    int32_t GetLidRestY() const { return lidRestY_; }
    int32_t GetLidHeight() const { return lidHeight_; }
    int32_t GetLightDelay() const { return lightDelay_; }
    int32_t GetPendingLight() const { return pendingLight_; }
    int32_t GetCurrentLight() const { return currentLight_; }
    bool IsLightLit() const { return light_->GetColor() != 0; }

private:
    // A node of the game scene, or an empty stand-in (logged) when missing.
    Ref<Sprite> TakeSceneNode(const std::string& name);
    void ChangeLight();
    void StepDoor(int32_t elapsedMs);
    void ShowDoor();
    void StepLid(int32_t elapsedMs);
    void SpawnIconsAndSpecks(int32_t elapsedMs);
    void SpawnIcon();
    void SpawnSpeck(float speedFactor);
    void PaintLight();
    int32_t TurboTurns() const;

    // A coal in flight, and whether it stood in the scene when it was fed.
    struct TrackedCoal {
        Ref<GameNode> coal;
        bool wasShown;
    };
    std::vector<TrackedCoal> trackedCoals_;
    int32_t doorState_ = kClosed;
    int32_t doorTimer_ = 0;
    Ref<Sprite> door_;
    Ref<Sprite> wheel_;
    Ref<GameNode> coalTarget_;
    Ref<Sprite> fire_;
    Ref<Sprite> nails_;
    Ref<Sprite> coil_;
    Ref<Sprite> lid_;
    Ref<Sprite> light_;
    Ref<GameNode> iconLayer_;
    float lidPosition_ = 0.0f;
    float lidTarget_ = 0.0f;
    float lidSpeed_ = 0.0f;
    int32_t lidHeight_ = 0;
    int32_t lidRestY_ = 0;
    int32_t lightDelay_ = 0;
    int32_t glowTimer_ = 0;
    int32_t iconTimer_ = 0;
    int32_t speckTimer_ = 0;
    int32_t pendingLight_ = 0;
    int32_t currentLight_ = 0;
    Ref<Surface> currentLightImage_;
    // The light's own copy of the current light picture, painted each frame.
    Ref<Surface> paintedLight_;
    Ref<Surface> iconsImage_;
    Ref<Surface> speckImage_;
};
