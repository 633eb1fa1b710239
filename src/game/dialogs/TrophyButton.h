#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/ui/Button.h"

class ChannelMap;

// One place of the trophy cabinet: the trophy's picture over a star that
// sparkles while the mouse is over it. Only the opaque pixels of the picture
// take the mouse.
class TrophyButton : public Button {
    ENGINE_CLASS(TrophyButton, Button)

public:
    // Star, picture and anchor from entry `trophy` of "TROPHY_DIALOG_BUTTONS".
    TrophyButton(int32_t trophy, int32_t x, int32_t y);
    ~TrophyButton() override;

    bool HitTest(int32_t x, int32_t y) const override;
    void SetState(int32_t state) override;
    void SetAlpha(int32_t alpha) override;

    Sprite* GetStar() const { return star_.Get(); }
    Sprite* GetPicture() const { return picture_.Get(); }

private:
    Ref<ChannelMap> hitMask_;
    Ref<Sprite> star_;
    Ref<Sprite> picture_;
};
