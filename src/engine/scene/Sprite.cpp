#include "engine/scene/Sprite.h"

#include "engine/foundation/MediaNumbers.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/media/Canvas.h"
#include "engine/scene/Modifier.h"
#include "engine/scene/SceneResources.h"

namespace {

const ClassRegistration registration("Sprite", CreateFromProperty<Sprite>);

constexpr const char* kWrapWords[] = {"once", "switch", "loop"};
constexpr const char* kAnchorWords[] = {"topleft", "top",        "topright", "left",       "center",
                                        "right",   "bottomleft", "bottom",   "bottomright"};

// The image count, which data may make negative or huge, as a 32-bit count.
int32_t ImageFrameCount(const Surface& image) {
    const uint32_t count = image.GetFrameCount();
    return count > 0x7FFFFFFFu ? -1 : static_cast<int32_t>(count);
}

}  // namespace

Sprite::Sprite(Property* definition) : GameNode(definition) {
    ReadDefinition(&Property::NodeOf(definition));
}

Sprite::Sprite(int32_t x, int32_t y, Surface* image) {
    SetX(x);
    SetY(y);
    SetImage(image);
}

Sprite::Sprite(int32_t x, int32_t y, int32_t width, int32_t height) {
    SetX(x);
    SetY(y);
    StoreSize(width, height);
}

Sprite::Sprite(const Sprite& other)
    : GameNode(other),
      currentFrame_(other.currentFrame_),
      width_(other.width_),
      height_(other.height_),
      frameRect_(other.frameRect_),
      sourceRect_(other.sourceRect_),
      clip_(other.clip_),
      clipChildren_(other.clipChildren_),
      crop_(other.crop_),
      rotation_(other.rotation_),
      scale_(other.scale_),
      frameCount_(other.frameCount_),
      frameOffsetX_(other.frameOffsetX_),
      frameOffsetY_(other.frameOffsetY_),
      reverse_(other.reverse_),
      wrapStyle_(other.wrapStyle_),
      image_(other.image_),
      alpha_(other.alpha_),
      anchorX_(other.anchorX_),
      anchorY_(other.anchorY_),
      anchorKind_(other.anchorKind_),
      pivotX_(other.pivotX_),
      pivotY_(other.pivotY_),
      pivotKind_(other.pivotKind_),
      pivotFollowsAnchor_(other.pivotFollowsAnchor_) {}

Sprite::~Sprite() = default;

void Sprite::ReadDefinition(Property* definition) {
    Property* image = Property::Child(definition, "image");
    Property* section = Property::Child(definition, "section");
    if (image != nullptr && section != nullptr) {
        const Ref<Object> data = FindResourceData(Property::AsString(image), Property::AsString(section));
        Surface* surface = ObjectCast<Surface>(data.Get());
        if (surface == nullptr) {
            ENGINE_LOG(1, "Sprite: no image \"%s\" in section \"%s\"", Property::AsString(image).c_str(),
                       Property::AsString(section).c_str());
        }
        SetImage(surface);
    }
    if (Property* width = Property::Child(definition, "width")) {
        SetWidth(media_numbers::PictureSide(width));
    }
    if (Property* height = Property::Child(definition, "height")) {
        SetHeight(media_numbers::PictureSide(height));
    }
    if (Property* alpha = Property::Child(definition, "alpha")) {
        SetAlpha(Property::AsInt(alpha));
    }
    if (Property* color = Property::Child(definition, "color")) {
        SetColor(Property::AsInt(color));
    }
    if (Property* offsetX = Property::Child(definition, "frameoffset_x")) {
        frameOffsetX_ = media_numbers::Position(offsetX);
    }
    if (Property* offsetY = Property::Child(definition, "frameoffset_y")) {
        frameOffsetY_ = media_numbers::Position(offsetY);
    }
    if (Property* count = Property::Child(definition, "framecount")) {
        StoreFrameCount(Property::AsInt(count));
    }
    if (Property* current = Property::Child(definition, "currentframe")) {
        SetFrame(Property::AsInt(current));
    }
    if (Property* reverse = Property::Child(definition, "reverseframes")) {
        reverse_ = Property::AsBool(reverse) ? 1 : 0;
    }
    const int wrap = Property::FindChoice(definition, "framewrapstyle", kWrapWords, 3);
    if (wrap >= 0) {
        wrapStyle_ = wrap;
    }
    if (Property* frameTime = Property::Child(definition, "frametime")) {
        AppendFrameAnimation(Property::AsInt(frameTime));
    }
    if (Property* anchorX = Property::Child(definition, "anchorpoint_x")) {
        SetAnchorPoint(static_cast<float>(Property::AsDouble(anchorX)),
                       static_cast<float>(Property::AsDouble(Property::Child(definition, "anchorpoint_y"))));
    } else {
        const int kind = Property::FindChoice(definition, "anchorpoint", kAnchorWords, 9);
        if (kind >= 0) {
            SetAnchorKind(kind);
        }
    }
    if (Property* toolTip = Property::Child(definition, "tooltip")) {
        SetToolTip(LookUpText(Property::AsString(toolTip)));
    }
    Property* initAnimation = Property::Child(definition, "initanimation");
    if (frameCount_ > 1 && (initAnimation == nullptr || Property::AsBool(initAnimation))) {
        SetFrameCount(frameCount_, Property::AsBool(Property::Child(definition, "horizontalframelayout")));
    }
    if (Property* smooth = Property::Child(definition, "smoothrotatescale")) {
        smoothRotateScale_ = Property::AsBool(smooth);
    }
}

