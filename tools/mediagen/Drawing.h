#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

#include "mediagen/FontFaces.h"
#include "mediagen/Picture.h"

// A colour with straight alpha, each channel 0..1.
struct Rgba {
    double r = 0;
    double g = 0;
    double b = 0;
    double a = 1;

    static Rgba FromHex(uint32_t rgb, double alpha = 1.0);
    // The 0xRRGGBB value, alpha dropped.
    uint32_t ToHex() const;
    // Towards white (amount > 0) or black (amount < 0), amount in -1..1.
    Rgba Shaded(double amount) const;
    // The grey of equal brightness, for disabled looks.
    Rgba Greyed() const;
};

// The drawing kit the art families share: an anti-aliased cairo canvas with
// the shapes, fills and captions they are made of. Cairo's software
// rasteriser gives the same pixels on every run.
class Drawing {
public:
    Drawing(int width, int height);
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;
    ~Drawing();

    int Width() const { return width_; }
    int Height() const { return height_; }
    cairo_t* Context() const { return cairo_; }

    // Path helpers: they set the current path, which a fill or stroke uses.
    void RoundedRectangle(double x, double y, double w, double h, double radius);
    void Circle(double cx, double cy, double radius);

    void Fill(const Rgba& color);
    void FillVertical(double top, double bottom, const Rgba& topColor, const Rgba& bottomColor);
    void FillRadial(double cx, double cy, double radius, const Rgba& inner, const Rgba& outer);
    void Stroke(const Rgba& color, double width);

    // Text centred on cx with its baseline at y, in a face of the font folder.
    // Throws when the face lacks a glyph of the (UTF-8) text.
    void Caption(FontFaces& faces, const std::string& face, double pixelSize, const std::string& text, double cx,
                 double baselineY, const Rgba& color);

    // The pixels, converted to straight alpha.
    Picture ToPicture() const;

private:
    int width_;
    int height_;
    cairo_surface_t* surface_;
    cairo_t* cairo_;
};

// Path and colour helpers for art drawn on the cairo context directly.
void SetColor(cairo_t* cairo, const Rgba& color);
// An ellipse as a new sub-path, turned by `angle` radians about its centre.
void EllipsePath(cairo_t* cairo, double cx, double cy, double rx, double ry, double angle = 0);

// A five-pointed star as a new path, a point straight up, turned by `turn`
// radians about its centre.
void StarPath(cairo_t* cairo, double cx, double cy, double outer, double inner, double turn = 0);
// A small steam engine seen from the side, facing left, as a new path of
// filled shapes: boiler, chimney, cab and three wheels. It is `width` wide,
// centred on (cx, cy): the emblem of tickets and the first rank.
void EnginePath(cairo_t* cairo, double cx, double cy, double width);
// Frames of equal size stacked top to bottom: the strip layout sprites read.
Picture StackFrames(const std::vector<Picture>& frames);
