#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/foundation/Color.h"
#include "engine/foundation/Ref.h"
#include "engine/media/BitmapFont.h"
#include "engine/media/Canvas.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "support/SoundFixtures.h"
#include "support/TempFolder.h"

namespace {

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFF0000FF;

std::string GlyphNode(const char* name, int x, int w, int h, int width, int offsetX) {
    return std::string("<Node id=\"") + name + "\"><Integer id=\"x\" value=\"" + std::to_string(x) +
           "\"/><Integer id=\"y\" value=\"0\"/><Integer id=\"w\" value=\"" + std::to_string(w) +
           "\"/><Integer id=\"h\" value=\"" + std::to_string(h) + "\"/><Integer id=\"width\" value=\"" +
           std::to_string(width) + "\"/><Integer id=\"offsetx\" value=\"" + std::to_string(offsetX) +
           "\"/></Node>";
}

// A six-by-three font picture: "A" red in columns 0-1, "B" green in 2-4 and
// the quote blue in column 5. "A" draws one pixel right of its pen, "B" is
// wider than its advance, and the second quote entry is the single quote.
class BitmapFontTest : public testing::Test {
protected:
    void SetUp() override {
        picture = CreateMemorySurface(6, 3);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 6; ++x) {
                picture->Pixels32()[y * 6 + x] = x < 2 ? kRed : x < 5 ? kGreen : kBlue;
            }
        }
        description = folder.Path() + "/font.xml";
        WriteDescription("<Node id=\"charsetinfo\"><Integer id=\"sidepad\" value=\"2\"/>"
                         "<Integer id=\"charspacing\" value=\"1\"/><Integer id=\"spacewidth\" value=\"4\"/></Node>");
        ASSERT_TRUE(font->Load(description, false, 0x123456, *picture, LoadMode::File));
    }

    void WriteDescription(const std::string& info) {
        const std::string xml = "<root><Vector id=\"charset\">" + GlyphNode("A", 0, 2, 2, 3, 1) +
                                GlyphNode("B", 2, 3, 2, 2, 0) + GlyphNode("&quot;", 5, 1, 2, 1, 0) +
                                GlyphNode("&quot;", 5, 1, 3, 2, 0) + "</Vector>" + info + "</root>";
        WriteBytes(description, std::vector<uint8_t>(xml.begin(), xml.end()));
    }

    TempFolder folder;
    std::string description;
    Ref<MemorySurface> picture;
    Ref<BitmapFont> font{new BitmapFont};
};

TEST_F(BitmapFontTest, MeasuresText) {
    const struct {
        std::wstring text;
        int first;
        int count;
        bool tight;
        int width;
    } cases[] = {
        {L"", 0, 100, false, 4},            // only the two side pads
        {L"A", 0, 100, false, 8},           // advance 3, spacing 1, pads 4
        {L"AB", 0, 100, false, 11},
        {L"A B", 0, 100, false, 16},        // a space is its width plus spacing
        {L"AZ\x100" L"B", 0, 100, false, 11},  // no glyph: no room, no spacing
        {L"\x141", 0, 1, false, 8},         // the low byte picks the glyph
        {L"AB", 1, 5, false, 7},
        {L"AB", 2, 1, false, 4},            // first at the end
        {L"AB", 0, 1, false, 8},
        {L"AB", 0, 100, true, 12},          // A loses its offset; B counts its picture + 1
        {L"A", 0, 100, true, 8},
        {L"'\"", 0, 100, false, 9},         // single quote advance 2, double quote 1
    };
    for (const auto& c : cases) {
        EXPECT_EQ(font->GetTextWidth(c.text, c.first, c.count, c.tight), c.width)
            << std::string(c.text.begin(), c.text.end()) << " from " << c.first << (c.tight ? " tight" : "");
    }
}

