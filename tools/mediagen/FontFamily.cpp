#include <string>

#include "mediagen/Drawing.h"
#include "mediagen/FontBaker.h"
#include "mediagen/Families.h"
#include "mediagen/GameTypeColours.h"

namespace {

constexpr const char* kSans = "DejaVuSans.ttf";
constexpr const char* kSansBold = "DejaVuSans-Bold.ttf";
constexpr const char* kSerifBold = "DejaVuSerif-Bold.ttf";

FontStyle MaskFont(const char* face, int size) {
    FontStyle style;
    style.face = face;
    style.pixelSize = size;
    return style;
}

// A mask font that also holds the letters beyond ASCII that names can have.
FontStyle NameFont(const char* face, int size) {
    FontStyle style = MaskFont(face, size);
    style.windows1252 = true;
    return style;
}

FontStyle ImageFont(const char* face, int size, uint32_t top, uint32_t bottom, int outline, uint32_t outlineColor) {
    FontStyle style{face, size, false, top, bottom, outline, outlineColor};
    return style;
}

// A font resource over its own picture and description (resources over a
// shared pair would be merged into one, losing their colours).
void AddFont(Manifest& manifest, FontFaces& faces, const std::vector<std::string>& sections, const std::string& id,
             const std::string& stem, const FontStyle& style) {
    const std::string picture = "media/fonts/" + stem + ".png";
    const std::string format = "media/fonts/" + stem + ".xml";
    auto make = [&faces, style, picture, format](MediaTree& tree) {
        BakedFont baked = BakeFont(faces, style);
        tree.Add(picture, EncodePng(baked.atlas));
        tree.Add(format, baked.format);
    };
    for (const std::string& section : sections) {
        ResourceEntry entry{section, id, "Font", "", {}, make};
        if (style.mask) {
            // A mask picture: the program fills it with the caller's colour.
            entry.keys = {{"mask", picture}, {"color", "#FFFFFF"}, {"format", format}};
        } else {
            entry.file = picture;
            entry.keys = {{"format", format}};
        }
        manifest.Add(entry);
    }
}

}  // namespace

void AddFontRows(Manifest& manifest, FontFaces& faces) {
    // Player names are typed and shown in these three: the name field, the
    // player list, the greeting, the rank name and the score tables.
    AddFont(manifest, faces, {"default", "gamescene"}, "FONT_TEXT", "text", NameFont(kSans, 15));
    AddFont(manifest, faces, {"default"}, "FONT_DIALOG_HEADER", "dialog_header", NameFont(kSansBold, 24));
    AddFont(manifest, faces, {"default"}, "FONT_DIALOG_HEADER_20", "dialog_header_20", NameFont(kSansBold, 20));
    AddFont(manifest, faces, {"dialogs"}, "FONT_LEVELEND", "levelend", MaskFont(kSerifBold, 34));
    for (int type = 0; type < kMixedGameType; ++type) {
        // Light tints of the type's colour: the font is read on the dark HUD
        // band and on that colour's own plates.
        const Rgba color = Rgba::FromHex(kGameTypeColours[type]);
        AddFont(manifest, faces, {"dialogs"}, "FONT_GAME_HEADER_" + std::to_string(type),
                "game_header_" + std::to_string(type),
                ImageFont(kSansBold, 20, color.Shaded(0.9).ToHex(), color.Shaded(0.55).ToHex(), 2, 0x1E1A16));
    }
    AddFont(manifest, faces, {"gamescene"}, "FONT_COAL", "coal", ImageFont(kSansBold, 28, 0xFFF4D6, 0xD9B98A, 2, 0x15110E));
    AddFont(manifest, faces, {"gamescene"}, "FONT_COAL_SMALL", "coal_small",
            ImageFont(kSansBold, 16, 0xFFF4D6, 0xD9B98A, 1, 0x15110E));
    AddFont(manifest, faces, {"gamescene"}, "FONT_COAL_NEW", "coal_new",
            ImageFont(kSansBold, 28, 0xFFF7A0, 0xF2C230, 2, 0x15110E));
    AddFont(manifest, faces, {"gamescene"}, "FONT_COAL_RED", "coal_red",
            ImageFont(kSansBold, 28, 0xFF9A8A, 0xD3271B, 2, 0x15110E));
    for (int length = 3; length <= 7; ++length) {
        // Longer words float up in larger, warmer figures.
        const int size = 18 + 3 * (length - 3);
        const uint32_t bottom = length < 5 ? 0xF2C230 : (length < 7 ? 0xF08A24 : 0xE0452B);
        AddFont(manifest, faces, {"gamescene"}, "FONT_FLOATER_" + std::to_string(length),
                "floater_" + std::to_string(length), ImageFont(kSansBold, size, 0xFFFBE6, bottom, 2, 0x2A1A0C));
    }
    // The letters a train blows out of its chimney: steam white fading to grey.
    AddFont(manifest, faces, {"gamescene"}, "FONT_SMOKE", "smoke", ImageFont(kSansBold, 18, 0xF4F7F9, 0xB8C2CA, 1, 0x4A4F57));
}
