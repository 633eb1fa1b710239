#include "mediagen/Synth.h"

#include <algorithm>
#include <cmath>

namespace {

double Envelope(double t, double length, double attack, double decay) {
    if (t < 0 || t >= length) {
        return 0;
    }
    const double rise = attack > 0 ? std::min(1.0, t / attack) : 1.0;
    return rise * std::exp(-t / std::max(decay, 1e-4));
}

}  // namespace

Synth::Synth(double seconds, int rate) : rate_(rate), samples_(static_cast<size_t>(seconds * rate), 0.0f) {}

void Synth::Tone(double start, double length, double from, double to, double level, double attack, double decay) {
    double phase = 0;
    const size_t first = static_cast<size_t>(start * rate_);
    for (size_t i = first; i < samples_.size(); ++i) {
        const double t = static_cast<double>(i - first) / rate_;
        if (t >= length) {
            break;
        }
        const double frequency = from + (to - from) * (t / length);
        phase += 2 * M_PI * frequency / rate_;
        samples_[i] += static_cast<float>(level * Envelope(t, length, attack, decay) * std::sin(phase));
    }
}

void Synth::Noise(double start, double length, double level, double attack, double decay, double brightness) {
    double low = 0;
    const size_t first = static_cast<size_t>(start * rate_);
    for (size_t i = first; i < samples_.size(); ++i) {
        const double t = static_cast<double>(i - first) / rate_;
        if (t >= length) {
            break;
        }
        noiseState_ = noiseState_ * 1664525u + 1013904223u;
        const double white = static_cast<double>(noiseState_ >> 8) / static_cast<double>(1u << 23) - 1.0;
        low += (white - low) * std::clamp(brightness, 0.01, 1.0);
        samples_[i] += static_cast<float>(level * Envelope(t, length, attack, decay) * low);
    }
}

void Synth::FadeOut(double seconds) {
    const size_t count = std::min(samples_.size(), static_cast<size_t>(seconds * rate_));
    const size_t first = samples_.size() - count;
    for (size_t i = 0; i < count; ++i) {
        samples_[first + i] *= static_cast<float>(count - i) / static_cast<float>(count);
    }
}

void Synth::Normalize(double peak) {
    float loudest = 0;
    for (float s : samples_) {
        loudest = std::max(loudest, std::fabs(s));
    }
    if (loudest > 0) {
        for (float& s : samples_) {
            s = static_cast<float>(s * peak / loudest);
        }
    }
}
