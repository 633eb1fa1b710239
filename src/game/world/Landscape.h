#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/foundation/Ref.h"
#include "engine/scene/Sprite.h"

class AutoTrain;
class Flagpole;
class LSO;
class PlayerTrain;
class PropertyNode;

// The race strip: an 800-pixel band in which both trains run from a start
// station to an end station over a tiled track. A camera offset keeps the
// player's train in view and stops shortly before the end station.
class Landscape : public Sprite {
    ENGINE_CLASS(Landscape, Sprite)

public:
    static constexpr int32_t kWidth = 800;
    static constexpr int32_t kLayerCount = 7;
    enum LayerIndex : int32_t {
        kTrackLayer = 1,
        kStationLayer = 2,
        kOpponentLayer = 3,
        kPlayerLayer = 5,
        kFrontLayer = 6,
    };

    // The sprite keys; "START_STATION" and "END_STATION" name the stations.
    explicit Landscape(Property* definition = nullptr);
    ~Landscape() override;

    // The landscape that holds the node, or null.
    static Landscape* Of(const GameNode& node);

    // New trains without a node; with a saved node, its children "pt" and "ot".
    void CreateTrains(const Property* saved = nullptr);
    // Puts stations, perrons and flagpole at the start and end of the race.
    void PlaceStations();
    // The arrived player train becomes x 0 of the next race; the old end
    // station becomes the new start station.
    void ShiftToNextRace();
    // Drops trains and every layer's objects; with rebuild, puts the stations
    // and perrons back and the camera to 0.
    void Clear(bool rebuild);
    void Save(PropertyNode& node) const;
    void Load(const Property* saved);

    void Update(int32_t elapsedMs) override;
    // One camera step toward the player train.
    void Scroll(int32_t elapsedMs);
    void ApplyScroll();
    // Tiles the track layer from the screen's left edge to past its right edge.
    void FillTrackTiles(int32_t layerIndex);

    PlayerTrain* GetPlayerTrain() const { return playerTrain_.Get(); }
    AutoTrain* GetAutoTrain() const { return autoTrain_.Get(); }
    GameNode& GetLayer(int32_t index) const { return *layers_.at(static_cast<size_t>(index)); }
    LSO* GetStartStation() const { return startStation_.Get(); }
    LSO* GetEndStation() const { return endStation_.Get(); }
    LSO* GetStartPerron() const { return startPerron_.Get(); }
    LSO* GetEndPerron() const { return endPerron_.Get(); }
    Flagpole* GetFlagpole() const { return flagpole_.Get(); }
    float GetPosX() const { return posX_; }
    float GetSpeed() const { return speed_; }

private:
    static Ref<LSO> CreateStation(Property* definition, const char* key);
    Ref<LSO> CreatePerron() const;
    void PlaceFlagpole();
    void AddToLayer(LSO& object, int32_t layer);
    void AddTrains(Ref<PlayerTrain> player, Ref<AutoTrain> opponent);
    void PutBackStationsAndPerrons();

    Ref<PlayerTrain> playerTrain_;
    Ref<AutoTrain> autoTrain_;
    Ref<Flagpole> flagpole_;
    Ref<GameNode> scrollNode_;
    std::array<Ref<GameNode>, kLayerCount> layers_;
    Ref<LSO> startStation_;
    Ref<LSO> endStation_;
    Ref<LSO> startPerron_;
    Ref<LSO> endPerron_;
    float posX_ = 0.0f;
    float speed_ = 0.0f;
    float maximumSpeed_ = 0.0f;
    float acceleration_ = 0.0f;
    float braking_ = 0.0f;
    // The missing tile picture last reported, so the log says it once.
    std::string reportedMissingTile_;
};
