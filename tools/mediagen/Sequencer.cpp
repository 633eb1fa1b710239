#include "mediagen/Sequencer.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <stdexcept>

#include "mediagen/Synth.h"

namespace {

constexpr double kSoftHit = 0.45;

struct NoteEvent {
    size_t step;
    int steps;                      // how long it is held
    std::string pitch;              // the token, one note or a chord
    double velocity;
};

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream stream(text);
    while (std::getline(stream, part, separator)) {
        parts.push_back(part);
    }
    return parts;
}

// The steps of a pattern, checking that every bar between "|" is whole.
std::vector<std::string> PatternSteps(const std::string& pattern, int stepsPerBar, const std::string& where) {
    std::vector<std::string> steps;
    std::istringstream stream(pattern);
    std::string token;
    size_t barStart = 0;
    bool barred = false;
    while (stream >> token) {
        if (token == "|") {
            if (steps.size() - barStart != static_cast<size_t>(stepsPerBar)) {
                throw std::invalid_argument(where + ": a bar of " + std::to_string(steps.size() - barStart) +
                                            " steps, not " + std::to_string(stepsPerBar));
            }
            barStart = steps.size();
            barred = true;
        } else {
            steps.push_back(token);
        }
    }
    if (barred && barStart != steps.size() && steps.size() - barStart != static_cast<size_t>(stepsPerBar)) {
        throw std::invalid_argument(where + ": the last bar is not whole");
    }
    return steps;
}

std::vector<NoteEvent> PitchedEvents(const std::vector<std::string>& steps, size_t offset, const std::string& where) {
    std::vector<NoteEvent> events;
    bool sounding = false;
    for (size_t i = 0; i < steps.size(); ++i) {
        const std::string& token = steps[i];
        if (token == "-") {
            if (!sounding) {
                throw std::invalid_argument(where + ": \"-\" holds no note at step " + std::to_string(i));
            }
            ++events.back().steps;
        } else if (token == ".") {
            sounding = false;
        } else {
            for (const std::string& note : Split(token, '+')) {
                NoteFrequency(note);  // rejects a misspelt note here, with its place
            }
            events.push_back({offset + i, 1, token, 1.0});
            sounding = true;
        }
    }
    return events;
}

std::vector<NoteEvent> DrumEvents(const std::vector<std::string>& steps, size_t offset, const std::string& where) {
    std::vector<NoteEvent> events;
    for (size_t i = 0; i < steps.size(); ++i) {
        if (steps[i] == "x" || steps[i] == "o") {
            events.push_back({offset + i, 1, "", steps[i] == "x" ? 1.0 : kSoftHit});
        } else if (steps[i] != ".") {
            throw std::invalid_argument(where + ": \"" + steps[i] + "\" is not a drum step");
        }
    }
    return events;
}

Synth DrumHit(Drum drum, int rate) {
    switch (drum) {
        case Drum::kKick: {
            Synth s(0.35, rate);
            s.Tone(0.0, 0.35, 120, 42, 1.0, 0.003, 0.09);
            s.FadeOut(0.05);
            return s;
        }
        case Drum::kBrush: {
            Synth s(0.3, rate);
            s.Noise(0.0, 0.3, 0.55, 0.006, 0.08, 0.35);
            s.Noise(0.0, 0.12, 0.3, 0.002, 0.03, 0.9);
            s.Tone(0.0, 0.12, 210, 180, 0.25, 0.002, 0.04);
            s.FadeOut(0.04);
            return s;
        }
        case Drum::kHat: {
            Synth s(0.09, rate);
            s.Noise(0.0, 0.09, 0.5, 0.001, 0.018, 1.0);
            s.FadeOut(0.02);
            return s;
        }
        case Drum::kRim: {
            Synth s(0.08, rate);
            s.Tone(0.0, 0.08, 1650, 1550, 0.45, 0.0008, 0.014);
            s.Noise(0.0, 0.03, 0.25, 0.0005, 0.006, 0.8);
            s.FadeOut(0.02);
            return s;
        }
    }
    throw std::invalid_argument("unknown drum");
}

// One note or chord of a voice, `seconds` long plus its release.
Synth VoiceNote(const Voice& voice, const std::string& pitch, double seconds, int rate) {
    const double length = seconds + voice.release;
    Synth s(length, rate);
    for (const std::string& note : Split(pitch, '+')) {
        const double frequency = NoteFrequency(note);
        for (const Partial& partial : voice.partials) {
            const double f = frequency * partial.ratio;
            if (f < rate / 2.0) {
                s.Tone(0.0, length, f, f, voice.level * partial.level, voice.attack, voice.decay);
            }
        }
    }
    s.FadeOut(voice.release);
    return s;
}

