#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "mediagen/ButtonPlate.h"
#include "mediagen/Drawing.h"
#include "mediagen/Families.h"
#include "mediagen/MapTheme.h"

// The main menu: its sky with the game's sign, a panorama of each map
// section for the bottom of the screen, the big adventure and classic
// plates (the classic one also locked), the row of small plates, the
// trophy with its spinning star and hit mask, and the "new" badge.
namespace {

constexpr uint32_t kParchment = 0xF3E6C8;
constexpr uint32_t kWood = 0x8A5A32;
constexpr uint32_t kBrass = 0xC89B3C;
constexpr uint32_t kIron = 0x3A3F45;
constexpr uint32_t kSteam = 0xE8EEF2;
constexpr uint32_t kSignalRed = 0xC8372D;
constexpr uint32_t kEnamelGreen = 0x3C8D2F;
constexpr uint32_t kSky = 0x8EC5E8;
constexpr uint32_t kCoinGold = 0xF2C230;

constexpr int kScreenWidth = 800;
constexpr int kBottomHeight = 200;
constexpr int kTrophySize = 84;
constexpr int kStarFrames = 12;
constexpr const char* kSerifBold = "DejaVuSerif-Bold.ttf";
constexpr const char* kBold = "DejaVuSans-Bold.ttf";

const std::string kSection = "selectionscene";
const std::string kFolder = "media/gfx/selection/";

void AddImage(Manifest& manifest, const std::string& section, const std::string& id, const std::string& file,
              int frames, std::function<Picture()> draw) {
    std::vector<ResourceKey> keys;
    if (frames > 1) {
        keys.push_back({"nrofframes", std::to_string(frames)});
    }
    manifest.Add({section, id, "Image", file, keys,
                  [file, draw = std::move(draw)](MediaTree& tree) { tree.Add(file, EncodePng(draw())); }});
}

// A wavy ridge filled down to `bottom`.
void Ridge(Drawing& drawing, double base, double height, double period, double phase, double bottom,
           const Rgba& colour) {
    cairo_t* cairo = drawing.Context();
    cairo_move_to(cairo, 0, bottom);
    for (int x = 0; x <= kScreenWidth; x += 8) {
        cairo_line_to(cairo, x, base - height * (0.5 + 0.5 * std::sin(x / period + phase)));
    }
    cairo_line_to(cairo, kScreenWidth, bottom);
    cairo_close_path(cairo);
    drawing.Fill(colour);
}

// The sky of the menu, with the game's sign where the loading screen's
// sign comes to rest, and distant hills that meet the section panorama.
Picture MenuBackground(FontFaces& faces) {
    Drawing drawing(kScreenWidth, 600);
    cairo_t* cairo = drawing.Context();
    cairo_rectangle(cairo, 0, 0, kScreenWidth, 600);
    drawing.FillVertical(0, 430, Rgba::FromHex(kSky).Shaded(0.05), Rgba::FromHex(0xF6D9A8));
    drawing.Circle(640, 330, 46);
    drawing.FillRadial(640, 330, 46, Rgba::FromHex(0xFFF1C4), Rgba::FromHex(0xF9D98A, 0.0));
    for (const auto& [cx, cy, scale] : {std::tuple{120.0, 190.0, 1.0}, std::tuple{560.0, 240.0, 0.8},
                                        std::tuple{320.0, 330.0, 0.6}}) {
        for (const auto& [dx, dy, r] : {std::tuple{0.0, 0.0, 22.0}, std::tuple{24.0, -8.0, 26.0},
                                        std::tuple{50.0, 2.0, 20.0}}) {
            drawing.Circle(cx + dx * scale, cy + dy * scale, r * scale);
            drawing.Fill(Rgba::FromHex(kSteam, 0.85));
        }
    }
    Ridge(drawing, 420, 36, 150, 1.3, 600, Rgba::FromHex(0xA7B98A));
    // The sign, as the loading screen's shrinks to it.
    constexpr double w = 262;
    constexpr double h = 82;
    constexpr double x = (kScreenWidth - w) / 2;
    constexpr double y = 110 - h / 2;
    drawing.RoundedRectangle(x + 2, y + 4, w, h, 11);
    drawing.Fill(Rgba{0, 0, 0, 0.3});
    drawing.RoundedRectangle(x, y, w, h, 11);
    drawing.FillVertical(y, y + h, Rgba::FromHex(kWood).Shaded(0.2), Rgba::FromHex(kWood).Shaded(-0.25));
    drawing.RoundedRectangle(x + 4, y + 4, w - 8, h - 8, 8);
    drawing.Stroke(Rgba::FromHex(kBrass), 2.5);
    drawing.Caption(faces, kSerifBold, 36, "Word Rail", 401, 122, Rgba{0, 0, 0, 0.4});
    drawing.Caption(faces, kSerifBold, 36, "Word Rail", 400, 120, Rgba::FromHex(kParchment));
    // A parchment ribbon behind the greeting.
    drawing.RoundedRectangle(170, 160, 460, 40, 12);
    drawing.Fill(Rgba::FromHex(kParchment, 0.85));
    drawing.RoundedRectangle(170, 160, 460, 40, 12);
    drawing.Stroke(Rgba::FromHex(kBrass).Shaded(-0.2), 2);
    return drawing.ToPicture();
}

// A tree of the section's colour, a cone or a crown.
void Tree(Drawing& drawing, double x, double groundY, double size, const Rgba& crown, bool pointed) {
    cairo_t* cairo = drawing.Context();
    cairo_rectangle(cairo, x - size * 0.08, groundY - size * 0.35, size * 0.16, size * 0.35);
    drawing.Fill(Rgba::FromHex(kWood).Shaded(-0.3));
    if (pointed) {
        cairo_move_to(cairo, x, groundY - size * 1.3);
        cairo_line_to(cairo, x + size * 0.4, groundY - size * 0.25);
        cairo_line_to(cairo, x - size * 0.4, groundY - size * 0.25);
        cairo_close_path(cairo);
    } else {
        drawing.Circle(x, groundY - size * 0.7, size * 0.45);
    }
    drawing.FillVertical(groundY - size * 1.3, groundY, crown.Shaded(0.15), crown.Shaded(-0.2));
}

// The section's landscape in its palette, a railway along the bottom.
Picture Panorama(const MapTheme& theme, int index) {
    Drawing drawing(kScreenWidth, kBottomHeight);
    cairo_t* cairo = drawing.Context();
    const double phase = index * 0.9;
    Ridge(drawing, 40, 30, 140, phase, kBottomHeight, Rgba::FromHex(theme.backdrop).Shaded(0.25));
    Ridge(drawing, 80, 34, 110, phase + 2, kBottomHeight, Rgba::FromHex(theme.groundDark));
    Ridge(drawing, 118, 20, 90, phase + 4, kBottomHeight, Rgba::FromHex(theme.groundLight));
    if (theme.waterKind != Water::kNone) {
        EllipsePath(cairo, 170 + 60 * (index % 4), 146, 120, 14);
        drawing.FillVertical(132, 160, Rgba::FromHex(theme.water).Shaded(0.25), Rgba::FromHex(theme.water));
    }
    // Patches of field or heath.
    for (int i = 0; i < 4; ++i) {
        EllipsePath(cairo, 90 + i * 200 + 30 * std::sin(i + phase), 126 + 6 * (i % 2), 50, 8);
        drawing.Fill(Rgba::FromHex(theme.patch, 0.8));
    }
    const bool pointed = theme.name == "forest" || theme.name == "mountains" || theme.name == "lakes";
    for (int i = 0; i < 9; ++i) {
        const double x = 40 + i * 92 + 20 * std::sin(i * 1.7 + phase);
        const double ground = 150 - 16 * std::fabs(std::sin(i * 2.3 + phase));
        Tree(drawing, x, ground, 26 + 10 * ((i + index) % 3), Rgba::FromHex(theme.backdrop), pointed);
    }
    // Ballast, sleepers and two rails.
    cairo_rectangle(cairo, 0, 172, kScreenWidth, 28);
    drawing.FillVertical(172, 200, Rgba::FromHex(0x9C9182), Rgba::FromHex(0x6E6558));
    for (int x = -6; x < kScreenWidth; x += 22) {
        cairo_rectangle(cairo, x, 176, 13, 12);
        drawing.Fill(Rgba::FromHex(kWood).Shaded(-0.25));
    }
    for (const double y : {177.0, 185.0}) {
        cairo_rectangle(cairo, 0, y, kScreenWidth, 3);
        drawing.Fill(Rgba::FromHex(kIron).Shaded(0.25));
    }
    return drawing.ToPicture();
}

// A small padlock, drawn on the locked classic plate.
void Padlock(Drawing& drawing, double x, double y, const Rgba& colour) {
    cairo_t* cairo = drawing.Context();
    cairo_new_sub_path(cairo);
    cairo_arc(cairo, x, y, 7, std::numbers::pi, 0);
    drawing.Stroke(colour, 3);
    drawing.RoundedRectangle(x - 10, y, 20, 15, 3);
    drawing.Fill(colour);
}

// A big plate for the two ways to play.
Picture BigPlate(FontFaces& faces, uint32_t plate, ButtonState state, const std::string& caption, bool locked) {
    Drawing drawing(340, 70);
    const PlateFace face = DrawPlate(drawing, plate, state, 14);
    const double captionX = locked ? 184 : 170;
    const double baseline = face.y + face.h / 2 + 10;
    drawing.Caption(faces, kBold, 28, caption, captionX, baseline + 1, Rgba{0, 0, 0, 0.45});
    drawing.Caption(faces, kBold, 28, caption, captionX, baseline, MarkColor(state).Shaded(locked ? -0.2 : 0));
    if (locked) {
        Padlock(drawing, 52, face.y + face.h / 2 - 6, Rgba::FromHex(kParchment).Shaded(-0.15));
    }
    return drawing.ToPicture();
}

// A cup of brass on a wooden foot: normal, lit, pressed.
Picture Trophy(int frame) {
    Drawing drawing(kTrophySize, kTrophySize);
    cairo_t* cairo = drawing.Context();
    const double lift = frame == 2 ? 2 : 0;
    const Rgba brass = Rgba::FromHex(kCoinGold).Shaded(frame == 1 ? 0.2 : (frame == 2 ? -0.15 : 0));
    cairo_rectangle(cairo, 27, 62 + lift, 30, 10);
    drawing.FillVertical(62 + lift, 72 + lift, Rgba::FromHex(kWood).Shaded(0.1), Rgba::FromHex(kWood).Shaded(-0.3));
    cairo_rectangle(cairo, 38, 48 + lift, 8, 15);
    drawing.Fill(brass.Shaded(-0.2));
    cairo_move_to(cairo, 22, 20 + lift);
    cairo_line_to(cairo, 62, 20 + lift);
    cairo_curve_to(cairo, 62, 44 + lift, 52, 52 + lift, 42, 52 + lift);
    cairo_curve_to(cairo, 32, 52 + lift, 22, 44 + lift, 22, 20 + lift);
    cairo_close_path(cairo);
    drawing.FillVertical(20 + lift, 52 + lift, brass.Shaded(0.35), brass.Shaded(-0.25));
    for (const double side : {-1.0, 1.0}) {
        cairo_new_sub_path(cairo);
        cairo_arc(cairo, 42 + side * 22, 30 + lift, 7, 0, 2 * std::numbers::pi);
        drawing.Stroke(brass.Shaded(-0.1), 3);
    }
    EllipsePath(cairo, 36, 30 + lift, 4, 8);
    drawing.Fill(Rgba{1, 1, 1, 0.35});
    return drawing.ToPicture();
}

// Rays behind the trophy, turned a little further in every frame.
Picture StarFrames() {
    std::vector<Picture> frames;
    for (int frame = 0; frame < kStarFrames; ++frame) {
        Drawing drawing(kTrophySize, kTrophySize);
        cairo_t* cairo = drawing.Context();
        const double turn = frame * (2 * std::numbers::pi / 10) / kStarFrames;
        const double c = kTrophySize / 2.0;
        for (int ray = 0; ray < 10; ++ray) {
            const double a = turn + ray * 2 * std::numbers::pi / 10;
            cairo_move_to(cairo, c, c);
            cairo_line_to(cairo, c + 41 * std::cos(a - 0.12), c + 41 * std::sin(a - 0.12));
            cairo_line_to(cairo, c + 41 * std::cos(a + 0.12), c + 41 * std::sin(a + 0.12));
            cairo_close_path(cairo);
        }
        drawing.FillRadial(c, c, 42, Rgba::FromHex(0xFFF4C2, 0.95), Rgba::FromHex(kCoinGold, 0.0));
        frames.push_back(drawing.ToPicture());
    }
    return StackFrames(frames);
}

// The trophy button reacts inside a circle around the cup.
Picture TrophyMask() {
    Drawing drawing(kTrophySize, kTrophySize);
    drawing.Circle(kTrophySize / 2.0, kTrophySize / 2.0, 36);
    drawing.Fill(Rgba{1, 1, 1, 1});
    return MaskFromAlpha(drawing.ToPicture());
}

Picture NewBadge(FontFaces& faces) {
    Drawing drawing(64, 40);
    cairo_t* cairo = drawing.Context();
    cairo_save(cairo);
    cairo_translate(cairo, 32, 20);
    cairo_rotate(cairo, -0.15);
    drawing.RoundedRectangle(-28, -13, 56, 26, 8);
    drawing.FillVertical(-13, 13, Rgba::FromHex(kSignalRed).Shaded(0.25), Rgba::FromHex(kSignalRed).Shaded(-0.2));
    drawing.RoundedRectangle(-28, -13, 56, 26, 8);
    drawing.Stroke(Rgba::FromHex(kParchment), 2);
    drawing.Caption(faces, kBold, 15, "NEW!", 0, 6, Rgba::FromHex(kParchment));
    cairo_restore(cairo);
    return drawing.ToPicture();
}

Picture NewGlow() {
    Drawing drawing(96, 64);
    drawing.Circle(48, 32, 32);
    drawing.FillRadial(48, 32, 32, Rgba::FromHex(0xFFE89A, 0.9), Rgba::FromHex(kCoinGold, 0.0));
    return drawing.ToPicture();
}

}  // namespace

