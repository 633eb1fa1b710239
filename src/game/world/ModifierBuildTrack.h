#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/media/Canvas.h"
#include "engine/media/Surface.h"
#include "engine/scene/Modifier.h"
#include "engine/scene/Path.h"
#include "engine/scene/Sprite.h"
#include "game/world/CityInfo.h"
#include "game/world/TrackInfo.h"


// Draws a bought track onto the map piece by piece: a stamp moves along the
// path, fast in the middle and slow at both ends, a hammering worker runs
// with it and nails and hammers fly off; at the end the items of the end
// cities that are still hidden pop up.
class ModifierBuildTrack : public Modifier {
    ENGINE_CLASS(ModifierBuildTrack, Modifier)

public:
    // Nothing is stamped this close to the start of the track.
    static constexpr float kFirstStampDistance = 9.0f;
    // The map picture's right edge on the screen.
    static constexpr int32_t kMapRightEdge = 800;
    static constexpr int32_t kWorkerFrames = 5;
    static constexpr int32_t kWorkerFrameMs = 60;

    // The worker is added as the last child of `sceneTop`.
    ModifierBuildTrack(TrackInfo& track, CityInfo* end0, CityInfo* end1, Surface* stampPicture,
                       Surface* mapPicture, GameNode* sceneTop, int32_t durationMs);

    void Update(int32_t elapsedMs) override;
    // Builds along `route` (the track's path, maybe reversed) instead.
    void SetRoute(Path* route);

    Sprite& Worker() const { return *worker_; }

private:
    void ThrowPiece();
    void PopUpCity(CityInfo* city);

    Ref<TrackInfo> track_;
    Ref<Path> route_;
    double length_;
    Ref<Surface> stampPicture_;
    Ref<Surface> mapPicture_;
    Ref<Sprite> worker_;
    Ref<CityInfo> ends_[2];
    int32_t elapsed_ = 0;
    int32_t duration_;
    int32_t flyTimer_ = 0;
};

// The canvas that prepares pictures for the display: the window's, else
// one of `target`.
Ref<Canvas> DisplayCanvasFor(Surface& target);

// Sweeps the track-play circle out of the map picture at the city, as a
// modifier of `target`.
void StartTrackPlayCircle(const CityInfo& city, Surface& mapPicture, GameNode& target);
