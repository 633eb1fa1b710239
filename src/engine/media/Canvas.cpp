#include "engine/media/Canvas.h"

#include <algorithm>
#include <cmath>

#include "engine/media/BlitClip.h"
#include "engine/media/ChannelMap.h"
#include "engine/media/Polygon.h"
#include "engine/media/PolygonFill.h"
#include "engine/media/RotateScaleWalk.h"
#include "engine/media/SoftBlit.h"
#include "engine/media/Surface.h"

int32_t RoundToInt(float value) {
    return TruncateToInt32(std::nearbyint(value));
}

Canvas::Canvas(Surface& surface) : surface_(&surface) {
    ResetClipRect();
}

Canvas::~Canvas() = default;

void Canvas::Clear() {
    FillRect(0, 0, surface_->GetWidth(), surface_->GetHeight());
}

void Canvas::SetPixel(int32_t x, int32_t y) {
    x += GetOriginX();
    y += GetOriginY();
    if (!ClipsIn(x, y) || alpha_ == 0) {
        return;
    }
    if (alpha_ == 255) {
        SoftBlit::PutPixel(*surface_, x, y, colour_);
    } else {
        SoftBlit::BlendPixel(*surface_, x, y, colour_, alpha_);
    }
}

void Canvas::SetChannelPixel(int32_t channel, uint32_t value, int32_t x, int32_t y) {
    x += GetOriginX();
    y += GetOriginY();
    if (ClipsIn(x, y)) {
        SoftBlit::PutChannel(*surface_, x, y, channel, value);
    }
}

void Canvas::DrawLine(PointF from, PointF to) {
    DrawLine(RoundToInt(from.x), RoundToInt(from.y), RoundToInt(to.x), RoundToInt(to.y));
}

void Canvas::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    x1 += GetOriginX();
    y1 += GetOriginY();
    x2 += GetOriginX();
    y2 += GetOriginY();
    if (!ClipsIn(x1, y1) || !ClipsIn(x2, y2) || alpha_ == 0) {
        return;
    }
    if (alpha_ == 255) {
        SoftBlit::LineOpaque(*surface_, x1, y1, x2, y2, colour_);
    } else {
        SoftBlit::LineBlended(*surface_, x1, y1, x2, y2, colour_, alpha_);
    }
}

void Canvas::DrawChannelLine(int32_t channel, uint32_t value, PointF from, PointF to) {
    DrawChannelLine(channel, value, RoundToInt(from.x), RoundToInt(from.y), RoundToInt(to.x), RoundToInt(to.y));
}

void Canvas::DrawChannelLine(int32_t channel, uint32_t value, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    x1 += GetOriginX();
    y1 += GetOriginY();
    x2 += GetOriginX();
    y2 += GetOriginY();
    if (ClipsIn(x1, y1) && ClipsIn(x2, y2)) {
        SoftBlit::LineChannel(*surface_, x1, y1, x2, y2, channel, value);
    }
}

void Canvas::DrawSmoothLine(float x1, float y1, float x2, float y2) {
    x1 += static_cast<float>(GetOriginX());
    y1 += static_cast<float>(GetOriginY());
    x2 += static_cast<float>(GetOriginX());
    y2 += static_cast<float>(GetOriginY());
    if (!ClipsIn(RoundToInt(x1), RoundToInt(y1)) || !ClipsIn(RoundToInt(x2), RoundToInt(y2)) || alpha_ == 0) {
        return;
    }
    SoftBlit::LineSmooth(*surface_, x1, y1, x2, y2, colour_);
}

void Canvas::DrawRect(int32_t x, int32_t y, int32_t w, int32_t h) {
    FillRect(x, y, w, 1);
    FillRect(x, y + h - 1, w, 1);
    FillRect(x, y + 1, 1, h - 2);
    FillRect(x + w - 1, y + 1, 1, h - 2);
}

void Canvas::FillRect(int32_t x, int32_t y, int32_t w, int32_t h) {
    const Rect area = ClippedRect(x, y, w, h);
    if (area.IsEmpty() || alpha_ == 0) {
        return;
    }
    if (alpha_ == 255) {
        SoftBlit::FillRectOpaque(*surface_, area.x, area.y, area.w, area.h, colour_);
    } else {
        SoftBlit::FillRectBlended(*surface_, area.x, area.y, area.w, area.h, colour_, alpha_);
    }
}

