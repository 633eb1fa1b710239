#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "main/ScriptedRunFixture.h"
#include "platform/Files.h"
#include "platform/PeakLimiter.h"

using namespace platform;

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

    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(heard, bytes));
    std::vector<int16_t> samples(bytes.size() / sizeof(int16_t));
    std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(int16_t));
    ASSERT_FALSE(samples.empty());
    int peak = 0;
    size_t atFullScale = 0;
    for (const int16_t sample : samples) {
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
        atFullScale += sample == 32767 || sample == -32768;
    }
    EXPECT_EQ(atFullScale, 0u);
    // The sounds were there, and loud enough to meet the limiter.
    EXPECT_GT(peak, PeakLimiter::kThreshold);
}
