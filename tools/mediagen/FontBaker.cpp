#include "mediagen/FontBaker.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "mediagen/Manifest.h"
#include "platform/CodePage.h"

namespace {

constexpr int kFirstChar = 33;
constexpr int kLastChar = 126;
constexpr int kAtlasWidth = 512;
constexpr int kGap = 1;  // keeps neighbouring glyphs apart when scaled

// One character of a font: the byte that names it and the code point drawn.
struct Character {
    unsigned char byte;
    char32_t codePoint;
};

std::vector<Character> CharactersOf(const FontStyle& style) {
    std::vector<Character> characters;
    for (int c = kFirstChar; c <= kLastChar; ++c) {
        characters.push_back({static_cast<unsigned char>(c), static_cast<char32_t>(c)});
    }
    for (int c = 0x80; style.windows1252 && c <= 0xFF; ++c) {
        const auto byte = static_cast<unsigned char>(c);
        const char32_t codePoint = platform::Cp1252ToUnicode(byte);
        if (c >= 0xA0 || codePoint != byte) {  // the five unassigned bytes stay C1 controls
            characters.push_back({byte, codePoint});
        }
    }
    return characters;
}

// Coverage (0..255) of one glyph cell.
struct Cell {
    int width = 0;
    std::vector<uint8_t> coverage;
    int advance = 0;
    int offsetX = 0;
};

uint8_t Channel(uint32_t color, int shift) { return static_cast<uint8_t>((color >> shift) & 0xFF); }

// The largest coverage within `radius` of each pixel: a round outline.
std::vector<uint8_t> Dilate(const std::vector<uint8_t>& coverage, int width, int height, int radius) {
    std::vector<uint8_t> out(coverage.size(), 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t best = 0;
            for (int dy = -radius; dy <= radius; ++dy) {
                for (int dx = -radius; dx <= radius; ++dx) {
                    const int sx = x + dx;
                    const int sy = y + dy;
                    if (sx >= 0 && sy >= 0 && sx < width && sy < height && dx * dx + dy * dy <= radius * radius + radius) {
                        best = std::max(best, coverage[static_cast<size_t>(sy) * width + sx]);
                    }
                }
            }
            out[static_cast<size_t>(y) * width + x] = best;
        }
    }
    return out;
}

void PaintCell(const Cell& cell, int cellHeight, const FontStyle& style, Picture& atlas, int left, int top) {
    const std::vector<uint8_t> outline =
        style.outline > 0 ? Dilate(cell.coverage, cell.width, cellHeight, style.outline) : std::vector<uint8_t>();
    for (int y = 0; y < cellHeight; ++y) {
        const double shade = cellHeight > 1 ? static_cast<double>(y) / (cellHeight - 1) : 0.0;
        for (int x = 0; x < cell.width; ++x) {
            const size_t i = static_cast<size_t>(y) * cell.width + x;
            uint8_t* pixel = atlas.Pixel(left + x, top + y);
            const double fill = cell.coverage[i] / 255.0;
            if (style.mask) {
                pixel[0] = pixel[1] = pixel[2] = pixel[3] = cell.coverage[i];
                continue;
            }
            const double edge = outline.empty() ? 0.0 : outline[i] / 255.0;
            const double alpha = fill + edge * (1.0 - fill);
            if (alpha <= 0.0) {
                continue;
            }
            for (int c = 0; c < 3; ++c) {
                const int shift = 16 - 8 * c;
                const double body = Channel(style.topColor, shift) * (1.0 - shade) + Channel(style.bottomColor, shift) * shade;
                const double rim = Channel(style.outlineColor, shift);
                pixel[c] = static_cast<uint8_t>(std::lround((body * fill + rim * edge * (1.0 - fill)) / alpha));
            }
            pixel[3] = static_cast<uint8_t>(std::lround(alpha * 255.0));
        }
    }
}

int BlankRowsFromTop(const Cell& cell, int cellHeight) {
    for (int y = 0; y < cellHeight; ++y) {
        for (int x = 0; x < cell.width; ++x) {
            if (cell.coverage[static_cast<size_t>(y) * cell.width + x] != 0) {
                return y;
            }
        }
    }
    return cellHeight;
}

int BlankRowsFromBottom(const Cell& cell, int cellHeight) {
    for (int y = cellHeight - 1; y >= 0; --y) {
        for (int x = 0; x < cell.width; ++x) {
            if (cell.coverage[static_cast<size_t>(y) * cell.width + x] != 0) {
                return cellHeight - 1 - y;
            }
        }
    }
    return cellHeight;
}

