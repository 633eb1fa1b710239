#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <utility>

#include "mediagen/Drawing.h"
#include "mediagen/Families.h"
#include "mediagen/Synth.h"

// The first screens: the maker's logo of the splash, drawn as layers with
// the threshold masks that reveal them (their red channel orders each
// reveal: radial, angular or noise), the load scene's background, logos,
// progress bar and texts, the partner badge, and the stings of the splash
// and of the load transition.
namespace {

constexpr uint32_t kInk = 0x2B2118;
constexpr uint32_t kParchment = 0xF3E6C8;
constexpr uint32_t kWood = 0x8A5A32;
constexpr uint32_t kBrass = 0xC89B3C;
constexpr uint32_t kIron = 0x3A3F45;
constexpr uint32_t kSteam = 0xE8EEF2;
constexpr uint32_t kSignalGreen = 0x3C8D4E;
constexpr uint32_t kSky = 0x8EC5E8;

constexpr int kLogoSize = 220;
constexpr double kLogoCentre = kLogoSize / 2.0;
constexpr const char* kBold = "DejaVuSans-Bold.ttf";
constexpr const char* kSerifBold = "DejaVuSerif-Bold.ttf";
constexpr const char* kSans = "DejaVuSans.ttf";

void AddImage(Manifest& manifest, const std::string& section, const std::string& id, const std::string& file,
              int frames, std::function<Picture()> draw) {
    std::vector<ResourceKey> keys;
    if (frames > 1) {
        keys.push_back({"nrofframes", std::to_string(frames)});
    }
    manifest.Add({section, id, "Image", file, keys,
                  [file, draw = std::move(draw)](MediaTree& tree) { tree.Add(file, EncodePng(draw())); }});
}

// --- Threshold masks: opaque grey, the value in every channel -----------------

// The order in which a mask reveals a pixel, 0 first; never 255, which stays hidden.
using Order = std::function<double(double x, double y)>;

Picture MaskPicture(int width, int height, const Order& order) {
    Picture picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double value = std::clamp(order(x + 0.5, y + 0.5), 0.0, 1.0);
            const auto level = static_cast<uint8_t>(std::lround(value * 254.0));
            uint8_t* pixel = picture.Pixel(x, y);
            pixel[0] = pixel[1] = pixel[2] = level;
            pixel[3] = 255;
        }
    }
    return picture;
}

// From the centre outwards (or inwards).
Order Radial(bool outwards) {
    return [outwards](double x, double y) {
        const double r = std::hypot(x - kLogoCentre, y - kLogoCentre) / (kLogoCentre * std::numbers::sqrt2);
        return outwards ? r : 1.0 - r;
    };
}

// Clockwise from the top (or counter-clockwise).
Order Angular(bool clockwise) {
    return [clockwise](double x, double y) {
        double turn = std::atan2(x - kLogoCentre, kLogoCentre - y) / (2 * std::numbers::pi);
        if (turn < 0) {
            turn += 1.0;
        }
        return clockwise ? turn : 1.0 - turn;
    };
}

// Smooth value noise on a grid of `cell` pixels: a dissolve.
Order Noise(int cell, unsigned seed) {
    auto lattice = [seed](int gx, int gy) {
        unsigned h = seed ^ (static_cast<unsigned>(gx) * 374761393u) ^ (static_cast<unsigned>(gy) * 668265263u);
        h = (h ^ (h >> 13)) * 1274126177u;
        return static_cast<double>((h ^ (h >> 16)) & 0xFFFF) / 65535.0;
    };
    return [cell, lattice](double x, double y) {
        const double fx = x / cell;
        const double fy = y / cell;
        const int gx = static_cast<int>(std::floor(fx));
        const int gy = static_cast<int>(std::floor(fy));
        const double tx = fx - gx;
        const double ty = fy - gy;
        const double sx = tx * tx * (3 - 2 * tx);
        const double sy = ty * ty * (3 - 2 * ty);
        const double top = lattice(gx, gy) * (1 - sx) + lattice(gx + 1, gy) * sx;
        const double bottom = lattice(gx, gy + 1) * (1 - sx) + lattice(gx + 1, gy + 1) * sx;
        return top * (1 - sy) + bottom * sy;
    };
}

