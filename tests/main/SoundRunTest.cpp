#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "main/ScriptedRunFixture.h"
#include "platform/Files.h"
#include "platform/PeakLimiter.h"

using namespace platform;

namespace {

std::vector<int16_t> HeardSamples(const std::string& path) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
    std::vector<int16_t> samples(bytes.size() / sizeof(int16_t));
    std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(int16_t));
    return samples;
}

size_t SamplesAtFullScale(const std::vector<int16_t>& samples) {
    return static_cast<size_t>(std::count_if(samples.begin(), samples.end(),
                                             [](int16_t sample) { return sample == 32767 || sample == -32768; }));
}

}  // namespace

// Fourteen words fired a quarter of a second apart in the first level pile
// up the sounds of every submission and of the train. The run plays into
// SDL's disk audio driver, which writes what a player would hear: loud, but
// not one sample at full scale.
TEST_F(ScriptedRunTest, WordsFiredQuicklyNeverMixToFullScale) {
    const std::string script = kIntoTheFirstLevel +
                               "repeat 14\ntype open word\nkey RETURN\nwait ms 250\nend\n"
                               "wait ms 3000\nscreenshot fired\n" +
                               kQuit;
    Prepare(script);
    EnterFolder(WORDRAIL_BUILD_DIR);
    const std::string heard = folder_.Path() + "/heard.raw";
    const ChildRun child{
        .environment = {{"WORDRAIL_AUDIO", "sdl"}, {"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", heard}}};
    ASSERT_EQ(RunProgram(child), 0);
    ASSERT_TRUE(FileExists(folder_.Path() + "/fired.png"));

    const std::vector<int16_t> samples = HeardSamples(heard);
    ASSERT_FALSE(samples.empty());
    int peak = 0;
    for (const int16_t sample : samples) {
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    }
    EXPECT_EQ(SamplesAtFullScale(samples), 0u);
    // The sounds were there, and loud enough to meet the limiter.
    EXPECT_GT(peak, PeakLimiter::kThreshold);
}

// The menu's music as a player hears it at the default volumes, on the real
// clock so that the capture holds seconds of it: -20 dBFS RMS, as loud as the
// effects are beside it, and not one sample at full scale.
TEST_F(ScriptedRunTest, TheMenuMusicIsHeardAtTwentyDecibelsUnderFullScale) {
    Prepare(kFirstStartToMenu + "wait ms 9000\nquit\n");
    EnterFolder(WORDRAIL_BUILD_DIR);
    const std::string heard = folder_.Path() + "/heard.raw";
    const ChildRun child{.environment = {{"WORDRAIL_CLOCK", "real"},
                                         {"WORDRAIL_AUDIO", "sdl"},
                                         {"SDL_AUDIODRIVER", "disk"},
                                         {"SDL_DISKAUDIOFILE", heard}}};
    ASSERT_EQ(RunProgram(child), 0);

    const std::vector<int16_t> samples = HeardSamples(heard);
    EXPECT_EQ(SamplesAtFullScale(samples), 0u);
    // The last seconds before the end: the menu and its music alone.
    constexpr size_t kRate = 44100;
    ASSERT_GT(samples.size(), 2 * kRate * 10);
    double power = 0;
    const size_t from = samples.size() - 2 * kRate * 7;
    const size_t to = samples.size() - 2 * kRate;
    for (size_t i = from; i < to; ++i) {
        power += static_cast<double>(samples[i]) * samples[i];
    }
    const double rms = 20.0 * std::log10(std::sqrt(power / static_cast<double>(to - from)) / 32768.0);
    EXPECT_NEAR(rms, -20.0, 1.0);
}

// Without a sound card the sound libraries' own attempts stay out of the
// error output; one line says the game plays silent. ALSA without its
// configuration fails that way on any machine.
TEST_F(ScriptedRunTest, WithoutSoundOutputOneLineSaysTheGamePlaysSilent) {
    Prepare("wait ms 500\nquit\n");
    EnterFolder(WORDRAIL_BUILD_DIR);
    const std::string said = folder_.Path() + "/said.txt";
    const ChildRun child{.environment = {{"WORDRAIL_AUDIO", "sdl"},
                                         {"SDL_AUDIODRIVER", "alsa"},
                                         {"ALSA_CONFIG_PATH", folder_.Path() + "/no-alsa.conf"}},
                         .errorOutput = said};
    ASSERT_EQ(RunProgram(child), 0);
    const std::vector<uint8_t> bytes = BytesOf(said);
    const std::string text(bytes.begin(), bytes.end());
    // One line of ALSA's still comes outside the set-up (its configuration
    // is read again later in the run); the many of its failed attempts do not.
    size_t libraryLines = 0;
    for (size_t at = text.find("ALSA lib"); at != std::string::npos; at = text.find("ALSA lib", at + 1)) {
        ++libraryLines;
    }
    EXPECT_LE(libraryLines, 1u) << text;
    size_t silentLines = 0;
    for (size_t at = text.find("plays silent"); at != std::string::npos; at = text.find("plays silent", at + 1)) {
        ++silentLines;
    }
    EXPECT_EQ(silentLines, 1u) << text;
}
