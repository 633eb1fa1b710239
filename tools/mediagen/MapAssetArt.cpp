#include <cmath>
#include <stdexcept>

#include "mediagen/Drawing.h"
#include "mediagen/MapKinds.h"

// The landscape and station sprites of the map: flat shapes with one shade,
// a darker outline and a soft ground shadow, light from the top left.
namespace {

// Fills the current path with a top-left light and outlines it one step darker.
void Paint(cairo_t* c, const Rgba& fill, double outline = 1.4) {
    double x0, y0, x1, y1;
    cairo_fill_extents(c, &x0, &y0, &x1, &y1);
    cairo_pattern_t* shade = cairo_pattern_create_linear(x0, y0, x1, y1);
    const Rgba light = fill.Shaded(0.18);
    const Rgba dark = fill.Shaded(-0.16);
    cairo_pattern_add_color_stop_rgba(shade, 0, light.r, light.g, light.b, light.a);
    cairo_pattern_add_color_stop_rgba(shade, 1, dark.r, dark.g, dark.b, dark.a);
    cairo_set_source(c, shade);
    cairo_fill_preserve(c);
    cairo_pattern_destroy(shade);
    if (outline > 0) {
        SetColor(c, fill.Shaded(-0.5));
        cairo_set_line_width(c, outline);
        cairo_set_line_join(c, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(c);
    } else {
        cairo_new_path(c);
    }
}

void Polygon(cairo_t* c, std::initializer_list<double> xy) {
    const double* v = xy.begin();
    cairo_move_to(c, v[0], v[1]);
    for (size_t i = 2; i + 1 < xy.size(); i += 2) {
        cairo_line_to(c, v[i], v[i + 1]);
    }
    cairo_close_path(c);
}

void GroundShadow(cairo_t* c, double cx, double cy, double rx, double ry) {
    EllipsePath(c, cx, cy, rx, ry);
    SetColor(c, {0.1, 0.08, 0.05, 0.28});
    cairo_fill(c);
}

void Rect(cairo_t* c, double x, double y, double w, double h) { cairo_rectangle(c, x, y, w, h); }

Rgba Hex(uint32_t rgb) { return Rgba::FromHex(rgb); }

// --- trees and plants -------------------------------------------------------

void RoundTree(cairo_t* c, double w, double h, uint32_t leaves) {
    GroundShadow(c, w / 2 + 2, h - 4, w * 0.34, 3.5);
    Rect(c, w / 2 - 2.5, h * 0.55, 5, h * 0.42);
    Paint(c, Hex(0x7A4E2C), 1.2);
    EllipsePath(c, w / 2, h * 0.38, w * 0.44, h * 0.34);
    Paint(c, Hex(leaves));
    EllipsePath(c, w * 0.4, h * 0.3, w * 0.16, h * 0.12);
    SetColor(c, {1, 1, 1, 0.22});
    cairo_fill(c);
}

Picture TreeRound(const AssetKind& k) {
    Drawing d(k.width, k.height);
    RoundTree(d.Context(), k.width, k.height, 0x5FA040);
    return d.ToPicture();
}

Picture TreeAutumn(const AssetKind& k) {
    Drawing d(k.width, k.height);
    RoundTree(d.Context(), k.width, k.height, 0xD98A2B);
    return d.ToPicture();
}

void Conifer(cairo_t* c, double w, double h, uint32_t needles, bool snow) {
    GroundShadow(c, w / 2 + 2, h - 4, w * 0.32, 3);
    Rect(c, w / 2 - 2, h - 10, 4, 8);
    Paint(c, Hex(0x6B4426), 1);
    for (int tier = 0; tier < 3; ++tier) {
        const double top = 2 + tier * (h - 12) * 0.26;
        const double bottom = top + (h - 12) * 0.5;
        const double half = w * (0.26 + tier * 0.1);
        Polygon(c, {w / 2, top, w / 2 + half, bottom, w / 2 - half, bottom});
        Paint(c, Hex(needles), 1.2);
        if (snow) {
            Polygon(c, {w / 2, top, w / 2 + half * 0.45, top + (bottom - top) * 0.42, w / 2 - half * 0.45,
                        top + (bottom - top) * 0.42});
            SetColor(c, Hex(0xF4F8FA));
            cairo_fill(c);
        }
    }
}

Picture TreePine(const AssetKind& k) {
    Drawing d(k.width, k.height);
    Conifer(d.Context(), k.width, k.height, 0x2F6B3A, false);
    return d.ToPicture();
}

Picture TreeSnowPine(const AssetKind& k) {
    Drawing d(k.width, k.height);
    Conifer(d.Context(), k.width, k.height, 0x2E5E4A, true);
    return d.ToPicture();
}

Picture TreePoplar(const AssetKind& k) {
    Drawing d(k.width, k.height);
    cairo_t* c = d.Context();
    const double w = k.width, h = k.height;
    GroundShadow(c, w / 2 + 2, h - 4, w * 0.36, 3);
    Rect(c, w / 2 - 1.5, h - 12, 3, 10);
    Paint(c, Hex(0x6E4A2A), 1);
    EllipsePath(c, w / 2, h * 0.44, w * 0.36, h * 0.4);
    Paint(c, Hex(0x4E9444));
    return d.ToPicture();
}

Picture Bush(const AssetKind& k) {
    Drawing d(k.width, k.height);
    cairo_t* c = d.Context();
    const double w = k.width, h = k.height;
    GroundShadow(c, w / 2 + 1, h - 3, w * 0.42, 2.5);
    for (double f : {0.3, 0.7, 0.5}) {
        EllipsePath(c, w * f, h * (f == 0.5 ? 0.42 : 0.58), w * 0.26, h * 0.36);
        Paint(c, Hex(0x4F8F3A), 1.1);
    }
    return d.ToPicture();
}

Picture Flowers(const AssetKind& k) {
    Drawing d(k.width, k.height);
    cairo_t* c = d.Context();
    EllipsePath(c, k.width / 2.0, k.height - 4.0, k.width * 0.45, 4);
    Paint(c, Hex(0x6DAA48), 0);
    const uint32_t colours[] = {0xE8505B, 0xF4D03F, 0xFFFFFF, 0xB07CD8, 0xF39C4A};
    for (int i = 0; i < 7; ++i) {
        const double x = 3 + i * (k.width - 6) / 6.0;
        const double y = k.height - 5 - (i % 3) * 2.5;
        d.Circle(x, y, 2.1);
        Paint(c, Hex(colours[i % 5]), 0.6);
    }
    return d.ToPicture();
}

Picture Reeds(const AssetKind& k) {
    Drawing d(k.width, k.height);
    cairo_t* c = d.Context();
    const double w = k.width, h = k.height;
    cairo_set_line_cap(c, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 6; ++i) {
        const double x = 3 + i * (w - 6) / 5;
        cairo_move_to(c, x, h - 2);
        cairo_curve_to(c, x, h * 0.6, x + (i % 2 ? 3 : -3), h * 0.3, x + (i % 2 ? 4 : -2), 3 + (i % 3) * 2);
        SetColor(c, Hex(0x5C8A3A));
        cairo_set_line_width(c, 1.6);
        cairo_stroke(c);
        if (i % 2 == 0) {
            EllipsePath(c, x + (i % 2 ? 4 : -2), 6 + (i % 3) * 2, 1.6, 3.5);
            Paint(c, Hex(0x7A5230), 0);
        }
    }
    return d.ToPicture();
}

// --- buildings --------------------------------------------------------------

void House(cairo_t* c, double x, double y, double w, double h, uint32_t wall, uint32_t roof) {
    Rect(c, x, y + h * 0.42, w, h * 0.58);
    Paint(c, Hex(wall));
    Polygon(c, {x - 3, y + h * 0.45, x + w / 2, y, x + w + 3, y + h * 0.45});
    Paint(c, Hex(roof));
    Rect(c, x + w * 0.18, y + h * 0.6, w * 0.2, h * 0.18);
    Paint(c, Hex(0xF6E7A6), 0.8);
    Rect(c, x + w * 0.58, y + h * 0.62, w * 0.22, h * 0.38);
    Paint(c, Hex(0x6B4426), 0.8);
}

Picture Cottage(const AssetKind& k) {
    Drawing d(k.width, k.height);
    GroundShadow(d.Context(), k.width / 2.0 + 2, k.height - 3, k.width * 0.46, 3);
    House(d.Context(), 5, 3, k.width - 10, k.height - 6, 0xF1E2C2, 0xC0503A);
    return d.ToPicture();
}

Picture TownHouse(const AssetKind& k) {
    Drawing d(k.width, k.height);
    cairo_t* c = d.Context();
    const double w = k.width, h = k.height;
    GroundShadow(c, w / 2 + 2, h - 3, w * 0.46, 3);
    Rect(c, 4, 12, w - 8, h - 15);
    Paint(c, Hex(0xB5563A));
    Polygon(c, {2, 13, w / 2, 2, w - 2, 13});
    Paint(c, Hex(0x56606E));
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 2; ++col) {
            Rect(c, col == 0 ? 8 : w - 13, 17 + row * 8.5, 5, 5);
            Paint(c, Hex(0xF3E6B0), 0.7);
        }
    }
    return d.ToPicture();
}