void Sprite::AppendFrameAnimation(int32_t frameTimeMs) {
    // The frame modifier is built by its class name like any definition, so
    // that sprites need not know its type.
    const Ref<PropertyNode> definition(new PropertyNode("", "ModifierFrame"));
    definition->Add(PropertyValue::FromInteger("loopcount", -1, true));
    definition->Add(PropertyValue::FromInteger("frametime", frameTimeMs, true));
    const Ref<Object> created(ClassFactory::Instance().Create(definition.Get()));
    if (auto* modifier = ObjectCast<Modifier>(created.Get())) {
        AddModifier(modifier, true);
    } else {
        ENGINE_LOG(1, "Sprite: no frame animation class to run \"frametime\"");
    }
}

void Sprite::SetX(int32_t x) {
    GameNode::SetX(x);
    if (crop_) {
        SetCropWidth(crop_->w);
    }
}

void Sprite::SetY(int32_t y) {
    GameNode::SetY(y);
    if (crop_) {
        SetCropHeight(crop_->h);
    }
}

void Sprite::SetRemoved(bool removed) {
    if (removed != IsRemoved()) {
        dirty_ = true;
    }
    GameNode::SetRemoved(removed);
}

void Sprite::SetVisible(bool visible) {
    if (visible != IsVisible()) {
        dirty_ = true;
    }
    GameNode::SetVisible(visible);
}

void Sprite::Draw(Canvas& canvas) {
    Surface* image = GetImage();
    if (image == nullptr) {
        dirty_ = false;
        return;
    }
    const int32_t savedAlpha = canvas.GetAlpha();
    canvas.SetAlpha(alpha_);
    const int32_t x = GetX() - RoundToInt(anchorX_);
    const int32_t y = GetY() - RoundToInt(anchorY_);
    std::optional<Rect> savedClip;
    if (clip_) {
        savedClip = canvas.GetClipRect();
        canvas.SetClipRect(GetScreenClipRect());
    }
    if (rotation_ == 0.0f && scale_ == 1.0f) {
        if (crop_) {
            const Rect source = sourceRect_ ? *sourceRect_ : Rect{0, 0, image->GetWidth(), image->GetHeight()};
            canvas.ScaleBlit(*image, source.x, source.y, source.w, source.h, crop_->x, crop_->y, crop_->w, crop_->h);
        } else if (sourceRect_) {
            canvas.Blit(*image, x, y, *sourceRect_);
        } else {
            canvas.Blit(*image, x, y);
        }
    } else {
        const Rect source = sourceRect_ ? *sourceRect_ : Rect{0, 0, width_, height_};
        const int32_t pivotX = RoundToInt(pivotX_);
        const int32_t pivotY = RoundToInt(pivotY_);
        if (smoothRotateScale_) {
            canvas.RotateScaleBlitSmooth(*image, rotation_, scale_, x, y, source.x, source.y, source.w, source.h,
                                         pivotX, pivotY);
        } else {
            canvas.RotateScaleBlit(*image, rotation_, scale_, x, y, source.x, source.y, source.w, source.h, pivotX,
                                   pivotY);
        }
    }
    canvas.SetAlpha(savedAlpha);
    if (savedClip) {
        canvas.SetClipRect(*savedClip);
    }
    dirty_ = false;
}

void Sprite::SetWidth(int32_t width) {
    width_ = width;
    PlaceAnchorAndPivot();
    if (crop_) {
        SetCropWidth(crop_->w);
    }
}

