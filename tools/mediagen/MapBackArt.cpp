#include "mediagen/MapBackArt.h"

#include <algorithm>
#include <cmath>

#include "mediagen/Drawing.h"
#include "mediagen/MapTheme.h"
#include "mediagen/MapWater.h"

namespace {

const Rgba kParchment = Rgba::FromHex(0xF3E6C8);

double Lattice(int x, int y, uint32_t seed) { return (MapHash(uint32_t(x), uint32_t(y), seed) & 0xFFFF) / 65535.0; }

// Smooth value noise in 0..1 with features about `scale` pixels wide.
double ValueNoise(double x, double y, double scale, uint32_t seed) {
    const double fx = x / scale, fy = y / scale;
    const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
    const double tx = fx - ix, ty = fy - iy;
    const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    const double top = Lattice(ix, iy, seed) + (Lattice(ix + 1, iy, seed) - Lattice(ix, iy, seed)) * sx;
    const double bottom = Lattice(ix, iy + 1, seed) + (Lattice(ix + 1, iy + 1, seed) - Lattice(ix, iy + 1, seed)) * sx;
    return top + (bottom - top) * sy;
}

constexpr uint32_t kGroundGrain = 11;
constexpr uint32_t kPaperGrain = 31;

// A gentle mottling of the whole picture, like grass or paper grain; `left`
// is the picture's x on the whole map, so neighbouring pictures join.
void Mottle(Picture& picture, uint32_t seed, double strength, int left) {
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const double n = ValueNoise(left + x, y, 46, seed) * 0.7 + ValueNoise(left + x, y, 9, seed + 1) * 0.3 - 0.5;
            uint8_t* p = picture.Pixel(x, y);
            for (int c = 0; c < 3; ++c) {
                p[c] = static_cast<uint8_t>(std::clamp(p[c] * (1 + n * strength), 0.0, 255.0));
            }
        }
    }
}

void Polyline(cairo_t* c, const std::vector<MapPoint>& points) {
    cairo_move_to(c, points.front().x, points.front().y);
    for (size_t i = 1; i < points.size(); ++i) {
        cairo_line_to(c, points[i].x, points[i].y);
    }
}

// The polyline moved sideways by `offset` (to the left of travel).
std::vector<MapPoint> Offset(const std::vector<MapPoint>& points, double offset) {
    std::vector<MapPoint> moved;
    for (size_t i = 0; i < points.size(); ++i) {
        const MapPoint a = points[i == 0 ? 0 : i - 1];
        const MapPoint b = points[std::min(points.size() - 1, i + 1)];
        const double length = std::max(1e-6, Distance(a, b));
        moved.push_back({points[i].x + (a.y - b.y) / length * offset, points[i].y + (b.x - a.x) / length * offset});
    }
    return moved;
}

