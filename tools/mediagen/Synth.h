#pragma once

#include <vector>

// A small synthesiser for sound effects and the voices of the music: mono
// sample buffers built from oscillators, noise and envelopes, all
// deterministic.
class Synth {
public:
    static constexpr int kRate = 22050;

    explicit Synth(double seconds, int rate = kRate);

    // A tone whose frequency glides from `from` to `to` Hz over the sound,
    // shaped by an attack and an exponential decay, mixed in at `level`.
    void Tone(double start, double length, double from, double to, double level, double attack, double decay);
    // Noise with the same envelope, filtered towards `brightness` (0..1).
    void Noise(double start, double length, double level, double attack, double decay, double brightness);
    // Fades the last `seconds` of the buffer to silence, so a sound cut short
    // ends without a click.
    void FadeOut(double seconds);
    // Scales the buffer so its loudest sample has this level.
    void Normalize(double peak);

    int Rate() const { return rate_; }
    const std::vector<float>& Samples() const { return samples_; }

private:
    int rate_;
    std::vector<float> samples_;
    unsigned noiseState_ = 0x2545F491u;
};
