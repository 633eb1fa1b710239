#include "mediagen/MusicScores.h"

#include <initializer_list>
#include <string>

namespace {

// The instrument set shared by the pieces.
// A warm square wave: odd harmonics only, the upper ones soft.
Voice Lead(double decay) { return {{{1, 1.0}, {3, 0.28}, {5, 0.12}, {7, 0.05}}, 0.012, decay, 0.08, 0.30, 0.15}; }
Voice PluckedBass() { return {{{1, 1.0}, {2, 0.45}, {3, 0.18}, {4, 0.06}}, 0.004, 0.3, 0.05, 0.42, 0.0}; }
// Two slightly detuned layers beat slowly against each other.
Voice SoftPad() { return {{{1, 1.0}, {1.004, 0.8}, {2, 0.22}, {2.003, 0.18}}, 0.35, 6.0, 0.4, 0.09, -0.25}; }

Track Pitched(const Voice& voice, std::initializer_list<std::pair<const char, std::string>> sections) {
    Track track;
    track.voice = voice;
    track.patterns = sections;
    return track;
}

Track Drums(Drum kit, double level, double pan, std::initializer_list<std::pair<const char, std::string>> sections) {
    Track track;
    track.drum = true;
    track.kit = kit;
    track.drumLevel = level;
    track.drumPan = pan;
    track.patterns = sections;
    return track;
}

// One bar: the token, then holds to fill `steps`.
std::string Held(const std::string& token, int steps) {
    std::string bar = token;
    for (int i = 1; i < steps; ++i) {
        bar += " -";
    }
    return bar + " | ";
}

// Whole bars of held chords.
std::string Chords(std::initializer_list<const char*> chords, int steps) {
    std::string bars;
    for (const char* chord : chords) {
        bars += Held(chord, steps);
    }
    return bars;
}

// A driving bass bar: the root and its octave in turn.
std::string Octaves(std::initializer_list<std::pair<const char*, const char*>> bars) {
    std::string text;
    for (const auto& [low, high] : bars) {
        for (int i = 0; i < 4; ++i) {
            text += std::string(low) + " " + high + " ";
        }
        text += "| ";
    }
    return text;
}

}  // namespace

