#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/foundation/Ref.h"
#include "engine/media/Rect.h"
#include "engine/media/Surface.h"
#include "engine/scene/GameNode.h"

class Canvas;

// The node that draws an image: a size, an image that may hold a strip of
// frames, opacity, colour value, rotation and scale, an anchor point (the
// image is drawn at the position minus the anchor), a pivot for rotation,
// scaling and cropping, optional crop and clip rectangles and a tooltip.
// Every drawable node derives from it.
class Sprite : public GameNode {
    ENGINE_CLASS(Sprite, GameNode)

public:
    enum WrapStyle : int32_t { kWrapOnce = 0, kWrapSwitch = 1, kWrapLoop = 2 };
    // Anchor and pivot kinds; each but the last places the point on the frame.
    enum AnchorKind : int32_t {
        kTopLeft = 0,
        kTop = 1,
        kTopRight = 2,
        kLeft = 3,
        kCenter = 4,
        kRight = 5,
        kBottomLeft = 6,
        kBottom = 7,
        kBottomRight = 8,
        kExplicitPoint = 9,
    };

    Sprite() = default;
    // The GameNode keys, then the sprite's keys (image, size, alpha, colour,
    // frames, anchor, tooltip, smoothing), each read only when present.
    explicit Sprite(Property* definition);
    Sprite(int32_t x, int32_t y, Surface* image);
    Sprite(int32_t x, int32_t y, int32_t width, int32_t height);
    // Position, size, frames, crop and clip, anchor and pivot, alpha,
    // rotation, scale and image (shared).
    Sprite(const Sprite& other);
    Sprite& operator=(const Sprite&) = delete;
    ~Sprite() override;

    // Moving carries the crop rectangle along.
    void SetX(int32_t x) override;
    void SetY(int32_t y) override;
    void SetRemoved(bool removed) override;
    void SetVisible(bool visible) override;

    // Draws the image with the canvas origin at the parent's absolute position.
    virtual void Draw(Canvas& canvas);
    // Each re-places the anchor, the pivot and the crop rectangle.
    virtual void SetWidth(int32_t width);
    virtual void SetHeight(int32_t height);
    virtual void SetSize(int32_t width, int32_t height);
    virtual void SetFrame(int32_t index);
    virtual void SetRotation(float angle);
    virtual float GetRotation() const { return rotation_; }
    // Cuts the image (or, without one, the sprite's own size) into `count`
    // frames side by side or stacked and shows frame 0; a negative count keeps
    // the current one, and a count below 1 counts as 1.
    virtual void SetFrameCount(int32_t count, bool horizontal);
    // An empty text removes the tooltip.
    virtual void SetToolTip(const std::wstring& text);
    // Whether the screen point lies on the frame placed by the anchor;
    // rotation, scale, crop and clip play no part.
    virtual bool HitTest(int32_t x, int32_t y) const;
    virtual Surface* GetImage() const { return image_.Get(); }
    // Takes the image's size and lays its own frames out stacked.
    virtual void SetImage(Surface* image);
    virtual void SetAlpha(int32_t alpha);
    virtual void SetColor(int32_t color);

    // The next frame in the stepping direction, wrapped by the wrap style.
    void StepFrame();

    void SetAnchorKind(int32_t kind);
    void SetAnchorPoint(float x, float y);
    void SetPivotKind(int32_t kind);
    void SetPivotPoint(float x, float y);
    void SetPivotFollowsAnchor(bool follows) { pivotFollowsAnchor_ = follows; }

    // Relative to the parent's origin, like the position.
    void SetClipRect(int32_t x, int32_t y, int32_t w, int32_t h);
    const std::optional<Rect>& GetClipRect() const { return clip_; }
    void ClearClipRect() { clip_.reset(); }
    void SetClipChildren(bool clip) { clipChildren_ = clip; }
    bool GetClipChildren() const { return clipChildren_; }
    // The screen rectangle the clip rectangle stands for.
    Rect GetScreenClipRect() const;
    void SetFrameRect(const Rect& rect);
    const std::optional<Rect>& GetFrameRect() const { return frameRect_; }
    void SetSourceRect(const Rect& rect);
    const std::optional<Rect>& GetSourceRect() const { return sourceRect_; }
    void ClearFrameRects();

