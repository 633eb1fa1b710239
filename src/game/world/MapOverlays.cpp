#include "game/world/MapOverlays.h"

#include <cmath>
#include <string>

#include "engine/foundation/RandomGenerator.h"
#include "engine/media/Canvas.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/media/PixelFormat.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierCropSize.h"
#include "engine/scene/ModifierSound.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/SceneResources.h"
#include "engine/scene/Sprite.h"
#include "game/world/TrackPart.h"

namespace {

constexpr const char* kMapSection = "mapscene";
constexpr float kFirstStampDistance = 40.0f;
constexpr float kStampsPerPixel = 0.04f;
constexpr int32_t kOverlayMargin = 35;
constexpr int32_t kPopupGapMs = 150;
constexpr uint32_t kPopupSoundCount = 3;

Ref<Surface> FindMapImage(const char* name) {
    const Ref<Object> data = FindResourceData(name, kMapSection);
    return ObjectCast<Surface>(data.Get());
}

}  // namespace

std::vector<float> OverlayStampDistances(float length) {
    const float first = length < 2 * kFirstStampDistance ? length / 2 : kFirstStampDistance;
    const float remaining = length - 2 * first;
    const int32_t gaps = static_cast<int32_t>(std::lround(remaining * kStampsPerPixel));
    if (gaps <= 0) {
        // Nothing left to divide: 0 / 0 would put the stamp nowhere.
        return {first};
    }
    std::vector<float> distances;
    const float step = remaining / static_cast<float>(gaps);
    for (int32_t i = 0; i <= gaps; ++i) {
        distances.push_back(first + step * static_cast<float>(i));
    }
    return distances;
}

Ref<Sprite> DrawTrackOverlayCircle(const TrackPart& part, Surface& map) {
    return DrawTrackOverlay(part, map, FindMapImage("TRACKOVERLAYCIRCLE").Get());
}

Ref<Sprite> DrawTrackOverlay(const TrackPart& part, Surface& map, Surface* circle) {
    const Rect bounds = part.GetBounds();
    const int32_t left = bounds.x - kOverlayMargin;
    const int32_t top = bounds.y - kOverlayMargin;
    Ref<MemorySurface> picture = CreateMemorySurface(bounds.w + 2 * kOverlayMargin, bounds.h + 2 * kOverlayMargin);
    Ref<Sprite> sprite = new Sprite(left, top, picture.Get());
    Ref<Canvas> canvas = picture->CreateCanvas();
    canvas->CopyRect(map, 0, 0, left, top, picture->GetWidth(), picture->GetHeight());
    // Only the map's colours are wanted: land the map has already uncovered
    // would otherwise turn into opaque patches once the alpha is inverted.
    canvas->FillChannelRect(kAlpha, 255);
    if (circle != nullptr) {
        const Path& path = part.SampledPath();
        for (const float distance : OverlayStampDistances(static_cast<float>(path.GetLength()))) {
            PointF point;
            path.GetPointAtDistance(distance, point);
            DrawImageCentered(*canvas, *picture, *circle, static_cast<int32_t>(point.x) - left,
                              static_cast<int32_t>(point.y) - top);
        }
    }
    InvertImageAlpha(*picture);
    return sprite;
}

void ShowItemPopup(Sprite& node) {
    const int32_t width = node.GetWidth();
    const int32_t height = node.GetHeight();
    node.SetVisible(true);
    node.SetFrame(0);
    node.SetCropSize(4, 0);
    node.AddModifier(Blocking(new ModifierCropSize(8, 0, 8, height, 250)));
    RandomGenerator* random = RandomGenerator::Global();
    const uint32_t sound = random != nullptr ? random->Next() % kPopupSoundCount : 0;
    node.AddModifier(new ModifierSound("SOUND_ITEMPOPUP_" + std::to_string(sound), kMapSection, true));
    node.AddModifier(Blocking(new ModifierCropSize(8, height, width + 10, height + 10, 150)));
    node.AddModifier(Blocking(new ModifierCropSize(width + 10, height + 10, width - 5, height - 5, 100)));
    node.AddModifier(Blocking(new ModifierCropSize(width - 5, height - 5, width, height, 100)));
}

void ShowSectionAssets(TrackPart& part, int32_t circlePoint, bool animate, Modifier* after) {
    if (circlePoint < 0 || circlePoint >= static_cast<int32_t>(part.circleItems.size())) {
        return;
    }
    int32_t queued = 0;
    for (const Ref<Object>& item : part.circleItems[static_cast<size_t>(circlePoint)]) {
        Sprite* sprite = ObjectCast<Sprite>(item.Get());
        if (sprite == nullptr || sprite->IsVisible()) {
            continue;
        }
        if (!animate) {
            sprite->SetVisible(true);
            continue;
        }
        if (after != nullptr) {
            sprite->AddModifier(Blocking(new ModifierWait(after)));
        }
        if (queued > 0) {
            sprite->AddModifier(Blocking(new ModifierWait(kPopupGapMs * queued)));
        }
        sprite->AddModifier(
            Blocking(new ModifierCallback([sprite](uint32_t, GameNode*) { ShowItemPopup(*sprite); }, 0)));
        ++queued;
    }
}
