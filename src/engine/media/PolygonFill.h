#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class Canvas;
struct Polygon;

// One scanline fill of a polygon through a canvas (even-odd rule). It first
// computes a coverage value per pixel of the canvas's surface, 255 full,
// 1..254 partly covered edges, then either draws the canvas colour through it
// or writes it as the values of one channel.
class PolygonFill {
public:
    // Draws the coverage through the canvas colour and alpha.
    explicit PolygonFill(Canvas& canvas);
    // Writes value scaled by the coverage into one channel of the surface.
    PolygonFill(Canvas& canvas, int32_t channel, uint32_t value);

    // Vertex coordinates are surface coordinates; the figure is closed.
    void Fill(const Polygon& polygon, bool antiAlias);

private:
    struct Edge {
        double x = 0;      // at the current scanline's centre
        double slope = 0;  // change of x per scanline
        int32_t vertex = 0;
    };

    // Makes the active edge table hold exactly the edges crossing the centre
    // of row y, sorted by x; edges already there keep their advanced x.
    void UpdateActiveEdges(const Polygon& polygon, int32_t y);
    void AdvanceEdges();
    void ScanRows(const Polygon& polygon, bool edgesOnly);
    void FillSpan(int32_t y, double left, double right);
    void CoverLeftEdge(int32_t y, int32_t column, int32_t limit, const Edge& edge);
    void CoverRightEdge(int32_t y, int32_t column, int32_t limit, const Edge& edge);
    void CoverShallowEdge(int32_t y, int32_t column, int32_t otherEnd, int32_t direction, const Edge& edge);
    bool IsEmptyOrOutside(int32_t x, int32_t y) const;
    int32_t& Cell(int32_t x, int32_t y) { return coverage_[static_cast<size_t>(y) * width_ + x]; }
    bool InBuffer(int32_t x, int32_t y) const { return x >= 0 && x < width_ && y >= 0 && y < height_; }
    void DrawCoverage();
    void WriteCoverageToChannel();

    Canvas& canvas_;
    std::vector<int32_t> coverage_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<Edge> edges_;
    int32_t channel_ = 0;
    uint32_t value_ = 0;
    bool channelOutput_ = false;
};