// Left to right with a little noise, for lettering that writes itself.
Order Sweep(int width) {
    const Order grain = Noise(6, 0x51u);
    return [width, grain](double x, double y) { return 0.85 * x / width + 0.15 * grain(x, y); };
}

// --- The maker's logo ------------------------------------------------------

Picture Disc(double radius, const Rgba& inner, const Rgba& outer) {
    Drawing drawing(kLogoSize, kLogoSize);
    drawing.Circle(kLogoCentre, kLogoCentre, radius);
    drawing.FillRadial(kLogoCentre - radius * 0.3, kLogoCentre - radius * 0.3, radius * 1.3, inner, outer);
    return drawing.ToPicture();
}

Picture Ring(double outer, double inner, const Rgba& light, const Rgba& dark) {
    Drawing drawing(kLogoSize, kLogoSize);
    cairo_t* cairo = drawing.Context();
    cairo_set_fill_rule(cairo, CAIRO_FILL_RULE_EVEN_ODD);
    drawing.Circle(kLogoCentre, kLogoCentre, outer);
    cairo_new_sub_path(cairo);
    cairo_arc(cairo, kLogoCentre, kLogoCentre, inner, 0, 2 * std::numbers::pi);
    drawing.FillVertical(kLogoCentre - outer, kLogoCentre + outer, light, dark);
    return drawing.ToPicture();
}

Picture WhiteCircle() { return Disc(104, Rgba{1, 1, 1}, Rgba::FromHex(kSteam)); }

Picture BlackCircle() { return Ring(100, 74, Rgba::FromHex(kIron).Shaded(0.15), Rgba::FromHex(kIron).Shaded(-0.3)); }

Picture GreenRing() {
    return Ring(96, 78, Rgba::FromHex(kSignalGreen).Shaded(0.3), Rgba::FromHex(kSignalGreen).Shaded(-0.2));
}

// The green ring's shape in grey: as a mask the clockwise order in which
// the green ring is drawn; as a picture it lies exactly under that ring.
Picture GreenSweep() {
    Picture picture = MaskPicture(kLogoSize, kLogoSize, Angular(true));
    const Picture shape = GreenRing();
    for (int y = 0; y < kLogoSize; ++y) {
        for (int x = 0; x < kLogoSize; ++x) {
            picture.Pixel(x, y)[3] = shape.Pixel(x, y)[3];
        }
    }
    return picture;
}

// Behind the logo: warm steam white, a touch darker towards the corners.
Picture SplashBackground() {
    Drawing drawing(800, 600);
    cairo_rectangle(drawing.Context(), 0, 0, 800, 600);
    drawing.FillRadial(400, 280, 520, Rgba::FromHex(kSteam).Shaded(0.5), Rgba::FromHex(kParchment).Shaded(-0.08));
    return drawing.ToPicture();
}

// The maker's brass driving wheel of the given rim radius: eight spokes, a
// hub and the crank pin off centre, which makes a wheel a driving wheel.
void DrivingWheel(Drawing& drawing, double cx, double cy, double radius) {
    cairo_t* cairo = drawing.Context();
    const double unit = radius / 52;
    const Rgba brass = Rgba::FromHex(kBrass);
    drawing.Circle(cx, cy, radius);
    drawing.Stroke(brass.Shaded(-0.35), 9 * unit);
    drawing.Circle(cx, cy, radius);
    drawing.Stroke(brass, 6 * unit);
    cairo_set_line_cap(cairo, CAIRO_LINE_CAP_ROUND);
    for (int spoke = 0; spoke < 8; ++spoke) {
        const double angle = spoke * std::numbers::pi / 4;
        cairo_move_to(cairo, cx + 12 * unit * std::cos(angle), cy + 12 * unit * std::sin(angle));
        cairo_line_to(cairo, cx + 50 * unit * std::cos(angle), cy + 50 * unit * std::sin(angle));
        drawing.Stroke(brass.Shaded(-0.1), 5 * unit);
    }
    cairo_set_line_cap(cairo, CAIRO_LINE_CAP_BUTT);
    drawing.Circle(cx, cy, 15 * unit);
    drawing.FillRadial(cx - 4 * unit, cy - 4 * unit, 16 * unit, brass.Shaded(0.4), brass.Shaded(-0.3));
    drawing.Circle(cx + 28 * unit, cy - 16 * unit, 6 * unit);
    drawing.Fill(Rgba::FromHex(kIron));
}

