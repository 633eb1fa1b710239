#include "mediagen/Drawing.h"

#include <cairo-ft.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace {

// The code points of UTF-8 text; a malformed sequence is refused, since it
// would be drawn as a box just like a missing glyph.
std::vector<char32_t> CodePoints(const std::string& text) {
    std::vector<char32_t> points;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size()) {
            throw std::runtime_error("caption \"" + text + "\" is not UTF-8");
        }
        char32_t point = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                throw std::runtime_error("caption \"" + text + "\" is not UTF-8");
            }
            point = (point << 6) | (next & 0x3F);
        }
        points.push_back(point);
        i += length;
    }
    return points;
}

// Refuses a caption the face cannot draw: a missing glyph would ship as a box.
void RequireGlyphs(FT_Face face, const std::string& faceName, const std::string& text) {
    for (const char32_t point : CodePoints(text)) {
        if (FT_Get_Char_Index(face, point) == 0) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(point));
            throw std::runtime_error(faceName + " has no glyph for " + code + " in caption \"" + text + "\"");
        }
    }
}

void AddStop(cairo_pattern_t* pattern, double offset, const Rgba& color) {
    cairo_pattern_add_color_stop_rgba(pattern, offset, color.r, color.g, color.b, color.a);
}

void FillWithPattern(cairo_t* cairo, cairo_pattern_t* pattern) {
    cairo_set_source(cairo, pattern);
    cairo_fill(cairo);
    cairo_pattern_destroy(pattern);
}

}  // namespace

Rgba Rgba::FromHex(uint32_t rgb, double alpha) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha};
}

uint32_t Rgba::ToHex() const {
    const auto channel = [](double value) {
        return static_cast<uint32_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255.0));
    };
    return channel(r) << 16 | channel(g) << 8 | channel(b);
}

Rgba Rgba::Shaded(double amount) const {
    const double target = amount > 0 ? 1.0 : 0.0;
    const double t = std::fabs(amount);
    return {r + (target - r) * t, g + (target - g) * t, b + (target - b) * t, a};
}

Rgba Rgba::Greyed() const {
    const double grey = 0.3 * r + 0.59 * g + 0.11 * b;
    return {grey, grey, grey, a};
}

Drawing::Drawing(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cairo_(cairo_create(surface_)) {
    if (cairo_status(cairo_) != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error("cannot create a drawing");
    }
}

Drawing::~Drawing() {
    cairo_destroy(cairo_);
    cairo_surface_destroy(surface_);
}

void Drawing::RoundedRectangle(double x, double y, double w, double h, double radius) {
    const double r = std::min(radius, std::min(w, h) / 2);
    cairo_new_sub_path(cairo_);
    cairo_arc(cairo_, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cairo_, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cairo_, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cairo_, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cairo_);
}

void Drawing::Circle(double cx, double cy, double radius) {
    cairo_new_sub_path(cairo_);
    cairo_arc(cairo_, cx, cy, radius, 0, 2 * M_PI);
}

void Drawing::Fill(const Rgba& color) {
    SetColor(cairo_, color);
    cairo_fill(cairo_);
}

void Drawing::FillVertical(double top, double bottom, const Rgba& topColor, const Rgba& bottomColor) {
    cairo_pattern_t* pattern = cairo_pattern_create_linear(0, top, 0, bottom);
    AddStop(pattern, 0, topColor);
    AddStop(pattern, 1, bottomColor);
    FillWithPattern(cairo_, pattern);
}

void Drawing::FillRadial(double cx, double cy, double radius, const Rgba& inner, const Rgba& outer) {
    cairo_pattern_t* pattern = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
    AddStop(pattern, 0, inner);
    AddStop(pattern, 1, outer);
    FillWithPattern(cairo_, pattern);
}

void Drawing::Stroke(const Rgba& color, double width) {
    SetColor(cairo_, color);
    cairo_set_line_width(cairo_, width);
    cairo_stroke(cairo_);
}

void Drawing::Caption(FontFaces& faces, const std::string& face, double pixelSize, const std::string& text, double cx,
                      double baselineY, const Rgba& color) {
    FT_Face ftFace = faces.Face(face);
    RequireGlyphs(ftFace, face, text);
    cairo_font_face_t* fontFace = cairo_ft_font_face_create_for_ft_face(ftFace, 0);
    cairo_set_font_face(cairo_, fontFace);
    cairo_set_font_size(cairo_, pixelSize);
    cairo_text_extents_t extents;
    cairo_text_extents(cairo_, text.c_str(), &extents);
    cairo_move_to(cairo_, std::round(cx - extents.x_advance / 2), baselineY);
    SetColor(cairo_, color);
    cairo_show_text(cairo_, text.c_str());
    cairo_set_font_face(cairo_, nullptr);
    cairo_font_face_destroy(fontFace);
}

Picture Drawing::ToPicture() const {
    cairo_surface_flush(surface_);
    Picture picture(width_, height_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            uint32_t argb;
            std::memcpy(&argb, data + static_cast<size_t>(y) * stride + x * 4, 4);  // native-endian words
            const uint32_t a = argb >> 24;
            uint8_t* out = picture.Pixel(x, y);
            for (int c = 0; c < 3; ++c) {
                const uint32_t premultiplied = (argb >> (16 - 8 * c)) & 0xFF;
                out[c] = a == 0 ? 0 : static_cast<uint8_t>(std::min<uint32_t>(255, (premultiplied * 255 + a / 2) / a));
            }
            out[3] = static_cast<uint8_t>(a);
        }
    }
    return picture;
}