void Canvas::FillChannelRect(int32_t channel, uint32_t value, int32_t x, int32_t y, int32_t w, int32_t h) {
    const Rect area = ClippedRect(x, y, w, h);
    if (!area.IsEmpty()) {
        SoftBlit::FillChannelRect(*surface_, area.x, area.y, area.w, area.h, channel, value);
    }
}

void Canvas::FillChannelRect(int32_t channel, uint32_t value) {
    FillChannelRect(channel, value, 0, 0, surface_->GetWidth(), surface_->GetHeight());
}

void Canvas::DrawPolyline(const Polygon& polygon, bool antiAlias) {
    const auto& points = polygon.points;
    for (size_t i = 1; i < points.size(); ++i) {
        const PointF from = points[i - 1];
        const PointF to = points[i];
        const bool vertical = from.x == to.x && from.y != to.y;
        const bool horizontal = from.y == to.y && from.x != to.x;
        if (!antiAlias || vertical || horizontal) {
            DrawLine(from, to);
        } else {
            DrawSmoothLine(from, to);
        }
    }
}

void Canvas::FillPolygon(const Polygon& polygon, bool antiAlias) {
    PolygonFill(*this).Fill(polygon, antiAlias);
}

void Canvas::FillPolygon(int32_t channel, uint32_t value, const Polygon& polygon, bool antiAlias) {
    PolygonFill(*this, channel, value).Fill(polygon, antiAlias);
}

void Canvas::Blit(Surface& source, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY, int32_t sourceW,
                  int32_t sourceH) {
    x += GetOriginX();
    y += GetOriginY();
    if (!ClipBlitRect(source.GetWidth(), source.GetHeight(), x, y, sourceX, sourceY, sourceW, sourceH) ||
        alpha_ == 0) {
        return;
    }
    Surface& destination = *surface_;
    if (alpha_ == 255) {
        if (source.UsesAlphaChannel()) {
            SoftBlit::BlitSourceAlpha(source, destination, sourceX, sourceY, sourceW, sourceH, x, y);
        } else {
            SoftBlit::BlitCopy(source, destination, sourceX, sourceY, sourceW, sourceH, x, y);
        }
    } else if (source.UsesAlphaChannel()) {
        SoftBlit::BlitCombinedAlpha(source, destination, sourceX, sourceY, sourceW, sourceH, x, y, alpha_);
    } else {
        SoftBlit::BlitConstantAlpha(source, destination, sourceX, sourceY, sourceW, sourceH, x, y, alpha_);
    }
}

void Canvas::Blit(Surface& source, int32_t x, int32_t y) {
    Blit(source, x, y, 0, 0, source.GetWidth(), source.GetHeight());
}

namespace {
bool ScaleTooSmall(double scale) {
    return scale >= -0.0001 && scale <= 0.0001;
}

void RunRotateScale(Surface& source, Surface& destination, const SoftBlit::RotateScale& blit, int32_t alpha) {
    if (source.UsesAlphaChannel()) {
        SoftBlit::RotateScaleAlpha(source, destination, blit, alpha);
    } else if (alpha == 255) {
        SoftBlit::RotateScaleCopy(source, destination, blit);
    } else {
        SoftBlit::RotateScaleConstantAlpha(source, destination, blit, alpha);
    }
}
}  // namespace

void Canvas::RotateScaleBlit(Surface& source, double angle, double scale, int32_t x, int32_t y,
                             int32_t sourceX, int32_t sourceY, int32_t sourceW, int32_t sourceH, int32_t pivotX,
                             int32_t pivotY) {
    if (ScaleTooSmall(scale) || alpha_ == 0) {
        return;
    }
    const SoftBlit::RotateScale blit{Rect{sourceX, sourceY, sourceW, sourceH}, x + GetOriginX(), y + GetOriginY(),
                                     pivotX, pivotY, false, angle, scale, clip_};
    RunRotateScale(source, *surface_, blit, alpha_);
}

void Canvas::RotateScaleBlitSmooth(Surface& source, double angle, double scale, int32_t x, int32_t y,
                                   int32_t sourceX, int32_t sourceY, int32_t sourceW, int32_t sourceH,
                                   int32_t pivotX, int32_t pivotY) {
    if (ScaleTooSmall(scale) || alpha_ == 0) {
        return;
    }
    const SoftBlit::RotateScale blit{Rect{sourceX, sourceY, sourceW, sourceH}, x + GetOriginX(), y + GetOriginY(),
                                     pivotX, pivotY, true, angle, scale, clip_};
    RunRotateScale(source, *surface_, blit, alpha_);
}