// The inside: a parchment face with the driving wheel.
Picture Inside() {
    Drawing drawing(kLogoSize, kLogoSize);
    drawing.Circle(kLogoCentre, kLogoCentre, 74);
    drawing.FillRadial(kLogoCentre - 20, kLogoCentre - 20, 100, Rgba::FromHex(kParchment),
                       Rgba::FromHex(kParchment).Shaded(-0.15));
    DrivingWheel(drawing, kLogoCentre, kLogoCentre, 52);
    return drawing.ToPicture();
}

Picture BlackBorder() {
    return Ring(108, 101, Rgba::FromHex(kInk).Shaded(0.25), Rgba::FromHex(kInk));
}

// A soft star of light that shrinks away.
Picture Flash(int size) {
    Drawing drawing(size, size);
    cairo_t* cairo = drawing.Context();
    const double c = size / 2.0;
    drawing.Circle(c, c, c);
    drawing.FillRadial(c, c, c, Rgba{1, 1, 0.92, 0.95}, Rgba{1, 0.95, 0.7, 0});
    for (int ray = 0; ray < 4; ++ray) {
        const double angle = ray * std::numbers::pi / 4;
        cairo_save(cairo);
        cairo_translate(cairo, c, c);
        cairo_rotate(cairo, angle);
        cairo_scale(cairo, c, c * 0.06);
        cairo_arc(cairo, 0, 0, 1, 0, 2 * std::numbers::pi);
        cairo_restore(cairo);
        drawing.Fill(Rgba{1, 1, 1, 0.7});
    }
    return drawing.ToPicture();
}

constexpr int kNameWidth = 200;
constexpr int kNameHeight = 70;

Picture Name(FontFaces& faces) {
    Drawing drawing(kNameWidth, kNameHeight);
    drawing.Caption(faces, kBold, 32, "wordrail", kNameWidth / 2.0 + 14, 49, Rgba{0, 0, 0, 0.3});
    drawing.Caption(faces, kBold, 32, "wordrail", kNameWidth / 2.0 + 12, 47, Rgba::FromHex(kInk));
    return drawing.ToPicture();
}

// The maker's small mark beside the name: a brass ring round a dot.
Picture Mark() {
    Drawing drawing(16, 16);
    drawing.Circle(8, 8, 6);
    drawing.Stroke(Rgba::FromHex(kBrass).Shaded(-0.2), 2);
    drawing.Circle(8, 8, 2.5);
    drawing.Fill(Rgba::FromHex(kInk));
    return drawing.ToPicture();
}

