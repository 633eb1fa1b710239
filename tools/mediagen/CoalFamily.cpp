#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "mediagen/Drawing.h"
#include "mediagen/Families.h"

namespace {

constexpr const char* kSection = "gamescene";
constexpr const char* kSansBold = "DejaVuSans-Bold.ttf";
// Coals stand 62 px apart on the word bar and 36 px apart in the slot
// machine's grid; the letter font is 28 px and 16 px high.
constexpr int kBigWidth = 54;
constexpr int kBigHeight = 50;
constexpr int kSmallWidth = 32;
constexpr int kSmallHeight = 30;
constexpr int kSlotWidth = 58;
constexpr int kSlotHeight = 54;
constexpr int kCorners = 10;
constexpr double kPi = 3.14159265358979323846;

enum Kind { kPlain = 0, kTurbo, kDouble, kTriple, kReveal, kStop, kCoin, kJoker };

struct Point {
    double x;
    double y;
};

// A lump's outline: corners around an ellipse, each pulled in by its own
// amount so that every look variant has its own shape.
std::vector<Point> LumpOutline(int variant, double cx, double cy, double rx, double ry) {
    uint32_t state = 0x9E3779B9u * static_cast<uint32_t>(variant + 1);
    std::vector<Point> corners;
    for (int i = 0; i < kCorners; ++i) {
        state = state * 1664525u + 1013904223u;
        const double pull = 0.8 + 0.2 * static_cast<double>(state >> 8) / static_cast<double>(1u << 24);
        const double angle = 2 * kPi * (i + 0.15 * ((state >> 4) % 3)) / kCorners;
        corners.push_back({cx + rx * pull * std::cos(angle), cy + ry * pull * std::sin(angle)});
    }
    return corners;
}

void PolygonPath(cairo_t* cairo, const std::vector<Point>& corners) {
    cairo_new_path(cairo);
    for (const Point& corner : corners) {
        cairo_line_to(cairo, corner.x, corner.y);
    }
    cairo_close_path(cairo);
}

// Near-black coal with blue-grey facets lit from the top left, bright edges
// where the facets face the light, and a dark outline.
void DrawLump(Drawing& drawing, int variant, double scale) {
    cairo_t* cairo = drawing.Context();
    const double cx = drawing.Width() / 2.0;
    const double cy = drawing.Height() / 2.0;
    const std::vector<Point> corners =
        LumpOutline(variant, cx, cy, drawing.Width() / 2.0 - 2 * scale, drawing.Height() / 2.0 - 2 * scale);
    PolygonPath(cairo, corners);
    drawing.FillRadial(cx - 6 * scale, cy - 7 * scale, drawing.Width() * 0.6, Rgba::FromHex(0x3B424D),
                       Rgba::FromHex(0x131519));
    // Facets meet at a ridge point up and to the left of the middle.
    const Point ridge{cx - 3 * scale + variant * scale, cy - 3 * scale};
    const Point light{-0.6, -0.8};
    for (size_t i = 0; i < corners.size(); ++i) {
        const Point& a = corners[i];
        const Point& b = corners[(i + 1) % corners.size()];
        const Point middle{(a.x + b.x) / 2 - cx, (a.y + b.y) / 2 - cy};
        const double length = std::hypot(middle.x, middle.y);
        const double facing = (middle.x * light.x + middle.y * light.y) / length;
        cairo_new_path(cairo);
        cairo_move_to(cairo, ridge.x, ridge.y);
        cairo_line_to(cairo, a.x, a.y);
        cairo_line_to(cairo, b.x, b.y);
        cairo_close_path(cairo);
        SetColor(cairo, facing > 0 ? Rgba::FromHex(0x66758C, 0.45 * facing) : Rgba::FromHex(0x07080A, -0.35 * facing));
        cairo_fill(cairo);
        if (facing > 0.45) {
            cairo_move_to(cairo, a.x, a.y);
            cairo_line_to(cairo, b.x, b.y);
            SetColor(cairo, Rgba::FromHex(0xB4C2D6, 0.85 * facing));
            cairo_set_line_width(cairo, 1.3 * scale);
            cairo_stroke(cairo);
        }
    }
    // One glint where the light strikes hardest.
    drawing.Circle(ridge.x - 5 * scale, ridge.y - 5 * scale, 2.2 * scale);
    drawing.FillRadial(ridge.x - 5 * scale, ridge.y - 5 * scale, 2.2 * scale, Rgba{1, 1, 1, 0.9}, Rgba{1, 1, 1, 0});
    PolygonPath(cairo, corners);
    cairo_set_line_join(cairo, CAIRO_LINE_JOIN_ROUND);
    drawing.Stroke(Rgba::FromHex(0x0C0D10), 2 * scale);
}

void FillAndOutline(Drawing& drawing, uint32_t colour, double width) {
    cairo_fill_preserve(drawing.Context());
    drawing.Stroke(Rgba::FromHex(colour).Shaded(-0.45), width);
}

// The kind's enamel emblem in the lower right corner, away from the letter;
// the joker's star fills the middle, which shows no letter.
void DrawEmblem(Drawing& drawing, FontFaces& faces, int kind, double scale) {
    cairo_t* cairo = drawing.Context();
    const double x = drawing.Width() - 11 * scale;
    const double y = drawing.Height() - 11 * scale;
    const double r = 8.5 * scale;
    switch (kind) {
        case kTurbo: {
            cairo_new_path(cairo);
            cairo_move_to(cairo, x, y - r * 1.2);
            cairo_curve_to(cairo, x + r * 1.1, y - r * 0.2, x + r * 0.9, y + r, x, y + r);
            cairo_curve_to(cairo, x - r * 0.9, y + r, x - r * 1.1, y - r * 0.1, x - r * 0.3, y - r * 0.5);
            cairo_curve_to(cairo, x - r * 0.2, y - r * 0.1, x, y - r * 0.6, x, y - r * 1.2);
            SetColor(cairo, Rgba::FromHex(0xF08A24));
            FillAndOutline(drawing, 0xF08A24, 1.2 * scale);
            EllipsePath(cairo, x, y + r * 0.35, r * 0.35, r * 0.55);
            drawing.Fill(Rgba::FromHex(0xFFD25A));
            break;
        }
        case kDouble:
        case kTriple:
            drawing.Circle(x, y, r);
            drawing.FillRadial(x - r * 0.3, y - r * 0.3, r * 1.3, Rgba::FromHex(0xE84A3A), Rgba::FromHex(0xB01E14));
            drawing.Circle(x, y, r);
            drawing.Stroke(Rgba::FromHex(0xD3271B).Shaded(-0.45), 1.2 * scale);
            drawing.Caption(faces, kSansBold, 10 * scale, kind == kDouble ? "x2" : "x3", x, y + 3.6 * scale,
                            Rgba::FromHex(0xFFFFFF));
            break;
        case kReveal:
            cairo_new_path(cairo);
            cairo_move_to(cairo, x - r * 1.1, y);
            cairo_curve_to(cairo, x - r * 0.4, y - r * 0.9, x + r * 0.4, y - r * 0.9, x + r * 1.1, y);
            cairo_curve_to(cairo, x + r * 0.4, y + r * 0.9, x - r * 0.4, y + r * 0.9, x - r * 1.1, y);
            SetColor(cairo, Rgba::FromHex(0xF4FBFF));
            FillAndOutline(drawing, 0x39C6D8, 1.2 * scale);
            drawing.Circle(x, y, r * 0.45);
            drawing.Fill(Rgba::FromHex(0x39C6D8));
            drawing.Circle(x, y, r * 0.2);
            drawing.Fill(Rgba::FromHex(0x10363C));
            break;
        case kStop: {
            cairo_new_path(cairo);
            for (int i = 0; i < 8; ++i) {
                const double angle = kPi / 8 + i * kPi / 4;
                cairo_line_to(cairo, x + r * std::cos(angle), y + r * std::sin(angle));
            }
            cairo_close_path(cairo);
            SetColor(cairo, Rgba::FromHex(0xD3271B));
            FillAndOutline(drawing, 0xD3271B, 1.2 * scale);
            // A raised hand: palm and four fingers.
            drawing.RoundedRectangle(x - r * 0.42, y - r * 0.1, r * 0.84, r * 0.62, r * 0.2);
            drawing.Fill(Rgba::FromHex(0xFFFFFF));
            for (int finger = 0; finger < 4; ++finger) {
                drawing.RoundedRectangle(x - r * 0.42 + finger * r * 0.22, y - r * 0.6, r * 0.18, r * 0.6, r * 0.09);
                drawing.Fill(Rgba::FromHex(0xFFFFFF));
            }
            break;
        }
        case kCoin:
            drawing.Circle(x, y, r);
            drawing.FillRadial(x - r * 0.35, y - r * 0.35, r * 1.3, Rgba::FromHex(0xFFE27A), Rgba::FromHex(0xC9951C));
            drawing.Circle(x, y, r);
            drawing.Stroke(Rgba::FromHex(0xF2C230).Shaded(-0.45), 1.2 * scale);
            drawing.Circle(x, y, r * 0.6);
            drawing.Stroke(Rgba::FromHex(0xB07F12), 1.0 * scale);
            break;
        case kJoker: {
            const double cx = drawing.Width() / 2.0;
            const double cy = drawing.Height() / 2.0 + scale;
            StarPath(cairo, cx, cy, 15 * scale, 6.5 * scale);
            drawing.FillRadial(cx - 4 * scale, cy - 5 * scale, 17 * scale, Rgba::FromHex(0xFFF3A0),
                               Rgba::FromHex(0xF2C21A));
            StarPath(cairo, cx, cy, 15 * scale, 6.5 * scale);
            drawing.Stroke(Rgba::FromHex(0xFFD83A).Shaded(-0.45), 1.6 * scale);
            break;
        }
        default:
            break;
    }
}

Picture DrawCoal(FontFaces& faces, int kind, int variant, bool small) {
    const double scale = small ? static_cast<double>(kSmallWidth) / kBigWidth : 1.0;
    Drawing drawing(small ? kSmallWidth : kBigWidth, small ? kSmallHeight : kBigHeight);
    DrawLump(drawing, variant, scale);
    DrawEmblem(drawing, faces, kind, scale);
    return drawing.ToPicture();
}

// The hollow a coal of the word bar drops into: a dark iron recess with a
// warm rim light on its lower right edge.
Picture DrawSlot() {
    Drawing drawing(kSlotWidth, kSlotHeight);
    const double radius = 13;
    drawing.RoundedRectangle(2, 2, kSlotWidth - 4, kSlotHeight - 4, radius);
    drawing.FillRadial(kSlotWidth * 0.58, kSlotHeight * 0.6, kSlotWidth * 0.6, Rgba::FromHex(0x2E333A),
                       Rgba::FromHex(0x15171B));
    drawing.RoundedRectangle(3, 3, kSlotWidth - 6, kSlotHeight - 6, radius - 1);
    drawing.Stroke(Rgba{0, 0, 0, 0.35}, 3);
    drawing.RoundedRectangle(2, 2, kSlotWidth - 4, kSlotHeight - 4, radius);
    drawing.Stroke(Rgba::FromHex(0x4A4F57), 2);
    cairo_t* cairo = drawing.Context();
    cairo_new_path(cairo);
    cairo_arc(cairo, kSlotWidth - 2 - radius, kSlotHeight - 2 - radius, radius, 0, kPi / 2);
    drawing.Stroke(Rgba::FromHex(0xC08A4A, 0.8), 1.5);
    return drawing.ToPicture();
}

// The slot's reveal order: the threshold opens from the middle outwards,
// in a slow spiral so the edge of the opening is never a plain circle.
Picture DrawSlotMask() {
    Picture mask(kSlotWidth, kSlotHeight);
    const double cx = (kSlotWidth - 1) / 2.0;
    const double cy = (kSlotHeight - 1) / 2.0;
    const double reach = std::hypot(cx, cy);
    for (int y = 0; y < kSlotHeight; ++y) {
        for (int x = 0; x < kSlotWidth; ++x) {
            const double distance = std::hypot(x - cx, y - cy) / reach;
            const double swirl = 0.08 * std::sin(3 * std::atan2(y - cy, x - cx) + 6 * distance);
            const double level = std::clamp(distance * 0.92 + swirl + 0.04, 0.0, 1.0);
            uint8_t* pixel = mask.Pixel(x, y);
            pixel[0] = pixel[1] = pixel[2] = 255;
            pixel[3] = static_cast<uint8_t>(std::lround(level * 255));
        }
    }
    return mask;
}

void AddPicture(Manifest& manifest, const std::string& id, std::function<Picture()> draw) {
    std::string name = id;
    for (char& c : name) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    const std::string file = "media/gfx/game/" + name + ".png";
    manifest.Add({kSection, id, "Image", file, {}, [file, draw](MediaTree& tree) { tree.Add(file, EncodePng(draw())); }});
}

}  // namespace

void AddCoalRows(Manifest& manifest, FontFaces& faces) {
    FontFaces* shared = &faces;
    for (int variant = 0; variant < 3; ++variant) {
        const std::string number = std::to_string(variant + 1);
        AddPicture(manifest, "COAL_NORMAL" + number,
                   [shared, variant] { return DrawCoal(*shared, kPlain, variant, false); });
        AddPicture(manifest, "COAL_SMALL" + number,
                   [shared, variant] { return DrawCoal(*shared, kPlain, variant, true); });
    }
    for (int kind = kTurbo; kind <= kJoker; ++kind) {
        const std::string id = "COAL" + std::to_string(kind);
        // Special coals take the plain shapes in turn.
        const int variant = kind % 3;
        AddPicture(manifest, id, [shared, kind, variant] { return DrawCoal(*shared, kind, variant, false); });
        AddPicture(manifest, id + "_SMALL", [shared, kind, variant] { return DrawCoal(*shared, kind, variant, true); });
    }
    AddPicture(manifest, "COAL_SLOT", DrawSlot);
    AddPicture(manifest, "COAL_SLOT_MASK", DrawSlotMask);
}
