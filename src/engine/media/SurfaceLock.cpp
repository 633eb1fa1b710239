#include "engine/media/SurfaceLock.h"

#include <algorithm>

#include "engine/media/PixelMath.h"
#include "engine/media/Surface.h"

SurfaceLock::SurfaceLock(Surface& surface, int32_t channel)
    : surface_(&surface), rect_{0, 0, surface.GetWidth(), surface.GetHeight()}, channel_(channel) {}

SurfaceLock::~SurfaceLock() = default;

bool SurfaceLock::Contains(int32_t x, int32_t y) const {
    return surface_->Pixels32() != nullptr && x >= 0 && y >= 0 && x < surface_->GetWidth() &&
           y < surface_->GetHeight();
}

void SurfaceLock::Fill(uint32_t value) {
    FillRect(rect_.x, rect_.y, rect_.w, rect_.h, value);
}

void SurfaceLock::SetValue(int32_t x, int32_t y, uint32_t value) {
    if (Contains(x, y)) {
        uint32_t& pixel = surface_->Pixels32()[y * surface_->GetWidth() + x];
        pixel = SetColourChannel(pixel, channel_, value);
    }
}

uint32_t SurfaceLock::GetValue(int32_t x, int32_t y) const {
    return Contains(x, y) ? GetColourChannel(surface_->Pixels32()[y * surface_->GetWidth() + x], channel_) : 0;
}

void SurfaceLock::FillRect(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t value) {
    const Rect area = IntersectRect(Rect{x, y, w, h}, rect_);
    if (area.IsEmpty()) {
        return;
    }
    for (int32_t j = area.y; j < area.y + area.h; ++j) {
        for (int32_t i = area.x; i < area.x + area.w; ++i) {
            SetValue(i, j, value);
        }
    }
}

void SurfaceLock::CopyBlock(const SurfaceLock& other, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY,
                            int32_t w, int32_t h) {
    for (int32_t j = 0; j < h; ++j) {
        for (int32_t i = 0; i < w; ++i) {
            SetValue(x + i, y + j, other.GetValue(sourceX + i, sourceY + j));
        }
    }
}

void SurfaceLock::CopyBlock(const SurfaceLock& other, int32_t x, int32_t y) {
    CopyBlock(other, x, y, 0, 0, other.surface_->GetWidth(), other.surface_->GetHeight());
}

void SurfaceLock::MaxMerge(const SurfaceLock& other, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY,
                           int32_t w, int32_t h) {
    for (int32_t j = 0; j < h; ++j) {
        for (int32_t i = 0; i < w; ++i) {
            // Both values are read at the block's source position.
            const uint32_t mine = GetValue(sourceX + i, sourceY + j);
            SetValue(x + i, y + j, std::max(mine, other.GetValue(sourceX + i, sourceY + j)));
        }
    }
}

void SurfaceLock::MaxMerge(const SurfaceLock& other, int32_t x, int32_t y) {
    MaxMerge(other, x, y, 0, 0, other.surface_->GetWidth(), other.surface_->GetHeight());
}
