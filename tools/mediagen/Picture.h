#pragma once

#include <cstdint>
#include <vector>

#include "mediagen/MediaTree.h"

// A picture of straight (not premultiplied) RGBA pixels, row-major, 8 bits
// per channel: the one pixel format every reader of our PNGs fills.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;

    Picture() = default;
    Picture(int w, int h) : width(w), height(h), rgba(static_cast<size_t>(w) * h * 4, 0) {}

    uint8_t* Pixel(int x, int y) { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
    const uint8_t* Pixel(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

// An RGBA8 PNG with no time or text chunks, so equal pictures give equal bytes.
Bytes EncodePng(const Picture& picture);

// The w x h part of the picture from (x, y), which must lie inside it.
Picture CutPicture(const Picture& picture, int x, int y, int w, int h);

// The picture as a mask that every reader understands: R = G = B = A = the
// coverage taken from the picture's alpha.
Picture MaskFromAlpha(const Picture& picture);