void Canvas::ScaleBlit(Surface& source, int32_t sourceX, int32_t sourceY, int32_t sourceW, int32_t sourceH,
                       int32_t x, int32_t y, int32_t w, int32_t h) {
    x += GetOriginX();
    y += GetOriginY();
    if (x + w < 0 || y + h < 0 || w <= 0 || h <= 0 || alpha_ == 0) {
        return;
    }
    const Rect sourceRect{sourceX, sourceY, sourceW, sourceH};
    const Rect destinationRect{x, y, w, h};
    if (source.UsesAlphaChannel()) {
        SoftBlit::ScaleAlpha(source, sourceRect, *surface_, destinationRect, clip_, alpha_);
    } else if (alpha_ == 255) {
        SoftBlit::ScaleCopy(source, sourceRect, *surface_, destinationRect, clip_);
    } else {
        SoftBlit::ScaleConstantAlpha(source, sourceRect, *surface_, destinationRect, clip_, alpha_);
    }
}

void Canvas::CopyRect(Surface& source, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY, int32_t sourceW,
                      int32_t sourceH) {
    x += GetOriginX();
    y += GetOriginY();
    if (ClipBlitRect(source.GetWidth(), source.GetHeight(), x, y, sourceX, sourceY, sourceW, sourceH)) {
        SoftBlit::CopySurfaceRect32(source, *surface_, sourceX, sourceY, sourceW, sourceH, x, y);
    }
}

void Canvas::DrawMask(const ChannelMap& map, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY, int32_t w,
                      int32_t h) {
    // Only the pixel formats know how to paint through a mask.
    x += GetOriginX();
    y += GetOriginY();
    ClipBlitRect(map.GetWidth(), map.GetHeight(), x, y, sourceX, sourceY, w, h);
}

void Canvas::DrawMask(const ChannelMap& map, int32_t x, int32_t y) {
    DrawMask(map, x, y, 0, 0, map.GetWidth(), map.GetHeight());
}

void Canvas::CopyChannel(Surface& source, int32_t channel, int32_t x, int32_t y) {
    CopyChannel(source, channel, x, y, 0, 0, source.GetWidth(), source.GetHeight());
}

void Canvas::WriteChannelFromMap(const ChannelMap& map, int32_t channel, int32_t x, int32_t y) {
    WriteChannelFromMap(map, channel, x, y, 0, 0, map.GetWidth(), map.GetHeight());
}

void Canvas::MinChannel(Surface& source, int32_t channel, int32_t x, int32_t y) {
    MinChannel(source, channel, x, y, 0, 0, source.GetWidth(), source.GetHeight());
}

void Canvas::MaxChannel(Surface& source, int32_t channel, int32_t x, int32_t y) {
    MaxChannel(source, channel, x, y, 0, 0, source.GetWidth(), source.GetHeight());
}

void Canvas::DrawText(const std::wstring& text, int32_t x, int32_t y) {
    if (CanvasFont* font = GetFont()) {
        font->DrawText(*this, text, x, y);
    }
}

void Canvas::DrawHLine(int32_t x1, int32_t x2, int32_t y) {
    x1 += GetOriginX();
    x2 += GetOriginX();
    y += GetOriginY();
    if (alpha_ == 255 && ClipsIn(x1, y) && ClipsIn(x2, y)) {
        SoftBlit::HLineOpaque(*surface_, x1, x2, y, colour_);
    }
}

void Canvas::ResetClipRect() {
    clip_ = Rect{0, 0, surface_->GetWidth(), surface_->GetHeight()};
}

void Canvas::SetClipRect(const Rect& rect) {
    ResetClipRect();
    IntersectClipRect(rect);
}

bool Canvas::ClipBlitRect(int32_t sourceWidth, int32_t sourceHeight, int32_t& x, int32_t& y, int32_t& sourceX,
                          int32_t& sourceY, int32_t& w, int32_t& h) const {
    return ClipBlit(surface_->GetWidth(), surface_->GetHeight(), clip_, sourceWidth, sourceHeight, x, y, sourceX,
                    sourceY, w, h);
}
