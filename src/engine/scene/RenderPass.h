#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/foundation/Service.h"

class Canvas;
class GameNode;
class Sprite;

// Who knows the scene being shown: the scene layer, which lives above this
// one, registers itself here, so the pass can draw that scene's own picture
// beneath the node tree.
class CurrentSceneSource {
public:
    // The current scene, or null.
    virtual Sprite* GetCurrentSceneSprite() = 0;

protected:
    ~CurrentSceneSource() = default;
};

// A scene's per-frame drawing through the game window's canvas: the current
// scene's own picture when it is visible, then the node tree.
class RenderPass : public Service {
    ENGINE_CLASS(RenderPass, Service)

public:
    explicit RenderPass(GameNode* root);

    void Update(uint32_t elapsedMs) override;

    // Draws the node and its subtree: invisible and removal-flagged nodes
    // are skipped with their subtrees; each node draws with the canvas
    // origin at its parent's absolute position; a sprite whose clip covers
    // its children clips the whole subtree.
    static void DrawNodeTree(Canvas& canvas, GameNode& node);

    static void SetCurrentSceneSource(CurrentSceneSource* source);

private:
    Ref<GameNode> root_;
};
