#pragma once

#include "engine/media/Canvas.h"

class AlphaMemorySurface;

// The canvas of 16-bit surfaces (red 5, green 6, blue 5 bits, opacity in a
// separate byte buffer). Its colour is kept already packed; pictures are drawn
// from their 16-bit display copies, made on first use and repacked when dirty.
class Canvas16 : public Canvas {
    ENGINE_CLASS(Canvas16, Canvas)

public:
    explicit Canvas16(AlphaMemorySurface& surface);

    using Canvas::Blit;
    using Canvas::CopyChannel;
    using Canvas::DrawChannelLine;
    using Canvas::DrawLine;
    using Canvas::DrawMask;
    using Canvas::DrawSmoothLine;
    using Canvas::FillChannelRect;
    using Canvas::FillRect;
    using Canvas::MaxChannel;
    using Canvas::MinChannel;
    using Canvas::WriteChannelFromMap;

    void SetColor(const Color& colour) override;
    void SetPixel(int32_t x, int32_t y) override;
    void SetChannelPixel(int32_t channel, uint32_t value, int32_t x, int32_t y) override;
    void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void DrawChannelLine(int32_t channel, uint32_t value, int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void DrawSmoothLine(float x1, float y1, float x2, float y2) override;
    void FillRect(int32_t x, int32_t y, int32_t w, int32_t h) override;
    void FillChannelRect(int32_t channel, uint32_t value, int32_t x, int32_t y, int32_t w, int32_t h) override;
    void DrawHLine(int32_t x1, int32_t x2, int32_t y) override;
    void Blit(Surface& source, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY, int32_t sourceW,
              int32_t sourceH) override;
    void RotateScaleBlit(Surface& source, double angle, double scale, int32_t x, int32_t y, int32_t sourceX,
                         int32_t sourceY, int32_t sourceW, int32_t sourceH, int32_t pivotX, int32_t pivotY) override;
    // A 16-bit canvas never interpolates: the smoothed form draws as the plain one.
    void RotateScaleBlitSmooth(Surface& source, double angle, double scale, int32_t x, int32_t y, int32_t sourceX,
                               int32_t sourceY, int32_t sourceW, int32_t sourceH, int32_t pivotX,
                               int32_t pivotY) override;
    void ScaleBlit(Surface& source, int32_t sourceX, int32_t sourceY, int32_t sourceW, int32_t sourceH, int32_t x,
                   int32_t y, int32_t w, int32_t h) override;
    void CopyRect(Surface& source, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY, int32_t sourceW,
                  int32_t sourceH) override;
    void DrawMask(const ChannelMap& map, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY, int32_t w,
                  int32_t h) override;
    // The channel operations always work on the alpha buffers.
    void CopyChannel(Surface& source, int32_t channel, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY,
                     int32_t w, int32_t h) override;
    void WriteChannelFromMap(const ChannelMap& map, int32_t channel, int32_t x, int32_t y, int32_t sourceX,
                             int32_t sourceY, int32_t w, int32_t h) override;
    void MinChannel(Surface& source, int32_t channel, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY,
                    int32_t w, int32_t h) override;
    void MaxChannel(Surface& source, int32_t channel, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY,
                    int32_t w, int32_t h) override;
    void PrepareSurface(Surface& surface) override;

private:
    AlphaMemorySurface& Target() const;
    uint16_t PackedColour() const { return static_cast<uint16_t>(ColourValue()); }
    void WriteChannel(uint16_t& pixel, uint8_t* alpha, int32_t channel, uint32_t value) const;
    // The source's 16-bit display copy, made or repacked as needed.
    AlphaMemorySurface* DisplayCopyOf(Surface& source);
    // Moves a blit by the origin and clips it as ClipBlitRect does; the
    // source's display copy, or null when nothing is left to draw.
    AlphaMemorySurface* ClippedDisplayCopyOf(Surface& source, int32_t& x, int32_t& y, int32_t& sourceX,
                                             int32_t& sourceY, int32_t& w, int32_t& h);
    void CompareAlpha(bool keepSmaller, Surface& source, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY,
                      int32_t w, int32_t h);
};
