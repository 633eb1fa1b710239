#pragma once

#include <cstdint>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/scene/Sprite.h"

// A sprite whose frame strip is cut once into one picture per frame; the
// picture of the current frame is drawn whole.
class SpriteImageVector : public Sprite {
    ENGINE_CLASS(SpriteImageVector, Sprite)

public:
    // The Sprite keys, then "horizontalframelayout".
    explicit SpriteImageVector(Property* definition);

    // Shows that frame's picture; an index outside the frames is held to
    // the nearest frame.
    void SetFrame(int32_t index) override;
    // Cuts the strip anew into `count` pictures (a negative count keeps the
    // current one); a count of 1 uses the strip itself.
    void SetFrameCount(int32_t count, bool horizontal) override;
    // The current frame's picture.
    Surface* GetImage() const override;
    // Cuts the new strip by its own frame count.
    void SetImage(Surface* image) override;

    bool IsHorizontalFrameLayout() const { return horizontal_; }
    const std::vector<Ref<Surface>>& GetFrameImages() const { return frames_; }

private:
    void RebuildFrames();

    bool horizontal_ = false;
    std::vector<Ref<Surface>> frames_;
};
