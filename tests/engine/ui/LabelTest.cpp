#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/media/Canvas.h"
#include "engine/scene/RenderPass.h"
#include "engine/ui/Label.h"
#include "engine/ui/SpriteLabel.h"

namespace {

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

TEST(LabelTest, LinesOfEachWrapStyle) {
    const Ref<BitmapFont> font = MakeTinyFont();
    const struct {
        int32_t wrap;
        int32_t width;
        std::wstring text;
        std::vector<std::wstring> lines;
    } cases[] = {
        {Label::kNoWrap, 5, L"abcdef\n\nx", {L"abcdef", L"", L"x"}},
        {Label::kTruncate, 20, L"abcd", {L"abcd"}},            // 19 wide: fits, never cut
        {Label::kTruncate, 20, L"abcdef\nab", {L"a...", L"ab"}},  // "a..." is 19, "ab..." 23
        {Label::kTruncate, 10, L"abcdef", {L"..."}},           // not even "..." fits
        {Label::kWordWrap, 30, L"ab cd ef", {L"ab cd", L"ef"}},  // the last space that fits
        {Label::kWordWrap, 12, L"abcdefg", {L"ab", L"cd", L"ef", L"g"}},  // a word wider than the label
        {Label::kWordWrap, 30, L"  ab cd ef", {L"ab", L"cd ef"}},
        {Label::kWordWrap, 30, L"ab\n\ncd", {L"ab", L"", L"cd"}},
        // Narrower than one character: one character a line, and it ends.
        {Label::kWordWrap, 3, L"abc", {L"a", L"b", L"c", L""}},
        {Label::kWordWrap, 1, L"ab", {L"a", L"b", L""}},
    };
    for (const auto& c : cases) {
        const Ref<Label> label(Label::LabelFromValues(0, 0, c.width, 0, font.Get(), c.wrap));
        label->SetWrapStyle(c.wrap);
        label->SetText(c.text);
        EXPECT_EQ(label->GetLines(), c.lines) << Narrow(c.text) << " in " << c.width;
        if (c.wrap != Label::kNoWrap) {
            EXPECT_EQ(label->GetHeight(), 6 * static_cast<int32_t>(c.lines.size())) << Narrow(c.text);
        }
    }
}

TEST(LabelTest, PlacesLinesByAlignmentAndAutoSize) {
    const Ref<BitmapFont> font = MakeTinyFont();
    // "ab" is 11 wide and "abcd" 19; lines are 6 apart, glyphs 4 high.
    const struct {
        bool autoSize;
        int32_t alignH;
        int32_t alignV;
        std::vector<float> xs;
        float firstY;
        Rect textRect;
    } cases[] = {
        {false, Label::kAlignLeft, Label::kAlignTop, {0, 0}, 0, {0, 0, 19, 12}},
        {false, Label::kAlignCenter, Label::kAlignMiddle, {14, 10}, 10, {10, 10, 19, 12}},
        {false, Label::kAlignRight, Label::kAlignBottom, {29, 21}, 20, {21, 20, 19, 12}},
        // Auto-sized lines are placed about the widest one, which starts at 0.
        {true, Label::kAlignCenter, Label::kAlignTop, {4, 0}, 0, {-9, 0, 19, 12}},
        {true, Label::kAlignRight, Label::kAlignTop, {8, 0}, 0, {-19, 0, 19, 12}},
    };
    for (const auto& c : cases) {
        const Ref<Label> label(Label::LabelFromValues(0, 0, 40, 30, font.Get(), Label::kNoWrap));
        label->SetAutoSize(c.autoSize);
        label->SetAlignH(c.alignH);
        label->SetAlignV(c.alignV);
        label->SetText(L"ab\\nabcd");
        const std::string name = std::to_string(c.alignH) + "/" + std::to_string(c.alignV) +
                                 (c.autoSize ? " auto" : "");
        ASSERT_EQ(label->GetLinePositions().size(), 2u) << name;
        for (size_t i = 0; i < 2; ++i) {
            EXPECT_EQ(label->GetLinePositions()[i].x, c.xs[i]) << name << " line " << i;
            EXPECT_EQ(label->GetLinePositions()[i].y, c.firstY + 6.0f * static_cast<float>(i)) << name;
        }
        EXPECT_EQ(label->GetTextRect(), c.textRect) << name;
        ASSERT_NE(label->GetImage(), nullptr) << name;
        // An auto-sized picture is exactly the text; the label one pixel wider.
        EXPECT_EQ(label->GetImage()->GetWidth(), c.autoSize ? 19 : 40) << name;
        EXPECT_EQ(label->GetImage()->GetHeight(), c.autoSize ? 12 : 30) << name;
        EXPECT_EQ(label->GetWidth(), c.autoSize ? 20 : 40) << name;
    }
}

TEST(LabelTest, RendersOnlyWhenTheTextChanges) {
    const Ref<BitmapFont> font = MakeTinyFont();
    const Ref<Label> label(Label::LabelFromValues(0, 0, 0, 0, font.Get(), Label::kNoWrap));
    label->SetText(L"ab");
    Surface* picture = label->GetImage();
    ASSERT_NE(picture, nullptr);
    // The first glyph's pixels: at the side pad, in the glyph's colour, opaque.
    EXPECT_EQ(picture->Pixels32()[1], 0xFF282828u);
    picture->Pixels32()[0] = 0x12345678;
    label->SetText(L"ab");
    EXPECT_EQ(picture->Pixels32()[0], 0x12345678u);
    label->SetColor(0x00FF00);  // a new colour renders again into the same picture
    EXPECT_EQ(label->GetImage(), picture);
    EXPECT_EQ(picture->Pixels32()[0], 0u);  // cleared to the picture font's own colour

    // An empty text drops the picture and keeps the width.
    label->SetAutoSize(false);
    label->SetText(L"");
    EXPECT_EQ(label->GetImage(), nullptr);
    EXPECT_EQ(label->GetWidth(), 12);
    EXPECT_EQ(label->GetLines(), std::vector<std::wstring>{L""});
}

TEST(LabelTest, ReadsItsDefinition) {
    const UiResources resources;
    Defines::Create();
    const Ref<PropertyValue> hello(PropertyValue::FromText("HELLO", L"hi", false));
    Defines::Instance()->StoreText(hello.Get());
    const struct {
        std::string attributes;
        bool autoSize;
        int32_t wrap;
        std::wstring text;
    } cases[] = {
        {"wrapstyle=\"wordwrap\" autofitsize=\"true\" text=\"ab\"", true, Label::kWordWrap, L"ab"},
        {"wrapstyle=\"truncate\" value=\"cd\"", false, Label::kTruncate, L"cd"},
        {"wrapstyle=\"sideways\" textid=\"HELLO\"", true, Label::kNoWrap, L"hi"},
    };
    for (const auto& c : cases) {
        const Ref<Label> label =
            BuildFromXml<Label>("<Label id=\"l\" font=\"TINY\" section=\"fonts\" width=\"30\" " + c.attributes + "/>");
        ASSERT_TRUE(label) << c.attributes;
        EXPECT_EQ(label->GetFont(), resources.tiny.Get());
        EXPECT_EQ(label->GetAutoSize(), c.autoSize) << c.attributes;
        EXPECT_EQ(label->GetWrapStyle(), c.wrap) << c.attributes;
        EXPECT_EQ(label->GetText(), c.text) << c.attributes;
    }
    Defines::ReleaseInstance();
}

// The label's picture and the glyph sprites, each drawn by the render pass
// onto a picture of its own.
std::vector<uint32_t> Drawn(GameNode& node) {
    const Ref<MemorySurface> target = CreateMemorySurface(48, 32);
    const Ref<Canvas> canvas = target->CreateCanvas();
    // Glyph sprites appear with the first draw.
    RenderPass::DrawNodeTree(*CreateMemorySurface(1, 1)->CreateCanvas(), node);
    RenderPass::DrawNodeTree(*canvas, node);
    // The grey level of each pixel, to the nearest 8: the label's picture is
    // blended twice on the way, the glyph sprites once, which rounds apart.
    std::vector<uint32_t> levels(target->Pixels32(), target->Pixels32() + 48 * 32);
    for (uint32_t& level : levels) {
        level = ((level & 0xFF) + 4) / 8;
    }
    return levels;
}

TEST(SpriteLabelTest, GlyphSpritesLandWhereTheLabelDrawsItsText) {
    const UiResources resources;
    const std::string attributes =
        "font=\"TINY\" section=\"fonts\" x=\"7\" y=\"5\" width=\"36\" height=\"20\" autofitsize=\"false\" "
        "alignh=\"center\" alignv=\"bottom\" anchorpoint_x=\"2\" anchorpoint_y=\"3\" text=\"a b\\ncd.\"";
    const Ref<Label> label = BuildFromXml<Label>("<Label id=\"l\" " + attributes + "/>");
    const Ref<SpriteLabel> sprites = BuildFromXml<SpriteLabel>("<SpriteLabel id=\"s\" " + attributes + "/>");
    ASSERT_TRUE(label && sprites);
    const std::vector<uint32_t> expected = Drawn(*label);
    const std::vector<uint32_t> drawn = Drawn(*sprites);
    EXPECT_EQ(drawn, expected);
    EXPECT_EQ(sprites->GetGlyphSprites().size(), 5u);  // the space is no sprite
    // The first glyph: the label at 7 less the anchor 2, the line "a b" (18
    // wide) centred at 9, the side pad; the first of two bottom-aligned lines
    // at 20 - 6 - 4, less the anchor 3 and the top pad.
    EXPECT_EQ(expected[(5 - 3 - 1 + 10) * 48 + 7 - 2 + 9 + 1], 5u);  // 'a' is 0x282828

    // A new text replaces the glyphs at the next draw.
    sprites->SetText(L"x");
    Drawn(*sprites);
    EXPECT_EQ(sprites->GetGlyphSprites().size(), 1u);
    sprites->SetAlpha(100);
    EXPECT_EQ(sprites->GetGlyphSprites()[0]->GetAlpha(), 100);
}

// Glyphs laid out before the first draw are the ones the draw keeps, so
// game code can animate them at once.
TEST(SpriteLabelTest, GlyphsBuiltBeforeTheFirstDrawAreKept) {
    const UiResources resources;
    const Ref<SpriteLabel> label =
        BuildFromXml<SpriteLabel>("<SpriteLabel id=\"s\" font=\"TINY\" section=\"fonts\" text=\"abc\"/>");
    ASSERT_TRUE(label);
    label->BuildGlyphs();
    const std::vector<Ref<Sprite>> built = label->GetGlyphSprites();
    ASSERT_EQ(built.size(), 3u);
    built[0]->SetAlpha(0);
    Drawn(*label);
    EXPECT_EQ(label->GetGlyphSprites(), built);
    EXPECT_EQ(built[0]->GetAlpha(), 0);
    EXPECT_FALSE(built[0]->IsRemoved());

    label->BuildGlyphs();  // again: the old glyphs leave
    EXPECT_TRUE(built[0]->IsRemoved());
    EXPECT_EQ(label->GetGlyphSprites().size(), 3u);
}

// Fading the label fades every letter by its own alpha: a letter that game
// code keeps hidden stays hidden, one fading in never outshines the label.
TEST(SpriteLabelTest, TheLabelAlphaScalesEachGlyphsOwnAlpha) {
    const UiResources resources;
    const Ref<SpriteLabel> label =
        BuildFromXml<SpriteLabel>("<SpriteLabel id=\"s\" font=\"TINY\" section=\"fonts\" text=\"abc\"/>");
    ASSERT_TRUE(label);
    label->BuildGlyphs();
    const std::vector<Ref<Sprite>> glyphs = label->GetGlyphSprites();
    ASSERT_EQ(glyphs.size(), 3u);
    glyphs[1]->SetAlpha(0);
    glyphs[2]->SetAlpha(51);
    label->SetAlpha(128);
    EXPECT_EQ(glyphs[0]->GetAlpha(), 128);
    EXPECT_EQ(glyphs[1]->GetAlpha(), 0);
    EXPECT_EQ(glyphs[2]->GetAlpha(), 25);
    glyphs[1]->SetAlpha(255);
    EXPECT_EQ(glyphs[1]->GetAlpha(), 128);
    label->SetAlpha(255);
    EXPECT_EQ(glyphs[2]->GetAlpha(), 51);
    // Glyphs built under a faded label start at its alpha.
    label->SetAlpha(64);
    label->BuildGlyphs();
    EXPECT_EQ(label->GetGlyphSprites()[0]->GetAlpha(), 64);
}

}  // namespace
