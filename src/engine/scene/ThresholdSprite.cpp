#include "engine/scene/ThresholdSprite.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/media/AlphaMemorySurface.h"
#include "engine/media/Canvas.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"

namespace {

const ClassRegistration registration("ThresholdSprite", CreateFromProperty<ThresholdSprite>);

// clamp(trunc(fraction x 255), 0, 255) - 1, clamped before the cut so that
// no float leaves the integer range.
int32_t BandBound(float fraction) {
    return static_cast<int32_t>(std::trunc(std::clamp(fraction * 255.0f, 0.0f, 255.0f))) - 1;
}

}  // namespace

void ThresholdSprite::SetPicture(Surface* picture) {
    if (picture == picture_.Get()) {
        return;
    }
    picture_ = picture;
    rebuild_ = true;
    shownLower_ = std::numeric_limits<int32_t>::max();
    shownUpper_ = std::numeric_limits<int32_t>::min();
    if (picture != nullptr) {
        const Ref<MemorySurface> image = CreateMemorySurface(picture->GetWidth(), picture->GetHeight());
        SetImage(image.Get());
    } else {
        SetImage(nullptr);
    }
    SetDirty(true);
}

void ThresholdSprite::SetThreshold(float threshold) {
    threshold_ = threshold;
    rebuild_ = true;
}

void ThresholdSprite::Draw(Canvas& canvas) {
    if (rebuild_) {
        Rebuild(canvas);
        rebuild_ = false;
    }
    Sprite::Draw(canvas);
}

void ThresholdSprite::Rebuild(Canvas& canvas) {
    const int32_t lower = BandBound(threshold_ - bandWidth_);
    const int32_t upper = BandBound(threshold_);
    Surface* image = GetImage();
    if ((lower == shownLower_ && upper == shownUpper_) || image == nullptr || !picture_ || !map_) {
        return;
    }
    const int32_t width = picture_->GetWidth();
    const int32_t height = picture_->GetHeight();
    if (map_->GetWidth() != width || map_->GetHeight() != height || image->GetWidth() != width ||
        image->GetHeight() != height) {
        ENGINE_LOG(1, "ThresholdSprite: the threshold map (%dx%d) does not fit the picture (%dx%d)",
                   map_->GetWidth(), map_->GetHeight(), width, height);
        return;
    }
    switch (image->GetDisplayCopy()->GetPixelFormat().bytesPerPixel) {
        case 2:
            Rebuild16(canvas, lower, upper);
            break;
        case 4:
            Rebuild32(lower, upper);
            break;
        default:
            return;
    }
    shownLower_ = lower;
    shownUpper_ = upper;
}

void ThresholdSprite::Rebuild32(int32_t lower, int32_t upper) {
    Surface& image = *GetImage();
    ScopedSurfaceLock imageLock(image);
    ScopedSurfaceLock pictureLock(*picture_);
    const uint8_t* values = map_->GetBytes();
    for (int32_t y = 0; y < image.GetHeight(); ++y) {
        for (int32_t x = 0; x < image.GetWidth(); ++x) {
            const int32_t value = *values++;
            image.Pixels32()[image.PixelIndex(x, y)] =
                value >= lower && value <= upper ? picture_->Pixels32()[picture_->PixelIndex(x, y)] : 0;
        }
    }
    image.SetDirty(true);
}

void ThresholdSprite::Rebuild16(Canvas& canvas, int32_t lower, int32_t upper) {
    Surface& image = *GetImage();
    canvas.PrepareSurface(image);
    canvas.PrepareSurface(*picture_);
    auto* imageCopy = ObjectCast<AlphaMemorySurface>(image.GetDisplayCopy());
    auto* pictureCopy = ObjectCast<AlphaMemorySurface>(picture_->GetDisplayCopy());
    if (imageCopy == nullptr || pictureCopy == nullptr || imageCopy->GetAlphaBuffer() == nullptr ||
        pictureCopy->GetAlphaBuffer() == nullptr) {
        return;
    }
    ScopedSurfaceLock imageLock(*imageCopy);
    ScopedSurfaceLock pictureLock(*pictureCopy);
    const uint8_t* values = map_->GetBytes();
    for (int32_t y = 0; y < imageCopy->GetHeight(); ++y) {
        for (int32_t x = 0; x < imageCopy->GetWidth(); ++x) {
            const int32_t value = *values++;
            const bool shown = value >= lower && value <= upper;
            const int32_t to = imageCopy->PixelIndex(x, y);
            const int32_t from = pictureCopy->PixelIndex(x, y);
            imageCopy->Pixels16()[to] = shown ? pictureCopy->Pixels16()[from] : 0;
            imageCopy->GetAlphaBuffer()[to] = shown ? pictureCopy->GetAlphaBuffer()[from] : 0;
        }
    }
}
