#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "mediagen/ButtonPlate.h"
#include "mediagen/ConstantsFile.h"
#include "mediagen/Drawing.h"
#include "mediagen/Families.h"
#include "mediagen/GameTypeColours.h"

// The single-games screen: its backdrop, a switch plate per game type in
// the type's colour (eight frames: the four button looks, then the same
// checked), the type's panel with the result rows drawn in, the colour
// strips the new result's cells cycle through, the highlight bar, its
// sparks, the START glow and the START and BACK plates.
namespace {

constexpr const char* kSection = "classic";
const std::string kFolder = "media/gfx/classic/";
constexpr const char* kSansBold = "DejaVuSans-Bold.ttf";
constexpr const char* kSerifBold = "DejaVuSerif-Bold.ttf";


constexpr uint32_t kInk = 0x2B2118;
constexpr uint32_t kParchment = 0xF3E6C8;
constexpr uint32_t kWood = 0x8A5A32;
constexpr uint32_t kBrass = 0xC89B3C;
constexpr uint32_t kSky = 0x8EC5E8;
constexpr uint32_t kCoinGold = 0xF2C230;
// Every locked type's plate: greying each type's own colour made the dark ones
// (the navy of Jumbled Words) read as lit beside the others.
constexpr uint32_t kLockedPlate = 0x464646;
constexpr uint32_t kSignalGreen = 0x3C8D4E;

constexpr int kSwitchWidth = 230;
constexpr int kSwitchHeight = 54;
constexpr int kPanelWidth = 500;
constexpr int kPanelHeight = 586;
// The result rows, as the scene's "highscorepanel" places them.
constexpr int kRowTop = 276;
constexpr int kRowHeight = 40;
constexpr int kRowLeft = 20;
constexpr int kRowWidth = 460;
constexpr int kBarHeight = 34;
constexpr int kBarFrames = 8;
constexpr int kCycleLength = 16;

void AddImage(Manifest& manifest, const std::string& id, const std::string& file, int frames,
              std::function<Picture()> draw) {
    std::vector<ResourceKey> keys;
    if (frames > 1) {
        keys.push_back({"nrofframes", std::to_string(frames)});
    }
    const std::string path = kFolder + file + ".png";
    manifest.Add({kSection, id, "Image", path, keys,
                  [path, draw = std::move(draw)](MediaTree& tree) { tree.Add(path, EncodePng(draw())); }});
}

// Fills the current path with the type's colour, or for the mixed type with
// upright bands of every type's colour.
void FillTypeColour(Drawing& drawing, int type, double left, double width, double top, double bottom,
                    double shade = 0) {
    if (type != kMixedGameType) {
        const Rgba colour = Rgba::FromHex(kGameTypeColours[type]).Shaded(shade);
        drawing.FillVertical(top, bottom, colour.Shaded(0.25), colour.Shaded(-0.2));
        return;
    }
    cairo_t* cairo = drawing.Context();
    cairo_pattern_t* bands = cairo_pattern_create_linear(left, 0, left + width, 0);
    for (int band = 0; band < kMixedGameType; ++band) {
        const Rgba colour = Rgba::FromHex(kGameTypeColours[band == 0 ? 1 : band]).Shaded(shade + (band == 0 ? 0.3 : 0));
        cairo_pattern_add_color_stop_rgba(bands, band / 8.0, colour.r, colour.g, colour.b, colour.a);
        cairo_pattern_add_color_stop_rgba(bands, (band + 1) / 8.0, colour.r, colour.g, colour.b, colour.a);
    }
    cairo_set_source(cairo, bands);
    cairo_fill(cairo);
    cairo_pattern_destroy(bands);
}

// Sky over the hills, a wooden board behind the switch column and a rail
// along the bottom.
Picture Background() {
    Drawing drawing(800, 600);
    cairo_t* cairo = drawing.Context();
    cairo_rectangle(cairo, 0, 0, 800, 600);
    drawing.FillVertical(0, 600, Rgba::FromHex(kSky).Shaded(0.1), Rgba::FromHex(0xF6D9A8));
    cairo_move_to(cairo, 0, 600);
    for (int x = 0; x <= 800; x += 10) {
        cairo_line_to(cairo, x, 470 - 30 * std::sin(x / 120.0 + 0.7));
    }
    cairo_line_to(cairo, 800, 600);
    cairo_close_path(cairo);
    drawing.Fill(Rgba::FromHex(0xA7B98A));
    drawing.RoundedRectangle(14, 8, 262, 584, 14);
    drawing.Fill(Rgba{0, 0, 0, 0.25});
    drawing.RoundedRectangle(10, 4, 262, 584, 14);
    drawing.FillVertical(4, 588, Rgba::FromHex(kWood).Shaded(0.1), Rgba::FromHex(kWood).Shaded(-0.3));
    drawing.RoundedRectangle(16, 10, 250, 572, 10);
    drawing.Stroke(Rgba::FromHex(kBrass), 2);
    return drawing.ToPicture();
}

// The switch: the type's enamel plate with its name; checked, a brass rim
// and a green lamp.
Picture SwitchFrame(FontFaces& faces, int type, const std::string& name, ButtonState state, bool checked) {
    Drawing drawing(kSwitchWidth, kSwitchHeight);
    const PlateFace face =
        DrawPlate(drawing, state == ButtonState::kDisabled ? kLockedPlate : kGameTypeColours[type], state, 12);
    if (type == kMixedGameType && state != ButtonState::kDisabled) {
        drawing.RoundedRectangle(face.x + 6, face.y + face.h - 9, face.w - 12, 5, 2);
        FillTypeColour(drawing, type, face.x + 6, face.w - 12, face.y + face.h - 9, face.y + face.h - 4, 0.2);
    }
    const double lampX = face.x + 22;
    const double lampY = face.y + face.h / 2;
    drawing.Circle(lampX, lampY, 8);
    drawing.Fill(Rgba::FromHex(0x15110E, 0.8));
    if (checked) {
        drawing.Circle(lampX, lampY, 6);
        drawing.FillRadial(lampX, lampY, 6, Rgba::FromHex(0xD8FFD0), Rgba::FromHex(kSignalGreen));
        drawing.RoundedRectangle(face.x + 1.5, face.y + 1.5, face.w - 3, face.h - 3, 11);
        drawing.Stroke(Rgba::FromHex(kCoinGold), 3);
    }
    const double baseline = face.y + face.h / 2 + 6;
    const double centre = face.x + 40 + (face.w - 48) / 2;
    drawing.Caption(faces, kSansBold, 17, name, centre, baseline + 1, Rgba{0, 0, 0, 0.45});
    drawing.Caption(faces, kSansBold, 17, name, centre, baseline, MarkColor(state));
    return drawing.ToPicture();
}

Picture Switch(FontFaces& faces, int type, const std::string& name) {
    std::vector<Picture> frames;
    for (const bool checked : {false, true}) {
        for (ButtonState state : kButtonStates) {
            frames.push_back(SwitchFrame(faces, type, name, state, checked));
        }
    }
    return StackFrames(frames);
}

// A varnished board with brass corners around a parchment sheet: a band in
// the type's colour at the top, the description below it, then the column
// heads and the five result rows.
Picture Panel(FontFaces& faces, int type) {
    Drawing drawing(kPanelWidth, kPanelHeight);
    cairo_t* cairo = drawing.Context();
    drawing.RoundedRectangle(4, 6, kPanelWidth - 6, kPanelHeight - 8, 16);
    drawing.Fill(Rgba{0, 0, 0, 0.3});
    drawing.RoundedRectangle(0, 0, kPanelWidth - 6, kPanelHeight - 8, 16);
    drawing.FillVertical(0, kPanelHeight, Rgba::FromHex(kWood).Shaded(0.15), Rgba::FromHex(kWood).Shaded(-0.3));
    drawing.RoundedRectangle(12, 12, kPanelWidth - 30, kPanelHeight - 32, 8);
    drawing.Fill(Rgba::FromHex(kParchment));
    for (const auto& [x, y] : {std::pair{12.0, 12.0}, std::pair{kPanelWidth - 18.0, 12.0},
                               std::pair{12.0, kPanelHeight - 20.0}, std::pair{kPanelWidth - 18.0, kPanelHeight - 20.0}}) {
        drawing.Circle(x, y, 7);
        drawing.FillRadial(x - 2, y - 2, 8, Rgba::FromHex(kBrass).Shaded(0.4), Rgba::FromHex(kBrass).Shaded(-0.3));
    }
    drawing.RoundedRectangle(24, 24, kPanelWidth - 54, 58, 8);
    FillTypeColour(drawing, type, 24, kPanelWidth - 54, 24, 82);
    drawing.RoundedRectangle(24, 24, kPanelWidth - 54, 58, 8);
    drawing.Stroke(Rgba::FromHex(kInk, 0.5), 1.5);
    const double middle = (kPanelWidth - 6) / 2.0;
    drawing.Caption(faces, kSerifBold, 28, "Best runs", middle + 1, 64, Rgba{0, 0, 0, 0.4});
    drawing.Caption(faces, kSerifBold, 28, "Best runs", middle, 63, Rgba::FromHex(kParchment));
    const Rgba ink = Rgba::FromHex(kInk);
    drawing.Caption(faces, kSansBold, 14, "Player", kRowLeft + 60, kRowTop - 10, ink);
    drawing.Caption(faces, kSansBold, 14, "Score", kRowLeft + 300, kRowTop - 10, ink);
    drawing.Caption(faces, kSansBold, 14, "Level", kRowLeft + 400, kRowTop - 10, ink);
    for (int row = 0; row < 5; ++row) {
        const double y = kRowTop + row * kRowHeight;
        if (row % 2 == 0) {
            cairo_rectangle(cairo, kRowLeft, y + 2, kRowWidth, kRowHeight - 4);
            drawing.Fill(Rgba::FromHex(kWood, 0.08));
        }
        cairo_rectangle(cairo, kRowLeft, y + kRowHeight - 1, kRowWidth, 1);
        drawing.Fill(Rgba::FromHex(kWood, 0.35));
    }
    return drawing.ToPicture();
}

// The colours a new result's cells walk through in a second: the type's
// colour brightening and darkening again.
Picture ColourCycle(int type) {
    Picture strip(kCycleLength, 1);
    for (int i = 0; i < kCycleLength; ++i) {
        const uint32_t base = kGameTypeColours[type == kMixedGameType ? (1 + i % 7) : type];
        const double phase = std::sin(i * 2 * 3.14159265358979 / kCycleLength);
        const Rgba colour = Rgba::FromHex(base).Shaded(0.45 * phase);
        uint8_t* pixel = &strip.rgba[static_cast<size_t>(i) * 4];
        pixel[0] = static_cast<uint8_t>(std::lround(colour.r * 255));
        pixel[1] = static_cast<uint8_t>(std::lround(colour.g * 255));
        pixel[2] = static_cast<uint8_t>(std::lround(colour.b * 255));
        pixel[3] = 255;
    }
    return strip;
}

// A golden bar under a new result, a shine crossing it frame by frame.
Picture HighlightBar() {
    std::vector<Picture> frames;
    for (int frame = 0; frame < kBarFrames; ++frame) {
        Drawing drawing(kRowWidth, kBarHeight);
        cairo_t* cairo = drawing.Context();
        drawing.RoundedRectangle(1, 1, kRowWidth - 2, kBarHeight - 2, 8);
        drawing.Fill(Rgba::FromHex(kCoinGold, 0.35));
        const double shine = -60 + frame * (kRowWidth + 120.0) / kBarFrames;
        cairo_save(cairo);
        drawing.RoundedRectangle(1, 1, kRowWidth - 2, kBarHeight - 2, 8);
        cairo_clip(cairo);
        cairo_move_to(cairo, shine, 0);
        cairo_line_to(cairo, shine + 40, 0);
        cairo_line_to(cairo, shine + 20, kBarHeight);
        cairo_line_to(cairo, shine - 20, kBarHeight);
        cairo_close_path(cairo);
        drawing.Fill(Rgba::FromHex(0xFFF6D0, 0.55));
        cairo_restore(cairo);
        drawing.RoundedRectangle(1.5, 1.5, kRowWidth - 3, kBarHeight - 3, 8);
        drawing.Stroke(Rgba::FromHex(kBrass), 2);
        frames.push_back(drawing.ToPicture());
    }
    return StackFrames(frames);
}

Picture Spark() {
    Drawing drawing(16, 16);
    StarPath(drawing.Context(), 8, 8, 7.5, 2.5);
    drawing.FillRadial(8, 8, 8, Rgba::FromHex(0xFFFFFF), Rgba::FromHex(kCoinGold, 0.6));
    return drawing.ToPicture();
}

Picture StartGlow() {
    Drawing drawing(220, 90);
    cairo_scale(drawing.Context(), 1.0, 90.0 / 220);
    drawing.Circle(110, 110, 110);
    drawing.FillRadial(110, 110, 110, Rgba::FromHex(0xFFF0B0), Rgba::FromHex(0x6FCF5A, 0.0));
    return drawing.ToPicture();
}

}  // namespace