void Sprite::SetHeight(int32_t height) {
    height_ = height;
    PlaceAnchorAndPivot();
    if (crop_) {
        SetCropHeight(crop_->h);
    }
}

void Sprite::SetSize(int32_t width, int32_t height) {
    SetWidth(width);
    SetHeight(height);
}

void Sprite::SetFrame(int32_t index) {
    if (index == currentFrame_ && sourceRect_) {
        return;
    }
    if (!frameRect_) {
        return;
    }
    currentFrame_ = index;
    SetSourceRect(Rect{frameRect_->x + index * frameOffsetX_, frameRect_->y + index * frameOffsetY_, frameRect_->w,
                       frameRect_->h});
}

void Sprite::SetRotation(float angle) {
    rotation_ = angle;
    dirty_ = true;
}

void Sprite::SetFrameCount(int32_t count, bool horizontal) {
    if (count >= 0) {
        StoreFrameCount(count);
    }
    const int32_t fullWidth = image_ ? image_->GetWidth() : width_;
    const int32_t fullHeight = image_ ? image_->GetHeight() : height_;
    if (horizontal) {
        const int32_t frameWidth = fullWidth / frameCount_;
        SetWidth(frameWidth);
        SetFrameRect(Rect{0, 0, frameWidth, fullHeight});
        SetSourceRect(Rect{0, 0, frameWidth, fullHeight});
        SetFrameOffset(frameWidth, 0);
    } else {
        const int32_t frameHeight = fullHeight / frameCount_;
        SetHeight(frameHeight);
        SetFrameRect(Rect{0, 0, fullWidth, frameHeight});
        SetSourceRect(Rect{0, 0, fullWidth, frameHeight});
        SetFrameOffset(0, frameHeight);
    }
    SetFrame(0);
}

void Sprite::SetToolTip(const std::wstring& text) {
    if (text.empty()) {
        toolTip_.reset();
    } else {
        toolTip_ = text;
    }
}

bool Sprite::HitTest(int32_t x, int32_t y) const {
    const int32_t dx = x - GetParentAbsoluteX() - GetX() + RoundToInt(anchorX_);
    const int32_t dy = y - GetParentAbsoluteY() - GetY() + RoundToInt(anchorY_);
    return dx >= 0 && dx < width_ && dy >= 0 && dy < height_;
}

void Sprite::SetImage(Surface* image) {
    if (image == image_.Get()) {
        return;
    }
    image_ = image;
    width_ = image != nullptr ? image->GetWidth() : 0;
    height_ = image != nullptr ? image->GetHeight() : 0;
    PlaceAnchorAndPivot();
    dirty_ = true;
    if (image != nullptr) {
        SetFrameCount(ImageFrameCount(*image), false);
    }
}

void Sprite::SetAlpha(int32_t alpha) {
    if (alpha != alpha_) {
        alpha_ = alpha;
        dirty_ = true;
    }
}

void Sprite::SetColor(int32_t color) {
    if (color != color_) {
        color_ = color;
        dirty_ = true;
    }
}

void Sprite::StepFrame() {
    int32_t next = reverse_ == 0 ? currentFrame_ + 1 : currentFrame_ - 1;
    if (next >= frameCount_) {
        if (wrapStyle_ == kWrapSwitch) {
            next -= 2;
            reverse_ ^= 1;
        } else if (wrapStyle_ == kWrapLoop) {
            next = 0;
        }
    }
    if (next < 0) {
        if (wrapStyle_ == kWrapSwitch) {
            next += 2;
            reverse_ ^= 1;
        } else if (wrapStyle_ == kWrapLoop) {
            next = frameCount_ - 1;
        }
    }
    if (next < 0 || next >= frameCount_) {
        next = 0;
    }
    SetFrame(next);
}

void Sprite::SetAnchorKind(int32_t kind) {
    if (kind != anchorKind_) {
        anchorKind_ = kind;
        PlacePoint(anchorKind_, anchorX_, anchorY_);
        dirty_ = true;
    }
    if (pivotFollowsAnchor_ && pivotKind_ != kind) {
        SetPivotKind(kind);
    }
}

void Sprite::SetAnchorPoint(float x, float y) {
    anchorX_ = x;
    anchorY_ = y;
    anchorKind_ = kExplicitPoint;
    dirty_ = true;
    if (pivotFollowsAnchor_) {
        SetPivotPoint(x, y);
    }
}

void Sprite::SetPivotKind(int32_t kind) {
    if (kind != pivotKind_) {
        pivotKind_ = kind;
        PlacePoint(pivotKind_, pivotX_, pivotY_);
        dirty_ = true;
    }
}

