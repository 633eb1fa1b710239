#pragma once

#include <gtest/gtest.h>

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/foundation/Defines.h"
#include "engine/media/MemorySurface.h"
#include "platform/headless/HeadlessBackend.h"
#include "support/TempFolder.h"

// A headless run with its own data folder, screenshot folder and script.
class ScriptedRunTest : public ::testing::Test {
protected:
    void Prepare(const std::string& script, bool sdl = false);
    // A program folder of its own, with the game's constants, the scene
    // fixture's definitions and the smallest map, resource list and word
    // list a game starts with, or without any of them.
    void EnterProgramFolder(bool withConstants);
    void WriteProgramFile(const std::string& name, const std::string& text);
    // Runs the program from `folder` until TearDown.
    void EnterFolder(const std::filesystem::path& folder);
    void TearDown() override;

    TempFolder folder_;
    platform::HeadlessBackend* backend_ = nullptr;
    std::unique_ptr<TempFolder> programFolder_;
    std::filesystem::path previousFolder_;
};

// Reaching the menu from a start with no players: the load scene's first-run
// question is answered, then the load scene is left.
inline const std::string kFirstStartToMenu =
    "wait ms 9500\n"
    "click 480 381\n"
    "wait frames 2\n"
    "click 400 475\n"
    "wait ms 5600\n";
// The same from a later start, which asks nothing.
inline const std::string kLaterStartToMenu =
    "wait ms 9500\n"
    "click 400 475\n"
    "wait ms 5600\n";
// From the menu: open the players, add one by name (which closes the list).
std::string AddPlayer(const std::string& name);
inline const std::string kQuit = "close\nwait ms 800\nclick 320 369\nwait ms 2000\n";
// From a first start into the first level of the adventure, hints off, its
// help closed.
inline const std::string kIntoTheFirstLevel = kFirstStartToMenu +
                                              "type \"Ada\"\nkey RETURN\nwait ms 1500\n"
                                              "click 475 397\nwait ms 1000\nclick 219 349\nwait ms 300\n"
                                              "click 269 405\nwait ms 1000\n"
                                              "click 400 255\nwait ms 5500\nscreenshot map\n"
                                              "click 258 243\nwait ms 1500\nclick 282 240\nwait ms 8000\n"
                                              "click 400 463\nwait ms 1500\n";

// How the program runs as a process of its own: on the environment Prepare
// set, headless and with a watchdog, these variables set over it, and its
// error output into a file or descriptor if one is named. It starts with
// the signals' default actions, as from a shell.
struct ChildRun {
    std::vector<std::pair<std::string, std::string>> environment{};
    std::string errorOutput{};
    int errorDescriptor = -1;   // used in place of errorOutput: a pipe's end, say
    std::string program = WORDRAIL_PROGRAM;
};

// The child's process id.
pid_t StartProgram(const ChildRun& run = {});
// The exit code, or 128 and the signal that ended it.
int WaitForProgram(pid_t child);
int RunProgram(const ChildRun& run = {});

// The whole file, or nothing if it cannot be read.
std::vector<uint8_t> BytesOf(const std::string& path);
// A stored ".!" file as the program reads it.
std::string ReadStoredFile(const std::string& path);
// Stores `text` as the program stores its ".!" files.
void WriteStoredFile(const std::string& path, std::string text);

struct Rgb {
    int r;
    int g;
    int b;
};

Rgb PixelOf(const MemorySurface& picture, int32_t x, int32_t y);
// An empty folder `name` under the build's tests folder, for a run's screenshots.
std::string FreshScreenshotFolder(const std::string& name);
// The screenshot `name` that a run wrote into `folder`.
Ref<MemorySurface> LoadScreenshot(const std::string& folder, const char* name);
int DifferingPixels(const MemorySurface& one, const MemorySurface& other, int32_t left, int32_t top, int32_t right,
                    int32_t bottom);