// Ballast, sleepers every 7 px, then the two rails with a light edge.
void DrawRails(cairo_t* c, const std::vector<MapPoint>& rails) {
    cairo_set_line_cap(c, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(c, CAIRO_LINE_JOIN_ROUND);
    Polyline(c, rails);
    SetColor(c, Rgba::FromHex(0x8A7F6E, 0.55));
    cairo_set_line_width(c, 13);
    cairo_stroke(c);
    const double length = PolylineLength(rails);
    cairo_set_line_cap(c, CAIRO_LINE_CAP_BUTT);
    for (double d = 3; d < length; d += 7) {
        const MapPoint p = PointAlong(rails, d);
        const MapPoint q = PointAlong(rails, std::min(length, d + 1));
        const double l = std::max(1e-6, Distance(p, q));
        const double nx = (p.y - q.y) / l, ny = (q.x - p.x) / l;
        cairo_move_to(c, p.x - nx * 6, p.y - ny * 6);
        cairo_line_to(c, p.x + nx * 6, p.y + ny * 6);
    }
    SetColor(c, Rgba::FromHex(0x6B4A2E));
    cairo_set_line_width(c, 2.6);
    cairo_stroke(c);
    for (double side : {-3.2, 3.2}) {
        Polyline(c, Offset(rails, side));
        SetColor(c, Rgba::FromHex(0x3A3F45));
        cairo_set_line_width(c, 1.9);
        cairo_stroke(c);
        Polyline(c, Offset(rails, side - 0.5));
        SetColor(c, Rgba::FromHex(0xB8BEC4, 0.8));
        cairo_set_line_width(c, 0.7);
        cairo_stroke(c);
    }
}

class SceneryPainter {
public:
    SceneryPainter(Drawing& drawing, const LaidSection& section, int index)
        : drawing_(drawing), c_(drawing.Context()), section_(section), theme_(ThemeNamed(section.theme)),
          seed_(0x9E37u * uint32_t(index + 1)), water_(section, index) {
        for (const LaidPart& part : section.parts) {
            rails_.insert(rails_.end(), part.samples.begin(), part.samples.end());
        }
        for (const LaidCity& city : section.cities) {
            rails_.push_back({double(city.x), double(city.y)});
        }
    }

    // The city grounds belong to the explored map only.
    void Paint(bool cityGrounds) {
        cairo_rectangle(c_, 0, 0, kMapWidth, kMapHeight);
        drawing_.FillVertical(0, kMapHeight, Rgba::FromHex(theme_.groundLight),
                              Rgba::FromHex(theme_.groundLight).Shaded(-0.1));
        FadedAtSides([this] {
            Hollows();
            Patches();
        });
        WaterBodies();
        FadedAtSides([this] { Backdrop(); });
        if (cityGrounds) {
            CityGrounds();
        }
    }

private:
    double Clearance(MapPoint p) const {
        double nearest = 1e9;
        for (const MapPoint& r : rails_) {
            nearest = std::min(nearest, Distance(p, r));
        }
        return nearest;
    }

    double Random(uint32_t i) const { return (MapHash(i, 77, seed_) & 0xFFFF) / 65535.0; }

    // Texture that fades out towards the left and right edges, so the
    // in-between pictures, which show the plain ground, join without a seam.
    template <typename Paint>
    void FadedAtSides(Paint paint) {
        cairo_push_group(c_);
        paint();
        cairo_pop_group_to_source(c_);
        cairo_pattern_t* fade = cairo_pattern_create_linear(0, 0, kMapWidth, 0);
        cairo_pattern_add_color_stop_rgba(fade, 0, 0, 0, 0, 0);
        cairo_pattern_add_color_stop_rgba(fade, 0.08, 0, 0, 0, 1);
        cairo_pattern_add_color_stop_rgba(fade, 0.92, 0, 0, 0, 1);
        cairo_pattern_add_color_stop_rgba(fade, 1, 0, 0, 0, 0);
        cairo_mask(c_, fade);
        cairo_pattern_destroy(fade);
    }

    void Hollows() {
        for (uint32_t i = 0; i < 9; ++i) {
            EllipsePath(c_, Random(i) * kMapWidth, Random(i + 40) * kMapHeight, 70 + Random(i + 80) * 90,
                    40 + Random(i + 120) * 50, Random(i + 160) * M_PI);
            SetColor(c_, Rgba::FromHex(theme_.groundDark, 0.28));
            cairo_fill(c_);
        }
    }

    void Patches() {
        for (uint32_t i = 0; i < 16; ++i) {
            const double x = Random(i + 200) * kMapWidth, y = Random(i + 240) * kMapHeight;
            const double rx = 30 + Random(i + 280) * 45, ry = 18 + Random(i + 320) * 26;
            const double angle = Random(i + 360) * M_PI;
            EllipsePath(c_, x, y, rx, ry, angle);
            SetColor(c_, Rgba::FromHex(theme_.patch, 0.4));
            cairo_fill(c_);
        }
    }

    void WaterBodies() {
        const Rgba water = Rgba::FromHex(theme_.water);
        switch (water_.Kind()) {
            case Water::kNone: break;
            case Water::kRiver: River(water); break;
            case Water::kLakes: Lakes(water); break;
            case Water::kSea: Sea(water); break;
        }
    }

    void River(const Rgba& water) {
        const CubicSpan& course = water_.RiverCourse();
        for (double width : {SectionWater::kRiverWidth + 6, SectionWater::kRiverWidth}) {
            cairo_move_to(c_, course.start.x, course.start.y);
            cairo_curve_to(c_, course.startControl.x, course.startControl.y, course.endControl.x, course.endControl.y,
                           course.end.x, course.end.y);
            SetColor(c_, width > SectionWater::kRiverWidth ? water.Shaded(-0.3) : water);
            cairo_set_line_width(c_, width);
            cairo_stroke(c_);
        }
        cairo_move_to(c_, course.start.x - 3, course.start.y);
        cairo_curve_to(c_, course.startControl.x - 6, course.startControl.y, course.endControl.x - 6, course.endControl.y,
                       course.end.x - 3, course.end.y);
        SetColor(c_, Rgba{1, 1, 1, 0.25});
        cairo_set_line_width(c_, 3);
        cairo_stroke(c_);
    }

    void Lakes(const Rgba& water) {
        for (const Lake& lake : water_.Lakes()) {
            const double r = lake.radiusX;
            EllipsePath(c_, lake.centre.x, lake.centre.y, r, lake.radiusY, lake.angle);
            SetColor(c_, water);
            cairo_fill_preserve(c_);
            SetColor(c_, water.Shaded(-0.35));
            cairo_set_line_width(c_, 1.6);
            cairo_stroke(c_);
            EllipsePath(c_, lake.centre.x - r * 0.25, lake.centre.y - r * 0.15, r * 0.35, r * 0.12, 0);
            SetColor(c_, Rgba{1, 1, 1, 0.25});
            cairo_fill(c_);
        }
    }

    void Sea(const Rgba& water) {
        const std::vector<double>& coast = water_.Coast();
        cairo_move_to(c_, -SectionWater::kCoastStep, kMapHeight + 10);
        for (size_t i = 0; i < coast.size(); ++i) {
            cairo_line_to(c_, SectionWater::kCoastStep * (double(i) - 1), coast[i]);
        }
        cairo_line_to(c_, SectionWater::kCoastStep * (double(coast.size()) - 2), kMapHeight + 10);
        cairo_close_path(c_);
        cairo_pattern_t* depth = cairo_pattern_create_linear(0, 470, 0, kMapHeight);
        cairo_pattern_add_color_stop_rgba(depth, 0, water.Shaded(0.25).r, water.Shaded(0.25).g, water.Shaded(0.25).b, 1);
        cairo_pattern_add_color_stop_rgba(depth, 1, water.Shaded(-0.15).r, water.Shaded(-0.15).g, water.Shaded(-0.15).b, 1);
        cairo_set_source(c_, depth);
        cairo_fill_preserve(c_);
        cairo_pattern_destroy(depth);
        SetColor(c_, Rgba::FromHex(0xF6EED2));
        cairo_set_line_width(c_, 5);
        cairo_stroke(c_);
    }

    // Clumps of distant trees in the open country away from the rails,
    // baked into the ground; the scenery sprites stand near the tracks.
    void Backdrop() {
        const Rgba crown = Rgba::FromHex(theme_.backdrop);
        int clumps = 0;
        for (uint32_t i = 0; i < 600 && clumps < theme_.backdropClumps; ++i) {
            const MapPoint p{10 + Random(2000 + i) * (kMapWidth - 20), 10 + Random(2600 + i) * (kMapHeight - 20)};
            if (Clearance(p) < 48 || InWater(p)) {
                continue;
            }
            ++clumps;
            const int trees = 3 + static_cast<int>(Random(3200 + i) * 4);
            for (int t = 0; t < trees; ++t) {
                const double x = p.x + (Random(3800 + i * 7 + t) - 0.5) * 34;
                const double y = p.y + (Random(4400 + i * 7 + t) - 0.5) * 20 + t * 2;
                const double r = 5 + Random(5000 + i * 7 + t) * 4;
                EllipsePath(c_, x + 2, y + r * 0.8, r, r * 0.45, 0);
                SetColor(c_, Rgba{0.1, 0.08, 0.05, 0.18});
                cairo_fill(c_);
                drawing_.Circle(x, y, r);
                drawing_.FillRadial(x - r * 0.35, y - r * 0.35, r * 1.3, crown.Shaded(0.2), crown.Shaded(-0.2));
            }
        }
    }

    // The distant trees keep a little way off the shore.
    bool InWater(MapPoint p) const { return water_.Holds(p, -20); }

    void CityGrounds() {
        for (const LaidCity& city : section_.cities) {
            drawing_.Circle(city.x, city.y, 22);
            SetColor(c_, Rgba::FromHex(0xD9CDB0, 0.85));
            cairo_fill_preserve(c_);
            SetColor(c_, Rgba::FromHex(0x9C8E72, 0.9));
            cairo_set_line_width(c_, 1.5);
            cairo_stroke(c_);
        }
    }

    Drawing& drawing_;
    cairo_t* c_;
    const LaidSection& section_;
    const MapTheme& theme_;
    uint32_t seed_;
    std::vector<MapPoint> rails_;
    SectionWater water_;
};

// The rails that run off the map towards the neighbouring sections.
std::vector<std::vector<MapPoint>> Stubs(const LaidSection& section, int index) {
    std::vector<std::vector<MapPoint>> stubs;
    if (index > 0 && section.enter >= 0) {
        const LaidCity& city = section.cities[section.enter];
        stubs.push_back({{-4, double(city.y)}, {double(city.x), double(city.y)}});
    }
    if (index < 9 && section.leave >= 0) {
        const LaidCity& city = section.cities[section.leave];
        stubs.push_back({{double(city.x), double(city.y)}, {kMapWidth + 4.0, double(city.y)}});
    }
    return stubs;
}

std::vector<MapPoint> Densified(const std::vector<MapPoint>& line) {
    std::vector<MapPoint> points;
    const double length = PolylineLength(line);
    for (double d = 0; d < length; d += 4) {
        points.push_back(PointAlong(line, d));
    }
    points.push_back(line.back());
    return points;
}

Picture Scenery(const LaidSection& section, int index) {
    Drawing drawing(kMapWidth, kMapHeight);
    SceneryPainter(drawing, section, index).Paint(false);
    return drawing.ToPicture();
}

}  // namespace