Picture Farm(const AssetKind& k) {
    Drawing d(k.width, k.height);
    cairo_t* c = d.Context();
    const double w = k.width, h = k.height;
    GroundShadow(c, w / 2 + 2, h - 3, w * 0.46, 3);
    Polygon(c, {5, h * 0.42, w / 2, 4, w - 5, h * 0.42, w - 5, h - 4, 5, h - 4});
    Paint(c, Hex(0xB23A2E));
    Polygon(c, {w / 2 - 7, h - 4, w / 2 - 7, h * 0.55, w / 2 + 7, h * 0.55, w / 2 + 7, h - 4});
    Paint(c, Hex(0xF1E2C2), 1);
    cairo_move_to(c, w / 2 - 7, h * 0.55);
    cairo_line_to(c, w / 2 + 7, h - 4);
    cairo_move_to(c, w / 2 + 7, h * 0.55);
    cairo_line_to(c, w / 2 - 7, h - 4);
    SetColor(c, Hex(0x7A2A22));
    cairo_set_line_width(c, 1.2);
    cairo_stroke(c);
    return d.ToPicture();
}

Picture Windmill(const AssetKind& k) {
    Drawing d(k.width, k.height);
    cairo_t* c = d.Context();
    const double w = k.width, h = k.height;
    GroundShadow(c, w / 2 + 2, h - 3, w * 0.3, 3);
    Polygon(c, {w / 2 - 8, h - 3, w / 2 - 5, h * 0.35, w / 2 + 5, h * 0.35, w / 2 + 8, h - 3});
    Paint(c, Hex(0xEDE0C4));
    Polygon(c, {w / 2 - 7, h * 0.36, w / 2, h * 0.24, w / 2 + 7, h * 0.36});
    Paint(c, Hex(0x9A4A34));
    const double cx = w / 2, cy = h * 0.32;
    for (int i = 0; i < 4; ++i) {
        cairo_save(c);
        cairo_translate(c, cx, cy);
        cairo_rotate(c, M_PI / 4 + i * M_PI / 2);
        Rect(c, 1.5, -2.5, h * 0.3, 5);
        Paint(c, Hex(0xF6F1E4), 1);
        cairo_restore(c);
    }
    d.Circle(cx, cy, 2);
    Paint(c, Hex(0x5A3A22), 0.8);
    return d.ToPicture();
}

