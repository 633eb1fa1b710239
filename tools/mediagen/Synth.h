#pragma once

#include <vector>

// A small synthesiser for sound effects: mono sample buffers built from
// oscillators, noise and envelopes, all deterministic.
class Synth {
public:
    static constexpr int kRate = 22050;

    explicit Synth(double seconds);

    // A tone whose frequency glides from `from` to `to` Hz over the sound,
    // shaped by an attack and an exponential decay, mixed in at `level`.
    void Tone(double start, double length, double from, double to, double level, double attack, double decay);
    // Noise with the same envelope, filtered towards `brightness` (0..1).
    void Noise(double start, double length, double level, double attack, double decay, double brightness);
    // Scales the buffer so its loudest sample has this level.
    void Normalize(double peak);

    const std::vector<float>& Samples() const { return samples_; }

private:
    std::vector<float> samples_;
    unsigned noiseState_ = 0x2545F491u;
};
