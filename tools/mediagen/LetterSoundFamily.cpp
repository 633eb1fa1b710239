#include "mediagen/Families.h"
#include "mediagen/Synth.h"

// The word bar's sounds: a coal set down, a coal taken back, a letter that
// is not there, and the coals tumbling into the furnace. Pitched parts stay
// on C major pentatonic, like the map's.
namespace {

constexpr double kG4 = 392.0, kC5 = 523.25, kE5 = 659.26, kG5 = 783.99;
constexpr const char* kSection = "gamescene";

// A dry knock of coal on iron with a bright tick.
Synth CoalSetDown() {
    Synth s(0.18);
    s.Noise(0.0, 0.05, 0.7, 0.0005, 0.012, 0.5);
    s.Tone(0.0, 0.12, kG5 * 2, kG5 * 2, 0.3, 0.001, 0.03);
    s.Tone(0.0, 0.14, 180, 140, 0.45, 0.001, 0.04);
    s.Normalize(0.75);
    return s;
}

// The same knock, lower and falling away.
Synth CoalTakenBack() {
    Synth s(0.2);
    s.Noise(0.0, 0.06, 0.6, 0.0005, 0.015, 0.35);
    s.Tone(0.0, 0.15, kC5 * 2, kG4 * 2, 0.28, 0.001, 0.04);
    s.Tone(0.0, 0.16, 150, 110, 0.4, 0.001, 0.05);
    s.Normalize(0.7);
    return s;
}

// A short low buzz: two close tones that beat.
Synth LetterMissing() {
    Synth s(0.28);
    s.Tone(0.0, 0.25, 196, 185, 0.45, 0.005, 0.12);
    s.Tone(0.0, 0.25, 207, 196, 0.4, 0.005, 0.12);
    s.Noise(0.0, 0.04, 0.2, 0.001, 0.01, 0.3);
    s.Normalize(0.65);
    return s;
}

// A rattle of lumps and the fire's answering whoosh with a rising chime.
Synth CoalsEnterFurnace() {
    Synth s(0.9);
    for (int i = 0; i < 5; ++i) {
        s.Noise(i * 0.045, 0.05, 0.55, 0.0005, 0.015, 0.45);
    }
    s.Noise(0.15, 0.7, 0.5, 0.08, 0.3, 0.15);
    s.Tone(0.2, 0.5, kC5, kC5, 0.18, 0.02, 0.25);
    s.Tone(0.28, 0.5, kE5, kE5, 0.15, 0.02, 0.25);
    s.Normalize(0.7);
    return s;
}

}  // namespace

void AddLetterSoundRows(Manifest& manifest) {
    AddSound(manifest, kSection, "SOUND_LETTER_CLICK_CORRECT", "media/sfx/letter_click_correct.ogg", CoalSetDown);
    AddSound(manifest, kSection, "SOUND_LETTER_CLICK_BACK", "media/sfx/letter_click_back.ogg", CoalTakenBack);
    AddSound(manifest, kSection, "SOUND_LETTER_TYPED_WRONG", "media/sfx/letter_typed_wrong.ogg", LetterMissing);
    AddSound(manifest, kSection, "SOUND_COALS_ENTER_FURNACE", "media/sfx/coals_enter_furnace.ogg",
             CoalsEnterFurnace);
}
