#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "mediagen/Drawing.h"
#include "mediagen/Families.h"

// The trophy cabinet's and the award's pictures: a cup for each finished map
// section, a medal for each feat, their award star, the cabinet's sparkling
// star, and the award's heading and button bar.
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr uint32_t kInk = 0x2B2118;
constexpr uint32_t kWood = 0x8A5A32;
constexpr uint32_t kBrass = 0xC89B3C;
constexpr uint32_t kGold = 0xF2C230;
constexpr const char* kSansBold = "DejaVuSans-Bold.ttf";
constexpr const char* kSerifBold = "DejaVuSerif-Bold.ttf";

// The cabinet picture's size; the award's is twice that and is shown at half
// size once it has flown into the cabinet.
constexpr int kTrophyWidth = 72;
// The cups and medals are drawn on a 72 x 80 design, shrunk to the height
// of the cabinet's rows, which lie 72 apart.
constexpr int kTrophyHeight = 70;
constexpr double kDesignHeight = 80;
constexpr int kBigScale = 2;
constexpr int kSectionCups = 10;
constexpr int kTrophies = 23;
constexpr int kStarFrames = 5;

struct Medal {
    uint32_t tint;
    const char* glyph;
    const char* face;   // the serif lacks the check mark, the crown and the star
};

// The feats after the ten section cups, in trophy order.
const Medal kMedals[kTrophies - kSectionCups] = {
    {0x4F8FCB, "6", kSerifBold},  {0x7A5BC2, "7", kSerifBold},  {0x3C8D4E, "¢", kSerifBold},
    {0xC8372D, "»", kSerifBold},  {0xD9822B, "W", kSerifBold},  {0x9B4F96, "?", kSerifBold},
    {0x2F7F86, "≡", kSerifBold},  {0xB8C2CC, "25", kSerifBold}, {0x5E9C3A, "✓", kSansBold},
    {0xE0B020, "$", kSerifBold},  {0x8C5A3C, "Aa", kSerifBold}, {0xC89B3C, "♛", kSansBold},
    {0xF2C230, "★", kSansBold},
};

// Section cups run from bronze through silver to gold as the map goes on.
uint32_t CupTint(int section) {
    constexpr uint32_t kTints[] = {0xB0703A, 0xB87B44, 0xC0874F, 0xB8C2CC, 0xC5CDD5,
                                   0xD2D8DE, 0xE3B64A, 0xEBC04F, 0xF2C230, 0xF7D154};
    return kTints[section];
}

void Cup(Drawing& drawing, FontFaces& faces, uint32_t tint, const std::string& glyph) {
    cairo_t* cairo = drawing.Context();
    const Rgba body = Rgba::FromHex(tint);
    // Handles behind the bowl.
    for (const double side : {-1.0, 1.0}) {
        cairo_new_path(cairo);
        cairo_arc(cairo, 36 + side * 22, 26, 10, 0, 2 * kPi);
        drawing.Stroke(body.Shaded(-0.3), 5);
    }
    // Bowl.
    cairo_new_path(cairo);
    cairo_move_to(cairo, 14, 10);
    cairo_line_to(cairo, 58, 10);
    cairo_curve_to(cairo, 58, 36, 50, 46, 36, 48);
    cairo_curve_to(cairo, 22, 46, 14, 36, 14, 10);
    cairo_close_path(cairo);
    drawing.FillRadial(28, 18, 40, body.Shaded(0.45), body.Shaded(-0.15));
    cairo_new_path(cairo);
    cairo_move_to(cairo, 14, 10);
    cairo_line_to(cairo, 58, 10);
    cairo_curve_to(cairo, 58, 36, 50, 46, 36, 48);
    cairo_curve_to(cairo, 22, 46, 14, 36, 14, 10);
    cairo_close_path(cairo);
    drawing.Stroke(body.Shaded(-0.4), 1.5);
    // Stem and a wooden plinth.
    drawing.RoundedRectangle(32, 47, 8, 12, 2);
    drawing.Fill(body.Shaded(-0.2));
    drawing.RoundedRectangle(16, 59, 40, 18, 3);
    drawing.FillVertical(59, 77, Rgba::FromHex(kWood).Shaded(0.15), Rgba::FromHex(kWood).Shaded(-0.25));
    drawing.RoundedRectangle(24, 63, 24, 10, 2);
    drawing.Fill(Rgba::FromHex(kBrass).Shaded(0.2));
    drawing.Caption(faces, kSansBold, 16, glyph, 36, 34, Rgba::FromHex(kInk, 0.8));
}

void MedalPicture(Drawing& drawing, FontFaces& faces, const Medal& medal) {
    const uint32_t tint = medal.tint;
    const std::string glyph = medal.glyph;
    const Rgba body = Rgba::FromHex(tint);
    cairo_t* cairo = drawing.Context();
    // Ribbon in two tails.
    for (const double side : {-1.0, 1.0}) {
        cairo_new_path(cairo);
        cairo_move_to(cairo, 36 + side * 4, 2);
        cairo_line_to(cairo, 36 + side * 20, 2);
        cairo_line_to(cairo, 36 + side * 8, 40);
        cairo_line_to(cairo, 36 - side * 6, 40);
        cairo_close_path(cairo);
        drawing.Fill(body.Shaded(side < 0 ? -0.1 : -0.3));
    }
    drawing.Circle(36, 50, 26);
    drawing.FillRadial(28, 42, 34, Rgba::FromHex(kGold).Shaded(0.45), Rgba::FromHex(kGold).Shaded(-0.2));
    drawing.Circle(36, 50, 26);
    drawing.Stroke(Rgba::FromHex(kBrass).Shaded(-0.4), 2);
    drawing.Circle(36, 50, 19);
    drawing.FillRadial(30, 44, 26, body.Shaded(0.4), body.Shaded(-0.1));
    drawing.Caption(faces, medal.face, 19, glyph, 36, 57, Rgba::FromHex(kInk, 0.85));
}

