#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <string>

#include "engine/foundation/Archive.h"
#include "engine/foundation/Ref.h"
#include "engine/media/Canvas.h"
#include "engine/media/ChannelMap.h"
#include "engine/media/Surface.h"

class PropertyNode;

// Single-byte text drawn from glyph rectangles cut out of one font picture.
// The glyphs and spacing come from a description file: a vector "charset" of
// nodes named by their character, and a node "charsetinfo".
class BitmapFont : public CanvasFont {
    ENGINE_CLASS(BitmapFont, CanvasFont)

public:
    struct Glyph {
        bool defined = false;
        int32_t x = 0;
        int32_t y = 0;
        int32_t w = 0;
        int32_t h = 0;
        int32_t width = 0;
        int32_t offsetX = 0;
    };

    BitmapFont() = default;

    // Takes the picture (and, for a mask-only picture, its alpha as the mask)
    // and reads the description in `loadMode`. False when the description
    // could not be read or defines no glyph.
    bool Load(const std::string& formatFile, bool onlyMask, uint32_t color, Surface& surface, LoadMode loadMode);
    // Takes the font picture; a mask-only picture's alpha becomes the mask
    // that text is painted through in the canvas colour.
    void UsePicture(bool onlyMask, uint32_t color, Surface& surface);
    // Reads the glyphs and spacing from a description tree.
    void ReadFormat(const PropertyNode& description);

    void DrawText(Canvas& canvas, const std::wstring& text, int32_t x, int32_t y) override;
    // Walks the text as DrawText places it, calling place(glyph, x) with the
    // x of each drawn glyph's picture: the first glyph lands at x + sidePad,
    // a space advances the pen by its width and the spacing.
    template <typename Place>
    void PlaceGlyphs(const std::wstring& text, int32_t x, Place&& place) const;
    // Width of `count` characters from `first`, pads included. With `tight`
    // the first glyph's offset is taken off and the last glyph counts its
    // whole picture when that is wider than its advance.
    int32_t GetTextWidth(const std::wstring& text, int32_t first, int32_t count, bool tight) const;
    int32_t GetFontType() const { return 2; }
    // A mask font can be drawn in any colour, a picture font only in its own.
    uint32_t ResolveColor(uint32_t requested) const { return mask_ ? requested : color_; }
    bool HasGlyph(wchar_t character) const;
    int32_t GetTopPad() const { return topPad_; }
    int32_t GetBottomPad() const { return bottomPad_; }
    int32_t GetSidePad() const { return sidePad_; }
    int32_t GetLineHeight() const { return lineHeight_ > 0 ? lineHeight_ : glyphHeight_; }
    int32_t GetBaseline() const { return baseline_; }
    // The height of the glyph defined last, which every line of text is given.
    int32_t GetGlyphHeight() const { return glyphHeight_; }
    int32_t GetSpaceWidth() const { return spaceWidth_; }
    int32_t GetCharSpacing() const { return charSpacing_; }
    Surface* GetPicture() const { return surface_.Get(); }
    bool HasMask() const { return static_cast<bool>(mask_); }
    bool HasGlyphs() const { return hasGlyphs_; }
    const Glyph& GetGlyph(wchar_t character) const { return glyphs_[Index(character)]; }

private:
    static uint8_t Index(wchar_t character) { return static_cast<uint8_t>(character & 0xFF); }

    int32_t glyphHeight_ = 0;
    int32_t baseline_ = 0;
    bool hasGlyphs_ = false;
    Ref<Surface> surface_;
    Ref<ChannelMap> mask_;
    std::array<Glyph, 256> glyphs_{};
    uint32_t color_ = 0;
    int32_t sidePad_ = 0;
    int32_t topPad_ = 0;
    int32_t bottomPad_ = 0;
    int32_t charSpacing_ = 0;
    int32_t spaceWidth_ = 0;
    int32_t lineHeight_ = 0;
};

template <typename Place>
void BitmapFont::PlaceGlyphs(const std::wstring& text, int32_t x, Place&& place) const {
    int64_t pen = int64_t{x} + sidePad_;
    for (size_t i = 0; i < text.size(); ++i) {
        if (Index(text[i]) == 32) {
            pen += spaceWidth_ + charSpacing_;
            continue;
        }
        const Glyph& glyph = glyphs_[Index(text[i])];
        if (!glyph.defined) {
            continue;
        }
        if (i == 0) {
            pen -= glyph.offsetX;
        }
        const int64_t drawX = pen + glyph.offsetX;
        place(glyph, static_cast<int32_t>(drawX < INT32_MIN ? INT32_MIN : drawX > INT32_MAX ? INT32_MAX : drawX));
        pen += glyph.width + charSpacing_;
    }
}
