#include "mediagen/Families.h"
#include "mediagen/Synth.h"

// The menus' and dialogs' effects. Pitched parts stay on C major pentatonic.
namespace {

constexpr double kC5 = 523.25, kE5 = 659.26, kG5 = 783.99, kA5 = 880.0;
constexpr double kC6 = 1046.5, kE6 = 1318.5, kG6 = 1568.0;

// A muted wooden knock: the control does not answer.
Synth Disabled() {
    Synth s(0.18);
    s.Tone(0.0, 0.16, 240, 190, 0.6, 0.002, 0.035);
    s.Noise(0.0, 0.05, 0.3, 0.001, 0.012, 0.2);
    s.Normalize(0.6);
    return s;
}

// A bright arpeggio with a glitter of noise: a trophy is won.
Synth Trophy() {
    Synth s(1.2);
    const double notes[] = {kC6, kE6, kG6};
    for (int i = 0; i < 3; ++i) {
        s.Tone(i * 0.09, 0.9, notes[i], notes[i], 0.35, 0.004, 0.3);
        s.Tone(i * 0.09, 0.5, notes[i] * 2.76, notes[i] * 2.76, 0.05, 0.002, 0.08);
    }
    s.Noise(0.15, 0.6, 0.12, 0.05, 0.2, 1.0);
    s.FadeOut(0.15);
    s.Normalize(0.7);
    return s;
}

// A soft swish as a trophy flies to its shelf.
Synth TrophyMove() {
    Synth s(0.5);
    s.Noise(0.0, 0.5, 0.6, 0.15, 0.12, 0.3);
    s.Noise(0.05, 0.4, 0.3, 0.12, 0.1, 0.8);
    s.FadeOut(0.1);
    s.Normalize(0.5);
    return s;
}

// A short rising whistle and a chord: off to the level.
Synth MapGameMap() {
    Synth s(0.9);
    s.Tone(0.0, 0.3, kE5, kA5, 0.35, 0.03, 0.25);
    s.Noise(0.0, 0.3, 0.08, 0.03, 0.15, 0.9);
    for (const double note : {kC5, kE5, kG5}) {
        s.Tone(0.28, 0.6, note, note, 0.22, 0.01, 0.25);
    }
    s.FadeOut(0.1);
    s.Normalize(0.65);
    return s;
}

// A little fanfare for a new high score.
Synth Highscore() {
    Synth s(1.4);
    const double notes[] = {kC5, kE5, kG5};
    for (int i = 0; i < 3; ++i) {
        s.Tone(i * 0.11, 0.25, notes[i], notes[i], 0.4, 0.006, 0.12);
    }
    for (const double note : {kC6, kE6, kG5}) {
        s.Tone(0.33, 1.0, note, note, 0.3, 0.01, 0.4);
    }
    s.FadeOut(0.2);
    s.Normalize(0.7);
    return s;
}

}  // namespace

void AddMenuSoundRows(Manifest& manifest) {
    AddSound(manifest, "default", "SOUND_DISABLED", "media/sfx/disabled.ogg", Disabled);
    AddSound(manifest, "default", "SOUND_TROPHY", "media/sfx/trophy.ogg", Trophy);
    AddSound(manifest, "default", "SOUND_TROPHY_MOVE", "media/sfx/trophy_move.ogg", TrophyMove);
    AddSound(manifest, "dialogs", "SOUND_MAPGAMEMAP", "media/sfx/mapgamemap.ogg", MapGameMap);
    AddSound(manifest, "classic", "SOUND_HIGHSCORE", "media/sfx/highscore.ogg", Highscore);
}
