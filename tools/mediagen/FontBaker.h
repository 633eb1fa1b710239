#pragma once

#include <cstdint>
#include <string>

#include "mediagen/FontFaces.h"
#include "mediagen/Picture.h"

// How one bitmap font looks. A mask font holds only coverage, so the program
// can draw it in any colour; an image font has its colours baked in.
struct FontStyle {
    std::string face;  // a file of the font folder
    int pixelSize = 16;
    bool mask = true;
    uint32_t topColor = 0xFFFFFF;  // image fonts: fill, shaded from top to bottom
    uint32_t bottomColor = 0xFFFFFF;
    int outline = 0;  // image fonts: width of the outline in pixels
    uint32_t outlineColor = 0x000000;
    // Besides the characters 33 to 126, every further character Windows-1252
    // holds, named by its byte: for fonts that show what players type.
    bool windows1252 = false;
};

// The glyph picture and the glyph description of the characters 33 to 126
// (and more with `windows1252`). Every glyph cell spans the same line box
// with the glyph on the common baseline, because text is drawn with the top
// of every cell at one y.
struct BakedFont {
    Picture atlas;
    std::string format;
};

BakedFont BakeFont(FontFaces& faces, const FontStyle& style);