Picture Church(const AssetKind& k) {
    Drawing d(k.width, k.height);
    cairo_t* c = d.Context();
    const double w = k.width, h = k.height;
    GroundShadow(c, w / 2 + 2, h - 3, w * 0.46, 3);
    House(c, 4, h * 0.45, w - 14, h * 0.52, 0xE8DCC6, 0x6F7C8A);
    Rect(c, w - 14, h * 0.22, 10, h * 0.75);
    Paint(c, Hex(0xE8DCC6));
    Polygon(c, {w - 16, h * 0.24, w - 9, 2, w - 2, h * 0.24});
    Paint(c, Hex(0x6F7C8A));
    return d.ToPicture();
}

Picture Tower(const AssetKind& k) {
    Drawing d(k.width, k.height);
    cairo_t* c = d.Context();
    const double w = k.width, h = k.height;
    GroundShadow(c, w / 2 + 2, h - 3, w * 0.44, 3);
    Rect(c, 5, 14, w - 10, h - 17);
    Paint(c, Hex(0xC9B48E));
    Polygon(c, {3, 16, w / 2, 2, w - 3, 16});
    Paint(c, Hex(0x4F6F6A));
    d.Circle(w / 2, 24, 4.5);
    Paint(c, Hex(0xF8F1DC), 1);
    for (int i = 0; i < 3; ++i) {
        Rect(c, w / 2 - 2, 34 + i * 8, 4, 5);
        Paint(c, Hex(0x4A3A2A), 0.6);
    }
    return d.ToPicture();
}