Picture DrawSectionBackground(const LaidSection& section, int index, int betweenWidth) {
    Drawing drawing(kMapWidth, kMapHeight);
    SceneryPainter(drawing, section, index).Paint(true);
    for (const std::vector<MapPoint>& stub : Stubs(section, index)) {
        DrawRails(drawing.Context(), Densified(stub));
    }
    for (const LaidTrack& track : section.tracks) {
        DrawRails(drawing.Context(), TrackRails(section, track));
    }
    Picture picture = drawing.ToPicture();
    Mottle(picture, kGroundGrain, 0.07, index * (kMapWidth + betweenWidth));
    return picture;
}

Picture DrawSectionOverlay(const LaidSection& section, int index) {
    Picture picture = Scenery(section, index);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            uint8_t* p = picture.Pixel(x, y);
            const double grey = 0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2];
            const double paper[3] = {kParchment.r * 255, kParchment.g * 255, kParchment.b * 255};
            for (int c = 0; c < 3; ++c) {
                const double muted = p[c] * 0.35 + grey * 0.65;
                p[c] = static_cast<uint8_t>(std::lround(muted * 0.45 + paper[c] * 0.55));
            }
            p[3] = 255;
        }
    }
    Mottle(picture, kPaperGrain, 0.09, index * kMapWidth);
    return picture;
}