// Adds a mono sound into the stereo loop at `start`, wrapping past the end.
void MixInto(std::vector<float>& loop, size_t start, const std::vector<float>& sound, double gain, double pan) {
    const size_t frames = loop.size() / 2;
    const double angle = (std::clamp(pan, -1.0, 1.0) + 1.0) * M_PI / 4.0;
    const float left = static_cast<float>(gain * std::cos(angle));
    const float right = static_cast<float>(gain * std::sin(angle));
    size_t frame = start % frames;
    for (const float sample : sound) {
        loop[frame * 2] += sample * left;
        loop[frame * 2 + 1] += sample * right;
        frame = frame + 1 == frames ? 0 : frame + 1;
    }
}

}  // namespace

double NoteFrequency(const std::string& name) {
    static const int kSemitones[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (name.size() < 2 || name[0] < 'A' || name[0] > 'G') {
        throw std::invalid_argument("not a note: \"" + name + "\"");
    }
    int semitone = kSemitones[name[0] - 'A'];
    size_t at = 1;
    if (name[at] == '#' || name[at] == 'b') {
        semitone += name[at] == '#' ? 1 : -1;
        ++at;
    }
    if (at + 1 != name.size() || name[at] < '0' || name[at] > '8') {
        throw std::invalid_argument("not a note: \"" + name + "\"");
    }
    const int midi = 12 * (name[at] - '0' + 1) + semitone;
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

RenderedPiece RenderPiece(const Piece& piece, int rate, double rms) {
    if (piece.bpm <= 0 || piece.stepsPerBeat < 1 || piece.beatsPerBar < 1 || piece.barsPerSection < 1 ||
        piece.form.empty()) {
        throw std::invalid_argument("a piece needs a tempo, a metre and a form");
    }
    const int stepsPerBar = piece.stepsPerBeat * piece.beatsPerBar;
    const size_t sectionSteps = static_cast<size_t>(stepsPerBar) * piece.barsPerSection;
    // Whole frames per step, so bars start on exact frames and the loop is
    // a whole number of bars.
    const size_t stepFrames = static_cast<size_t>(std::llround(rate * 60.0 / piece.bpm / piece.stepsPerBeat));
    const double stepSeconds = static_cast<double>(stepFrames) / rate;
    const size_t totalSteps = sectionSteps * piece.form.size();

    RenderedPiece rendered;
    rendered.rate = rate;
    rendered.interleaved.assign(totalSteps * stepFrames * 2, 0.0f);
    for (size_t bar = 0; bar < piece.form.size() * piece.barsPerSection; ++bar) {
        rendered.barStarts.push_back(static_cast<uint32_t>(bar * stepsPerBar * stepFrames));
    }

    for (size_t t = 0; t < piece.tracks.size(); ++t) {
        const Track& track = piece.tracks[t];
        std::map<std::string, std::vector<float>> sounds;  // repeated notes are rendered once
        for (size_t s = 0; s < piece.form.size(); ++s) {
            const auto found = track.patterns.find(piece.form[s]);
            if (found == track.patterns.end()) {
                continue;
            }
            const std::string where = "track " + std::to_string(t) + ", section " + piece.form[s];
            const std::vector<std::string> steps = PatternSteps(found->second, stepsPerBar, where);
            if (steps.empty() || sectionSteps % steps.size() != 0) {
                throw std::invalid_argument(where + ": " + std::to_string(steps.size()) +
                                            " steps do not fill a section of " + std::to_string(sectionSteps));
            }
            for (size_t offset = s * sectionSteps; offset < (s + 1) * sectionSteps; offset += steps.size()) {
                const std::vector<NoteEvent> events =
                    track.drum ? DrumEvents(steps, offset, where) : PitchedEvents(steps, offset, where);
                for (const NoteEvent& event : events) {
                    const std::string key = event.pitch + "/" + std::to_string(event.steps);
                    auto sound = sounds.find(key);
                    if (sound == sounds.end()) {
                        const Synth made = track.drum ? DrumHit(track.kit, rate)
                                                      : VoiceNote(track.voice, event.pitch, event.steps * stepSeconds, rate);
                        sound = sounds.emplace(key, made.Samples()).first;
                    }
                    MixInto(rendered.interleaved, event.step * stepFrames, sound->second,
                            event.velocity * (track.drum ? track.drumLevel : 1.0),
                            track.drum ? track.drumPan : track.voice.pan);
                }
            }
        }
    }

    // A loop has no start or end, so its mean over one turn is its offset.
    for (size_t channel = 0; channel < 2; ++channel) {
        double sum = 0;
        for (size_t i = channel; i < rendered.interleaved.size(); i += 2) {
            sum += rendered.interleaved[i];
        }
        const float mean = static_cast<float>(sum / static_cast<double>(rendered.Frames()));
        for (size_t i = channel; i < rendered.interleaved.size(); i += 2) {
            rendered.interleaved[i] -= mean;
        }
    }
    double power = 0;
    for (const float sample : rendered.interleaved) {
        power += static_cast<double>(sample) * sample;
    }
    if (power == 0) {
        throw std::invalid_argument("the piece is silent");
    }
    const double gain = rms / std::sqrt(power / static_cast<double>(rendered.interleaved.size()));
    for (float& sample : rendered.interleaved) {
        sample = static_cast<float>(sample * gain);
    }
    return rendered;
}
