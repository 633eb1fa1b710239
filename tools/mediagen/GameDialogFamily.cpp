#include <string>

#include "mediagen/Drawing.h"
#include "mediagen/Families.h"
#include "mediagen/MediaTree.h"
#include "mediagen/Picture.h"
#include "mediagen/Synth.h"

// What the game's own dialogs show and play beyond their frames and buttons:
// the pause and credits plates, the effects slider's ticks and the goodbye
// whistle.
namespace {

constexpr uint32_t kInk = 0x2B2118;
constexpr uint32_t kParchment = 0xF3E6C8;
constexpr uint32_t kWood = 0x8A5A32;
constexpr uint32_t kBrass = 0xC89B3C;
constexpr const char* kSans = "DejaVuSans.ttf";
constexpr const char* kSansBold = "DejaVuSans-Bold.ttf";

constexpr int kPlateWidth = 360;
constexpr int kPlateHeight = 170;
// The end credits' plate: the title, a header and up to four names.
constexpr int kCreditsPlateWidth = 640;
constexpr int kCreditsPlateHeight = 300;

// A varnished wooden plate with brass rim and parchment face, floating on
// a soft shadow.
void PaintWoodPlate(Drawing& drawing) {
    const int width = drawing.Width(), height = drawing.Height();
    drawing.RoundedRectangle(5, 6, width - 8, height - 8, 18);
    drawing.Fill(Rgba::FromHex(0x000000, 0.35));
    drawing.RoundedRectangle(2, 2, width - 8, height - 8, 18);
    drawing.FillVertical(2, height - 6, Rgba::FromHex(kWood).Shaded(0.15), Rgba::FromHex(kWood).Shaded(-0.2));
    drawing.RoundedRectangle(2, 2, width - 8, height - 8, 18);
    drawing.Stroke(Rgba::FromHex(kWood).Shaded(-0.35), 2);
    drawing.RoundedRectangle(16, 16, width - 36, height - 36, 10);
    drawing.FillVertical(16, height - 20, Rgba::FromHex(kParchment).Shaded(0.3), Rgba::FromHex(kParchment));
    drawing.RoundedRectangle(16, 16, width - 36, height - 36, 10);
    drawing.Stroke(Rgba::FromHex(kBrass).Shaded(-0.2), 2);
}

Picture DrawCreditsPlate() {
    Drawing drawing(kCreditsPlateWidth, kCreditsPlateHeight);
    PaintWoodPlate(drawing);
    return drawing.ToPicture();
}

// The plate with a brass disc with the two pause bars, "Paused" and how to
// go on.
Picture DrawPausePlate(FontFaces& faces) {
    Drawing drawing(kPlateWidth, kPlateHeight);
    PaintWoodPlate(drawing);
    cairo_t* cairo = drawing.Context();

    const double discX = 76;
    const double discY = kPlateHeight / 2.0 - 2;
    drawing.Circle(discX, discY, 36);
    drawing.FillRadial(discX - 10, discY - 12, 44, Rgba::FromHex(kBrass).Shaded(0.35), Rgba::FromHex(kBrass));
    drawing.Circle(discX, discY, 36);
    drawing.Stroke(Rgba::FromHex(kBrass).Shaded(-0.35), 2);
    for (const double bar : {-10.0, 10.0}) {
        drawing.RoundedRectangle(discX + bar - 5, discY - 17, 10, 34, 3);
        drawing.Fill(Rgba::FromHex(kInk));
    }
    cairo_new_path(cairo);

    const double textX = 228;
    drawing.Caption(faces, kSansBold, 38, "Paused", textX, 88, Rgba::FromHex(kInk));
    drawing.Caption(faces, kSans, 16, "Click to go on", textX, 118, Rgba::FromHex(kInk).Shaded(0.25));
    return drawing.ToPicture();
}

// A short brass tick, pitched by how loud the effects are set: C major
// pentatonic from C5 (quiet) to A5 (full).
template <int Step>
Synth SliderTick() {
    constexpr double kPitches[] = {523.25, 587.33, 659.25, 783.99, 880.0};
    const double pitch = kPitches[Step - 1];
    Synth synth(0.16);
    synth.Noise(0.0, 0.015, 0.35, 0.0005, 0.004, 0.8);
    synth.Tone(0.0, 0.14, pitch, pitch, 0.45, 0.002, 0.05);
    synth.Tone(0.0, 0.10, 2 * pitch, 2 * pitch, 0.12, 0.002, 0.03);
    synth.Normalize(0.7);
    return synth;
}

// Two falling whistle notes over a breath of steam: goodbye.
Synth QuitWhistle() {
    Synth synth(0.9);
    synth.Noise(0.0, 0.7, 0.18, 0.05, 0.35, 0.5);
    synth.Tone(0.00, 0.40, 783.99, 770, 0.40, 0.03, 0.12);
    synth.Tone(0.02, 0.40, 987.77, 975, 0.25, 0.03, 0.12);
    synth.Tone(0.42, 0.45, 659.25, 640, 0.40, 0.03, 0.22);
    synth.Tone(0.44, 0.45, 783.99, 765, 0.25, 0.03, 0.22);
    synth.Normalize(0.7);
    return synth;
}

}  // namespace

void AddGameDialogRows(Manifest& manifest, FontFaces& faces) {
    const std::string plate = "media/gfx/dialogs/pause_plate.png";
    manifest.Add({"dialogs", "PAUSE_PLATE", "Image", plate, {}, [plate, &faces](MediaTree& tree) {
                      tree.Add(plate, EncodePng(DrawPausePlate(faces)));
                  }});
    // The end credits are read on this plate over the scrolling map.
    const std::string credits = "media/gfx/dialogs/credits_plate.png";
    manifest.Add({"dialogs", "CREDITS_PLATE", "Image", credits, {}, [credits](MediaTree& tree) {
                      tree.Add(credits, EncodePng(DrawCreditsPlate()));
                  }});
    Synth (*const ticks[])() = {SliderTick<1>, SliderTick<2>, SliderTick<3>, SliderTick<4>, SliderTick<5>};
    for (int i = 0; i < 5; ++i) {
        const std::string n = std::to_string(i + 1);
        AddSound(manifest, "dialogs", "SOUND_SLIDER_" + n, "media/sfx/slider_" + n + ".ogg", ticks[i]);
    }
    AddSound(manifest, "default", "SOUND_QUIT", "media/sfx/quit.ogg", QuitWhistle);
}