Picture DrawBetween(const LaidSection& section, const LaidSection& next, int index, int width) {
    Drawing drawing(width, kMapHeight);
    cairo_t* c = drawing.Context();
    const MapTheme& from = ThemeNamed(section.theme);
    const MapTheme& to = ThemeNamed(next.theme);
    // Each side's ground as its section paints it, the next one faded in.
    const auto ground = [](const MapTheme& theme) {
        cairo_pattern_t* pattern = cairo_pattern_create_linear(0, 0, 0, kMapHeight);
        const Rgba top = Rgba::FromHex(theme.groundLight), bottom = top.Shaded(-0.1);
        cairo_pattern_add_color_stop_rgba(pattern, 0, top.r, top.g, top.b, 1);
        cairo_pattern_add_color_stop_rgba(pattern, 1, bottom.r, bottom.g, bottom.b, 1);
        return pattern;
    };
    cairo_pattern_t* left = ground(from);
    cairo_set_source(c, left);
    cairo_paint(c);
    cairo_pattern_destroy(left);
    cairo_pattern_t* right = ground(to);
    cairo_pattern_t* fade = cairo_pattern_create_linear(0, 0, width, 0);
    cairo_pattern_add_color_stop_rgba(fade, 0.2, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(fade, 0.8, 0, 0, 0, 1);
    cairo_set_source(c, right);
    cairo_mask(c, fade);
    cairo_pattern_destroy(fade);
    cairo_pattern_destroy(right);
    const double y0 = section.cities[section.leave].y, y1 = next.cities[next.enter].y;
    // A hedge of bushes in both sides' leaf colours marks the border; it
    // parts where the line runs through.
    const Rgba leafA = Rgba::FromHex(from.backdrop), leafB = Rgba::FromHex(to.backdrop);
    const Rgba leaf{(leafA.r + leafB.r) / 2, (leafA.g + leafB.g) / 2, (leafA.b + leafB.b) / 2, 1};
    const double railY = (y0 + y1) / 2;
    const auto wobble = [](int i, double salt) {
        const double v = std::sin(i * 12.9898 + salt) * 43758.5453;
        return v - std::floor(v);
    };
    for (int i = 0; i * 11 < kMapHeight + 12; ++i) {
        const double y = i * 11 + 4 * wobble(i, 1.7);
        if (std::fabs(y - railY) < 24) {
            continue;
        }
        const double x = width / 2.0 + 7 * (wobble(i, 4.1) - 0.5);
        const double radius = 7 + 4 * wobble(i, 9.3);
        const Rgba tone = leaf.Shaded(0.16 * (wobble(i, 2.9) - 0.5));
        drawing.Circle(x + 2, y + 2.5, radius);
        drawing.Fill(Rgba{0, 0, 0, 0.25});
        drawing.Circle(x, y, radius);
        drawing.FillRadial(x - radius * 0.35, y - radius * 0.4, radius * 1.3, tone.Shaded(0.22), tone.Shaded(-0.15));
        drawing.Circle(x, y, radius);
        drawing.Stroke(tone.Shaded(-0.35), 1.5);
    }
    const CubicSpan rail{{-4, y0}, {width * 0.5, y0}, {width * 0.5, y1}, {width + 4.0, y1}};
    DrawRails(c, SampleSpan(rail, 40));
    Picture picture = drawing.ToPicture();
    Mottle(picture, kGroundGrain, 0.07, index * (kMapWidth + width) + kMapWidth);
    return picture;
}

Picture DrawBetweenLocked(const LaidSection& next, int width) {
    Drawing drawing(width, kMapHeight);
    cairo_t* c = drawing.Context();
    cairo_rectangle(c, 0, 0, width, kMapHeight);
    drawing.Fill(Rgba{kParchment.r, kParchment.g, kParchment.b, 0.72});
    for (int i = -kMapHeight; i < width + kMapHeight; i += 14) {
        cairo_move_to(c, i, 0);
        cairo_line_to(c, i - kMapHeight, kMapHeight);
    }
    SetColor(c, Rgba::FromHex(0x8A5A32, 0.12));
    cairo_set_line_width(c, 2);
    cairo_stroke(c);
    // A closed barrier across the line into the locked section.
    const double y = next.cities[next.enter].y;
    drawing.RoundedRectangle(width / 2.0 - 4, y - 26, 8, 30, 2);
    drawing.Fill(Rgba::FromHex(0x3A3F45));
    for (int i = 0; i < 6; ++i) {
        cairo_rectangle(c, 6 + i * (width - 12) / 6.0, y - 24, (width - 12) / 6.0, 7);
        SetColor(c, Rgba::FromHex(i % 2 ? 0xF3E6C8 : 0xC8372D));
        cairo_fill(c);
    }
    cairo_rectangle(c, 6, y - 24, width - 12, 7);
    SetColor(c, Rgba::FromHex(0x5A2A22));
    cairo_set_line_width(c, 1);
    cairo_stroke(c);
    return drawing.ToPicture();
}
