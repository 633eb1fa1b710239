#include "engine/scene/RenderPass.h"

#include <optional>

#include "engine/media/Canvas.h"
#include "engine/media/GameWindow.h"
#include "engine/scene/GameNode.h"
#include "engine/scene/Sprite.h"

namespace {

CurrentSceneSource* currentSceneSource = nullptr;

}  // namespace

RenderPass::RenderPass(GameNode* root) : root_(root) {}

void RenderPass::SetCurrentSceneSource(CurrentSceneSource* source) {
    currentSceneSource = source;
}

void RenderPass::Update(uint32_t elapsedMs) {
    static_cast<void>(elapsedMs);
    GameWindow* window = GameWindow::Instance();
    Canvas* canvas = window != nullptr ? window->GetCanvas() : nullptr;
    if (canvas == nullptr) {
        return;
    }
    if (currentSceneSource != nullptr) {
        Sprite* scene = currentSceneSource->GetCurrentSceneSprite();
        if (scene != nullptr && scene->IsVisible()) {
            scene->Draw(*canvas);
        }
    }
    if (root_) {
        DrawNodeTree(*canvas, *root_);
    }
}

void RenderPass::DrawNodeTree(Canvas& canvas, GameNode& node) {
    if (!node.IsVisible() || node.IsRemoved()) {
        return;
    }
    std::optional<Rect> savedClip;
    if (auto* sprite = ObjectCast<Sprite>(&node)) {
        if (sprite->GetClipChildren() && sprite->GetClipRect()) {
            savedClip = canvas.GetClipRect();
            canvas.SetClipRect(sprite->GetScreenClipRect());
        }
        sprite->Draw(canvas);
    }
    if (node.GetFirstChild() != nullptr) {
        const int32_t x = node.GetX();
        const int32_t y = node.GetY();
        canvas.MoveOrigin(x, y);
        for (GameNode* child = node.GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
            DrawNodeTree(canvas, *child);
        }
        canvas.MoveOrigin(-x, -y);
    }
    if (savedClip) {
        canvas.SetClipRect(*savedClip);
    }
}
