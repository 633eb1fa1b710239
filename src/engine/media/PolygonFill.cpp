#include "engine/media/PolygonFill.h"

#include <algorithm>
#include <cmath>

#include "engine/media/Canvas.h"
#include "engine/media/PixelMath.h"
#include "engine/media/Polygon.h"
#include "engine/media/RotateScaleWalk.h"
#include "engine/media/Surface.h"

PolygonFill::PolygonFill(Canvas& canvas) : canvas_(canvas) {}

PolygonFill::PolygonFill(Canvas& canvas, int32_t channel, uint32_t value)
    : canvas_(canvas), channel_(channel), value_(value), channelOutput_(true) {}

void PolygonFill::Fill(const Polygon& polygon, bool antiAlias) {
    const auto& points = polygon.points;
    // Coordinates that are not finite have no place on the surface and would
    // leave the edge order undefined.
    const bool finite = std::all_of(points.begin(), points.end(), [](const PointF& p) {
        return std::isfinite(p.x) && std::isfinite(p.y);
    });
    if (points.size() < 3 || !finite) {
        return;
    }
    width_ = std::max(canvas_.GetSurface().GetWidth(), 0);
    height_ = std::max(canvas_.GetSurface().GetHeight(), 0);
    coverage_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0);
    edges_.reserve(points.size());

    ScanRows(polygon, false);
    if (antiAlias) {
        ScanRows(polygon, true);
    }
    if (channelOutput_) {
        WriteCoverageToChannel();
    } else {
        DrawCoverage();
    }
    coverage_.clear();
}

void PolygonFill::ScanRows(const Polygon& polygon, bool edgesOnly) {
    const auto [lowest, highest] = std::minmax_element(
        polygon.points.begin(), polygon.points.end(), [](const PointF& a, const PointF& b) { return a.y < b.y; });
    const int32_t firstRow = std::max(TruncateToInt32(lowest->y - 0.5), 0);
    const int32_t lastRow = std::min(TruncateToInt32(highest->y - 0.5), height_);
    edges_.clear();
    for (int32_t y = firstRow; y <= lastRow; ++y) {
        UpdateActiveEdges(polygon, y);
        for (size_t i = 0; i + 1 < edges_.size(); i += 2) {
            const Edge& left = edges_[i];
            const Edge& right = edges_[i + 1];
            if (!edgesOnly) {
                FillSpan(y, left.x, right.x);
                continue;
            }
            const int32_t xl = std::max(TruncateToInt32(left.x), 0);
            const int32_t xr = std::min(TruncateToInt32(right.x - 1e-06), width_);
            if (xl <= xr) {
                CoverLeftEdge(y, xl, xr, left);
                CoverRightEdge(y, xr, xl, right);
            }
        }
        AdvanceEdges();
    }
}

void PolygonFill::UpdateActiveEdges(const Polygon& polygon, int32_t y) {
    const auto& points = polygon.points;
    const auto count = static_cast<int32_t>(points.size());
    const double centre = y + 0.5;
    for (int32_t vertex = 0; vertex < count; ++vertex) {
        const PointF& a = points[vertex];
        const PointF& b = points[(vertex + 1) % count];
        const PointF& upper = a.y < b.y ? a : b;
        const PointF& lower = a.y < b.y ? b : a;
        const bool crosses = upper.y < centre && centre < lower.y;
        const auto found = std::find_if(edges_.begin(), edges_.end(),
                                        [vertex](const Edge& edge) { return edge.vertex == vertex; });
        if (crosses && found == edges_.end()) {
            const double slope = (static_cast<double>(lower.x) - upper.x) / (static_cast<double>(lower.y) - upper.y);
            edges_.push_back(Edge{upper.x + (centre - upper.y) * slope, slope, vertex});
        } else if (!crosses && found != edges_.end()) {
            edges_.erase(found);
        }
    }
    std::sort(edges_.begin(), edges_.end(), [](const Edge& a, const Edge& b) { return a.x < b.x; });
}

void PolygonFill::AdvanceEdges() {
    for (Edge& edge : edges_) {
        edge.x += edge.slope;
    }
}

