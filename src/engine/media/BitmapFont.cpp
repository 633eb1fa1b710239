#include "engine/media/BitmapFont.h"

#include <algorithm>

#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/media/ChannelMap.h"
#include "engine/media/ImageTools.h"
#include "engine/media/Surface.h"

namespace {

constexpr wchar_t kSpace = 32;

// Font metrics from data are kept within a picture's reach, so that sums
// over any text stay far from overflow.
int32_t ReadMetric(const Property* node, const char* key) {
    return std::clamp(Property::AsInt(Property::Child(node, key)), -32767, 32767);
}

int32_t ClampToInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

void BitmapFont::UsePicture(bool onlyMask, uint32_t color, Surface& surface) {
    color_ = color;
    if (onlyMask) {
        mask_ = ExtractChannelMap(surface, 0);
    }
    surface_ = &surface;
}

bool BitmapFont::Load(const std::string& formatFile, bool onlyMask, uint32_t color, Surface& surface,
                      LoadMode loadMode) {
    UsePicture(onlyMask, color, surface);
    const Ref<PropertyFile> description(new PropertyFile({formatFile}));
    description->SetLoadMode(loadMode);
    if (!description->Load()) {
        ENGINE_LOG(1, "font description %s could not be read", formatFile.c_str());
        return false;
    }
    ReadFormat(*description);
    if (!hasGlyphs_) {
        ENGINE_LOG(1, "font description %s defines no glyph", formatFile.c_str());
    }
    return hasGlyphs_;
}

void BitmapFont::ReadFormat(const PropertyNode& description) {
    const Property* info = Property::Child(&description, "charsetinfo");
    sidePad_ = ReadMetric(info, "sidepad");
    topPad_ = ReadMetric(info, "toppad");
    bottomPad_ = ReadMetric(info, "bottompad");
    charSpacing_ = ReadMetric(info, "charspacing");
    spaceWidth_ = ReadMetric(info, "spacewidth");
    lineHeight_ = ReadMetric(info, "lineheight");
    baseline_ = ReadMetric(info, "baseline");

    const Property* charset = Property::Child(&description, "charset");
    for (int i = 0; const Property* entry = Property::At(charset, i); ++i) {
        if (entry->Name().empty()) {
            continue;
        }
        uint8_t character = static_cast<uint8_t>(entry->Name()[0]);
        // A file cannot name a glyph by the single quote, so a second entry
        // named by the double quote stands for it.
        if (character == '"' && glyphs_['"'].defined) {
            character = '\'';
        }
        Glyph& glyph = glyphs_[character];
        glyph.x = ReadMetric(entry, "x");
        glyph.y = ReadMetric(entry, "y");
        glyph.w = ReadMetric(entry, "w");
        glyph.h = ReadMetric(entry, "h");
        glyph.width = ReadMetric(entry, "width");
        glyph.offsetX = ReadMetric(entry, "offsetx");
        glyph.defined = true;
        glyphHeight_ = glyph.h;
        hasGlyphs_ = true;
    }
}

bool BitmapFont::HasGlyph(wchar_t character) const {
    return character == kSpace || glyphs_[Index(character)].defined;
}

int32_t BitmapFont::GetTextWidth(const std::wstring& text, int32_t first, int32_t count, bool tight) const {
    const int64_t start = std::max(first, 0);
    const int64_t end = std::min<int64_t>(start + std::max(count, 0), static_cast<int64_t>(text.size()));
    int64_t width = 0;
    for (int64_t i = start; i < end; ++i) {
        const wchar_t character = text[static_cast<size_t>(i)];
        if (Index(character) == kSpace) {
            width += spaceWidth_ + charSpacing_;
            continue;
        }
        const Glyph& glyph = glyphs_[Index(character)];
        if (!glyph.defined) {
            continue;
        }
        if (tight && i == end - 1) {
            width += std::max(glyph.w, glyph.width) + 1;
        } else {
            width += glyph.width;
        }
        if (tight && i == start) {
            width -= glyph.offsetX;
        }
        width += charSpacing_;
    }
    return ClampToInt32(width + 2 * int64_t{sidePad_});
}

void BitmapFont::DrawText(Canvas& canvas, const std::wstring& text, int32_t x, int32_t y) {
    if (!surface_) {
        return;
    }
    const int32_t savedAlpha = canvas.GetAlpha();
    PlaceGlyphs(text, x, [&](const Glyph& glyph, int32_t drawX) {
        const Rect source{glyph.x, glyph.y, glyph.w, glyph.h};
        if (mask_) {
            canvas.DrawMask(*mask_, drawX, y, source);
        } else {
            canvas.Blit(*surface_, drawX, y, source);
        }
        // Text drawn into a transparent picture becomes visible there.
        canvas.MaxChannel(*surface_, 0, drawX, y, source);
    });
    canvas.SetAlpha(savedAlpha);
}
