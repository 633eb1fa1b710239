#pragma once

#include <cstdint>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/media/Surface.h"
#include "engine/scene/Modifier.h"
#include "engine/scene/Sprite.h"
#include "game/world/TrackPart.h"

class SectionInfo;
class TrackInfo;

// Uncovers the map while a train rides a track: whenever the train comes
// within a hidden circle point of one of the track's parts, a circle is swept
// out of the map picture there and the point's items pop up once it is done.
// It ends when every point is uncovered or after a time cap, and then marks
// the parts revealed.
class ModifierSectionReveal : public Modifier {
    ENGINE_CLASS(ModifierSectionReveal, Modifier)

public:
    static constexpr int32_t kTimeCapMs = 4500;
    static constexpr int32_t kSweepMs = 700;
    static constexpr float kSweepScalePerRadius = 0.01f;

    // The parts are the track's not yet revealed ones; curve ids outside the
    // section's list are skipped. The train's parent is remembered: should
    // the train be moved elsewhere, the brush's x is added to its x.
    ModifierSectionReveal(SectionInfo& section, const TrackInfo& track, GameNode* train, Sprite* brush,
                          Surface* destination);

    void Update(int32_t elapsedMs) override;

private:
    bool UncoverPointsInReach();
    void Uncover(TrackPart& part, int32_t point);

    std::vector<Ref<TrackPart>> parts_;
    // One flag per circle point of the parts, in order.
    std::vector<bool> done_;
    Ref<GameNode> train_;
    GameNode* trainParent_;
    Ref<Sprite> brush_;
    Ref<Surface> destination_;
    int32_t elapsed_ = 0;
};