TEST_F(BitmapFontTest, GlyphsQuotesAndLineHeight) {
    EXPECT_TRUE(font->HasGlyph(L' '));
    EXPECT_TRUE(font->HasGlyph(L'A'));
    EXPECT_TRUE(font->HasGlyph(L'\x141'));
    EXPECT_FALSE(font->HasGlyph(L'Z'));
    EXPECT_EQ(font->GetGlyph(L'"').h, 2);
    EXPECT_EQ(font->GetGlyph(L'\'').h, 3);
    EXPECT_EQ(font->GetLineHeight(), 3);  // the last glyph's height
    EXPECT_EQ(font->GetSidePad(), 2);
    EXPECT_EQ(font->ResolveColor(0xABCDEF), 0x123456u);  // a picture font keeps its colour

    WriteDescription("<Node id=\"charsetinfo\"><Integer id=\"lineheight\" value=\"7\"/></Node>");
    const Ref<BitmapFont> other(new BitmapFont);
    ASSERT_TRUE(other->Load(description, true, 0x123456, *picture, LoadMode::File));
    EXPECT_EQ(other->GetLineHeight(), 7);
    EXPECT_EQ(other->ResolveColor(0xABCDEF), 0xABCDEFu);  // a mask font takes any colour
}

TEST_F(BitmapFontTest, DrawsFromThePenAndRaisesTheTargetAlpha) {
    picture->SetUseAlphaChannel(false);  // glyphs are copied, so the pixels compare exactly
    const Ref<MemorySurface> target = CreateMemorySurface(16, 4);
    const Ref<Canvas> canvas = target->CreateCanvas();
    font->DrawText(*canvas, L"AB", 3, 1);
    const auto pixel = [&](int x, int y) { return target->Pixels32()[y * 16 + x]; };
    // The first glyph lands at x + side pad, whatever its offset.
    EXPECT_EQ(pixel(4, 1), 0u);
    EXPECT_EQ(pixel(5, 1), kRed);
    EXPECT_EQ(pixel(6, 2), kRed);
    EXPECT_EQ(pixel(7, 1), 0u);
    // The pen moved by the advance and the spacing: 5 - 1 + 3 + 1.
    EXPECT_EQ(pixel(8, 1), kGreen);
    EXPECT_EQ(pixel(10, 2), kGreen);
    EXPECT_EQ(pixel(11, 1), 0u);
    EXPECT_EQ(pixel(5, 3), 0u);
}

TEST_F(BitmapFontTest, MaskFontPaintsTheCanvasColour) {
    const Ref<BitmapFont> maskFont(new BitmapFont);
    ASSERT_TRUE(maskFont->Load(description, true, 0, *picture, LoadMode::File));
    const Ref<MemorySurface> target = CreateMemorySurface(16, 4);
    const Ref<Canvas> canvas = target->CreateCanvas();
    canvas->SetColor(Color(0x0000FF));
    maskFont->DrawText(*canvas, L"B", 0, 0);
    // Blending through a full mask byte leaves the colour a step short of full.
    const auto isBlue = [](uint32_t pixel) { return (pixel & 0xFFFFFF00) == 0xFF000000 && (pixel & 0xFF) >= 0xFC; };
    EXPECT_TRUE(isBlue(target->Pixels32()[2]));
    EXPECT_TRUE(isBlue(target->Pixels32()[16 + 4]));
    EXPECT_EQ(target->Pixels32()[1], 0u);
    EXPECT_EQ(target->Pixels32()[5], 0u);
}

TEST_F(BitmapFontTest, MissingOrEmptyDescriptionsLoadNoFont) {
    const Ref<BitmapFont> missing(new BitmapFont);
    EXPECT_FALSE(missing->Load(folder.Path() + "/none.xml", false, 0, *picture, LoadMode::File));
    const std::string empty = folder.Path() + "/empty.xml";
    const std::string xml = "<root><Node id=\"charsetinfo\"/></root>";
    WriteBytes(empty, std::vector<uint8_t>(xml.begin(), xml.end()));
    const Ref<BitmapFont> noGlyphs(new BitmapFont);
    EXPECT_FALSE(noGlyphs->Load(empty, false, 0, *picture, LoadMode::File));
    EXPECT_EQ(noGlyphs->GetTextWidth(L"AB", 0, 2, false), 0);
}

}  // namespace