Picture Lighthouse(const AssetKind& k) {
    Drawing d(k.width, k.height);
    cairo_t* c = d.Context();
    const double w = k.width, h = k.height;
    GroundShadow(c, w / 2 + 2, h - 3, w * 0.44, 3);
    Polygon(c, {w / 2 - 7, h - 3, w / 2 - 4, 14, w / 2 + 4, 14, w / 2 + 7, h - 3});
    Paint(c, Hex(0xF4F1EA));
    for (int band = 0; band < 2; ++band) {
        const double y = 22 + band * 14;
        Polygon(c, {w / 2 - 5.2, y, w / 2 + 5.2, y, w / 2 + 5.8, y + 6, w / 2 - 5.8, y + 6});
        Paint(c, Hex(0xC8372D), 0);
    }
    Rect(c, w / 2 - 4, 7, 8, 7);
    Paint(c, Hex(0xF7D65A), 1);
    Polygon(c, {w / 2 - 5, 7, w / 2, 2, w / 2 + 5, 7});
    Paint(c, Hex(0x3A3F45), 1);
    return d.ToPicture();
}

Picture Haystack(const AssetKind& k) {
    Drawing d(k.width, k.height);
    cairo_t* c = d.Context();
    const double w = k.width, h = k.height;
    GroundShadow(c, w / 2 + 2, h - 3, w * 0.44, 2.5);
    cairo_move_to(c, 3, h - 3);
    cairo_curve_to(c, 2, h * 0.3, w - 2, h * 0.3, w - 3, h - 3);
    cairo_close_path(c);
    Paint(c, Hex(0xE2B84C));
    return d.ToPicture();
}

Picture Field(const AssetKind& k) {
    Drawing d(k.width, k.height);
    cairo_t* c = d.Context();
    const double w = k.width, h = k.height;
    Polygon(c, {6, 3, w - 2, 6, w - 6, h - 3, 2, h - 6});
    Paint(c, Hex(0xA8763E), 1);
    cairo_save(c);
    Polygon(c, {6, 3, w - 2, 6, w - 6, h - 3, 2, h - 6});
    cairo_clip(c);
    for (int i = -4; i < 14; ++i) {
        cairo_move_to(c, i * 5, 0);
        cairo_line_to(c, i * 5 + 14, h);
    }
    SetColor(c, Hex(0x7E5A2E));
    cairo_set_line_width(c, 1.2);
    cairo_stroke(c);
    cairo_restore(c);
    return d.ToPicture();
}