void AddSplashRows(Manifest& manifest, FontFaces& faces) {
    const std::string section = "splash";
    const std::string folder = "media/gfx/splash/";
    auto image = [&](const char* id, const char* file, std::function<Picture()> draw) {
        AddImage(manifest, section, id, folder + file, 1, std::move(draw));
    };
    auto mask = [&](const char* id, const char* file, int width, int height, Order order) {
        AddImage(manifest, section, id, folder + file, 1,
                 [width, height, order] { return MaskPicture(width, height, order); });
    };
    image("SPLASH_BACKGROUND", "background.png", SplashBackground);
    image("WHITE_CIRCLE", "white_circle.png", WhiteCircle);
    image("Q_CIRCLE_BLACK", "q_circle_black.png", BlackCircle);
    image("BEAMER", "beamer.png", [] { return Flash(kLogoSize); });
    image("Q_GREEN_MASK", "q_green_mask.png", GreenSweep);
    image("Q_GREEN", "q_green.png", GreenRing);
    image("Q_INSIDE", "q_inside.png", Inside);
    image("BORDER_BLACK", "border_black.png", BlackBorder);
    image("QUELT", "quelt.png", [&faces] { return Name(faces); });
    image("R", "r.png", Mark);
    image("BEAMER_SMALL", "beamer_small.png", [] { return Flash(60); });
    mask("BORDER_WHITE_MASK", "border_white_mask.png", kLogoSize, kLogoSize, Radial(true));
    mask("Q_CIRCLE_BLACK_MASK", "q_circle_black_mask.png", kLogoSize, kLogoSize, Angular(false));
    mask("Q_INSIDE_MASK", "q_inside_mask.png", kLogoSize, kLogoSize, Noise(14, 0x1DEAu));
    mask("BORDER_BLACK_MASK", "border_black_mask.png", kLogoSize, kLogoSize, Radial(false));
    mask("QUELT_MASK", "quelt_mask.png", kNameWidth, kNameHeight, Sweep(kNameWidth));
}

// --- The load scene ----------------------------------------------------------

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kBarWidth = 400;
constexpr int kBarHeight = 26;

// Late afternoon over rolling hills, a line of track along the bottom.
Picture Background() {
    Drawing drawing(kScreenWidth, kScreenHeight);
    cairo_t* cairo = drawing.Context();
    cairo_rectangle(cairo, 0, 0, kScreenWidth, kScreenHeight);
    drawing.FillVertical(0, 420, Rgba::FromHex(kSky).Shaded(0.1), Rgba::FromHex(0xF6D9A8));
    for (const auto& [base, height, colour] : {std::tuple{410.0, 40.0, 0x9DB07Au}, std::tuple{450.0, 30.0, 0x7C9A5Au},
                                              std::tuple{490.0, 22.0, 0x5E8044u}}) {
        cairo_move_to(cairo, 0, kScreenHeight);
        for (int x = 0; x <= kScreenWidth; x += 10) {
            cairo_line_to(cairo, x, base - height * (0.5 + 0.5 * std::sin(x / 130.0 + base)));
        }
        cairo_line_to(cairo, kScreenWidth, kScreenHeight);
        cairo_close_path(cairo);
        drawing.Fill(Rgba::FromHex(colour));
    }
    // Sleepers and two rails.
    for (int x = -10; x < kScreenWidth; x += 24) {
        cairo_rectangle(cairo, x, 566, 14, 12);
        drawing.Fill(Rgba::FromHex(kWood).Shaded(-0.25));
    }
    for (const double y : {566.0, 574.0}) {
        cairo_rectangle(cairo, 0, y, kScreenWidth, 3);
        drawing.Fill(Rgba::FromHex(kIron).Shaded(0.2));
    }
    return drawing.ToPicture();
}

// The game's sign: lettering on a varnished board with brass rims.
Picture GameLogo(FontFaces& faces) {
    constexpr int width = 460;
    constexpr int height = 150;
    Drawing drawing(width, height);
    drawing.RoundedRectangle(6, 8, width - 12, height - 14, 18);
    drawing.Fill(Rgba{0, 0, 0, 0.35});
    drawing.RoundedRectangle(4, 4, width - 12, height - 14, 18);
    drawing.FillVertical(4, height - 10, Rgba::FromHex(kWood).Shaded(0.2), Rgba::FromHex(kWood).Shaded(-0.25));
    drawing.RoundedRectangle(10, 10, width - 24, height - 26, 13);
    drawing.Stroke(Rgba::FromHex(kBrass), 4);
    drawing.Caption(faces, kSerifBold, 64, "Word Rail", width / 2.0 + 2, 92, Rgba{0, 0, 0, 0.4});
    drawing.Caption(faces, kSerifBold, 64, "Word Rail", width / 2.0, 90, Rgba::FromHex(kParchment));
    drawing.Caption(faces, kSans, 16, "a railway of words", width / 2.0, 120, Rgba::FromHex(kBrass).Shaded(0.3));
    return drawing.ToPicture();
}

