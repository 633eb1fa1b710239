#include <gtest/gtest.h>

#include <map>
#include <string>

#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/Ref.h"
#include "mediagen/FontBaker.h"

namespace {

struct Glyph {
    int x, y, w, h, width, offsetx;
};

struct ReadFont {
    std::map<char, Glyph> glyphs;
    std::map<std::string, int> info;
};

// Reads a glyph description the way the program's fonts read it.
ReadFont Parse(const std::string& format) {
    Ref<PropertyFile> file = new PropertyFile;
    EXPECT_TRUE(file->LoadFromMemory(format.data(), format.size(), "font.xml"));
    ReadFont font;
    const Property* charset = Property::Child(file.Get(), "charset");
    for (int i = 0; const Property* node = Property::At(charset, i); ++i) {
        auto key = [node](const char* name) { return Property::AsInt(Property::Child(node, name)); };
        font.glyphs[node->Name()[0]] = {key("x"), key("y"), key("w"), key("h"), key("width"), key("offsetx")};
    }
    const Property* info = Property::Child(file.Get(), "charsetinfo");
    for (const char* name : {"sidepad", "toppad", "bottompad", "charspacing", "spacewidth", "lineheight", "baseline"}) {
        font.info[name] = Property::AsInt(Property::Child(info, name));
    }
    return font;
}

// The first row with ink, or -1 when the glyph has none.
int HighestInkRow(const Picture& atlas, const Glyph& glyph) {
    for (int y = 0; y < glyph.h; ++y) {
        for (int x = 0; x < glyph.w; ++x) {
            if (atlas.Pixel(glyph.x + x, glyph.y + y)[3] > 0) {
                return y;
            }
        }
    }
    return -1;
}

int LowestInkRow(const Picture& atlas, const Glyph& glyph) {
    int lowest = -1;
    for (int y = 0; y < glyph.h; ++y) {
        for (int x = 0; x < glyph.w; ++x) {
            if (atlas.Pixel(glyph.x + x, glyph.y + y)[3] > 0) {
                lowest = y;
            }
        }
    }
    return lowest;
}

TEST(FontBaker, EveryPrintableGlyphSharesOneLineBox) {
    FontFaces faces(WORDRAIL_FONT_FOLDER);
    FontStyle style;
    style.face = "DejaVuSans.ttf";
    style.pixelSize = 16;
    const BakedFont baked = BakeFont(faces, style);
    const ReadFont font = Parse(baked.format);

    ASSERT_EQ(font.glyphs.size(), 94u);
    EXPECT_EQ(font.glyphs.count('"'), 1u);  // escaped ids come back as their character
    EXPECT_EQ(font.glyphs.count('<'), 1u);
    EXPECT_EQ(font.glyphs.count('&'), 1u);
    const int lineHeight = font.info.at("lineheight");
    for (const auto& [c, glyph] : font.glyphs) {
        EXPECT_EQ(glyph.h, lineHeight) << c;
        EXPECT_GT(glyph.width, 0) << c;
        EXPECT_LE(glyph.x + glyph.w, baked.atlas.width) << c;
        EXPECT_LE(glyph.y + glyph.h, baked.atlas.height) << c;
    }
    const int baseline = font.info.at("baseline");
    EXPECT_GT(LowestInkRow(baked.atlas, font.glyphs.at('g')), baseline);  // a descender
    EXPECT_LE(LowestInkRow(baked.atlas, font.glyphs.at('A')), baseline);
    EXPECT_GT(font.info.at("spacewidth"), 0);
    EXPECT_EQ(font.info.at("sidepad"), 0);
    // A mask font carries its coverage in every channel.
    const uint8_t* pixel = baked.atlas.Pixel(font.glyphs.at('l').x + font.glyphs.at('l').w / 2,
                                             font.glyphs.at('l').y + baseline - 2);
    EXPECT_EQ(pixel[0], pixel[3]);
    EXPECT_GT(pixel[3], 200);
}

TEST(FontBaker, ImageFontsBakeTheirOutline) {
    FontFaces faces(WORDRAIL_FONT_FOLDER);
    const FontStyle style{"DejaVuSans-Bold.ttf", 24, false, 0xFF0000, 0xFF0000, 2, 0x0000FF};
    const BakedFont baked = BakeFont(faces, style);
    const ReadFont font = Parse(baked.format);

    EXPECT_EQ(font.info.at("sidepad"), 2);
    const Glyph& bar = font.glyphs.at('I');
    // Across the middle of "I": outline, then fill, then outline again.
    const int y = bar.y + font.info.at("baseline") - 8;
    const uint8_t* left = baked.atlas.Pixel(bar.x + 1, y);
    const uint8_t* middle = baked.atlas.Pixel(bar.x + bar.w / 2, y);
    EXPECT_EQ(left[2], 255);
    EXPECT_EQ(left[0], 0);
    EXPECT_EQ(middle[0], 255);
    EXPECT_EQ(middle[3], 255);
    EXPECT_THROW(BakeFont(faces, FontStyle{"NoSuchFont.ttf"}), std::runtime_error);
}

// Typed names keep their letters as Windows-1252 bytes, which the program
// looks glyphs up by.
TEST(FontBaker, NameFontsHoldTheWindows1252LettersUnderTheirBytes) {
    FontFaces faces(WORDRAIL_FONT_FOLDER);
    for (const char* faceName : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"}) {
        FontStyle style;
        style.face = faceName;
        style.pixelSize = 20;
        const BakedFont ascii = BakeFont(faces, style);
        style.windows1252 = true;
        const BakedFont baked = BakeFont(faces, style);
        const ReadFont font = Parse(baked.format);

        // Each accented letter is its base letter with a mark above it, so
        // neither a byte read as another character nor a missing glyph box passes.
        const struct {
            char letter, base;
        } kAccented[] = {{'\xE9', 'e'}, {'\xEB', 'e'}, {'\xF1', 'n'}, {'\xC9', 'E'},
                         {'\x8E', 'Z'}, {'\x9A', 's'}, {'\x9F', 'Y'}};
        for (const auto& [letter, base] : kAccented) {
            ASSERT_EQ(font.glyphs.count(letter), 1u) << faceName << " " << int(uint8_t(letter));
            const Glyph& accented = font.glyphs.at(letter);
            const Glyph& plain = font.glyphs.at(base);
            EXPECT_EQ(accented.width, plain.width) << faceName << " " << int(uint8_t(letter));
            EXPECT_LT(HighestInkRow(baked.atlas, accented), HighestInkRow(baked.atlas, plain))
                << faceName << " " << int(uint8_t(letter));
        }
        for (const char letter : {'\xDF', '\x80', '\x9C', '\xFF'}) {  // ß € œ ÿ
            ASSERT_EQ(font.glyphs.count(letter), 1u) << faceName << " " << int(uint8_t(letter));
            EXPECT_GE(HighestInkRow(baked.atlas, font.glyphs.at(letter)), 0) << faceName;
        }
        for (int byte = 0xA0; byte <= 0xFF; ++byte) {
            EXPECT_EQ(font.glyphs.count(static_cast<char>(byte)), 1u) << faceName << " " << byte;
        }
        // The five bytes Windows-1252 leaves unassigned have no glyph.
        for (const char unassigned : {'\x81', '\x8D', '\x8F', '\x90', '\x9D'}) {
            EXPECT_EQ(font.glyphs.count(unassigned), 0u) << faceName << " " << int(uint8_t(unassigned));
        }
        // Text in the font sits where it sat with ASCII alone.
        EXPECT_EQ(font.info, Parse(ascii.format).info) << faceName;
        EXPECT_EQ(font.glyphs.at('A').width, Parse(ascii.format).glyphs.at('A').width) << faceName;
    }
}

}  // namespace