void AddClassicRows(Manifest& manifest, FontFaces& faces, const GeneratorInputs& inputs) {
    const ConstantsFile texts((std::filesystem::path(inputs.mediaSource) / "properties" / "text.xml").string());
    AddImage(manifest, "CLASSIC_BACKGROUND", "background", 1, Background);
    for (int type = 0; type < kGameTypeCount; ++type) {
        const std::string number = std::to_string(type);
        const std::string name = texts.Text("GAME_TYPE" + number);
        AddImage(manifest, "BUTTON_" + number, "button_" + number, 8,
                 [&faces, type, name] { return Switch(faces, type, name); });
        AddImage(manifest, "DIALOG_" + number, "dialog_" + number, 1, [&faces, type] { return Panel(faces, type); });
        AddImage(manifest, "COLORCYCLE_" + number, "colorcycle_" + number, 1, [type] { return ColourCycle(type); });
    }
    AddImage(manifest, "ANIM_HIGHSCORE", "anim_highscore", kBarFrames, HighlightBar);
    AddImage(manifest, "HIGHSCORE_SPARK", "highscore_spark", 1, Spark);
    AddImage(manifest, "BUTTON_GLOW", "button_glow", 1, StartGlow);
    AddButton(manifest, faces, kSection, "BUTTON_START", kFolder + "button_start.png",
              {180, 52, kSignalGreen, "Start"});
    AddButton(manifest, faces, kSection, "BUTTON_BACK", kFolder + "button_back.png", {150, 40, kWood, "Back"});
}