// Light text with a soft shadow and a thin dark outline, readable over the
// sky and the hills alike.
void OutlinedCaption(Drawing& drawing, FontFaces& faces, double size, const std::string& text, double cx,
                     double baselineY, const Rgba& colour) {
    drawing.Caption(faces, kBold, size, text, cx + 1.5, baselineY + 2, Rgba{0, 0, 0, 0.35});
    const Rgba outline = Rgba::FromHex(kInk, 0.8);
    for (const double dx : {-1.0, 0.0, 1.0}) {
        for (const double dy : {-1.0, 0.0, 1.0}) {
            if (dx != 0 || dy != 0) {
                drawing.Caption(faces, kBold, size, text, cx + dx, baselineY + dy, outline);
            }
        }
    }
    drawing.Caption(faces, kBold, size, text, cx, baselineY, colour);
}

// The maker's logo in small, as the splash builds it (ink border, green
// ring, parchment face, driving wheel), its name beside it on a wooden plate.
Picture SmallMakerLogo(FontFaces& faces) {
    Drawing drawing(150, 48);
    drawing.RoundedRectangle(16, 10, 130, 32, 9);
    drawing.Fill(Rgba{0, 0, 0, 0.35});
    drawing.RoundedRectangle(14, 7, 130, 32, 9);
    drawing.FillVertical(7, 39, Rgba::FromHex(kWood).Shaded(0.2), Rgba::FromHex(kWood).Shaded(-0.25));
    drawing.RoundedRectangle(14, 7, 130, 32, 9);
    drawing.Stroke(Rgba::FromHex(kBrass).Shaded(-0.2), 2);
    drawing.Circle(25.5, 25, 22);
    drawing.Fill(Rgba{0, 0, 0, 0.35});
    drawing.Circle(24, 23, 22);
    drawing.FillVertical(1, 45, Rgba::FromHex(kInk).Shaded(0.25), Rgba::FromHex(kInk));
    drawing.Circle(24, 23, 19.5);
    drawing.FillVertical(3, 43, Rgba::FromHex(kSignalGreen).Shaded(0.3), Rgba::FromHex(kSignalGreen).Shaded(-0.2));
    drawing.Circle(24, 23, 15.5);
    drawing.FillRadial(20, 19, 21, Rgba::FromHex(kParchment), Rgba::FromHex(kParchment).Shaded(-0.15));
    DrivingWheel(drawing, 24, 23, 11);
    OutlinedCaption(drawing, faces, 17, "wordrail", 92, 29, Rgba::FromHex(kParchment));
    return drawing.ToPicture();
}

Picture BarBed() {
    Drawing drawing(kBarWidth, kBarHeight);
    drawing.RoundedRectangle(0, 0, kBarWidth, kBarHeight, 8);
    drawing.FillVertical(0, kBarHeight, Rgba::FromHex(kWood).Shaded(-0.35), Rgba::FromHex(kWood).Shaded(-0.1));
    return drawing.ToPicture();
}

// The fill: a run of brass with sleepers marked across it.
Picture BarFill() {
    Drawing drawing(kBarWidth - 8, kBarHeight - 8);
    cairo_t* cairo = drawing.Context();
    drawing.RoundedRectangle(0, 0, kBarWidth - 8, kBarHeight - 8, 5);
    drawing.FillVertical(0, kBarHeight - 8, Rgba::FromHex(kBrass).Shaded(0.35), Rgba::FromHex(kBrass).Shaded(-0.2));
    for (int x = 10; x < kBarWidth - 8; x += 18) {
        cairo_rectangle(cairo, x, 3, 4, kBarHeight - 14);
        drawing.Fill(Rgba::FromHex(kWood).Shaded(-0.1));
    }
    return drawing.ToPicture();
}

