#include "mediagen/Families.h"
#include "mediagen/Synth.h"

// The map's sounds: the train, building track, scrolling, pop-ups and
// tickets. Pitched parts stay on C major pentatonic.
namespace {

constexpr double kC5 = 523.25, kD5 = 587.33, kE5 = 659.26, kG5 = 783.99, kA5 = 880.0, kC6 = 1046.5;

Synth TrainLeaves() {
    Synth s(1.6);
    for (int i = 0; i < 6; ++i) {
        s.Noise(i * 0.24, 0.22, 0.7, 0.01, 0.06, 0.25);
    }
    s.Tone(0.0, 0.5, kA5, kA5, 0.35, 0.03, 0.4);
    s.Tone(0.0, 0.5, kC6, kC6, 0.25, 0.03, 0.4);
    s.Normalize(0.7);
    return s;
}

Synth TrainArrives() {
    Synth s(1.0);
    s.Noise(0.0, 0.9, 0.6, 0.02, 0.35, 0.12);
    s.Tone(0.05, 0.4, kE5, kE5, 0.3, 0.02, 0.3);
    s.Tone(0.05, 0.4, kG5, kG5, 0.25, 0.02, 0.3);
    s.Normalize(0.7);
    return s;
}

Synth BuyTrack() {
    Synth s(0.9);
    for (int i = 0; i < 4; ++i) {
        s.Noise(i * 0.2, 0.06, 0.8, 0.001, 0.015, 0.9);
        s.Tone(i * 0.2, 0.12, 2200, 1800, 0.35, 0.001, 0.03);
    }
    s.Normalize(0.7);
    return s;
}

Synth BuyTrackFinished() {
    Synth s(0.8);
    const double notes[] = {kC5, kE5, kG5, kC6};
    for (int i = 0; i < 4; ++i) {
        s.Tone(i * 0.1, 0.4, notes[i], notes[i], 0.4, 0.005, 0.18);
    }
    s.Normalize(0.7);
    return s;
}

Synth SectionCleared() {
    Synth s(1.6);
    const double notes[] = {kC5, kD5, kE5, kG5, kA5, kC6};
    for (int i = 0; i < 6; ++i) {
        s.Tone(i * 0.12, 0.8, notes[i], notes[i], 0.35, 0.01, 0.3);
    }
    s.Tone(0.72, 0.8, kE5, kE5, 0.25, 0.01, 0.45);
    s.Normalize(0.7);
    return s;
}

Synth Scrolling() {
    Synth s(0.6);
    s.Noise(0.0, 0.6, 0.6, 0.15, 0.3, 0.08);
    s.Noise(0.0, 0.6, 0.3, 0.2, 0.2, 0.5);
    s.Normalize(0.55);
    return s;
}

Synth Popup(double from, double to) {
    Synth s(0.25);
    s.Tone(0.0, 0.2, from, to, 0.5, 0.003, 0.06);
    s.Noise(0.0, 0.03, 0.2, 0.001, 0.01, 0.7);
    s.Normalize(0.6);
    return s;
}

Synth Popup0() { return Popup(kE5, kG5); }
Synth Popup1() { return Popup(kG5, kA5); }
Synth Popup2() { return Popup(kA5, kC6); }

Synth TicketAppears() {
    Synth s(0.45);
    s.Tone(0.0, 0.2, kG5, kG5, 0.4, 0.004, 0.08);
    s.Tone(0.1, 0.3, kC6, kC6, 0.4, 0.004, 0.12);
    s.Normalize(0.65);
    return s;
}

// Paper: a short bright rustle.
Synth Paper(double length, double brightness) {
    Synth s(length);
    s.Noise(0.0, length, 0.8, 0.01, length / 3, brightness);
    s.Noise(length * 0.3, length * 0.5, 0.5, 0.005, length / 5, brightness * 0.8);
    s.Normalize(0.55);
    return s;
}

Synth TicketOpened() { return Paper(0.3, 0.7); }
Synth TicketClosed() { return Paper(0.22, 0.5); }

Synth ThrowStars() {
    Synth s(0.9);
    const double notes[] = {kC6, kA5, kG5, kE5, kC6, kG5};
    for (int i = 0; i < 6; ++i) {
        s.Tone(i * 0.08, 0.35, notes[i] * 2, notes[i] * 2, 0.25, 0.002, 0.1);
    }
    s.Normalize(0.6);
    return s;
}

void Add(Manifest& manifest, const std::string& id, const std::string& file, Synth (*recipe)()) {
    const std::string path = "media/sfx/" + file + ".ogg";
    auto make = [path, recipe](MediaTree& tree) {
        tree.Add(path, EncodeEffect(recipe()));
    };
    manifest.Add({"mapscene", id, "Sound", path, {{"volumemultiplier", "1.0"}}, make});
}

}  // namespace

void AddMapSoundRows(Manifest& manifest) {
    Add(manifest, "SOUND_TRAIN_TO_NEXTCITY", "map_train_leaves", TrainLeaves);
    Add(manifest, "SOUND_TRAIN_ARRIVES", "map_train_arrives", TrainArrives);
    Add(manifest, "SOUND_BUYTRACK", "map_buytrack", BuyTrack);
    Add(manifest, "SOUND_BUYTRACKFINISHED", "map_buytrack_finished", BuyTrackFinished);
    Add(manifest, "SOUND_MAPSECTION_CLEARED", "map_section_cleared", SectionCleared);
    Add(manifest, "SOUND_SCROLLING", "map_scrolling", Scrolling);
    Add(manifest, "SOUND_ITEMPOPUP_0", "map_itempopup_0", Popup0);
    Add(manifest, "SOUND_ITEMPOPUP_1", "map_itempopup_1", Popup1);
    Add(manifest, "SOUND_ITEMPOPUP_2", "map_itempopup_2", Popup2);
    Add(manifest, "SOUND_TICKET_APPEARS", "map_ticket_appears", TicketAppears);
    Add(manifest, "SOUND_TICKET_OPENED", "map_ticket_opened", TicketOpened);
    Add(manifest, "SOUND_TICKET_CLOSED", "map_ticket_closed", TicketClosed);
    // Shared with the level-end dialog of "default" under the same file.
    Add(manifest, "SOUND_THROWSTARS", "throwstars", ThrowStars);
    AddSound(manifest, "default", "SOUND_THROWSTARS", "media/sfx/throwstars.ogg", ThrowStars);
}
