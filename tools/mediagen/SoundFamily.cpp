#include "mediagen/Families.h"
#include "mediagen/OggVorbisEncoder.h"
#include "mediagen/Synth.h"

namespace {

constexpr float kQuality = 0.3f;
// Every effect is played at this share of the level its recipe gives it,
// so that effects sit beside the music (heard at -20 dBFS RMS) instead of
// over it, and sounds that overlap stay clear of the limiter.
constexpr float kEffectsLevel = 0.3f;

// A short wooden click with a bright tick on top.
Synth ButtonClick() {
    Synth synth(0.12);
    synth.Noise(0.0, 0.02, 0.6, 0.0005, 0.004, 0.8);
    synth.Tone(0.0, 0.09, 1400, 900, 0.5, 0.001, 0.018);
    synth.Tone(0.0, 0.11, 420, 380, 0.35, 0.002, 0.03);
    synth.Normalize(0.8);
    return synth;
}

}  // namespace

std::vector<uint8_t> EncodeEffect(const Synth& effect) {
    std::vector<float> samples = effect.Samples();
    for (float& sample : samples) {
        sample *= kEffectsLevel;
    }
    return EncodeOggVorbis(samples, 1, effect.Rate(), kQuality);
}

void AddSound(Manifest& manifest, const std::string& section, const std::string& id, const std::string& file,
              Synth (*recipe)()) {
    auto make = [file, recipe](MediaTree& tree) {
        tree.Add(file, EncodeEffect(recipe()));
    };
    // Without "volumemultiplier" a sound would always play at full volume.
    manifest.Add({section, id, "Sound", file, {{"volumemultiplier", "1.0"}}, make});
}

void AddSoundRows(Manifest& manifest) {
    AddSound(manifest, "default", "SOUND_BUTTON", "media/sfx/button.ogg", ButtonClick);
}
