#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "mediagen/ButtonPlate.h"
#include "mediagen/Drawing.h"
#include "mediagen/Families.h"
#include "mediagen/GameTypeColours.h"

// The game screen's own HUD: the header panel of each game type in its
// colour, its blink, the six buttons, the mini-train track with both mini
// trains and the performance bar, the coin icon, the stop-coal timer, the
// bonus text and the end sign. Frames are stacked top to bottom.
namespace {

constexpr const char* kSection = "gamescene";
constexpr const char* kSansBold = "DejaVuSans-Bold.ttf";
constexpr double kPi = 3.14159265358979;

const Rgba kIron = Rgba::FromHex(0x3A3F45);
const Rgba kBrass = Rgba::FromHex(0xC89B3C);

constexpr int kHudWidth = 800;
constexpr int kHudHeight = 40;
constexpr int kTrackWidth = 236;
// Two rails, the opponent's above the player's, as the trains stand in the
// definition of the game screen.
constexpr int kTrackHeight = 28;
constexpr int kRailSpacing = 12;
constexpr int kMiniTrainWidth = 26;
constexpr int kMiniTrainHeight = 14;
constexpr int kTimerSize = 32;
constexpr int kTimerFrames = 16;

void AddPicture(Manifest& manifest, const std::string& id, const std::string& file, int frames,
                std::function<Picture()> draw) {
    std::vector<ResourceKey> keys;
    if (frames > 1) {
        keys.push_back({"nrofframes", std::to_string(frames)});
    }
    const std::string path = "media/gfx/game/" + file + ".png";
    manifest.Add({kSection, id, "Image", path, keys,
                  [path, draw = std::move(draw)](MediaTree& tree) { tree.Add(path, EncodePng(draw())); }});
}

// An iron band across the screen with a brass rim and the game type's
// colour in the plate behind the game-type label.
Picture HudPanel(int type) {
    Drawing d(kHudWidth, kHudHeight);
    cairo_rectangle(d.Context(), 0, 0, kHudWidth, kHudHeight);
    d.FillVertical(0, kHudHeight, kIron.Shaded(0.2), kIron.Shaded(-0.35));
    cairo_rectangle(d.Context(), 0, kHudHeight - 3, kHudWidth, 3);
    d.Fill(kBrass);
    const Rgba colour = Rgba::FromHex(kGameTypeColours[type]);
    d.RoundedRectangle(6, 5, 190, kHudHeight - 12, 8);
    d.FillVertical(5, kHudHeight - 7, colour.Shaded(0.2), colour.Shaded(-0.35));
    d.RoundedRectangle(6, 5, 190, kHudHeight - 12, 8);
    d.Stroke(colour.Shaded(-0.5), 1.5);
    return d.ToPicture();
}

Picture HudBlink() {
    Drawing d(200, kHudHeight);
    d.RoundedRectangle(2, 2, 196, kHudHeight - 4, 10);
    d.FillRadial(100, kHudHeight / 2.0, 110, Rgba::FromHex(0xFFFFFF, 0.9), Rgba::FromHex(0xFFFFFF, 0.0));
    return d.ToPicture();
}

Picture MiniTrack() {
    Drawing d(kTrackWidth, kTrackHeight);
    cairo_t* c = d.Context();
    for (int rail = 0; rail < 2; ++rail) {
        const int y = rail * kRailSpacing;
        for (int x = 2; x < kTrackWidth; x += 6) {
            cairo_rectangle(c, x, y + 9, 3, 6);
        }
        d.Fill(Rgba::FromHex(0x8A5A32));
        cairo_rectangle(c, 0, y + 10, kTrackWidth, 2);
        d.Fill(Rgba::FromHex(0xB8C2CA));
    }
    return d.ToPicture();
}

// A little locomotive facing right: boiler, cab and chimney.
Picture MiniTrain(uint32_t boiler) {
    Drawing d(kMiniTrainWidth, kMiniTrainHeight);
    const Rgba colour = Rgba::FromHex(boiler);
    d.RoundedRectangle(2, 4, 16, 7, 3);
    d.Fill(colour);
    d.RoundedRectangle(14, 1, 8, 10, 1.5);
    d.Fill(colour.Shaded(-0.25));
    cairo_rectangle(d.Context(), 4, 0, 3, 5);
    d.Fill(kIron);
    for (double x : {5.0, 11.0, 18.0}) {
        d.Circle(x, 11.5, 2.3);
        d.Fill(kIron.Shaded(-0.3));
    }
    return d.ToPicture();
}

// Across both rails of the mini track.
Picture PerformanceBar() {
    constexpr int kHeight = 32;
    Drawing d(4, kHeight);
    cairo_rectangle(d.Context(), 0, 0, 4, kHeight);
    d.FillVertical(0, kHeight, Rgba::FromHex(0xFFE27A), Rgba::FromHex(0xC89B3C));
    return d.ToPicture();
}

Picture CoinIcon() {
    Drawing d(22, 22);
    d.Circle(11, 11, 10);
    d.FillRadial(8, 8, 13, Rgba::FromHex(0xFFE27A), Rgba::FromHex(0xC8901C));
    d.Circle(11, 11, 6.5);
    d.Stroke(Rgba::FromHex(0x9A6A10), 1.5);
    return d.ToPicture();
}

// A clock face whose red sector grows frame by frame.
Picture TimerFrame(int frame) {
    Drawing d(kTimerSize, kTimerSize);
    cairo_t* c = d.Context();
    const double centre = kTimerSize / 2.0;
    d.Circle(centre, centre, centre - 2);
    d.Fill(Rgba::FromHex(0xF3E6C8));
    const double share = static_cast<double>(frame + 1) / kTimerFrames;
    cairo_move_to(c, centre, centre);
    cairo_arc(c, centre, centre, centre - 4, -kPi / 2, -kPi / 2 + share * 2 * kPi);
    cairo_close_path(c);
    d.Fill(Rgba::FromHex(0xD3271B));
    d.Circle(centre, centre, centre - 2);
    d.Stroke(kIron, 2);
    return d.ToPicture();
}

Picture TimerStrip() {
    std::vector<Picture> frames;
    for (int i = 0; i < kTimerFrames; ++i) {
        frames.push_back(TimerFrame(i));
    }
    return StackFrames(frames);
}

// Shown once the player's train has arrived first in a classic race, which
// goes on until the other train arrives: it says so under the word.
Picture BonusText(FontFaces& faces) {
    Drawing d(420, 90);
    d.Caption(faces, kSansBold, 44, "BONUS", 212, 50, Rgba::FromHex(0x2A1A0C, 0.7));
    d.Caption(faces, kSansBold, 44, "BONUS", 210, 48, Rgba::FromHex(0xF2C230));
    const std::string until = "on each word until the other train arrives";
    d.Caption(faces, kSansBold, 15, until, 211, 79, Rgba::FromHex(0x2A1A0C, 0.7));
    d.Caption(faces, kSansBold, 15, until, 210, 78, Rgba::FromHex(0xF2C230));
    return d.ToPicture();
}

// The end of the line: a board on an iron post, framed in the red and white
// stripes of a buffer stop, that says the race is over and how to go on.
Picture EndSign(FontFaces& faces) {
    constexpr double kWidth = 130;
    constexpr double kBoardHeight = 84;
    Drawing d(static_cast<int>(kWidth) + 4, 150);
    cairo_t* c = d.Context();
    const Rgba red = Rgba::FromHex(0xC8372D);
    const Rgba ink = Rgba::FromHex(0x2B2118);
    // The post with its warm rim light, and the board's shadow.
    cairo_rectangle(c, kWidth / 2 - 4, 70, 9, 80);
    d.Fill(Rgba{0, 0, 0, 0.35});
    cairo_rectangle(c, kWidth / 2 - 6, 70, 10, 80);
    d.FillVertical(70, 150, kIron.Shaded(0.2), kIron.Shaded(-0.2));
    cairo_rectangle(c, kWidth / 2 - 6, 70, 2, 80);
    d.Fill(Rgba::FromHex(0xF6D9A8, 0.4));
    d.RoundedRectangle(4, 5, kWidth - 2, kBoardHeight, 9);
    d.Fill(Rgba{0, 0, 0, 0.35});
    // The striped frame: red bars slanting across a white board.
    d.RoundedRectangle(1, 1, kWidth - 2, kBoardHeight, 9);
    d.Fill(Rgba::FromHex(0xF4F7F9));
    cairo_save(c);
    d.RoundedRectangle(1, 1, kWidth - 2, kBoardHeight, 9);
    cairo_clip(c);
    for (double x = -kBoardHeight; x < kWidth; x += 20) {
        cairo_move_to(c, x, kBoardHeight + 1);
        cairo_line_to(c, x + kBoardHeight, 1);
        cairo_line_to(c, x + kBoardHeight + 10, 1);
        cairo_line_to(c, x + 10, kBoardHeight + 1);
        cairo_close_path(c);
        d.Fill(red);
    }
    cairo_restore(c);
    d.RoundedRectangle(1, 1, kWidth - 2, kBoardHeight, 9);
    d.Stroke(red.Shaded(-0.45), 2);
    // The lettered panel, parchment with a darker edge.
    d.RoundedRectangle(9, 9, kWidth - 18, kBoardHeight - 16, 5);
    d.FillVertical(9, kBoardHeight - 7, Rgba::FromHex(0xFBF3DF), Rgba::FromHex(0xE9D8B0));
    d.RoundedRectangle(9, 9, kWidth - 18, kBoardHeight - 16, 5);
    d.Stroke(Rgba::FromHex(0x8A5A32), 2);
    const double middle = kWidth / 2;
    d.Caption(faces, kSansBold, 17, "Race over", middle, 34, ink);
    d.Caption(faces, "DejaVuSans.ttf", 12, "Click or press", middle, 52, ink.Shaded(0.15));
    d.Caption(faces, "DejaVuSans.ttf", 12, "Enter to go on", middle, 67, ink.Shaded(0.15));
    return d.ToPicture();
}

// The cab's wall behind the play field: dark wood panels under the race
// strip, a lighter board where the word bar sits.
Picture GameBackground() {
    Drawing d(800, 600);
    cairo_t* c = d.Context();
    cairo_rectangle(c, 0, 0, 800, 600);
    d.FillVertical(0, 600, Rgba::FromHex(0x5A3A22), Rgba::FromHex(0x2E1D12));
    for (int x = 0; x < 800; x += 100) {
        cairo_rectangle(c, x, 190, 2, 410);
        d.Fill(Rgba::FromHex(0x22150C, 0.6));
    }
    d.RoundedRectangle(130, 380, 540, 160, 14);
    d.FillVertical(380, 540, Rgba::FromHex(0x7A5434), Rgba::FromHex(0x5A3A22));
    d.RoundedRectangle(130, 380, 540, 160, 14);
    d.Stroke(kBrass.Shaded(-0.2), 3);
    d.RoundedRectangle(140, 200, 520, 170, 10);
    d.Fill(Rgba::FromHex(0xF3E6C8, 0.12));
    return d.ToPicture();
}

}  // namespace