// --- landforms, water and animals -------------------------------------------

Picture Pond(const AssetKind& k) {
    Drawing d(k.width, k.height);
    cairo_t* c = d.Context();
    EllipsePath(c, k.width / 2.0, k.height / 2.0, k.width / 2.0 - 2, k.height / 2.0 - 2);
    Paint(c, Hex(0x5A9ED0), 1.4);
    EllipsePath(c, k.width * 0.4, k.height * 0.4, k.width * 0.2, k.height * 0.12);
    SetColor(c, {1, 1, 1, 0.3});
    cairo_fill(c);
    return d.ToPicture();
}

Picture Rocks(const AssetKind& k) {
    Drawing d(k.width, k.height);
    cairo_t* c = d.Context();
    const double w = k.width, h = k.height;
    GroundShadow(c, w / 2 + 2, h - 3, w * 0.44, 2.5);
    Polygon(c, {3, h - 3, 6, h * 0.4, 13, h * 0.2, 18, h * 0.5, 18, h - 3});
    Paint(c, Hex(0x8C8C88));
    Polygon(c, {14, h - 3, 17, h * 0.45, 23, h * 0.35, w - 3, h - 3});
    Paint(c, Hex(0x9E9A92));
    return d.ToPicture();
}

Picture Hill(const AssetKind& k) {
    Drawing d(k.width, k.height);
    cairo_t* c = d.Context();
    const double w = k.width, h = k.height;
    cairo_move_to(c, 2, h - 3);
    cairo_curve_to(c, w * 0.25, 2, w * 0.75, 2, w - 2, h - 3);
    cairo_close_path(c);
    Paint(c, Hex(0x8DA253));
    return d.ToPicture();
}

Picture Peak(const AssetKind& k) {
    Drawing d(k.width, k.height);
    cairo_t* c = d.Context();
    const double w = k.width, h = k.height;
    Polygon(c, {2, h - 3, w * 0.45, 3, w - 2, h - 3});
    Paint(c, Hex(0x7D8A96));
    Polygon(c, {w * 0.45, 3, w * 0.62, h * 0.32, w * 0.52, h * 0.28, w * 0.44, h * 0.36, w * 0.33, h * 0.3});
    Paint(c, Hex(0xF4F8FA), 0);
    Polygon(c, {w * 0.45, 3, w - 2, h - 3, w * 0.55, h - 3});
    SetColor(c, {0, 0, 0, 0.12});
    cairo_fill(c);
    return d.ToPicture();
}

void Animal(cairo_t* c, double w, double h, uint32_t body, uint32_t head) {
    GroundShadow(c, w / 2 + 1, h - 2, w * 0.4, 2);
    for (double x : {w * 0.3, w * 0.62}) {
        Rect(c, x, h * 0.55, 1.6, h * 0.4);
        SetColor(c, Hex(0x3A2E26));
        cairo_fill(c);
    }
    EllipsePath(c, w * 0.47, h * 0.45, w * 0.34, h * 0.28);
    Paint(c, Hex(body), 1);
    EllipsePath(c, w * 0.84, h * 0.32, w * 0.12, h * 0.18);
    Paint(c, Hex(head), 1);
}

Picture Sheep(const AssetKind& k) {
    Drawing d(k.width, k.height);
    Animal(d.Context(), k.width, k.height, 0xF6F2E8, 0x3A332E);
    return d.ToPicture();
}

Picture Cow(const AssetKind& k) {
    Drawing d(k.width, k.height);
    Animal(d.Context(), k.width, k.height, 0xF4EEE4, 0x6B4A32);
    EllipsePath(d.Context(), k.width * 0.4, k.height * 0.4, 3, 2);
    SetColor(d.Context(), Hex(0x3A2E26));
    cairo_fill(d.Context());
    return d.ToPicture();
}