void AddMenuRows(Manifest& manifest, FontFaces& faces) {
    auto image = [&manifest](const std::string& id, const std::string& file, int frames, std::function<Picture()> draw) {
        AddImage(manifest, kSection, id, kFolder + file, frames, std::move(draw));
    };
    image("MENU_BACKGROUND", "menu_background.png", 1, [&faces] { return MenuBackground(faces); });
    const std::vector<MapTheme>& themes = JourneyThemes();
    for (size_t i = 0; i < themes.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        image("BOTTOM" + std::to_string(number), "bottom" + std::to_string(number) + ".png", 1,
              [&theme = themes[i], number] { return Panorama(theme, number); });
    }
    AddFourFrameImage(manifest, kSection, "BUTTON_ADVENTURE", kFolder + "button_adventure.png",
                      [&faces](ButtonState s) { return BigPlate(faces, kEnamelGreen, s, "Adventure", false); });
    AddFourFrameImage(manifest, kSection, "BUTTON_CLASSIC", kFolder + "button_classic.png",
                      [&faces](ButtonState s) { return BigPlate(faces, kBrass, s, "Classic", false); });
    AddFourFrameImage(manifest, kSection, "BUTTON_CLASSIC_DISABLED", kFolder + "button_classic_disabled.png",
                      [&faces](ButtonState s) { return BigPlate(faces, 0x8A8F94, s, "Classic", true); });
    struct Small {
        const char* id;
        const char* file;
        const char* caption;
        uint32_t plate;
    };
    for (const Small& small : {Small{"BUTTON_CHANGENAME", "button_changename", "Players", kWood},
                               Small{"BUTTON_HELP", "button_help", "Help", kWood},
                               Small{"BUTTON_SETTINGS", "button_settings", "Settings", kWood},
                               Small{"BUTTON_QUIT", "button_quit", "Quit", kSignalRed}}) {
        AddButton(manifest, faces, kSection, small.id, kFolder + small.file + ".png",
                  {140, 40, small.plate, small.caption});
    }
    image("BUTTON_TROPHY", "button_trophy.png", 3, [] { return StackFrames({Trophy(0), Trophy(1), Trophy(2)}); });
    image("BUTTON_TROPHY_STAR", "button_trophy_star.png", kStarFrames, StarFrames);
    image("BUTTON_TROPHY_MASK", "button_trophy_mask.png", 1, TrophyMask);
    AddImage(manifest, "default", "SPRITE_NEW", "media/gfx/default/sprite_new.png", 1,
             [&faces] { return NewBadge(faces); });
    AddImage(manifest, "default", "SPRITE_NEW_GLOW", "media/gfx/default/sprite_new_glow.png", 1, NewGlow);
}