    // The crop rectangle (in the parent's coordinates) into which the
    // unrotated image is squeezed; it grows and shrinks about the pivot.
    void SetCropWidth(int32_t width);
    void SetCropHeight(int32_t height);
    void SetCropSize(int32_t width, int32_t height);
    const std::optional<Rect>& GetCropRect() const { return crop_; }
    void RemoveCropRect();

    int32_t GetWidth() const { return width_; }
    int32_t GetHeight() const { return height_; }
    int32_t GetCurrentFrame() const { return currentFrame_; }
    int32_t GetFrameCount() const { return frameCount_; }
    int32_t GetFrameOffsetX() const { return frameOffsetX_; }
    int32_t GetFrameOffsetY() const { return frameOffsetY_; }
    void SetFrameOffset(int32_t x, int32_t y);
    // 0 forward, 1 backward.
    int32_t GetReverse() const { return reverse_; }
    void SetReverse(int32_t reverse) { reverse_ = reverse != 0 ? 1 : 0; }
    int32_t GetWrapStyle() const { return wrapStyle_; }
    void SetWrapStyle(int32_t style) { wrapStyle_ = style; }
    int32_t GetAlpha() const { return alpha_; }
    int32_t GetColor() const { return color_; }
    // Written directly: a scale change alone does not set the dirty flag.
    float GetScale() const { return scale_; }
    void SetScale(float scale) { scale_ = scale; }
    bool IsSmoothRotateScale() const { return smoothRotateScale_; }
    void SetSmoothRotateScale(bool smooth) { smoothRotateScale_ = smooth; }
    float GetAnchorX() const { return anchorX_; }
    float GetAnchorY() const { return anchorY_; }
    int32_t GetAnchorKind() const { return anchorKind_; }
    float GetPivotX() const { return pivotX_; }
    float GetPivotY() const { return pivotY_; }
    int32_t GetPivotKind() const { return pivotKind_; }
    const std::optional<std::wstring>& GetToolTip() const { return toolTip_; }
    bool IsDirty() const { return dirty_; }
    void SetDirty(bool dirty) { dirty_ = dirty; }

protected:
    // Stores a frame count, counting one below 1 as 1.
    void StoreFrameCount(int32_t count);
    void StoreCurrentFrame(int32_t frame) { currentFrame_ = frame; }
    void StoreSize(int32_t width, int32_t height);

private:
    void ReadDefinition(Property* definition);
    void AppendFrameAnimation(int32_t frameTimeMs);
    // Sets the point from its kind for the current size; kind 9 keeps it.
    void PlacePoint(int32_t kind, float& x, float& y) const;
    void PlaceAnchorAndPivot();
    void StoreRect(std::optional<Rect>& slot, const Rect& rect);

    int32_t currentFrame_ = 0;
    bool dirty_ = true;
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::optional<Rect> frameRect_;
    std::optional<Rect> sourceRect_;
    std::optional<Rect> clip_;
    bool clipChildren_ = true;
    std::optional<Rect> crop_;
    float rotation_ = 0.0f;
    float scale_ = 1.0f;
    int32_t frameCount_ = 1;
    int32_t frameOffsetX_ = 0;
    int32_t frameOffsetY_ = 0;
    int32_t reverse_ = 0;
    int32_t wrapStyle_ = kWrapLoop;
    Ref<Surface> image_;
    int32_t alpha_ = 255;
    int32_t color_ = 0;
    bool smoothRotateScale_ = false;
    float anchorX_ = 0.0f;
    float anchorY_ = 0.0f;
    int32_t anchorKind_ = kTopLeft;
    float pivotX_ = 0.0f;
    float pivotY_ = 0.0f;
    int32_t pivotKind_ = kTopLeft;
    std::optional<std::wstring> toolTip_;
    bool pivotFollowsAnchor_ = true;
};
