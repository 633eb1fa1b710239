#pragma once

#include <cstdint>
#include <string>

// Options of the platform layer, read once from the environment (the game
// itself reads no command line):
//   WORDRAIL_BACKEND      "sdl" (default) or "headless"
//   WORDRAIL_AUDIO        "sdl", "null" or "off" (default: "null" headless,
//                         else "sdl")
//   WORDRAIL_SCRIPT       file of input and screenshot commands to play
//   WORDRAIL_SCREENSHOTS  folder that receives screenshots (default: the
//                         starting folder)
//   WORDRAIL_CLOCK        "real" (default) or "virtual": the millisecond
//                         clock moves only when the program sleeps or waits
//                         for a frame
//   WORDRAIL_WATCHDOG_MS  ends a run that lasts longer, with a last screenshot
//   WORDRAIL_DESKTOP      headless desktop as WIDTHxHEIGHTxBITS (1024x768x32)
// Relative paths are taken from the current folder when the options are
// first read, so the program reads them before it changes folder.
namespace platform {

struct RunOptions {
    bool headless = false;
    // "sdl", "null", "off", or empty for the backend's default.
    std::string audio;
    std::string scriptPath;
    std::string screenshotFolder;
    bool virtualClock = false;
    uint32_t watchdogMs = 0;
    int desktopWidth = 1024;
    int desktopHeight = 768;
    int desktopBitsPerPixel = 32;
    // One line naming the first variable whose value is not understood and
    // what it accepts; empty when all are. That variable keeps its default.
    std::string problem;
};

const RunOptions& CurrentRunOptions();

// Reads the environment again (tests that change it).
void ReloadRunOptionsForTesting();

}  // namespace platform