Picture Boat(const AssetKind& k) {
    Drawing d(k.width, k.height);
    cairo_t* c = d.Context();
    const double w = k.width, h = k.height;
    // A boat rides on its own patch of water wherever it is placed.
    EllipsePath(c, w / 2, h - 6, w / 2 - 1, 5);
    Paint(c, Hex(0x5A9ED0), 1.2);
    Polygon(c, {2, h - 10, w - 2, h - 10, w - 7, h - 4, 7, h - 4});
    Paint(c, Hex(0x8A5A32));
    cairo_move_to(c, w / 2, h - 10);
    cairo_line_to(c, w / 2, 2);
    SetColor(c, Hex(0x5A3A22));
    cairo_set_line_width(c, 1.4);
    cairo_stroke(c);
    Polygon(c, {w / 2 + 1, 3, w / 2 + 1, h - 12, w - 5, h - 12});
    Paint(c, Hex(0xF6F1E4), 1);
    return d.ToPicture();
}

// --- stations and signposts ---------------------------------------------------

struct StationLook {
    uint32_t wall;
    uint32_t roof;
    bool clock;
};

// Frames: 0 as built, 1 lit (highlighted with its ticket), 2 pressed,
// 3 the city not bought yet: boarded up and greyed.
Picture StationFrame(const AssetKind& k, const StationLook& look, int frame) {
    Drawing d(k.width, k.height);
    cairo_t* c = d.Context();
    const double w = k.width, h = k.height;
    auto tone = [frame](uint32_t rgb) {
        Rgba colour = Hex(rgb);
        if (frame == 1) {
            colour = colour.Shaded(0.22);
        } else if (frame == 2) {
            colour = colour.Shaded(-0.12);
        } else if (frame == 3) {
            colour = colour.Greyed().Shaded(0.2);
        }
        return colour;
    };
    if (frame == 1) {
        EllipsePath(c, w / 2, h / 2, w / 2 - 1, h / 2 - 1);
        cairo_pattern_t* glow = cairo_pattern_create_radial(w / 2, h / 2, 2, w / 2, h / 2, w / 2);
        cairo_pattern_add_color_stop_rgba(glow, 0, 1, 0.95, 0.6, 0.55);
        cairo_pattern_add_color_stop_rgba(glow, 1, 1, 0.95, 0.6, 0);
        cairo_set_source(c, glow);
        cairo_fill(c);
        cairo_pattern_destroy(glow);
    }
    GroundShadow(c, w / 2 + 2, h - 4, w * 0.46, 3.5);
    const double wallTop = h * 0.42;
    Rect(c, 5, wallTop, w - 10, h - wallTop - 5);
    Paint(c, tone(look.wall));
    Polygon(c, {1, wallTop + 2, 8, h * 0.16, w - 8, h * 0.16, w - 1, wallTop + 2});
    Paint(c, tone(look.roof));
    // Platform edge in front.
    Rect(c, 2, h - 7, w - 4, 4);
    Paint(c, tone(0xB9AE98), 1);
    const int windows = static_cast<int>((w - 16) / 12);
    for (int i = 0; i < windows; ++i) {
        const double x = 10 + i * (w - 20) / std::max(1, windows - 1) - 3.5;
        Rect(c, std::min(x, w - 17), wallTop + 5, 7, 9);
        Paint(c, frame == 3 ? Hex(0x6E6A64) : frame == 1 ? Hex(0xFFE58A) : Hex(0xF3DE9A), 0.8);
    }
    if (look.clock) {
        d.Circle(w / 2, h * 0.28, 5);
        Paint(c, tone(0xF8F1DC), 1);
    }
    if (frame == 3) {
        // Planks across the door.
        for (double y : {h * 0.62, h * 0.74}) {
            Polygon(c, {w / 2 - 9, y, w / 2 + 9, y - 3, w / 2 + 9, y, w / 2 - 9, y + 3});
            Paint(c, Hex(0x8A7A68), 0.8);
        }
    }
    return d.ToPicture();
}

