#pragma once

#include <cstdint>
#include <string>

#include "engine/foundation/Color.h"
#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"
#include "engine/media/Rect.h"

class Canvas;
class ChannelMap;
class Surface;
struct Polygon;

// What a canvas hands its text to: the font draws the glyphs through the canvas.
class CanvasFont : public Object {
    ENGINE_CLASS(CanvasFont, Object)

public:
    virtual void DrawText(Canvas& canvas, const std::wstring& text, int32_t x, int32_t y) = 0;
};

// The software drawing context on a surface. Every colour primitive adds the
// origin, clips to the clip rectangle, draws nothing at alpha 0, paints
// opaquely at alpha 255 and blends otherwise. The clip rectangle is in surface
// coordinates and only ever shrinks inside the surface.
class Canvas : public Object {
    ENGINE_CLASS(Canvas, Object)

public:
    explicit Canvas(Surface& surface);
    ~Canvas() override;

    void Clear();
    virtual void SetPixel(int32_t x, int32_t y);
    virtual void SetChannelPixel(int32_t channel, uint32_t value, int32_t x, int32_t y);

    void DrawLine(PointF from, PointF to);
    virtual void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void DrawChannelLine(int32_t channel, uint32_t value, PointF from, PointF to);
    virtual void DrawChannelLine(int32_t channel, uint32_t value, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void DrawSmoothLine(PointF from, PointF to) { DrawSmoothLine(from.x, from.y, to.x, to.y); }
    virtual void DrawSmoothLine(float x1, float y1, float x2, float y2);

    void DrawRect(const Rect& rect) { DrawRect(rect.x, rect.y, rect.w, rect.h); }
    void DrawRect(int32_t x, int32_t y, int32_t w, int32_t h);
    void FillRect(const Rect& rect) { FillRect(rect.x, rect.y, rect.w, rect.h); }
    virtual void FillRect(int32_t x, int32_t y, int32_t w, int32_t h);
    virtual void FillChannelRect(int32_t channel, uint32_t value, int32_t x, int32_t y, int32_t w, int32_t h);
    void FillChannelRect(int32_t channel, uint32_t value, const Rect& rect) {
        FillChannelRect(channel, value, rect.x, rect.y, rect.w, rect.h);
    }
    void FillChannelRect(int32_t channel, uint32_t value);

    void DrawPolyline(const Polygon& polygon, bool antiAlias);
    void FillPolygon(const Polygon& polygon, bool antiAlias);
    void FillPolygon(int32_t channel, uint32_t value, const Polygon& polygon, bool antiAlias);

    virtual void Blit(Surface& source, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY, int32_t sourceW,
                      int32_t sourceH);
    void Blit(Surface& source, int32_t x, int32_t y, const Rect& sourceRect) {
        Blit(source, x, y, sourceRect.x, sourceRect.y, sourceRect.w, sourceRect.h);
    }
    void Blit(Surface& source, int32_t x, int32_t y);

    // The source rectangle turned by angle (radians, clockwise) and scaled about
    // the pivot, which is relative to the rectangle and stays at (x + pivotX, y + pivotY).
    virtual void RotateScaleBlit(Surface& source, double angle, double scale, int32_t x, int32_t y,
                                 int32_t sourceX, int32_t sourceY, int32_t sourceW, int32_t sourceH,
                                 int32_t pivotX, int32_t pivotY);
    // The same with bilinear sampling.
    virtual void RotateScaleBlitSmooth(Surface& source, double angle, double scale, int32_t x, int32_t y,
                                       int32_t sourceX, int32_t sourceY, int32_t sourceW, int32_t sourceH,
                                       int32_t pivotX, int32_t pivotY);
    // The source rectangle stretched over the destination rectangle.
    virtual void ScaleBlit(Surface& source, int32_t sourceX, int32_t sourceY, int32_t sourceW, int32_t sourceH,
                           int32_t x, int32_t y, int32_t w, int32_t h);
    // Whole pixels, alpha bytes included, whatever the canvas alpha.
    virtual void CopyRect(Surface& source, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY,
                          int32_t sourceW, int32_t sourceH);

    // Paints the canvas colour through the map's bytes.
    virtual void DrawMask(const ChannelMap& map, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY,
                          int32_t w, int32_t h);
    void DrawMask(const ChannelMap& map, int32_t x, int32_t y, const Rect& sourceRect) {
        DrawMask(map, x, y, sourceRect.x, sourceRect.y, sourceRect.w, sourceRect.h);
    }
    void DrawMask(const ChannelMap& map, int32_t x, int32_t y);

    virtual void CopyChannel(Surface& source, int32_t channel, int32_t x, int32_t y, int32_t sourceX,
                             int32_t sourceY, int32_t w, int32_t h) = 0;
    void CopyChannel(Surface& source, int32_t channel, int32_t x, int32_t y, const Rect& sourceRect) {
        CopyChannel(source, channel, x, y, sourceRect.x, sourceRect.y, sourceRect.w, sourceRect.h);
    }
    void CopyChannel(Surface& source, int32_t channel, int32_t x, int32_t y);
    virtual void WriteChannelFromMap(const ChannelMap& map, int32_t channel, int32_t x, int32_t y,
                                     int32_t sourceX, int32_t sourceY, int32_t w, int32_t h) = 0;
    void WriteChannelFromMap(const ChannelMap& map, int32_t channel, int32_t x, int32_t y, const Rect& sourceRect) {
        WriteChannelFromMap(map, channel, x, y, sourceRect.x, sourceRect.y, sourceRect.w, sourceRect.h);
    }
    void WriteChannelFromMap(const ChannelMap& map, int32_t channel, int32_t x, int32_t y);
    virtual void MinChannel(Surface& source, int32_t channel, int32_t x, int32_t y, int32_t sourceX,
                            int32_t sourceY, int32_t w, int32_t h) = 0;
    void MinChannel(Surface& source, int32_t channel, int32_t x, int32_t y, const Rect& sourceRect) {
        MinChannel(source, channel, x, y, sourceRect.x, sourceRect.y, sourceRect.w, sourceRect.h);
    }
    void MinChannel(Surface& source, int32_t channel, int32_t x, int32_t y);
    virtual void MaxChannel(Surface& source, int32_t channel, int32_t x, int32_t y, int32_t sourceX,
                            int32_t sourceY, int32_t w, int32_t h) = 0;
    void MaxChannel(Surface& source, int32_t channel, int32_t x, int32_t y, const Rect& sourceRect) {
        MaxChannel(source, channel, x, y, sourceRect.x, sourceRect.y, sourceRect.w, sourceRect.h);
    }
    void MaxChannel(Surface& source, int32_t channel, int32_t x, int32_t y);

    void DrawText(const std::wstring& text, int32_t x, int32_t y);
    // Makes the surface's display copy, the picture in this canvas's pixel format.
    virtual void PrepareSurface(Surface& surface) = 0;
    // Pixels x1 .. x2 - 1 of row y at full alpha only.
    virtual void DrawHLine(int32_t x1, int32_t x2, int32_t y);

    virtual void SetColor(const Color& colour) { colour_ = colour.Value(); }
    Ref<Color> GetColor() const { return Ref<Color>(new Color(colour_)); }
    void SetAlpha(int32_t alpha) { alpha_ = alpha < 1 ? 0 : alpha > 255 ? 255 : alpha; }
    int32_t GetAlpha() const { return alpha_; }

    void SetOriginX(int32_t x) { originX_ = x; }
    int32_t GetOriginX() const { return originX_; }
    void SetOriginY(int32_t y) { originY_ = y; }
    int32_t GetOriginY() const { return originY_; }
    void SetOrigin(int32_t x, int32_t y) {
        SetOriginX(x);
        SetOriginY(y);
    }
    void MoveOriginX(int32_t dx) { SetOriginX(GetOriginX() + dx); }
    void MoveOriginY(int32_t dy) { SetOriginY(GetOriginY() + dy); }
    void MoveOrigin(int32_t dx, int32_t dy) {
        MoveOriginX(dx);
        MoveOriginY(dy);
    }

    void ResetClipRect();
    void SetClipRect(const Rect& rect);
    void SetClipRect(int32_t x, int32_t y, int32_t w, int32_t h) { SetClipRect(Rect{x, y, w, h}); }
    void IntersectClipRect(const Rect& rect) { clip_ = IntersectRect(rect, clip_); }
    void IntersectClipRect(int32_t x, int32_t y, int32_t w, int32_t h) { IntersectClipRect(Rect{x, y, w, h}); }
    const Rect& GetClipRect() const { return clip_; }

    void SetFont(CanvasFont* font) { font_ = font; }
    CanvasFont* GetFont() const { return font_.Get(); }
    Surface& GetSurface() const { return *surface_; }

    // Clips a blit of a sourceWidth x sourceHeight picture: x and y are already
    // moved by the origin; all four values and the size are narrowed to what
    // lies inside the surface, the clip rectangle and the source. False when
    // nothing is left to draw.
    bool ClipBlitRect(int32_t sourceWidth, int32_t sourceHeight, int32_t& x, int32_t& y, int32_t& sourceX,
                      int32_t& sourceY, int32_t& w, int32_t& h) const;

protected:
    // The canvas colour as routines take it: 0xRRGGBB, or a packed pixel on 16-bit canvases.
    uint32_t ColourValue() const { return colour_; }
    void SetColourValue(uint32_t value) { colour_ = value; }
    bool ClipsIn(int32_t x, int32_t y) const {
        return x >= clip_.x && x - clip_.x < clip_.w && y >= clip_.y && y - clip_.y < clip_.h;
    }
    // The rectangle moved by the origin and clipped; empty when nothing is left.
    Rect ClippedRect(int32_t x, int32_t y, int32_t w, int32_t h) const {
        return IntersectRect(Rect{x + originX_, y + originY_, w, h}, clip_);
    }

private:
    uint32_t colour_ = 0;
    int32_t alpha_ = 255;
    Rect clip_;
    int32_t originX_ = 0;
    int32_t originY_ = 0;
    Ref<CanvasFont> font_;
    Ref<Surface> surface_;
};

int32_t RoundToInt(float value);