// F major, 3/4: bass on the downbeat, the pad holds the harmony, a soft hat
// on the two light beats.
Piece SelectionMusic() {
    Piece piece{96, 2, 3, 8, "AABAC", {}};
    piece.tracks.push_back(Pitched(Lead(1.6), {
        {'A', "A4 - - - C5 - | G4 - - - E4 - | F4 - A4 - D5 - | D5 - - - C5 - | "
              "A4 - - - C5 - | G4 - - - Bb4 - | A4 - G4 - E4 - | F4 - - - - . |"},
        {'B', "D5 - E5 - F5 - | G5 - - - Bb4 - | C5 - - - E5 - | F5 - - - - . | "
              "D5 - C5 - A4 - | Bb4 - - - G4 - | E4 - G4 - C5 - | Bb4 - - - - . |"},
        {'C', "C5 - - - A4 - | Bb4 - - - D5 - | C5 - - - - . | . . G4 - A4 - | "
              "C5 - - - A4 - | D5 - - - Bb4 - | G4 - A4 - Bb4 - | C5 - - - - . |"},
    }));
    piece.tracks.push_back(Pitched(SoftPad(), {
        {'A', Chords({"F3+A3+C4", "E3+G3+C4", "D3+F3+A3", "D3+F3+Bb3", "F3+A3+C4", "E3+G3+Bb3+C4"}, 6) +
                  "D3+F3+Bb3 - - - E3+G3+C4 - | " + Held("F3+A3+C4", 6)},
        {'B', Chords({"D3+F3+A3", "D3+G3+Bb3", "E3+G3+C4", "F3+A3+C4", "D3+F3+A3", "D3+G3+Bb3", "E3+G3+C4",
                      "E3+G3+Bb3+C4"}, 6)},
        {'C', Chords({"F3+A3+C4", "F3+Bb3+D4", "F3+A3+C4", "E3+G3+C4", "F3+A3+C4", "F3+Bb3+D4", "D3+G3+Bb3",
                      "E3+G3+Bb3+C4"}, 6)},
    }));
    piece.tracks.push_back(Pitched(PluckedBass(), {
        {'A', "F2 - . . C3 . | C2 - . . G2 . | D2 - . . A2 . | Bb1 - . . F2 . | "
              "F2 - . . C3 . | C2 - . . G2 . | Bb1 - . . C2 . | F2 - . . C3 . |"},
        {'B', "D2 - . . A2 . | G1 - . . D2 . | C2 - . . G2 . | F2 - . . C3 . | "
              "D2 - . . A2 . | G1 - . . D2 . | C2 - . . G2 . | C2 - . . Bb2 . |"},
        {'C', "F2 - . . C3 . | Bb1 - . . F2 . | F2 - . . C3 . | C2 - . . G2 . | "
              "F2 - . . C3 . | Bb1 - . . F2 . | G1 - . . D2 . | C2 - . . G2 . |"},
    }));
    piece.tracks.push_back(Drums(Drum::kKick, 0.5, 0.0, {{'A', "x . . . . . |"}, {'B', "x . . . . . |"}}));
    piece.tracks.push_back(Drums(Drum::kHat, 0.5, 0.3, {
        {'A', ". . o . o . |"}, {'B', ". . o . o . |"}, {'C', ". . o . . . |"}}));
    piece.tracks.push_back(Drums(Drum::kBrush, 0.4, -0.1, {{'B', ". . . . . . | . . . . . . | . . . . . . | . . x . o . |"}}));
    return piece;
}

// C major, 4/4 at a steady travelling pace: the bass runs like wheels over
// rail joints under brushed eighths.
Piece MapMusic() {
    Piece piece{112, 2, 4, 8, "AABA", {}};
    piece.tracks.push_back(Pitched(Lead(1.2), {
        {'A', "G4 - - E4 G4 - C5 - | A4 - - - E4 - - - | F4 - A4 - C5 - A4 - | G4 - - - - - . . | "
              "G4 - - E4 G4 - C5 - | E5 - - - D5 - C5 - | A4 - C5 - B4 - D5 - | C5 - - - - - . . |"},
        {'B', "A4 - - - C5 - F5 - | D5 - - - B4 - - - | E5 - D5 - B4 - G4 - | A4 - - - - - . . | "
              "A4 - C5 - F5 - E5 - | D5 - - - G5 - - - | F5 - E5 - D5 - B4 - | D5 - - - - - . . |"},
    }));
    piece.tracks.push_back(Pitched(SoftPad(), {
        {'A', Chords({"C4+E4+G4", "A3+C4+E4", "F3+A3+C4", "G3+B3+D4", "C4+E4+G4", "A3+C4+E4"}, 8) +
                  "F3+A3+C4 - - - G3+B3+D4 - - - | " + Held("C4+E4+G4", 8)},
        {'B', Chords({"F3+A3+C4", "G3+B3+D4", "E3+G3+B3", "A3+C4+E4", "F3+A3+C4", "G3+B3+D4"}, 8) +
                  "D3+F3+A3 - - - G3+B3+D4 - - - | " + Held("G3+B3+D4+F4", 8)},
    }));
    piece.tracks.push_back(Pitched(PluckedBass(), {
        {'A', "C3 . C3 G2 C3 . C3 G2 | A2 . A2 E2 A2 . A2 E2 | F2 . F2 C3 F2 . F2 C3 | G2 . G2 D3 G2 . G2 D3 | "
              "C3 . C3 G2 C3 . C3 G2 | A2 . A2 E2 A2 . A2 E2 | F2 . F2 C3 G2 . G2 D3 | C3 . C3 G2 C3 . G2 B2 |"},
        {'B', "F2 . F2 C3 F2 . F2 C3 | G2 . G2 D3 G2 . G2 D3 | E2 . E2 B2 E2 . E2 B2 | A2 . A2 E3 A2 . A2 E3 | "
              "F2 . F2 C3 F2 . F2 C3 | G2 . G2 D3 G2 . G2 D3 | D2 . D2 A2 G2 . G2 D3 | G2 . G2 D3 G2 . B2 D3 |"},
    }));
    piece.tracks.push_back(Drums(Drum::kKick, 0.55, 0.0, {{'A', "x . . . x . . . |"}, {'B', "x . . . x . . o |"}}));
    piece.tracks.push_back(Drums(Drum::kBrush, 0.45, -0.1, {{'A', ". . x . . . x . |"}, {'B', ". . x . . . x . |"}}));
    piece.tracks.push_back(Drums(Drum::kHat, 0.45, 0.3, {{'A', "x o o o x o o o |"}, {'B', "x o o o x o o o |"}}));
    return piece;
}

