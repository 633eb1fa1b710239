#include "mediagen/Families.h"
#include "mediagen/Synth.h"

// The level's effects: word submissions, the race and the level's flow.
// Pitched parts stay on C major pentatonic.
namespace {

constexpr double kC4 = 261.63, kE4 = 329.63, kG4 = 392.0, kA4 = 440.0;
constexpr double kC5 = 523.25, kD5 = 587.33, kE5 = 659.26, kG5 = 783.99, kA5 = 880.0;
constexpr double kC6 = 1046.5, kE6 = 1318.5;

// A bell: the strike's inharmonic partial fades faster than the note.
void Bell(Synth& s, double start, double note, double level, double decay) {
    s.Tone(start, decay * 4, note, note, level, 0.002, decay);
    s.Tone(start, decay * 2, note * 2.76, note * 2.76, level * 0.25, 0.001, decay * 0.3);
}

// Chimes rising with the word's length: longer words climb further.
template <int kNotes>
Synth Submit() {
    constexpr double kScale[] = {kC5, kE5, kG5, kA5, kC6, kE6};
    Synth s(0.35 + kNotes * 0.07);
    for (int i = 0; i < kNotes; ++i) {
        Bell(s, i * 0.06, kScale[i], 0.35, 0.08);
    }
    s.FadeOut(0.05);
    s.Normalize(0.7);
    return s;
}

// The same soft note twice: known already.
Synth SubmitAlreadyFound() {
    Synth s(0.4);
    s.Tone(0.0, 0.15, kE5, kE5, 0.4, 0.005, 0.05);
    s.Tone(0.14, 0.22, kE5, kE5, 0.4, 0.005, 0.06);
    s.FadeOut(0.04);
    s.Normalize(0.6);
    return s;
}

// A low hollow buzz that sags: not a word.
Synth SubmitInvalidWord() {
    Synth s(0.4);
    for (const double harmonic : {1.0, 3.0, 5.0}) {
        s.Tone(0.0, 0.38, 300 * harmonic, 220 * harmonic, 0.4 / harmonic, 0.005, 0.12);
    }
    s.FadeOut(0.05);
    s.Normalize(0.6);
    return s;
}

// Coals tumbling over each other.
Synth Shuffle() {
    Synth s(0.55);
    const double knocks[] = {0.0, 0.05, 0.09, 0.16, 0.2, 0.27, 0.31, 0.38, 0.44};
    for (int i = 0; i < 9; ++i) {
        s.Noise(knocks[i], 0.06, 0.5 + 0.1 * (i % 3), 0.001, 0.012, 0.35 + 0.1 * (i % 4));
        s.Tone(knocks[i], 0.04, 380 + 40 * (i % 5), 300, 0.15, 0.001, 0.01);
    }
    s.Normalize(0.6);
    return s;
}

// A steam whistle: two tones a third apart with a breath of steam.
Synth Whistle(double low, double high, double bend) {
    Synth s(0.9);
    s.Tone(0.0, 0.8, low, low * bend, 0.35, 0.04, 0.6);
    s.Tone(0.0, 0.8, high, high * bend, 0.3, 0.04, 0.6);
    s.Noise(0.0, 0.8, 0.12, 0.03, 0.4, 0.9);
    s.FadeOut(0.15);
    s.Normalize(0.65);
    return s;
}

// Ours overtakes: the whistle lifts. Theirs overtakes: it sags, lower.
Synth TrainTakeover() { return Whistle(kA5, kC6, 1.03); }
Synth OpponentTakeover() { return Whistle(kE5, kG5, 0.95); }

// Brakes: a falling squeal over a hiss of steam.
Synth OpponentStopped() {
    Synth s(0.9);
    s.Noise(0.0, 0.85, 0.5, 0.02, 0.35, 0.6);
    s.Tone(0.0, 0.5, 1800, 1300, 0.12, 0.02, 0.2);
    s.Tone(0.05, 0.4, 120, 70, 0.3, 0.005, 0.1);
    s.FadeOut(0.15);
    s.Normalize(0.6);
    return s;
}

// The station bell twice: the level starts.
Synth MissionStart() {
    Synth s(1.2);
    Bell(s, 0.0, kC6, 0.4, 0.15);
    Bell(s, 0.3, kC6, 0.4, 0.2);
    s.FadeOut(0.15);
    s.Normalize(0.7);
    return s;
}

// A rising fanfare that lands on a held major chord.
Synth LevelWon() {
    Synth s(1.6);
    const double run[] = {kC5, kE5, kG5};
    for (int i = 0; i < 3; ++i) {
        s.Tone(i * 0.12, 0.25, run[i], run[i], 0.4, 0.006, 0.12);
    }
    for (const double note : {kC5, kE5, kG5, kC6}) {
        s.Tone(0.36, 1.2, note, note, 0.25, 0.01, 0.5);
    }
    s.FadeOut(0.25);
    s.Normalize(0.7);
    return s;
}

// Four notes stepping down, unhurried.
Synth LevelLose() {
    Synth s(1.5);
    const double notes[] = {kG5, kE5, kD5, kC5};
    for (int i = 0; i < 4; ++i) {
        s.Tone(i * 0.22, 0.5, notes[i], notes[i], 0.4, 0.02, 0.22);
    }
    s.FadeOut(0.2);
    s.Normalize(0.65);
    return s;
}

// Lower and slower than a lost level, ending on a long low note.
Synth GameOver() {
    Synth s(2.0);
    const double notes[] = {kA4, kG4, kE4};
    for (int i = 0; i < 3; ++i) {
        s.Tone(i * 0.3, 0.5, notes[i], notes[i], 0.4, 0.02, 0.25);
    }
    s.Tone(0.9, 1.1, kC4, kC4, 0.45, 0.02, 0.6);
    s.Tone(0.9, 1.1, kC4 / 2, kC4 / 2, 0.25, 0.02, 0.6);
    s.FadeOut(0.3);
    s.Normalize(0.65);
    return s;
}

// Pause falls, resume rises: the same blip mirrored.
Synth Blip(double from, double to) {
    Synth s(0.2);
    s.Tone(0.0, 0.18, from, to, 0.5, 0.004, 0.07);
    s.FadeOut(0.03);
    s.Normalize(0.6);
    return s;
}

Synth Pause() { return Blip(kG5, kC5); }
Synth Unpause() { return Blip(kC5, kG5); }

}  // namespace

