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

}  // namespace
