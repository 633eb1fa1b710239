#pragma once

#include <cstdint>
#include <string>

// Options of the platform layer, read once from the environment (the game
// itself reads no command line):
//   WORDRAIL_BACKEND      "sdl" (default) or "headless"
//   WORDRAIL_SCRIPT       file of input and screenshot commands to play
//   WORDRAIL_SCREENSHOTS  folder that receives screenshots (default ".")
//   WORDRAIL_CLOCK        "virtual": the millisecond clock moves only when the
//                         program sleeps or waits for a frame
//   WORDRAIL_WATCHDOG_MS  ends a run that lasts longer, with a last screenshot
//   WORDRAIL_DESKTOP      headless desktop as WIDTHxHEIGHTxBITS (1024x768x32)
namespace platform {

struct RunOptions {
    bool headless = false;
    std::string scriptPath;
    std::string screenshotFolder = ".";
    bool virtualClock = false;
    uint32_t watchdogMs = 0;
    int desktopWidth = 1024;
    int desktopHeight = 768;
    int desktopBitsPerPixel = 32;
};

const RunOptions& CurrentRunOptions();

// Reads the environment again (tests that change it).
void ReloadRunOptionsForTesting();

}  // namespace platform