// A minor, quick: octave bass in eighths, backbeat, a lead that runs.
Piece GameMusic() {
    Piece piece{132, 2, 4, 8, "AABBA", {}};
    piece.tracks.push_back(Pitched(Lead(0.6), {
        {'A', "A4 - C5 - E5 - C5 - | F5 - E5 - C5 - A4 - | G4 - C5 - E5 - G5 - | D5 - - - B4 - - - | "
              "A4 - C5 - E5 - A5 - | F5 - E5 - D5 - C5 - | B4 - D5 - G5 - F5 - | E5 - - - G#4 - - - |"},
        {'B', "D5 - F5 - A5 - F5 - | E5 - - - C5 - A4 - | D5 - F5 - A5 - C6 - | B5 - - - G#5 - E5 - | "
              "C6 - A5 - F5 - A5 - | G5 - E5 - C5 - E5 - | F5 - E5 - D5 - C5 - | B4 - - - E5 - - - |"},
    }));
    piece.tracks.push_back(Pitched(SoftPad(), {
        {'A', Chords({"A3+C4+E4", "F3+A3+C4", "E3+G3+C4", "D3+G3+B3", "A3+C4+E4", "F3+A3+C4", "D3+G3+B3",
                      "E3+G#3+B3"}, 8)},
        {'B', Chords({"D3+F3+A3", "A3+C4+E4", "D3+F3+A3", "E3+G#3+B3", "F3+A3+C4", "E3+G3+C4", "D3+F3+A3",
                      "E3+G#3+B3"}, 8)},
    }));
    piece.tracks.push_back(Pitched(PluckedBass(), {
        {'A', Octaves({{"A2", "A3"}, {"F2", "F3"}, {"C3", "C4"}, {"G2", "G3"}, {"A2", "A3"}, {"F2", "F3"},
                       {"G2", "G3"}, {"E2", "E3"}})},
        {'B', Octaves({{"D2", "D3"}, {"A2", "A3"}, {"D2", "D3"}, {"E2", "E3"}, {"F2", "F3"}, {"C3", "C4"},
                       {"D2", "D3"}, {"E2", "E3"}})},
    }));
    piece.tracks.push_back(Drums(Drum::kKick, 0.6, 0.0, {{'A', "x . . . x . x . |"}, {'B', "x . . o x . x . |"}}));
    piece.tracks.push_back(Drums(Drum::kBrush, 0.5, -0.1, {{'A', ". . x . . . x . |"}, {'B', ". . x . . . x o |"}}));
    piece.tracks.push_back(Drums(Drum::kHat, 0.45, 0.3, {{'A', "x o x o x o x o |"}, {'B', "x o x o x o x o |"}}));
    piece.tracks.push_back(Drums(Drum::kRim, 0.25, -0.4, {{'B', ". . . . . . . . | . . . . . . . . | . . . . . . . . | . . . . . o . o |"}}));
    return piece;
}
