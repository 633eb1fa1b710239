#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine/media/MemorySurface.h"
#include "main/Application.h"
#include "main/ScriptedRunFixture.h"
#include "platform/RunOptions.h"

using namespace platform;

namespace {

// The word queue's panel on the game screen.
constexpr int32_t kQueueLeft = 145;
constexpr int32_t kQueueTop = 200;
constexpr int32_t kQueueRight = 660;
constexpr int32_t kQueueBottom = 340;

// The green letters of found words.
int FoundLetterPixels(const MemorySurface& shot) {
    int green = 0;
    for (int32_t y = kQueueTop; y < kQueueBottom; ++y) {
        for (int32_t x = kQueueLeft; x < kQueueRight; ++x) {
            const Rgb pixel = PixelOf(shot, x, y);
            green += pixel.g > 120 && pixel.g > pixel.r + 50 && pixel.g > pixel.b + 50;
        }
    }
    return green;
}

std::string WordsFired(int count) {
    return "repeat " + std::to_string(count) + "\n  type open word\n  key RETURN\n  wait ms 1000\nend\n";
}

// The parchment of the "Race over" board, and the sky at the top of the game screen.
int BoardRed(const MemorySurface& shot) { return PixelOf(shot, 715, 350).r; }
bool ShowsTheRace(const MemorySurface& shot) {
    const Rgb sky = PixelOf(shot, 400, 20);
    return sky.b > sky.r + 40;
}

}  // namespace

// A player still pressing Enter as the race ends (every 100 ms from the last
// word on) sees the "Race over" board come up whole before an Enter leaves it.
TEST_F(ScriptedRunTest, EnterPressedAsTheRaceEndsDoesNotSkipTheRaceOverBoard) {
    const std::string shots = FreshScreenshotFolder("race-over-board");
    constexpr int kFrames = 80;
    std::string presses;
    for (int i = 0; i < kFrames; ++i) {
        presses += "key RETURN\nwait ms 100\nscreenshot end_" + std::to_string(i) + "\n";
    }
    Prepare(kIntoTheFirstLevel + WordsFired(18) + presses + kQuit);
    setenv("WORDRAIL_SCREENSHOTS", shots.c_str(), 1);
    ReloadRunOptionsForTesting();
    EnterFolder(WORDRAIL_BUILD_DIR);
    ASSERT_EQ(RunApplication(), 0);

    bool boardWhole = false;
    bool left = false;
    for (int i = 0; i < kFrames && !left; ++i) {
        const Ref<MemorySurface> shot = LoadScreenshot(shots, ("end_" + std::to_string(i)).c_str());
        ASSERT_TRUE(shot);
        left = !ShowsTheRace(*shot);
        boardWhole = boardWhole || (!left && BoardRed(*shot) > 200);
    }
    EXPECT_TRUE(left) << "an Enter after the board came up leaves it";
    EXPECT_TRUE(boardWhole) << "the board was left before it had come up";
}

// The window's close box while the train rides to the next station after a
// won race: the quit question stays on top, and the race's result waits
// behind it until it is answered no, then opens with its figures. The next
// race then starts on a word queue of its own, with nothing of the last.
TEST_F(ScriptedRunTest, TheQuitQuestionOnTheRideKeepsTheResultBehindItAndTheNextQueueStartsClean) {
    const std::string shots = FreshScreenshotFolder("ride-and-queue");
    Prepare(kIntoTheFirstLevel + WordsFired(4) + "screenshot first_words\n" + WordsFired(14) +
            "wait ms 7000\n"
            "key RETURN\n"
            "wait ms 2500\n"
            "close\n"
            "wait ms 6800\n"
            "screenshot asked_on_the_ride\n"
            "click 480 369\n"
            "wait ms 3000\n"
            "screenshot answered_no\n"
            "click 400 411\n"
            "wait ms 1500\n"
            "click 360 380\n"
            "wait ms 1500\n"
            "click 403 376\n"
            "wait ms 8000\n"
            "screenshot second_race\n" +
            kQuit);
    setenv("WORDRAIL_SCREENSHOTS", shots.c_str(), 1);
    ReloadRunOptionsForTesting();
    EnterFolder(WORDRAIL_BUILD_DIR);
    ASSERT_EQ(RunApplication(), 0);

    const auto shot = [&shots](const char* name) { return LoadScreenshot(shots, name); };
    // The question's red No button shows where the result's frame would lie over it.
    const Ref<MemorySurface> asked = shot("asked_on_the_ride");
    ASSERT_TRUE(asked);
    const Rgb no = PixelOf(*asked, 480, 369);
    EXPECT_TRUE(no.r > 150 && no.g < 110 && no.b < 110) << no.r << " " << no.g << " " << no.b;
    // Answered no: the result is up, its green OK button below its figures.
    const Ref<MemorySurface> answered = shot("answered_no");
    ASSERT_TRUE(answered);
    const Rgb ok = PixelOf(*answered, 400, 411);
    EXPECT_TRUE(ok.g > ok.r + 40 && ok.g > ok.b + 40) << ok.r << " " << ok.g << " " << ok.b;
    // Found words show green letters; a fresh queue shows none.
    const Ref<MemorySurface> first = shot("first_words");
    const Ref<MemorySurface> second = shot("second_race");
    ASSERT_TRUE(first && second);
    EXPECT_GT(FoundLetterPixels(*first), 20);
    EXPECT_EQ(FoundLetterPixels(*second), 0);
}