// A glass highlight and the brass frame over the bar.
Picture BarOverlay() {
    Drawing drawing(kBarWidth, kBarHeight);
    drawing.RoundedRectangle(1.5, 1.5, kBarWidth - 3, kBarHeight - 3, 8);
    drawing.Stroke(Rgba::FromHex(kBrass).Shaded(-0.2), 3);
    drawing.RoundedRectangle(6, 4, kBarWidth - 12, 6, 3);
    drawing.Fill(Rgba{1, 1, 1, 0.3});
    return drawing.ToPicture();
}

Picture TextPicture(FontFaces& faces, const std::string& text, int width, const Rgba& colour) {
    Drawing drawing(width, 30);
    OutlinedCaption(drawing, faces, 20, text, width / 2.0, 22, colour);
    return drawing.ToPicture();
}

// Four button frames: normal, over (lighter), pressed, disabled.
Picture ClickText(FontFaces& faces) {
    const Rgba parchment = Rgba::FromHex(kParchment);
    std::vector<Picture> frames;
    for (const Rgba& colour : {parchment, Rgba{1, 1, 1}, parchment.Shaded(-0.2), parchment.Greyed()}) {
        frames.push_back(TextPicture(faces, "Click to continue", 260, colour));
    }
    return StackFrames(frames);
}

// This project's own badge for the partners row.
// An enamelled iron maker's plate, as engines carry on their cab side: a
// bevelled rim, four rivets and the driving wheel beside the lettering.
Picture PartnerBadge(FontFaces& faces) {
    Drawing drawing(170, 48);
    cairo_t* cairo = drawing.Context();
    drawing.RoundedRectangle(4, 5, 164, 41, 10);
    drawing.Fill(Rgba{0, 0, 0, 0.35});
    drawing.RoundedRectangle(2, 2, 164, 41, 10);
    drawing.FillVertical(2, 43, Rgba::FromHex(kBrass).Shaded(0.35), Rgba::FromHex(kBrass).Shaded(-0.3));
    drawing.RoundedRectangle(2, 2, 164, 41, 10);
    drawing.Stroke(Rgba::FromHex(kBrass).Shaded(-0.5), 2);
    drawing.RoundedRectangle(7, 7, 154, 31, 6);
    drawing.FillVertical(7, 38, Rgba::FromHex(kIron).Shaded(0.25), Rgba::FromHex(kIron).Shaded(-0.2));
    drawing.RoundedRectangle(7, 7, 154, 31, 6);
    drawing.Stroke(Rgba::FromHex(kIron).Shaded(-0.45), 1.5);
    // The warm rim light along the top of the enamel.
    cairo_move_to(cairo, 13, 9);
    cairo_line_to(cairo, 155, 9);
    drawing.Stroke(Rgba::FromHex(0xF6D9A8, 0.35), 1);
    for (const auto& [x, y] : {std::pair{10.0, 10.0}, std::pair{158.0, 10.0}, std::pair{10.0, 35.0},
                               std::pair{158.0, 35.0}}) {
        drawing.Circle(x, y, 2);
        drawing.FillRadial(x - 0.7, y - 0.7, 2.5, Rgba::FromHex(kBrass).Shaded(0.6), Rgba::FromHex(kBrass).Shaded(-0.4));
    }
    DrivingWheel(drawing, 27, 22.5, 10.5);
    drawing.Caption(faces, kSans, 12, "made with", 98, 20, Rgba::FromHex(kSteam));
    drawing.Caption(faces, kBold, 12, "wordrail engine", 98, 35, Rgba::FromHex(kBrass).Shaded(0.35));
    return drawing.ToPicture();
}

