#pragma once

#include "engine/foundation/Ref.h"
#include "engine/ui/Button.h"

class Sprite;

// The menu's trophy button, made over two sprites of the scene: the star
// gives it its place and size and spins while the pointer is over it; the
// trophy shows the button's state (normal, over, pressed).
class TrophyScreenButton : public Button {
    ENGINE_CLASS(TrophyScreenButton, Button)

public:
    static constexpr int32_t kStarFrameMs = 30;

    TrophyScreenButton(Sprite* star, Sprite* trophy, Surface* hitMask);

    void SetState(int32_t state) override;

private:
    Ref<Sprite> star_;
    Ref<Sprite> trophy_;
};
