#pragma once

#include "engine/media/Canvas.h"

// The canvas of 32-bit surfaces: the hot blits judge pixels in pairs, and
// pictures are drawn from themselves, so preparing one needs no conversion.
class Canvas32 : public Canvas {
    ENGINE_CLASS(Canvas32, Canvas)

public:
    using Canvas::Canvas;
    using Canvas::Blit;
    using Canvas::CopyChannel;
    using Canvas::DrawMask;
    using Canvas::MaxChannel;
    using Canvas::MinChannel;
    using Canvas::WriteChannelFromMap;

    void Blit(Surface& source, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY, int32_t sourceW,
              int32_t sourceH) override;
    void CopyRect(Surface& source, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY, int32_t sourceW,
                  int32_t sourceH) override;
    void DrawMask(const ChannelMap& map, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY, int32_t w,
                  int32_t h) override;
    void CopyChannel(Surface& source, int32_t channel, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY,
                     int32_t w, int32_t h) override;
    void WriteChannelFromMap(const ChannelMap& map, int32_t channel, int32_t x, int32_t y, int32_t sourceX,
                             int32_t sourceY, int32_t w, int32_t h) override;
    void MinChannel(Surface& source, int32_t channel, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY,
                    int32_t w, int32_t h) override;
    void MaxChannel(Surface& source, int32_t channel, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY,
                    int32_t w, int32_t h) override;
    void PrepareSurface(Surface& surface) override;
};