void AddLoadRows(Manifest& manifest, FontFaces& faces) {
    const std::string section = "preloading";
    const std::string folder = "media/gfx/load/";
    auto image = [&](const char* id, const char* file, int frames, std::function<Picture()> draw) {
        AddImage(manifest, section, id, folder + file, frames, std::move(draw));
    };
    image("BACKGROUND", "background.png", 1, Background);
    image("LOGO_GAME", "logo_game.png", 1, [&faces] { return GameLogo(faces); });
    image("LOGO_QUELT", "logo_quelt.png", 1, [&faces] { return SmallMakerLogo(faces); });
    image("LOADING_BAR_BG", "loading_bar_bg.png", 1, BarBed);
    image("PROGRESS_BAR", "progress_bar.png", 1, BarFill);
    image("PROGRESS_BAR_OVERLAY", "progress_bar_overlay.png", 1, BarOverlay);
    image("LOADING_TEXT", "loading_text.png", 1,
          [&faces] { return TextPicture(faces, "Loading...", 200, Rgba::FromHex(kParchment)); });
    image("CLICK_TEXT", "click_text.png", 4, [&faces] { return ClickText(faces); });
    image("PARTNER_BADGE", "partner_badge.png", 1, [&faces] { return PartnerBadge(faces); });
}

// --- Stings --------------------------------------------------------------------

// C major pentatonic, as every pitched effect.
constexpr double kC5 = 523.25;
constexpr double kE5 = 659.25;
constexpr double kG5 = 783.99;
constexpr double kA5 = 880.0;
constexpr double kC6 = 1046.5;

// The logo grows: a soft rising shimmer into a chord.
Synth SplashSting() {
    Synth synth(1.2);
    synth.Noise(0.0, 0.4, 0.15, 0.1, 0.25, 0.9);
    synth.Tone(0.0, 0.35, kC5 / 2, kC5, 0.3, 0.05, 0.2);
    for (const double note : {kC5, kE5, kG5}) {
        synth.Tone(0.3, 0.9, note, note, 0.25, 0.01, 0.45);
    }
    synth.Normalize(0.7);
    return synth;
}

// The name appears: two bright plucks.
Synth NameSting() {
    Synth synth(0.7);
    synth.Tone(0.0, 0.4, kG5, kG5, 0.5, 0.003, 0.15);
    synth.Tone(0.12, 0.55, kC6, kC6, 0.5, 0.003, 0.2);
    synth.Normalize(0.7);
    return synth;
}

// The big logo settles: a low swell with a chime on top.
Synth LogoAppears() {
    Synth synth(0.9);
    synth.Tone(0.0, 0.8, kC5 / 4, kC5 / 2, 0.4, 0.08, 0.35);
    synth.Tone(0.25, 0.6, kE5, kE5, 0.3, 0.005, 0.3);
    synth.Normalize(0.7);
    return synth;
}

// A menu button pops up.
Synth ButtonPops() {
    Synth synth(0.3);
    synth.Tone(0.0, 0.25, kA5 / 2, kA5, 0.5, 0.002, 0.08);
    synth.Noise(0.0, 0.04, 0.2, 0.001, 0.01, 0.6);
    synth.Normalize(0.7);
    return synth;
}

}  // namespace

void AddStartScreenRows(Manifest& manifest, FontFaces& faces) {
    AddSplashRows(manifest, faces);
    AddLoadRows(manifest, faces);
    AddSound(manifest, "splash", "SOUND_QUELT_SPLASH", "media/sfx/quelt_splash.ogg", SplashSting);
    AddSound(manifest, "splash", "SOUND_QUELT", "media/sfx/quelt.ogg", NameSting);
    AddSound(manifest, "default", "SOUND_LOGO_APPEARS", "media/sfx/logo_appears.ogg", LogoAppears);
    AddSound(manifest, "default", "SOUND_ADVENTURECLASSIC_APPEARS", "media/sfx/adventureclassic_appears.ogg",
             ButtonPops);
}
