#pragma once

#include <cstdint>
#include <vector>

#include "engine/foundation/Object.h"

// An 8-bit single-channel picture, rows back to back: a glyph mask or a
// threshold map taken from one channel of a picture.
class ChannelMap : public Object {
    ENGINE_CLASS(ChannelMap, Object)

public:
    ChannelMap(int32_t width, int32_t height)
        : bytes_(width > 0 && height > 0 ? static_cast<size_t>(width) * static_cast<size_t>(height) : 0),
          width_(width),
          height_(height) {}

    int32_t GetWidth() const { return width_; }
    int32_t GetHeight() const { return height_; }
    uint8_t* GetBytes() { return bytes_.data(); }
    const uint8_t* GetBytes() const { return bytes_.data(); }

private:
    std::vector<uint8_t> bytes_;
    int32_t width_;
    int32_t height_;
};