void AddGameSceneRows(Manifest& manifest, FontFaces& faces) {
    for (int type = 0; type < kMixedGameType; ++type) {
        AddPicture(manifest, "HUD_" + std::to_string(type), "hud_" + std::to_string(type), 1,
                   [type] { return HudPanel(type); });
    }
    AddPicture(manifest, "GAME_BACKGROUND", "background", 1, GameBackground);
    AddPicture(manifest, "HUD_BLINK", "hud_blink", 1, HudBlink);
    AddPicture(manifest, "MINI_TRACK", "mini_track", 1, MiniTrack);
    AddPicture(manifest, "MINI_TRAIN1", "mini_train1", 1, [] { return MiniTrain(0xD3271B); });
    AddPicture(manifest, "MINI_TRAIN2", "mini_train2", 1, [] { return MiniTrain(0x6B737C); });
    AddPicture(manifest, "PERF_BAR", "perf_bar", 1, PerformanceBar);
    AddPicture(manifest, "HUD_COINS", "hud_coins", 1, CoinIcon);
    AddPicture(manifest, "TIMER", "timer", kTimerFrames, TimerStrip);
    AddPicture(manifest, "BONUS_TEXT", "bonus_text", 1, [&faces] { return BonusText(faces); });
    AddPicture(manifest, "END_GAME", "end_game", 1, [&faces] { return EndSign(faces); });
    const struct {
        const char* id;
        const char* file;
        ButtonLook look;
    } buttons[] = {
        {"BUTTON_PAUSE", "button_pause", {84, 28, 0x4A6FA5, "Pause"}},
        {"BUTTON_MENU", "button_menu", {84, 28, 0x4A6FA5, "Menu"}},
        {"BUTTON_CLEAR", "button_clear", {96, 32, 0xC89B3C, "Clear"}},
        {"BUTTON_SHUFFLE", "button_shuffle", {96, 32, 0xC89B3C, "Shuffle"}},
        {"BUTTON_SKIP", "button_skip", {96, 32, 0xC89B3C, "Skip"}},
        {"BUTTON_SUBMIT", "button_submit", {120, 36, 0x3C8D2F, "Fire!"}},
    };
    for (const auto& button : buttons) {
        AddButton(manifest, faces, kSection, button.id, std::string("media/gfx/game/") + button.file + ".png",
                  button.look);
    }
}