std::string Attribute(const char* name, int value) { return std::string(" ") + name + "=\"" + std::to_string(value) + "\""; }

}  // namespace

BakedFont BakeFont(FontFaces& faces, const FontStyle& style) {
    FT_Face face = faces.Face(style.face);
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(style.pixelSize)) != 0) {
        throw std::runtime_error("cannot size font " + style.face);
    }
    const int pad = style.outline;
    const int ascent = static_cast<int>((face->size->metrics.ascender + 63) / 64);
    const int descent = static_cast<int>((-face->size->metrics.descender + 63) / 64);
    const int cellHeight = ascent + descent + 2 * pad;
    const int baseline = pad + ascent;

    const std::vector<Character> characters = CharactersOf(style);
    std::vector<Cell> cells;
    for (const Character& character : characters) {
        if (FT_Get_Char_Index(face, character.codePoint) == 0 ||
            FT_Load_Char(face, character.codePoint, FT_LOAD_RENDER) != 0) {
            throw std::runtime_error("cannot render character " + std::to_string(character.codePoint) + " of " +
                                     style.face);
        }
        const FT_GlyphSlot glyph = face->glyph;
        const FT_Bitmap& bitmap = glyph->bitmap;
        Cell cell;
        cell.width = static_cast<int>(bitmap.width) + 2 * pad;
        cell.coverage.assign(static_cast<size_t>(cell.width) * cellHeight, 0);
        cell.advance = static_cast<int>((glyph->advance.x + 32) >> 6);
        cell.offsetX = glyph->bitmap_left - pad;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            const int y = baseline - glyph->bitmap_top + static_cast<int>(row);
            if (y < 0 || y >= cellHeight) {
                continue;  // beyond the line box: cut, as every cell has one height
            }
            for (unsigned col = 0; col < bitmap.width; ++col) {
                cell.coverage[static_cast<size_t>(y) * cell.width + pad + col] =
                    bitmap.buffer[static_cast<size_t>(row) * bitmap.pitch + col];
            }
        }
        cells.push_back(std::move(cell));
    }

    // Lay the cells out in rows of the atlas width.
    std::vector<std::pair<int, int>> places;
    int x = 0;
    int y = 0;
    for (const Cell& cell : cells) {
        if (x + cell.width > kAtlasWidth) {
            x = 0;
            y += cellHeight + kGap;
        }
        places.emplace_back(x, y);
        x += cell.width + kGap;
    }

    BakedFont baked;
    baked.atlas = Picture(kAtlasWidth, y + cellHeight);
    std::string charset;
    int topPad = cellHeight;
    int bottomPad = cellHeight;
    for (size_t i = 0; i < cells.size(); ++i) {
        const Cell& cell = cells[i];
        PaintCell(cell, cellHeight, style, baked.atlas, places[i].first, places[i].second);
        // The pads place text by the ink of ASCII alone, so a font keeps its
        // place on screen whatever else it holds: accents over capitals
        // reach into the top pad as they reach above capitals in print.
        if (characters[i].byte <= kLastChar) {
            // The outline reaches `pad` rows beyond the coverage.
            topPad = std::min(topPad, std::max(0, BlankRowsFromTop(cell, cellHeight) - pad));
            bottomPad = std::min(bottomPad, std::max(0, BlankRowsFromBottom(cell, cellHeight) - pad));
        }
        const std::string name(1, static_cast<char>(characters[i].byte));
        charset += "    <Node id=\"" + XmlEscape(name) + "\"" + Attribute("x", places[i].first) +
                   Attribute("y", places[i].second) + Attribute("w", cell.width) + Attribute("h", cellHeight) +
                   Attribute("width", cell.advance) + Attribute("offsetx", cell.offsetX) + "/>\n";
    }
    if (FT_Load_Char(face, ' ', FT_LOAD_DEFAULT) != 0) {
        throw std::runtime_error("no space in " + style.face);
    }
    const int spaceWidth = static_cast<int>((face->glyph->advance.x + 32) >> 6);
    baked.format = "<root>\n  <Vector id=\"charset\">\n" + charset + "  </Vector>\n  <Node id=\"charsetinfo\"" +
                   Attribute("sidepad", pad) + Attribute("toppad", topPad) + Attribute("bottompad", bottomPad) +
                   Attribute("charspacing", 0) + Attribute("spacewidth", spaceWidth) +
                   Attribute("lineheight", cellHeight) + Attribute("baseline", baseline) + "/>\n</root>\n";
    return baked;
}