void PolygonFill::FillSpan(int32_t y, double left, double right) {
    if (y >= height_) {
        return;
    }
    const int32_t first = std::max(TruncateToInt32(std::ceil(left - 0.5)), 0);
    const int32_t last = std::min(TruncateToInt32(std::floor(right - 0.5)), width_ - 1);
    for (int32_t x = first; x <= last; ++x) {
        Cell(x, y) = 255;
    }
}

bool PolygonFill::IsEmptyOrOutside(int32_t x, int32_t y) const {
    return !InBuffer(x, y) || coverage_[static_cast<size_t>(y) * width_ + x] <= 0;
}

void PolygonFill::CoverLeftEdge(int32_t y, int32_t column, int32_t limit, const Edge& edge) {
    const double steepness = std::fabs(edge.slope);
    if (steepness > 1.0) {
        CoverShallowEdge(y, column, limit, 1, edge);
    } else if (InBuffer(column, y)) {
        const double covered = 255.0 * (1.0 - (edge.x - column) - steepness / 2.0);
        Cell(column, y) = TruncateToInt32(std::min(255.0, covered));
    }
}

void PolygonFill::CoverRightEdge(int32_t y, int32_t column, int32_t limit, const Edge& edge) {
    const double steepness = std::fabs(edge.slope);
    if (steepness > 1.0) {
        CoverShallowEdge(y, column, limit, -1, edge);
    } else if (column != width_ && InBuffer(column, y)) {
        const double covered = 255.0 * ((edge.x - column) - steepness / 2.0);
        Cell(column, y) = TruncateToInt32(std::min(255.0, covered));
    }
}

// A shallow edge crosses several columns in one row: the coverage ramps up by
// equal steps along it, written only where the row beside it on the edge's
// open side is empty.
void PolygonFill::CoverShallowEdge(int32_t y, int32_t column, int32_t otherEnd, int32_t direction,
                                   const Edge& edge) {
    const double steepness = std::fabs(edge.slope);
    const int32_t steps = TruncateToInt32(std::ceil(steepness));
    const int32_t step = 255 / (steps + 1);
    const int32_t low = std::min(column, otherEnd);
    const int32_t high = std::max(column, otherEnd);
    int32_t sum = 0;
    for (int32_t i = 0; i < steepness; ++i) {
        const int32_t x = column + direction * i;
        if (x < low || x > high) {
            break;
        }
        sum += step;
        const bool open = edge.slope >= 0 ? IsEmptyOrOutside(x, y + 1) : IsEmptyOrOutside(x + direction, y - 1);
        if (open && InBuffer(x, y)) {
            Cell(x, y) = sum;
        }
    }
}

void PolygonFill::DrawCoverage() {
    const int32_t alpha = canvas_.GetAlpha();
    for (int32_t y = 0; y < height_; ++y) {
        for (int32_t x = 0; x < width_; ++x) {
            const int32_t covered = Cell(x, y);
            if (covered <= 0) {
                continue;
            }
            canvas_.SetAlpha(covered >= 255 ? alpha : alpha * covered / 255);
            canvas_.SetPixel(x, y);
        }
    }
    canvas_.SetAlpha(alpha);
}

void PolygonFill::WriteCoverageToChannel() {
    Surface& surface = canvas_.GetSurface();
    const bool direct = surface.GetPixelFormat().bytesPerPixel == 4;
    {
        ScopedSurfaceLock lock(surface);
        for (int32_t y = 0; y < height_; ++y) {
            for (int32_t x = 0; x < width_; ++x) {
                const int32_t covered = Cell(x, y);
                if (covered <= 0) {
                    continue;
                }
                const auto value = static_cast<uint32_t>(
                    covered >= 255 ? value_ : static_cast<int64_t>(static_cast<int32_t>(value_)) * covered / 255);
                if (direct) {
                    uint32_t& pixel = surface.Pixels32()[static_cast<size_t>(y) * width_ + x];
                    pixel = SetColourChannel(pixel, channel_, value);
                } else {
                    // Pixels of another size take the channel through the canvas.
                    canvas_.SetChannelPixel(channel_, value, x - canvas_.GetOriginX(), y - canvas_.GetOriginY());
                }
            }
        }
    }
    channelOutput_ = false;
    surface.SetDirty(true);
}