Picture TrophyPicture(FontFaces& faces, int trophy, int scale) {
    Drawing drawing(kTrophyWidth * scale, kTrophyHeight * scale);
    const double shrink = kTrophyHeight / kDesignHeight;
    cairo_scale(drawing.Context(), scale, scale);
    cairo_translate(drawing.Context(), kTrophyWidth * (1 - shrink) / 2, 0);
    cairo_scale(drawing.Context(), shrink, shrink);
    if (trophy < kSectionCups) {
        Cup(drawing, faces, CupTint(trophy), std::to_string(trophy + 1));
    } else {
        MedalPicture(drawing, faces, kMedals[trophy - kSectionCups]);
    }
    return drawing.ToPicture();
}

// A gold starburst whose rays turn a fifth of their spacing each frame.
Picture Starburst(int size, int rays, double glowAlpha) {
    std::vector<Picture> frames;
    const double c = size / 2.0;
    for (int frame = 0; frame < kStarFrames; ++frame) {
        Drawing drawing(size, size);
        cairo_t* cairo = drawing.Context();
        const double turn = frame * (2 * kPi / rays) / kStarFrames;
        drawing.Circle(c, c, c * 0.62);
        drawing.FillRadial(c, c, c * 0.62, Rgba::FromHex(0xFFF6C0, glowAlpha), Rgba::FromHex(kGold, 0.0));
        for (int ray = 0; ray < rays; ++ray) {
            const double angle = turn + ray * 2 * kPi / rays;
            const double reach = (ray % 2 == 0 ? 0.98 : 0.72) * c;
            const double spread = kPi / rays * 0.45;
            cairo_new_path(cairo);
            cairo_move_to(cairo, c, c);
            cairo_line_to(cairo, c + reach * std::sin(angle - spread), c - reach * std::cos(angle - spread));
            cairo_line_to(cairo, c + reach * std::sin(angle + spread), c - reach * std::cos(angle + spread));
            cairo_close_path(cairo);
            drawing.FillRadial(c, c, reach, Rgba::FromHex(0xFFF3A0, 0.95), Rgba::FromHex(kGold, 0.0));
        }
        frames.push_back(drawing.ToPicture());
    }
    return StackFrames(frames);
}

Picture TrophyWonHeading(FontFaces& faces) {
    Drawing drawing(420, 64);
    drawing.Caption(faces, kSerifBold, 44, "Trophy won!", 212, 50, Rgba::FromHex(kInk, 0.6));
    drawing.Caption(faces, kSerifBold, 44, "Trophy won!", 210, 48, Rgba::FromHex(kGold));
    return drawing.ToPicture();
}

// The wooden bar the OK button sits on.
Picture ButtonBar() {
    Drawing drawing(320, 64);
    drawing.RoundedRectangle(3, 5, 314, 56, 14);
    drawing.Fill(Rgba::FromHex(0x000000, 0.35));
    drawing.RoundedRectangle(1, 2, 314, 56, 14);
    drawing.FillVertical(2, 58, Rgba::FromHex(kWood).Shaded(0.2), Rgba::FromHex(kWood).Shaded(-0.25));
    drawing.RoundedRectangle(1, 2, 314, 56, 14);
    drawing.Stroke(Rgba::FromHex(kBrass).Shaded(-0.2), 2);
    return drawing.ToPicture();
}

void AddTrophyPicture(Manifest& manifest, const std::string& section, const std::string& id,
                      const std::string& stem, int frames, std::function<Picture()> draw) {
    const std::string file = "media/gfx/trophy/" + stem + ".png";
    std::vector<ResourceKey> keys;
    if (frames > 1) {
        keys.push_back({"nrofframes", std::to_string(frames)});
    }
    manifest.Add({section, id, "Image", file, keys,
                  [file, draw = std::move(draw)](MediaTree& tree) { tree.Add(file, EncodePng(draw())); }});
}

}  // namespace

void AddTrophyRows(Manifest& manifest, FontFaces& faces) {
    FontFaces* shared = &faces;
    for (int trophy = 0; trophy < kTrophies; ++trophy) {
        const std::string n = std::to_string(trophy);
        AddTrophyPicture(manifest, "trophy", "TROPHY_" + n, "trophy_" + n, 1,
                         [shared, trophy] { return TrophyPicture(*shared, trophy, 1); });
        AddTrophyPicture(manifest, "trophy", "TROPHY_BIG_" + n, "trophy_big_" + n, 1,
                         [shared, trophy] { return TrophyPicture(*shared, trophy, kBigScale); });
    }
    AddTrophyPicture(manifest, "trophy", "TROPHY_STAR", "trophy_star", kStarFrames, [] { return Starburst(112, 10, 0.8); });
    AddTrophyPicture(manifest, "default", "TROPHY_STAR_BIG", "trophy_star_big", kStarFrames,
                     [] { return Starburst(320, 16, 0.9); });
    AddTrophyPicture(manifest, "dialogs", "TROPHY_WON", "trophy_won", 1, [shared] { return TrophyWonHeading(*shared); });
    AddTrophyPicture(manifest, "dialogs", "GUI_BAR", "gui_bar", 1, ButtonBar);
}
