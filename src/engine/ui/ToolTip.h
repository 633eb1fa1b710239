#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/foundation/Service.h"
#include "engine/media/InputListener.h"
#include "engine/scene/GameNode.h"
#include "engine/ui/ToolTipLabel.h"

class Canvas;
class Property;
class Sprite;

// Shows the tooltip of the topmost sprite under the pointer in the current
// scene: after the pointer has rested on the sprite for the show delay, the
// renderer draws the text near the pointer, kept clear of the bottom and
// right screen edges, until the remove delay has run out or the pointer
// leaves the sprite. The tip is armed again only when another sprite (or
// none) comes under the pointer. Its frame update runs after the scene's
// render pass and draws on the game window's canvas.
class ToolTip : public Service, public InputListener {
    ENGINE_CLASS(ToolTip, Service)

public:
    // "renderer" (a ToolTipLabel definition), "showdelay" and "removedelay"
    // in milliseconds.
    explicit ToolTip(Property* definition);
    static ToolTip* ToolTipFromValues(ToolTipLabel* renderer, int32_t showDelayMs, int32_t removeDelayMs);

    void Update(uint32_t elapsedMs) override;

    // Keeps the pointer position; never consumes the move.
    bool OnMouseMove(int32_t x, int32_t y, uint32_t flags) override;
    void SetInputEnabled(bool enabled) override { inputEnabled_ = enabled; }
    bool IsInputEnabled() const override { return inputEnabled_; }

    void SetRoot(GameNode* root) { root_ = root; }
    GameNode* GetRoot() const { return root_.Get(); }
    ToolTipLabel* GetRenderer() const { return renderer_.Get(); }
    // The sprite whose tip is pending or shown; null for none.
    const Sprite* GetCurrentSprite() const { return current_; }
    int32_t GetTipX() const { return tipX_; }
    int32_t GetTipY() const { return tipY_; }
    int32_t GetShowDelay() const { return showDelay_; }
    int32_t GetRemoveDelay() const { return removeDelay_; }

private:
    ToolTip(ToolTipLabel* renderer, int32_t showDelayMs, int32_t removeDelayMs);

    // Depth first, a node before its children, so that later-drawn sprites win.
    void Search(GameNode* node);
    void Arm(Sprite* sprite);
    void Place(int32_t screenWidth, int32_t screenHeight);
    void DrawTip(Canvas& canvas);

    bool inputEnabled_ = true;
    Ref<GameNode> root_;
    Ref<ToolTipLabel> renderer_;
    // Compared only, never followed: the sprite may be gone by the next frame.
    const Sprite* current_ = nullptr;
    Sprite* found_ = nullptr;
    int32_t mouseX_ = 0;
    int32_t mouseY_ = 0;
    int32_t tipX_ = 0;
    int32_t tipY_ = 0;
    int32_t showCountdown_ = 0;
    int32_t showDelay_ = 1000;
    int32_t removeCountdown_ = 0;
    int32_t removeDelay_ = 10000;
};