void Sprite::SetPivotPoint(float x, float y) {
    pivotX_ = x;
    pivotY_ = y;
    pivotKind_ = kExplicitPoint;
    dirty_ = true;
}

void Sprite::PlacePoint(int32_t kind, float& x, float& y) const {
    if (kind == kExplicitPoint) {
        return;
    }
    const float w = static_cast<float>(width_);
    const float h = static_cast<float>(height_);
    const int column = kind >= kTopLeft && kind <= kBottomRight ? kind % 3 : 0;
    const int row = kind >= kTopLeft && kind <= kBottomRight ? kind / 3 : 0;
    x = column == 0 ? 0.0f : column == 1 ? w * 0.5f : w;
    y = row == 0 ? 0.0f : row == 1 ? h * 0.5f : h;
}

void Sprite::PlaceAnchorAndPivot() {
    PlacePoint(anchorKind_, anchorX_, anchorY_);
    PlacePoint(pivotKind_, pivotX_, pivotY_);
}

void Sprite::SetClipRect(int32_t x, int32_t y, int32_t w, int32_t h) {
    StoreRect(clip_, Rect{x, y, w, h});
}

Rect Sprite::GetScreenClipRect() const {
    if (!clip_) {
        return Rect{};
    }
    return Rect{GetParentAbsoluteX() + clip_->x, GetParentAbsoluteY() + clip_->y, clip_->w, clip_->h};
}

void Sprite::SetFrameRect(const Rect& rect) {
    StoreRect(frameRect_, rect);
}

void Sprite::SetSourceRect(const Rect& rect) {
    StoreRect(sourceRect_, rect);
}

void Sprite::ClearFrameRects() {
    frameRect_.reset();
    sourceRect_.reset();
    dirty_ = true;
}

void Sprite::StoreRect(std::optional<Rect>& slot, const Rect& rect) {
    if (!slot || *slot != rect) {
        slot = rect;
        dirty_ = true;
    }
}

void Sprite::SetCropWidth(int32_t width) {
    const float scaled = width_ != 0 ? static_cast<float>(width) * pivotX_ / static_cast<float>(width_) : 0.0f;
    const int32_t x =
        GetX() + (width_ != 0 ? RoundToInt(pivotX_ - scaled - anchorX_) : RoundToInt(pivotX_ - anchorX_));
    if (crop_) {
        if (width != crop_->w) {
            dirty_ = true;
        }
        crop_->x = x;
        crop_->w = width;
    } else {
        crop_ = Rect{x, GetY() + RoundToInt(pivotY_ - anchorY_), width, height_};
        dirty_ = true;
    }
}

void Sprite::SetCropHeight(int32_t height) {
    const float scaled = height_ != 0 ? static_cast<float>(height) * pivotY_ / static_cast<float>(height_) : 0.0f;
    const int32_t y =
        GetY() + (height_ != 0 ? RoundToInt(pivotY_ - scaled - anchorY_) : RoundToInt(pivotY_ - anchorY_));
    if (crop_) {
        if (height != crop_->h) {
            dirty_ = true;
        }
        crop_->y = y;
        crop_->h = height;
    } else {
        crop_ = Rect{GetX() + RoundToInt(pivotX_ - anchorX_), y, width_, height};
        dirty_ = true;
    }
}

void Sprite::SetCropSize(int32_t width, int32_t height) {
    // Without a size of its own the crop keeps the pivot's offset unscaled.
    const float scaledX = width_ != 0 ? static_cast<float>(width) * pivotX_ / static_cast<float>(width_) : pivotX_;
    const float scaledY =
        height_ != 0 ? static_cast<float>(height) * pivotY_ / static_cast<float>(height_) : pivotY_;
    StoreRect(crop_, Rect{RoundToInt(static_cast<float>(GetX()) - scaledX),
                          RoundToInt(static_cast<float>(GetY()) - scaledY), width, height});
}

void Sprite::RemoveCropRect() {
    crop_.reset();
    dirty_ = true;
}

void Sprite::SetFrameOffset(int32_t x, int32_t y) {
    frameOffsetX_ = x;
    frameOffsetY_ = y;
}

void Sprite::StoreFrameCount(int32_t count) {
    if (count < 1) {
        ENGINE_LOG(2, "Sprite: a frame count of %d counts as 1", count);
        count = 1;
    }
    frameCount_ = count;
}

void Sprite::StoreSize(int32_t width, int32_t height) {
    width_ = width;
    height_ = height;
    PlaceAnchorAndPivot();
}
