#include <cctype>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "mediagen/Drawing.h"
#include "mediagen/Families.h"
#include "mediagen/MapTheme.h"
#include "mediagen/Synth.h"

// The race strip of the game screen: the player's four train models and the
// opponent (background, body, rods), the spoked driving wheel, a track tile
// per map section in that section's palette, the perron, the station, and
// the train sounds. Trains face right; their pictures stand on the strip's
// rail line 4 px above it (the definitions' "yoffset"), the wheels below.
namespace {

constexpr int kTrainHeight = 60;
constexpr int kWheelRadius = 10;
constexpr int kWheelFrames = 8;
constexpr int kTileWidth = 256;
constexpr int kStripHeight = 150;  // MINIMAP_HEIGHT
constexpr int kOpponentRail = 68;  // MINIMAP_OPPONENT_TRAIN_Y
constexpr int kPlayerRail = 128;   // MINIMAP_PLAYER_TRAIN_Y
// The rails lie at least a train's height apart, so two trains side by side
// (as at the start) stand one above the other and neither hides the other.
static_assert(kPlayerRail - kOpponentRail >= kTrainHeight);
constexpr int kGroundTop = kOpponentRail - 8;
constexpr double kPi = 3.14159265358979;

const Rgba kIron = Rgba::FromHex(0x3A3F45);
const Rgba kBrass = Rgba::FromHex(0xC89B3C);

// One train model: the picture width, its driving wheels measured from the
// left edge (as the train lists give them) and its paint.
struct TrainModel {
    const char* prefix;
    int width;
    std::vector<int> wheels;
    uint32_t paint;
};

const std::vector<TrainModel>& Models() {
    static const std::vector<TrainModel> models = {
        {"PLAYER_TRAIN1", 96, {34, 58}, 0xC8372D},
        {"PLAYER_TRAIN2", 104, {34, 58}, 0x3C8D4E},
        {"PLAYER_TRAIN3", 116, {34, 58, 82}, 0x2F5D8A},
        {"PLAYER_TRAIN4", 128, {38, 64, 90}, 0x7A2A4A},
        {"OPPONENT_TRAIN", 116, {34, 58, 82}, 0x4A4F57},
    };
    return models;
}

void Outlined(cairo_t* c, const Rgba& fill, double width = 2.0) {
    SetColor(c, fill);
    cairo_fill_preserve(c);
    SetColor(c, fill.Shaded(-0.45));
    cairo_set_line_width(c, width);
    cairo_stroke(c);
}

void Box(Drawing& d, double x, double y, double w, double h, double radius, const Rgba& fill) {
    d.RoundedRectangle(x, y, w, h, radius);
    Outlined(d.Context(), fill);
}

// Behind the wheels: the frame, the buffer beam and the small carrying wheels.
Picture TrainBack(const TrainModel& model) {
    Drawing d(model.width, kTrainHeight);
    cairo_t* c = d.Context();
    const int w = model.width;
    Box(d, 6, 42, w - 10, 8, 2, kIron);
    Box(d, w - 6, 36, 5, 12, 1.5, Rgba::FromHex(0xC8372D));
    for (double x : {12.0, w - 14.0}) {
        d.Circle(x, 52, 6);
        Outlined(c, kIron.Shaded(0.15), 1.5);
        d.Circle(x, 52, 2);
        d.Fill(kBrass);
    }
    return d.ToPicture();
}

// Over the wheels: cab, boiler, dome, chimney and cylinder, lit from the top left.
Picture TrainBody(const TrainModel& model) {
    Drawing d(model.width, kTrainHeight);
    cairo_t* c = d.Context();
    const int w = model.width;
    const Rgba paint = Rgba::FromHex(model.paint);
    // Cab with roof and window.
    Box(d, 4, 10, 28, 30, 2, paint);
    Box(d, 1, 6, 34, 6, 3, paint.Shaded(-0.3));
    Box(d, 10, 15, 14, 11, 2, Rgba::FromHex(0xF3E6C8));
    // Boiler: a cylinder seen from the side, shaded top to bottom.
    d.RoundedRectangle(30, 17, w - 44, 22, 10);
    d.FillVertical(17, 39, paint.Shaded(0.35), paint.Shaded(-0.25));
    d.RoundedRectangle(30, 17, w - 44, 22, 10);
    d.Stroke(paint.Shaded(-0.45), 2);
    for (double x = 44; x < w - 20; x += 18) {
        cairo_rectangle(c, x, 18, 3, 20);
        SetColor(c, kBrass);
        cairo_fill(c);
    }
    // Smokebox front, chimney and dome.
    Box(d, w - 18, 17, 12, 22, 4, kIron);
    Box(d, w - 20, 2, 10, 16, 2, kIron);
    Box(d, w - 22, 1, 14, 4, 2, kIron.Shaded(0.2));
    d.Circle(30 + (w - 44) * 0.55, 17, 6);
    Outlined(c, kBrass);
    // Running board and cylinder above the front wheels.
    Box(d, 4, 38, w - 8, 4, 1.5, kIron.Shaded(0.1));
    Box(d, w - 34, 40, 22, 10, 3, kIron.Shaded(0.2));
    return d.ToPicture();
}

// The piston rod: from the crosshead pin (its top-left) forward to the cylinder.
Picture SmallRod() {
    Drawing d(28, 4);
    d.RoundedRectangle(0, 0.5, 28, 3, 1.5);
    d.FillVertical(0, 4, Rgba::FromHex(0xC9CED4), kIron.Shaded(0.3));
    return d.ToPicture();
}

// The coupling rod over all driving wheels, its first pin at the top-left corner.
Picture BigRod(const TrainModel& model) {
    const int span = model.wheels.back() - model.wheels.front();
    Drawing d(span + 6, 6);
    cairo_t* c = d.Context();
    d.RoundedRectangle(0.5, 1, span + 5, 4, 2);
    d.FillVertical(0, 6, Rgba::FromHex(0xB8BEC6), kIron);
    for (int wheel : model.wheels) {
        d.Circle(wheel - model.wheels.front() + 3, 3, 2);
        SetColor(c, kBrass);
        cairo_fill(c);
    }
    return d.ToPicture();
}

// One turn of a spoked driving wheel in eight frames, turning clockwise as
// the train runs right; the counterweight makes the turn readable.
Picture Wheel() {
    std::vector<Picture> frames;
    const double size = 2 * kWheelRadius;
    for (int frame = 0; frame < kWheelFrames; ++frame) {
        Drawing d(static_cast<int>(size), static_cast<int>(size));
        cairo_t* c = d.Context();
        const double r = kWheelRadius;
        const double turn = frame * 2 * kPi / kWheelFrames;
        d.Circle(r, r, r - 1);
        Outlined(c, kIron, 1.5);
        cairo_new_sub_path(c);
        cairo_arc(c, r, r, r - 3, turn + 0.6, turn + kPi - 0.6);
        cairo_arc_negative(c, r, r, 3, turn + kPi - 0.6, turn + 0.6);
        cairo_close_path(c);
        SetColor(c, kIron.Shaded(-0.3));
        cairo_fill(c);
        for (int spoke = 0; spoke < 8; ++spoke) {
            const double a = turn + spoke * kPi / 4;
            cairo_move_to(c, r, r);
            cairo_line_to(c, r + std::cos(a) * (r - 2.5), r + std::sin(a) * (r - 2.5));
        }
        SetColor(c, kIron.Shaded(0.35));
        cairo_set_line_width(c, 1.3);
        cairo_stroke(c);
        d.Circle(r, r, 2.5);
        d.Fill(kBrass);
        d.Circle(r + std::cos(turn - kPi / 2) * 5.5, r + std::sin(turn - kPi / 2) * 5.5, 1.5);
        d.Fill(Rgba::FromHex(0xC9CED4));
        frames.push_back(d.ToPicture());
    }
    return StackFrames(frames);
}

// A rail seen from the side on sleepers and ballast; wheels stand on `y`.
void Track(Drawing& d, double y, const Rgba& ground) {
    cairo_t* c = d.Context();
    cairo_rectangle(c, 0, y + 1, kTileWidth, 7);
    SetColor(c, ground.Shaded(-0.35).Greyed().Shaded(0.1));
    cairo_fill(c);
    for (int x = 4; x < kTileWidth; x += 16) {
        cairo_rectangle(c, x, y + 2, 9, 4);
        SetColor(c, Rgba::FromHex(0x8A5A32).Shaded(-0.25));
        cairo_fill(c);
    }
    cairo_rectangle(c, 0, y, kTileWidth, 2);
    SetColor(c, kIron.Shaded(0.25));
    cairo_fill(c);
}

// One section's strip: sky, the distant tree line, two bands of ground and
// both tracks. Every shape repeats with the tile width, so tiles join unseen.
Picture TrackTile(const MapTheme& theme) {
    Drawing d(kTileWidth, kStripHeight);
    cairo_t* c = d.Context();
    cairo_rectangle(c, 0, 0, kTileWidth, kStripHeight);
    d.FillVertical(0, 70, Rgba::FromHex(0x8EC5E8), Rgba::FromHex(0xE8EEF2));
    const Rgba backdrop = Rgba::FromHex(theme.backdrop);
    cairo_move_to(c, 0, kStripHeight);
    for (int x = 0; x <= kTileWidth; x += 4) {
        const double phase = 2 * kPi * x / kTileWidth;
        cairo_line_to(c, x, 58 - 8 * std::sin(phase * 2) - 5 * std::sin(phase * 5 + 1.0));
    }
    cairo_line_to(c, kTileWidth, kStripHeight);
    cairo_close_path(c);
    SetColor(c, backdrop);
    cairo_fill(c);
    cairo_rectangle(c, 0, kGroundTop, kTileWidth, kStripHeight - kGroundTop);
    d.FillVertical(kGroundTop, kStripHeight, Rgba::FromHex(theme.groundLight), Rgba::FromHex(theme.groundDark));
    for (int x = 0; x < kTileWidth; x += 64) {
        EllipsePath(c, x + 24, 78, 20, 4);
        SetColor(c, Rgba::FromHex(theme.patch, 0.8));
        cairo_fill(c);
        EllipsePath(c, x + 56, 112, 14, 3);
        SetColor(c, Rgba::FromHex(theme.groundDark, 0.6));
        cairo_fill(c);
    }
    Track(d, kOpponentRail, Rgba::FromHex(theme.groundDark));
    Track(d, kPlayerRail, Rgba::FromHex(theme.groundDark));
    return d.ToPicture();
}

// The platform edge in front of the player's track: dressed stone with a light top.
Picture Perron() {
    Drawing d(160, 20);
    cairo_t* c = d.Context();
    Box(d, 1, 5, 158, 14, 2, Rgba::FromHex(0xB8AC98));
    for (int x = 20; x < 160; x += 20) {
        cairo_move_to(c, x, 6);
        cairo_line_to(c, x, 18);
    }
    SetColor(c, Rgba::FromHex(0x8A7E6C));
    cairo_set_line_width(c, 1);
    cairo_stroke(c);
    Box(d, 0, 1, 160, 5, 2, Rgba::FromHex(0xE6DCC8));
    return d.ToPicture();
}

// A small wooden station with a brass-lettered board, standing on its foot.
// It is drawn small and squat so that its foot stays on the far ground,
// clear above the other train's track, which runs in front of it.
Picture Station() {
    Drawing d(100, 50);
    cairo_t* c = d.Context();
    cairo_scale(c, 0.82, 0.6);
    Box(d, 10, 30, 100, 48, 2, Rgba::FromHex(0xD9C9A3));
    cairo_move_to(c, 2, 32);
    cairo_line_to(c, 60, 4);
    cairo_line_to(c, 118, 32);
    cairo_close_path(c);
    Outlined(c, Rgba::FromHex(0x8A5A32));
    for (double x : {22.0, 82.0}) {
        Box(d, x, 42, 16, 18, 2, Rgba::FromHex(0x8EC5E8));
    }
    Box(d, 50, 48, 20, 30, 2, Rgba::FromHex(0x8A5A32));
    Box(d, 36, 20, 48, 10, 2, kBrass);
    return d.ToPicture();
}

void AddImage(Manifest& manifest, const std::string& id, const std::string& file, int frames,
              std::function<Picture()> draw) {
    std::vector<ResourceKey> keys;
    if (frames > 1) {
        keys.push_back({"nrofframes", std::to_string(frames)});
    }
    const std::string path = "media/gfx/race/" + file + ".png";
    manifest.Add({"gamescene", id, "Image", path, keys,
                  [path, draw = std::move(draw)](MediaTree& tree) { tree.Add(path, EncodePng(draw())); }});
}

// --- sounds -------------------------------------------------------------

constexpr double kC5 = 523.25, kE5 = 659.26, kG5 = 783.99, kA5 = 880.0, kC6 = 1046.5;

// A chuff: a short burst of filtered steam; faster speeds are shorter and brighter.
Synth Chuff(int speed) {
    const double length = 0.2 - 0.015 * speed;
    Synth s(length + 0.05);
    s.Noise(0.0, length, 0.8, 0.006, length / 3, 0.22 + 0.07 * speed);
    s.Noise(0.0, length * 0.4, 0.4, 0.002, length / 8, 0.08);
    s.Normalize(0.6);
    return s;
}

Synth TrainStopped() {
    Synth s(1.0);
    s.Tone(0.0, 0.12, 180, 120, 0.4, 0.002, 0.05);
    s.Noise(0.05, 0.9, 0.6, 0.02, 0.35, 0.75);
    s.Normalize(0.65);
    return s;
}

Synth TurboUsed() {
    Synth s(0.8);
    s.Noise(0.0, 0.6, 0.5, 0.15, 0.2, 0.6);
    const double notes[] = {kC5, kE5, kG5, kC6};
    for (int i = 0; i < 4; ++i) {
        s.Tone(i * 0.08, 0.3, notes[i], notes[i], 0.35, 0.005, 0.12);
    }
    s.Normalize(0.7);
    return s;
}

Synth OpponentReturns() {
    Synth s(0.9);
    s.Tone(0.0, 0.35, kA5, kA5, 0.4, 0.03, 0.2);
    s.Tone(0.0, 0.35, kC6, kC6, 0.3, 0.03, 0.2);
    s.Tone(0.4, 0.45, kG5, kG5, 0.4, 0.03, 0.25);
    s.Noise(0.0, 0.8, 0.15, 0.05, 0.3, 0.9);
    s.Normalize(0.65);
    return s;
}

void AddSound(Manifest& manifest, const std::string& id, const std::string& file, std::function<Synth()> recipe) {
    const std::string path = "media/sfx/" + file + ".ogg";
    manifest.Add({"gamescene", id, "Sound", path, {{"volumemultiplier", "1.0"}},
                  [path, recipe = std::move(recipe)](MediaTree& tree) {
                      tree.Add(path, EncodeEffect(recipe()));
                  }});
}

std::string Lower(std::string text) {
    for (char& ch : text) {
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    return text;
}

}  // namespace

void AddRaceRows(Manifest& manifest) {
    for (const TrainModel& model : Models()) {
        const std::string id = model.prefix;
        const std::string file = Lower(id);
        AddImage(manifest, id + "_BACK", file + "_back", 1, [&model] { return TrainBack(model); });
        AddImage(manifest, id + "_BODY", file + "_body", 1, [&model] { return TrainBody(model); });
        AddImage(manifest, id + "_ROD_SMALL", file + "_rod_small", 1, SmallRod);
        AddImage(manifest, id + "_ROD_BIG", file + "_rod_big", 1, [&model] { return BigRod(model); });
    }
    AddImage(manifest, "TRAIN_WHEEL_BIG", "train_wheel_big", kWheelFrames, Wheel);
    const std::vector<MapTheme>& themes = JourneyThemes();
    for (size_t i = 0; i < themes.size(); ++i) {
        const MapTheme* theme = &themes[i];
        AddImage(manifest, "TRACK_BACKGROUND" + std::to_string(i + 1), "track_" + theme->name, 1,
                 [theme] { return TrackTile(*theme); });
    }
    AddImage(manifest, "PERRON1", "perron", 1, Perron);
    AddImage(manifest, "STATION_BUILDING", "station", 1, Station);
    for (int speed = 0; speed < 7; ++speed) {
        AddSound(manifest, "SOUND_TRAIN_MOVING_" + std::to_string(speed), "train_chuff_" + std::to_string(speed),
                 [speed] { return Chuff(speed); });
    }
    AddSound(manifest, "SOUND_TRAIN_STOPPED", "train_stopped", TrainStopped);
    AddSound(manifest, "SOUND_TURBO_USED", "turbo_used", TurboUsed);
    AddSound(manifest, "SOUND_OPPONENT_RETURNS", "opponent_returns", OpponentReturns);
}
