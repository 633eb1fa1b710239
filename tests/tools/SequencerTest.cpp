#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

#include "mediagen/Sequencer.h"

namespace {

constexpr int kRate = 8000;

Voice Sine(double release) { return {{{1, 1.0}}, 0.005, 0.5, release, 0.5, 0.0}; }

// 120 bpm in 4/4 with a step per beat: a bar is 2 s, 16000 frames.
Piece OneBarPiece(const std::string& form, Track track) {
    return {120, 1, 4, 1, form, {std::move(track)}};
}

Track Melody(const std::string& pattern, double release) {
    Track track;
    track.voice = Sine(release);
    track.patterns = {{'A', pattern}};
    return track;
}

TEST(Sequencer, NoteNamesGiveEqualTemperedFrequencies) {
    const struct {
        const char* name;
        double hertz;
    } cases[] = {{"A4", 440.0}, {"C4", 261.626}, {"C#5", 554.365}, {"Bb2", 116.541}, {"E2", 82.407}, {"G#3", 207.652}};
    for (const auto& c : cases) {
        EXPECT_NEAR(NoteFrequency(c.name), c.hertz, 0.01) << c.name;
    }
    for (const char* bad : {"", "H4", "C", "C#", "c4", "C44", "Cx4", "C-1"}) {
        EXPECT_THROW(NoteFrequency(bad), std::invalid_argument) << bad;
    }
}

// A slip in the note data stops the generator with its place instead of
// shifting every later note.
TEST(Sequencer, NoteDataThatDoesNotFitItsBarsIsRefused) {
    const struct {
        const char* pattern;
        bool drum;
    } faults[] = {
        {"C4 - - | D4 - - - |", false},  // a bar one step short
        {"- C4 . . |", false},           // a hold with no note before it
        {"C4 E4 G4 |", false},           // three steps cannot fill four
        {"C4 . Q4 . |", false},          // not a note
        {"x . y . |", true},             // not a drum step
    };
    for (const auto& fault : faults) {
        Track track = Melody(fault.pattern, 0.1);
        track.drum = fault.drum;
        EXPECT_THROW(RenderPiece(OneBarPiece("A", track), kRate, 0.5), std::invalid_argument) << fault.pattern;
    }
    EXPECT_THROW(RenderPiece(OneBarPiece("A", Melody(". . . . |", 0.1)), kRate, 0.5), std::invalid_argument);
}

// A note on the last beat rings past the end of the loop. Played over and
// over, the loop must sound exactly like the piece written out twice: the
// ringing carries into the start instead of being cut off.
TEST(Sequencer, ALoopPlayedTwiceIsThePieceWrittenOutTwice) {
    const Track lastBeat = Melody(". . . A4 |", 1.5);
    const RenderedPiece once = RenderPiece(OneBarPiece("A", lastBeat), kRate, 0.5);
    const RenderedPiece twice = RenderPiece(OneBarPiece("AA", lastBeat), kRate, 0.5);
    ASSERT_EQ(once.Frames(), 16000u);
    ASSERT_EQ(twice.Frames(), 2 * once.Frames());
    for (size_t i = 0; i < twice.interleaved.size(); ++i) {
        ASSERT_NEAR(twice.interleaved[i], once.interleaved[i % once.interleaved.size()], 1e-5) << i;
    }
    EXPECT_GT(std::fabs(once.interleaved[2 * 100]), 0.01f);  // the tail sounds at the start
}

// The mix is scaled to the asked loudness with its offset removed, and the
// bar starts fall on whole frames of the loop.
TEST(Sequencer, LoopIsScaledCentredAndMarkedAtBarStarts) {
    Track bass = Melody("C3 - - - E3 - G3 - |", 0.2);
    Track kick;
    kick.drum = true;
    kick.kit = Drum::kKick;
    kick.patterns = {{'A', "x . o . x . o . |"}};
    Piece piece{100, 2, 4, 2, "AB", {bass, kick}};
    piece.tracks[1].patterns['B'] = "x x x x x x x x |";
    const RenderedPiece rendered = RenderPiece(piece, kRate, 0.1);

    const size_t barFrames = 8 * 2400;  // 8 steps of 0.3 s
    ASSERT_EQ(rendered.Frames(), 4 * barFrames);
    EXPECT_EQ(rendered.barStarts, (std::vector<uint32_t>{0, 19200, 38400, 57600}));
    double power = 0;
    double sums[2] = {0, 0};
    for (size_t i = 0; i < rendered.interleaved.size(); ++i) {
        power += static_cast<double>(rendered.interleaved[i]) * rendered.interleaved[i];
        sums[i % 2] += rendered.interleaved[i];
    }
    EXPECT_NEAR(std::sqrt(power / static_cast<double>(rendered.interleaved.size())), 0.1, 1e-5);
    EXPECT_NEAR(sums[0] / static_cast<double>(rendered.Frames()), 0.0, 1e-6);
    EXPECT_NEAR(sums[1] / static_cast<double>(rendered.Frames()), 0.0, 1e-6);
}

}  // namespace
