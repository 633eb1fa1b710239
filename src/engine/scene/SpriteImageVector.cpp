#include "engine/scene/SpriteImageVector.h"

#include <algorithm>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/Logger.h"
#include "engine/media/Canvas.h"
#include "engine/media/MemorySurface.h"

namespace {

const ClassRegistration registration("SpriteImageVector", CreateFromProperty<SpriteImageVector>);

}  // namespace

SpriteImageVector::SpriteImageVector(Property* definition) : Sprite(definition) {
    horizontal_ = Property::AsBool(Property::Child(definition, "horizontalframelayout"));
    if (Sprite::GetImage() != nullptr) {
        SetFrameCount(GetFrameCount(), horizontal_);
    }
    ClearFrameRects();
}

void SpriteImageVector::SetFrame(int32_t index) {
    const int32_t last = GetFrameCount() - 1;
    if (index < 0 || index > last) {
        ENGINE_LOG(2, "SpriteImageVector: frame %d of %d frames", index, GetFrameCount());
        index = std::clamp(index, 0, last);
    }
    StoreCurrentFrame(index);
    ClearFrameRects();
}

void SpriteImageVector::SetFrameCount(int32_t count, bool horizontal) {
    if (count >= 0) {
        StoreFrameCount(count);
    }
    const Surface* strip = Sprite::GetImage();
    if (horizontal) {
        SetWidth((strip != nullptr ? strip->GetWidth() : GetWidth()) / GetFrameCount());
    } else {
        SetHeight((strip != nullptr ? strip->GetHeight() : GetHeight()) / GetFrameCount());
    }
    horizontal_ = horizontal;
    RebuildFrames();
    SetFrame(0);
}

Surface* SpriteImageVector::GetImage() const {
    const auto frame = static_cast<size_t>(GetCurrentFrame());
    return frame < frames_.size() ? frames_[frame].Get() : nullptr;
}

void SpriteImageVector::SetImage(Surface* image) {
    Sprite::SetImage(image);
    if (image != nullptr) {
        SetFrameCount(GetFrameCount(), horizontal_);
    }
}

void SpriteImageVector::RebuildFrames() {
    frames_.clear();
    Surface* strip = Sprite::GetImage();
    if (GetFrameCount() == 1) {
        frames_.emplace_back(strip);
        return;
    }
    const int32_t width = std::max(GetWidth(), 0);
    const int32_t height = std::max(GetHeight(), 0);
    // A count from data can exceed the strip; frames past its last pixel
    // would be empty, so they are not made.
    const int32_t extent = strip != nullptr ? (horizontal_ ? strip->GetWidth() : strip->GetHeight()) : 1;
    const int32_t count = std::min(GetFrameCount(), std::max(extent, 1));
    if (count < GetFrameCount()) {
        ENGINE_LOG(1, "SpriteImageVector: %d frames asked of a strip of %d pixels", GetFrameCount(), extent);
    }
    for (int32_t i = 0; i < count; ++i) {
        Ref<Surface> frame(new MemorySurface(width, height));
        if (strip != nullptr) {
            frame->CreateCanvas()->CopyRect(*strip, 0, 0, horizontal_ ? width * i : 0, horizontal_ ? 0 : height * i,
                                            width, height);
        }
        frames_.push_back(std::move(frame));
    }
}
