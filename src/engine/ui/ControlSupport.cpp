#include "engine/ui/ControlSupport.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/media/SoundSample.h"
#include "engine/scene/SceneResources.h"
#include "engine/scene/Sprite.h"

namespace {

// The 32-bit pixel at a point of the surface, or nothing outside it.
bool ReadPixel(const Surface& surface, int32_t x, int32_t y, uint32_t& pixel) {
    if (x < 0 || y < 0 || x >= surface.GetWidth() || y >= surface.GetHeight() ||
        surface.GetPixelFormat().bytesPerPixel != 4 || surface.GetPixels() == nullptr) {
        return false;
    }
    pixel = surface.Pixels32()[surface.PixelIndex(x, y)];
    return true;
}

}  // namespace

void PlayControlSound(const std::string& name, const std::string& section) {
    if (name.empty()) {
        return;
    }
    const Ref<Object> data = FindResourceData(name, section);
    if (const SoundSample* sample = ObjectCast<SoundSample>(data.Get())) {
        sample->PlaySample(255, 128, false);
    }
}

Ref<Surface> FindDefinitionImage(Property* definition, const char* key) {
    Property* name = Property::Child(definition, key);
    if (name == nullptr) {
        return {};
    }
    const std::string section = Property::AsString(Property::Child(definition, "section"));
    const Ref<Object> data = FindResourceData(Property::AsString(name), section);
    Ref<Surface> image(ObjectCast<Surface>(data.Get()));
    if (!image) {
        ENGINE_LOG(1, "Control: no image \"%s\" in section \"%s\"", Property::AsString(name).c_str(),
                   section.c_str());
    }
    return image;
}

bool HitTestControl(const Sprite& sprite, const Surface* mask, int32_t threshold, int32_t x, int32_t y) {
    const int32_t localX = TruncateToInt(static_cast<double>(x) - sprite.GetAbsoluteX() + sprite.GetAnchorX());
    const int32_t localY = TruncateToInt(static_cast<double>(y) - sprite.GetAbsoluteY() + sprite.GetAnchorY());
    if (localX < 0 || localX >= sprite.GetWidth() || localY < 0 || localY >= sprite.GetHeight()) {
        return false;
    }
    uint32_t pixel = 0;
    if (mask != nullptr) {
        return ReadPixel(*mask, localX, localY, pixel) && (pixel & 0xFFu) > 0x80u;
    }
    if (threshold < 0) {
        return true;
    }
    const Surface* image = sprite.GetImage();
    return image != nullptr && ReadPixel(*image, localX, localY, pixel) &&
           static_cast<int32_t>(pixel >> 24) > threshold;
}

int32_t TruncateToInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double kLowest = std::numeric_limits<int32_t>::min();
    constexpr double kHighest = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(std::trunc(value), kLowest, kHighest));
}