StationLook LookOf(const AssetKind& k) {
    if (k.id == "STATION_GRAND") {
        return {0xD9C7A6, 0x4F6F6A, true};
    }
    if (k.id == "STATION_TOWN") {
        return {0xE6D3AE, 0x2F6B8A, true};
    }
    return {0xEBDDBF, 0xB0473A, false};
}

Picture Station(const AssetKind& k) {
    std::vector<Picture> frames;
    for (int frame = 0; frame < 4; ++frame) {
        frames.push_back(StationFrame(k, LookOf(k), frame));
    }
    return StackFrames(frames);
}

// A cream board on a post; the game writes the city's number centred on
// x 46 from y 1, so the board spans the top rows around that column.
Picture Signpost(const AssetKind& k) {
    Drawing d(k.width, k.height);
    cairo_t* c = d.Context();
    const double w = k.width, h = k.height;
    GroundShadow(c, w / 2 + 1, h - 2, 7, 2);
    Rect(c, w / 2 - 2, 16, 4, h - 18);
    Paint(c, Hex(0x7A4E2C), 1);
    d.RoundedRectangle(w / 2 - 17, 0.5, 34, 19, 4);
    Paint(c, Hex(0xF5ECD2), 1.4);
    d.RoundedRectangle(w / 2 - 14.5, 3, 29, 14, 2.5);
    SetColor(c, Rgba::FromHex(k.id == "POST_RED" ? 0xC8372D : 0x2F5FA8, 0.9));
    cairo_set_line_width(c, 1.2);
    cairo_stroke(c);
    return d.ToPicture();
}

AssetKind Kind(const char* id, const char* file, int w, int h, std::vector<HitCircle> hits, Picture (*draw)(const AssetKind&),
               int anchorY = -1) {
    AssetKind kind;
    kind.id = id;
    kind.section = "assets";
    kind.file = std::string("media/gfx/map/assets/") + file + ".png";
    kind.width = w;
    kind.height = h;
    kind.anchorX = w / 2;
    kind.anchorY = anchorY < 0 ? h - 4 : anchorY;
    kind.hits = std::move(hits);
    kind.draw = draw;
    return kind;
}

AssetKind StationKind(const char* id, const char* file, int w, int h) {
    AssetKind kind = Kind(id, file, w, h, {{0, -h / 3, h / 3}}, Station);
    kind.frames = 4;
    kind.disabledId = std::string(id) + "_DISABLED";
    kind.disabledFile = std::string("media/gfx/map/assets/") + file + "_disabled.png";
    return kind;
}

AssetKind Floating(AssetKind kind) {
    kind.floats = true;
    return kind;
}

AssetKind PostKind(const char* id, const char* file) {
    AssetKind kind = Kind(id, file, 92, 44, {{0, -30, 12}}, Signpost);
    kind.section = "mapscene";
    kind.file = std::string("media/gfx/map/") + file + ".png";
    kind.sideMargin = 28;
    return kind;
}

}  // namespace