void SetColor(cairo_t* cairo, const Rgba& color) { cairo_set_source_rgba(cairo, color.r, color.g, color.b, color.a); }

void EllipsePath(cairo_t* cairo, double cx, double cy, double rx, double ry, double angle) {
    cairo_save(cairo);
    cairo_translate(cairo, cx, cy);
    cairo_rotate(cairo, angle);
    cairo_scale(cairo, rx, ry);
    cairo_new_sub_path(cairo);
    cairo_arc(cairo, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cairo);
}

void StarPath(cairo_t* cairo, double cx, double cy, double outer, double inner, double turn) {
    constexpr double kPi = 3.14159265358979323846;
    cairo_new_path(cairo);
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 == 0 ? outer : inner;
        const double angle = -kPi / 2 + i * kPi / 5 + turn;
        cairo_line_to(cairo, cx + radius * std::cos(angle), cy + radius * std::sin(angle));
    }
    cairo_close_path(cairo);
}

void EnginePath(cairo_t* cairo, double cx, double cy, double width) {
    constexpr double kPi = 3.14159265358979323846;
    // In halves of the width, from the centre.
    const double unit = width / 2;
    const auto box = [&](double left, double top, double right, double bottom) {
        cairo_rectangle(cairo, cx + left * unit, cy + top * unit, (right - left) * unit, (bottom - top) * unit);
    };
    cairo_new_path(cairo);
    box(-0.8, -0.2, 0.4, 0.3);    // boiler
    box(-0.62, -0.6, -0.38, -0.2);  // chimney
    box(0.3, -0.65, 0.9, 0.3);    // cab
    box(0.22, -0.75, 1.0, -0.62);   // cab roof
    for (const double x : {-0.55, 0.0, 0.55}) {
        cairo_new_sub_path(cairo);
        cairo_arc(cairo, cx + x * unit, cy + 0.5 * unit, 0.24 * unit, 0, 2 * kPi);
    }
}

Picture StackFrames(const std::vector<Picture>& frames) {
    if (frames.empty()) {
        return {};
    }
    const int width = frames.front().width;
    const int height = frames.front().height;
    Picture strip(width, height * static_cast<int>(frames.size()));
    for (size_t i = 0; i < frames.size(); ++i) {
        if (frames[i].width != width || frames[i].height != height) {
            throw std::logic_error("frames of a strip differ in size");
        }
        std::memcpy(strip.Pixel(0, height * static_cast<int>(i)), frames[i].rgba.data(), frames[i].rgba.size());
    }
    return strip;
}
