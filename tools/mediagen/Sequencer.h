#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// A small step sequencer: pieces written as note patterns, played by a few
// additive voices and a drum kit into a stereo loop.

// One sine partial of a voice, at a multiple of the note's frequency.
struct Partial {
    double ratio;
    double level;
};

// How a pitched note sounds: its partials under one envelope, faded out
// over `release` after the note ends, placed by `pan` (-1 left .. 1 right).
struct Voice {
    std::vector<Partial> partials;
    double attack;
    double decay;
    double release;
    double level;
    double pan;
};

enum class Drum { kKick, kBrush, kHat, kRim };

// A pattern is one step per token, bars divided by "|":
//   pitched: a note ("C4", "F#3", "Bb4", a chord "C4+E4+G4"), "-" holds the
//            note before, "." rests;
//   drums:   "x" a hit, "o" a soft hit, "." a rest.
// A pattern shorter than its section repeats through it.
struct Track {
    bool drum = false;
    Voice voice;          // pitched tracks
    Drum kit = Drum::kKick;  // drum tracks
    double drumLevel = 1.0;
    double drumPan = 0.0;
    std::map<char, std::string> patterns;  // by section; a section without one is silent
};

struct Piece {
    double bpm;
    int stepsPerBeat;
    int beatsPerBar;
    int barsPerSection;
    std::string form;  // the sections in order, e.g. "AABA"
    std::vector<Track> tracks;
};

struct RenderedPiece {
    int rate = 0;
    std::vector<float> interleaved;  // stereo frames
    std::vector<uint32_t> barStarts;  // frame of every bar's first beat
    size_t Frames() const { return interleaved.size() / 2; }
};

// Renders the piece as a seamless loop: notes still sounding at the end
// carry over into its start, the mean of each channel is removed and the
// whole is scaled to the root mean square `rms` (loudness, not the peak,
// is what lets pieces follow one another at one level). Throws
// std::invalid_argument naming the fault when a pattern does not parse or
// does not fit its bars.
RenderedPiece RenderPiece(const Piece& piece, int rate, double rms);

// The frequency of a note name such as "A4" (440 Hz), "C#5" or "Bb2".
// Throws std::invalid_argument on anything else.
double NoteFrequency(const std::string& name);