const std::vector<AssetKind>& LandscapeKinds() {
    static const std::vector<AssetKind> kinds = {
        Kind("ASSET_TREE_ROUND", "tree_round", 34, 44, {{0, -18, 12}}, TreeRound),
        Kind("ASSET_TREE_PINE", "tree_pine", 28, 48, {{0, -20, 10}}, TreePine),
        Kind("ASSET_TREE_POPLAR", "tree_poplar", 20, 48, {{0, -20, 8}}, TreePoplar),
        Kind("ASSET_TREE_AUTUMN", "tree_autumn", 34, 44, {{0, -18, 12}}, TreeAutumn),
        Kind("ASSET_TREE_SNOWPINE", "tree_snowpine", 28, 48, {{0, -20, 10}}, TreeSnowPine),
        Kind("ASSET_BUSH", "bush", 26, 18, {{0, -6, 9}}, Bush),
        Kind("ASSET_FLOWERS", "flowers", 26, 14, {{0, -4, 9}}, Flowers),
        Kind("ASSET_REEDS", "reeds", 22, 22, {{0, -8, 8}}, Reeds),
        Kind("ASSET_HOUSE", "house", 38, 34, {{0, -12, 14}}, Cottage),
        Kind("ASSET_TOWNHOUSE", "townhouse", 30, 46, {{0, -18, 12}}, TownHouse),
        Kind("ASSET_FARM", "farm", 46, 38, {{0, -14, 16}}, Farm),
        Kind("ASSET_WINDMILL", "windmill", 40, 56, {{0, -18, 12}}, Windmill),
        Kind("ASSET_CHURCH", "church", 38, 58, {{0, -18, 14}}, Church),
        Kind("ASSET_TOWER", "tower", 26, 62, {{0, -24, 10}}, Tower),
        Kind("ASSET_LIGHTHOUSE", "lighthouse", 22, 60, {{0, -24, 9}}, Lighthouse),
        Kind("ASSET_HAYSTACK", "haystack", 24, 22, {{0, -7, 9}}, Haystack),
        Kind("ASSET_FIELD", "field", 52, 30, {{0, 0, 18}}, Field, 15),
        Kind("ASSET_POND", "pond", 50, 28, {{0, 0, 18}}, Pond, 14),
        Kind("ASSET_ROCKS", "rocks", 30, 22, {{0, -7, 11}}, Rocks),
        Kind("ASSET_HILL", "hill", 64, 34, {{0, -12, 22}}, Hill),
        Kind("ASSET_PEAK", "peak", 70, 54, {{0, -18, 24}}, Peak),
        Kind("ASSET_SHEEP", "sheep", 18, 13, {{0, -4, 6}}, Sheep, 11),
        Kind("ASSET_COW", "cow", 22, 15, {{0, -5, 7}}, Cow, 13),
        Floating(Kind("ASSET_BOAT", "boat", 30, 28, {{0, -7, 9}}, Boat)),
    };
    return kinds;
}

const std::vector<AssetKind>& StationKinds() {
    static const std::vector<AssetKind> kinds = {
        StationKind("STATION_HALT", "station_halt", 46, 36),
        StationKind("STATION_TOWN", "station_town", 60, 42),
        StationKind("STATION_GRAND", "station_grand", 72, 50),
        PostKind("POST_BLUE", "post_blue"),
        PostKind("POST_RED", "post_red"),
    };
    return kinds;
}

std::vector<MapPoint> FootingOf(const AssetKind& kind, int x, int y) {
    if (kind.floats) {
        // The hull and the patch of water drawn around it.
        return {{x - 13.0, y - 2.0}, {x + 13.0, y - 2.0}, {double(x), y - 7.0}, {double(x), y + 2.0}};
    }
    const double half = kind.width / 2.0 - kind.sideMargin;
    return {{x - half, double(y)}, {double(x), double(y)}, {x + half, double(y)}};
}

int KindIndex(const std::vector<AssetKind>& kinds, const std::string& id) {
    for (size_t i = 0; i < kinds.size(); ++i) {
        if (kinds[i].id == id) {
            return static_cast<int>(i);
        }
    }
    throw std::logic_error("no map sprite kind " + id);
}

// The station as the disabled button over an unbought city: four frames of
// the boarded look, lighter when pointed at.
Picture DrawDisabledStation(const AssetKind& kind) {
    std::vector<Picture> frames;
    for (int frame = 0; frame < 4; ++frame) {
        Picture picture = StationFrame(kind, LookOf(kind), 3);
        if (frame == 1) {
            for (size_t i = 0; i < picture.rgba.size(); i += 4) {
                for (int ch = 0; ch < 3; ++ch) {
                    picture.rgba[i + ch] = static_cast<uint8_t>(picture.rgba[i + ch] + (255 - picture.rgba[i + ch]) / 5);
                }
            }
        }
        frames.push_back(std::move(picture));
    }
    return StackFrames(frames);
}
