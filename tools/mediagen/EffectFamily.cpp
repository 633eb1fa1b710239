#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "mediagen/Drawing.h"
#include "mediagen/Families.h"
#include "mediagen/Synth.h"

namespace {

constexpr const char* kDefault = "default";
constexpr const char* kGame = "gamescene";
constexpr const char* kSansBold = "DejaVuSans-Bold.ttf";
constexpr double kPi = 3.14159265358979323846;

constexpr uint32_t kCoinGold = 0xF2C230;
constexpr uint32_t kInk = 0x2B2118;
constexpr uint32_t kBrass = 0xC89B3C;
constexpr uint32_t kSteam = 0xE8EEF2;
constexpr uint32_t kSignalGreen = 0x3C8D4E;
constexpr uint32_t kSignalRed = 0xC8372D;

// Pentatonic notes of the one scale every pitched effect uses.
constexpr double kC6 = 1046.50;
constexpr double kD6 = 1174.66;
constexpr double kE6 = 1318.51;
constexpr double kG6 = 1567.98;
constexpr double kA6 = 1760.00;
constexpr double kC7 = 2093.00;

// A soft light, brightest in the middle, round or stretched to an oval;
// added onto the picture below.
Picture Glow(int size, uint32_t inner, uint32_t outer, int height = 0) {
    const int tall = height > 0 ? height : size;
    Drawing drawing(size, tall);
    const double c = size / 2.0;
    cairo_scale(drawing.Context(), 1.0, static_cast<double>(tall) / size);
    drawing.Circle(c, c, c);
    cairo_pattern_t* pattern = cairo_pattern_create_radial(c, c, 0, c, c, c);
    const Rgba in = Rgba::FromHex(inner);
    const Rgba out = Rgba::FromHex(outer);
    cairo_pattern_add_color_stop_rgba(pattern, 0.0, in.r, in.g, in.b, 1.0);
    cairo_pattern_add_color_stop_rgba(pattern, 0.35, out.r, out.g, out.b, 0.7);
    cairo_pattern_add_color_stop_rgba(pattern, 1.0, out.r, out.g, out.b, 0.0);
    cairo_set_source(drawing.Context(), pattern);
    cairo_fill(drawing.Context());
    cairo_pattern_destroy(pattern);
    return drawing.ToPicture();
}

// A four-pointed twinkle: two thin crossed rays over a small bright core.
void Twinkle(Drawing& drawing, double cx, double cy, double reach, double turn, uint32_t ray, uint32_t core) {
    cairo_t* cairo = drawing.Context();
    cairo_new_path(cairo);
    for (int i = 0; i < 8; ++i) {
        const double radius = i % 2 == 0 ? reach : reach * 0.18;
        const double angle = turn + i * kPi / 4;
        cairo_line_to(cairo, cx + radius * std::cos(angle), cy + radius * std::sin(angle));
    }
    cairo_close_path(cairo);
    drawing.Fill(Rgba::FromHex(ray, 0.9));
    drawing.Circle(cx, cy, reach * 0.3);
    drawing.FillRadial(cx, cy, reach * 0.3, Rgba::FromHex(core), Rgba::FromHex(ray, 0.0));
}

Picture Spark(int size, double turn, uint32_t ray, uint32_t core) {
    Drawing drawing(size, size);
    Twinkle(drawing, size / 2.0, size / 2.0, size / 2.0 - 0.5, turn, ray, core);
    return drawing.ToPicture();
}

// The score star: a small gold star that turns a fifth of a turn over its
// eight frames and swells once, so an endless loop sparkles.
Picture ScoreStar() {
    constexpr int kSize = 22;
    std::vector<Picture> frames;
    for (int frame = 0; frame < 8; ++frame) {
        Drawing drawing(kSize, kSize);
        const double swell = 1.0 + 0.12 * std::sin(frame * kPi / 4);
        const double turn = frame * (2 * kPi / 5) / 8;
        StarPath(drawing.Context(), kSize / 2.0, kSize / 2.0, 9.5 * swell, 4.0 * swell, turn);
        drawing.FillRadial(kSize / 2.0 - 2, kSize / 2.0 - 3, 10, Rgba::FromHex(0xFFF6C0), Rgba::FromHex(kCoinGold));
        StarPath(drawing.Context(), kSize / 2.0, kSize / 2.0, 9.5 * swell, 4.0 * swell, turn);
        drawing.Stroke(Rgba::FromHex(0xE8A81C), 1.0);
        frames.push_back(drawing.ToPicture());
    }
    return StackFrames(frames);
}

// The flying star of the ranking and trophy dialogs: it pops up, throws
// four rays out and settles, played once.
Picture FlyingStar(uint32_t light, uint32_t body, uint32_t edge) {
    constexpr int kSize = 34;
    constexpr int kFrames = 8;
    const double c = kSize / 2.0;
    std::vector<Picture> frames;
    for (int frame = 0; frame < kFrames; ++frame) {
        Drawing drawing(kSize, kSize);
        const double t = static_cast<double>(frame) / (kFrames - 1);
        const double pop = t < 0.4 ? 0.6 + t : 1.0 + 0.1 * std::sin((t - 0.4) * 2.5 * kPi) * (1 - t);
        const double rays = std::sin(t * kPi);
        if (rays > 0.05) {
            Twinkle(drawing, c, c, (c - 1) * rays, kPi / 4, light, 0xFFFFFF);
        }
        StarPath(drawing.Context(), c, c, 11 * pop, 4.8 * pop);
        drawing.FillRadial(c - 3, c - 4, 12, Rgba::FromHex(light), Rgba::FromHex(body));
        StarPath(drawing.Context(), c, c, 11 * pop, 4.8 * pop);
        drawing.Stroke(Rgba::FromHex(edge), 1.5);
        frames.push_back(drawing.ToPicture());
    }
    return StackFrames(frames);
}

// A gold coin turning about its upright axis over eight frames, with a soft
// shadow beneath because it floats.
Picture SpinningCoin() {
    constexpr int kSize = 26;
    constexpr double kRadius = 10;
    std::vector<Picture> frames;
    for (int frame = 0; frame < 8; ++frame) {
        Drawing drawing(kSize, kSize);
        cairo_t* cairo = drawing.Context();
        const double c = kSize / 2.0 - 1;
        const double width = std::max(1.5, kRadius * std::abs(std::cos(frame * kPi / 8)));
        EllipsePath(cairo, c + 2, c + 2.5, width, kRadius);
        drawing.Fill(Rgba{0, 0, 0, 0.3});
        EllipsePath(cairo, c, c, width, kRadius);
        drawing.FillRadial(c - width * 0.4, c - 4, kRadius * 1.4, Rgba::FromHex(0xFFE98A), Rgba::FromHex(0xC9951C));
        EllipsePath(cairo, c, c, width, kRadius);
        drawing.Stroke(Rgba::FromHex(kCoinGold).Shaded(-0.45), 1.5);
        if (width > 4) {
            EllipsePath(cairo, c, c, width * 0.6, kRadius * 0.6);
            drawing.Stroke(Rgba::FromHex(0xB07F12), 1.0);
        }
        frames.push_back(drawing.ToPicture());
    }
    return StackFrames(frames);
}

// A puff of steam that swells and thins out over six frames.
Picture SmokePuff() {
    constexpr int kSize = 30;
    std::vector<Picture> frames;
    for (int frame = 0; frame < 6; ++frame) {
        Drawing drawing(kSize, kSize);
        const double t = frame / 5.0;
        const double radius = 5 + 8 * t;
        const double thickness = 0.85 * (1 - t) + 0.1;
        const double lobes[][2] = {{0, 0}, {-0.55, 0.25}, {0.5, 0.3}, {0.1, -0.5}};
        for (const auto& lobe : lobes) {
            const double x = kSize / 2.0 + lobe[0] * radius;
            const double y = kSize / 2.0 + lobe[1] * radius;
            drawing.Circle(x, y, radius * 0.7);
            drawing.FillRadial(x - radius * 0.2, y - radius * 0.3, radius, Rgba::FromHex(0xFFFFFF, thickness),
                               Rgba::FromHex(kSteam, thickness * 0.5));
        }
        frames.push_back(drawing.ToPicture());
    }
    return StackFrames(frames);
}

// The flash behind the mini train: a dark halo and a warm glow of one shape.
Picture TrainHalo(uint32_t colour, double strength) {
    constexpr int kWidth = 64;
    constexpr int kHeight = 34;
    Drawing drawing(kWidth, kHeight);
    cairo_t* cairo = drawing.Context();
    cairo_save(cairo);
    cairo_translate(cairo, kWidth / 2.0, kHeight / 2.0);
    cairo_scale(cairo, kWidth / 2.0, kHeight / 2.0);
    cairo_arc(cairo, 0, 0, 1, 0, 2 * kPi);
    cairo_pattern_t* pattern = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
    const Rgba c = Rgba::FromHex(colour);
    cairo_pattern_add_color_stop_rgba(pattern, 0.0, c.r, c.g, c.b, strength);
    cairo_pattern_add_color_stop_rgba(pattern, 1.0, c.r, c.g, c.b, 0.0);
    cairo_set_source(cairo, pattern);
    cairo_fill(cairo);
    cairo_pattern_destroy(pattern);
    cairo_restore(cairo);
    return drawing.ToPicture();
}

// The level-end banner's plate: an enamel sign with a brass rim.
constexpr int kBannerWidth = 300;
constexpr int kBannerHeight = 60;

Picture BannerBack(uint32_t enamel) {
    Drawing drawing(kBannerWidth, kBannerHeight);
    drawing.RoundedRectangle(5, 6, kBannerWidth - 8, kBannerHeight - 9, 12);
    drawing.Fill(Rgba{0, 0, 0, 0.3});
    drawing.RoundedRectangle(2, 2, kBannerWidth - 8, kBannerHeight - 9, 12);
    drawing.FillVertical(2, kBannerHeight - 7, Rgba::FromHex(enamel).Shaded(0.25), Rgba::FromHex(enamel).Shaded(-0.2));
    drawing.RoundedRectangle(3, 3, kBannerWidth - 10, kBannerHeight - 11, 11);
    drawing.Stroke(Rgba::FromHex(kBrass), 3);
    drawing.RoundedRectangle(8, 8, kBannerWidth - 20, kBannerHeight - 21, 7);
    drawing.Stroke(Rgba::FromHex(0xFFFFFF, 0.35), 1);
    return drawing.ToPicture();
}

Picture BannerText(FontFaces& faces, const std::string& text) {
    Drawing drawing(240, 40);
    // Light text over a picture gets a dark edge.
    for (const auto& offset : {std::pair{-1, 0}, std::pair{1, 0}, std::pair{0, -1}, std::pair{0, 2}}) {
        drawing.Caption(faces, kSansBold, 28, text, 120 + offset.first, 30 + offset.second, Rgba::FromHex(kInk));
    }
    drawing.Caption(faces, kSansBold, 28, text, 120, 30, Rgba::FromHex(0xFFF8E6));
    return drawing.ToPicture();
}

void AddPicture(Manifest& manifest, const std::string& section, const std::string& id, int frames,
                std::function<Picture()> draw) {
    std::string stem = id;
    for (char& ch : stem) {
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    const std::string file = "media/gfx/effects/" + stem + ".png";
    std::vector<ResourceKey> keys;
    if (frames > 1) {
        keys.push_back({"nrofframes", std::to_string(frames)});
    }
    manifest.Add({section, id, "Image", file, keys,
                  [file, draw = std::move(draw)](MediaTree& tree) { tree.Add(file, EncodePng(draw())); }});
}

// A coin appears: two quick pentatonic chimes.
Synth CoinAppears() {
    Synth s(0.35);
    s.Tone(0.0, 0.2, kE6, kE6, 0.4, 0.003, 0.08);
    s.Tone(0.06, 0.28, kA6, kA6, 0.45, 0.003, 0.1);
    s.Normalize(0.6);
    return s;
}

// A coin lands on the counter: a bright clink.
Synth CoinAdded() {
    Synth s(0.25);
    s.Tone(0.0, 0.22, kC7, kC7, 0.4, 0.002, 0.06);
    s.Tone(0.0, 0.22, kG6, kG6, 0.25, 0.002, 0.08);
    s.Noise(0.0, 0.03, 0.1, 0.001, 0.01, 0.95);
    s.Normalize(0.6);
    return s;
}

// A bonus coal arrives: a rising sparkle.
Synth BonusAppears() {
    Synth s(0.6);
    const double notes[] = {kC6, kD6, kE6, kG6, kA6};
    for (int i = 0; i < 5; ++i) {
        s.Tone(i * 0.06, 0.3, notes[i], notes[i], 0.35, 0.004, 0.1);
    }
    s.Noise(0.0, 0.4, 0.05, 0.05, 0.15, 1.0);
    s.Normalize(0.65);
    return s;
}

// A turbo coal arrives: a hiss of steam under a quick rising fifth.
Synth TurboAppears() {
    Synth s(0.5);
    s.Noise(0.0, 0.35, 0.3, 0.02, 0.2, 0.7);
    s.Tone(0.0, 0.2, kC6, kC6, 0.35, 0.004, 0.08);
    s.Tone(0.08, 0.3, kG6, kG6, 0.35, 0.004, 0.12);
    s.Normalize(0.65);
    return s;
}

}  // namespace

void AddEffectRows(Manifest& manifest, FontFaces& faces) {
    FontFaces* shared = &faces;
    AddPicture(manifest, kDefault, "SCORE_STAR", 8, ScoreStar);
    AddPicture(manifest, kDefault, "SCORE_GLOW", 1, [] { return Glow(40, 0xFFF0B0, 0xF08A24); });
    // Behind the hint bubble's OK button, a little larger than the button.
    AddPicture(manifest, kDefault, "BUTTON_GLOW", 1, [] { return Glow(170, 0xFFF0B0, 0xF0A83A, 80); });
    AddPicture(manifest, kDefault, "COIN_SPIN", 8, SpinningCoin);
    AddPicture(manifest, kDefault, "STAR_FLY", 8, [] { return FlyingStar(0xFFF3A0, kCoinGold, 0xB07F12); });
    AddPicture(manifest, kDefault, "STAR_FLY_SILVER", 8, [] { return FlyingStar(0xFFFFFF, 0xC9D3DC, 0x6B7683); });

    AddPicture(manifest, kGame, "SPARK_GLOW1", 1, [] { return Glow(64, 0xFFD27A, 0xE0652B); });
    AddPicture(manifest, kGame, "SPARK_GLOW2", 1, [] { return Glow(44, 0xFFF4C8, 0xF2A23A); });
    AddPicture(manifest, kGame, "COAL_SPARK1", 1, [] { return Spark(22, 0.0, 0xFFB347, 0xFFFFFF); });
    AddPicture(manifest, kGame, "COAL_SPARK2", 1, [] { return Spark(16, kPi / 4, 0xFFD966, 0xFFFFFF); });
    AddPicture(manifest, kGame, "COAL_SPARK3", 1, [] { return Spark(26, kPi / 8, 0xF08A24, 0xFFF0C0); });
    AddPicture(manifest, kGame, "BONUS_APPEAR_SPARK", 1, [] { return Spark(14, 0.0, 0xFFF3A0, 0xFFFFFF); });
    AddPicture(manifest, kGame, "TRAIN_DARK", 1, [] { return TrainHalo(kInk, 0.9); });
    AddPicture(manifest, kGame, "TRAIN_GLOW", 1, [] { return TrainHalo(0xFFD27A, 1.0); });
    AddPicture(manifest, kGame, "WIN_BACK", 1, [] { return BannerBack(kSignalGreen); });
    AddPicture(manifest, kGame, "LOSE_BACK", 1, [] { return BannerBack(kSignalRed); });
    AddPicture(manifest, kGame, "WIN_TEXT", 1, [shared] { return BannerText(*shared, "Well done!"); });
    AddPicture(manifest, kGame, "LOSE_TEXT", 1, [shared] { return BannerText(*shared, "Out of steam"); });
    AddPicture(manifest, kGame, "SMOKE_PUFF", 6, SmokePuff);

    AddSound(manifest, kGame, "SOUND_COIN_APPEARS", "media/sfx/coin_appears.ogg", CoinAppears);
    AddSound(manifest, kGame, "SOUND_COIN_ADDED", "media/sfx/coin_added.ogg", CoinAdded);
    AddSound(manifest, kGame, "SOUND_BONUS_APPEARS", "media/sfx/bonus_appears.ogg", BonusAppears);
    AddSound(manifest, kGame, "SOUND_TURBO_APPEARS", "media/sfx/turbo_appears.ogg", TurboAppears);
}