void AddLevelSoundRows(Manifest& manifest) {
    const auto add = [&manifest](const char* id, const std::string& name, Synth (*recipe)()) {
        AddSound(manifest, "gamescene", id, "media/sfx/" + name + ".ogg", recipe);
    };
    add("SOUND_SUBMIT3", "submit3", Submit<2>);
    add("SOUND_SUBMIT4", "submit4", Submit<3>);
    add("SOUND_SUBMIT5", "submit5", Submit<4>);
    add("SOUND_SUBMIT67", "submit67", Submit<6>);
    add("SOUND_SUBMIT_ALREADY_FOUND", "submit_already_found", SubmitAlreadyFound);
    add("SOUND_SUBMIT_INVALID_WORD", "submit_invalid_word", SubmitInvalidWord);
    add("SOUND_SHUFFLE", "shuffle", Shuffle);
    add("SOUND_TRAIN_TAKEOVER", "train_takeover", TrainTakeover);
    add("SOUND_OPPONENT_TAKEOVER", "opponent_takeover", OpponentTakeover);
    add("SOUND_OPPONENT_STOPPED", "opponent_stopped", OpponentStopped);
    add("SOUND_MISSIONSTART", "missionstart", MissionStart);
    add("SOUND_LEVEL_WON", "level_won", LevelWon);
    add("SOUND_LEVEL_LOSE", "level_lose", LevelLose);
    add("SOUND_GAME_OVER", "game_over", GameOver);
    add("SOUND_PAUSE", "pause", Pause);
    add("SOUND_UNPAUSE", "unpause", Unpause);
}
