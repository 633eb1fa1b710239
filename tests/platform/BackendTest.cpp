#include <gtest/gtest.h>

#include <signal.h>

#include <csignal>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/RunOptions.h"
#include "platform/Time.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/sdl/SdlBackend.h"

using namespace platform;

namespace {

// Runs with the display variables given and puts the outside ones back.
class DisplayEnvironment {
public:
    explicit DisplayEnvironment(const char* videoDriver) {
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
            if (const char* value = std::getenv(name)) saved_[name] = value;
            unsetenv(name);
        }
        if (videoDriver != nullptr) setenv("SDL_VIDEODRIVER", videoDriver, 1);
    }
    ~DisplayEnvironment() {
        unsetenv("SDL_VIDEODRIVER");
        for (const auto& [name, value] : saved_) setenv(name.c_str(), value.c_str(), 1);
    }

private:
    std::map<std::string, std::string> saved_;
};

// Without a display SDL would fall back to a driver that shows nothing and
// the game would run unseen; only an explicit request may choose one.
TEST(SdlBackendTest, DriversThatShowNothingServeOnlyWhenAskedFor) {
    struct Case {
        const char* videoDriver;
        bool opens;
    };
    const Case cases[] = {{nullptr, false}, {"dummy", true}};
    for (const Case& c : cases) {
        const DisplayEnvironment environment(c.videoDriver);
        testing::internal::CaptureStderr();
        bool opened = false;
        std::string realDriver;
        {
            SdlBackend backend;
            opened = backend.OpenWindow("Test", 80, 60, false);
            if (const char* driver = SDL_GetCurrentVideoDriver(); driver && c.videoDriver == nullptr)
                realDriver = driver;
        }
        const std::string said = testing::internal::GetCapturedStderr();
        if (!realDriver.empty() && realDriver != "offscreen" && realDriver != "dummy")
            GTEST_SKIP() << "a real display was reached through " << realDriver;
        const std::string name = c.videoDriver ? c.videoDriver : "(unset)";
        EXPECT_EQ(opened, c.opens) << name;
        if (!c.opens) EXPECT_NE(said.find("WORDRAIL_BACKEND=headless"), std::string::npos) << said;
    }
}

// SDL's X11 driver drops a press that comes right after the focus, as the
// click that gives the window the focus back does; the game takes it.
TEST(SdlBackendTest, TheClickThatFocusesTheWindowIsNotDropped) {
    const DisplayEnvironment environment("dummy");
    SdlBackend backend;
    EXPECT_TRUE(SDL_GetHintBoolean(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, SDL_FALSE));
}

// An interrupted, terminated or hung-up run ends through the quit message
// on either backend, so it shuts down and saves.
TEST(BackendTest, InterruptTerminateAndHangUpAskTheRunToQuitOnEitherBackend) {
    struct sigaction before {};
    sigaction(SIGINT, nullptr, &before);
    const DisplayEnvironment environment("dummy");
    for (const bool sdl : {false, true}) {
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            std::unique_ptr<Backend> backend;
            if (sdl) {
                backend = std::make_unique<SdlBackend>();
            } else {
                backend = std::make_unique<HeadlessBackend>();
            }
            std::raise(signal);
            std::vector<RawEvent> events;
            backend->PollEvents(events);
            ASSERT_EQ(events.size(), 1u) << signal << (sdl ? " sdl" : " headless");
            EXPECT_EQ(events[0].kind, RawEvent::Kind::Quit);
            events.clear();
            backend->PollEvents(events);
            EXPECT_TRUE(events.empty());
        }
    }
    // Backends replaced out of order keep the handlers until the last goes.
    auto first = std::make_unique<HeadlessBackend>();
    auto second = std::make_unique<HeadlessBackend>();
    first.reset();
    std::raise(SIGTERM);
    std::vector<RawEvent> events;
    second->PollEvents(events);
    EXPECT_EQ(events.size(), 1u);
    second.reset();
    struct sigaction after {};
    sigaction(SIGINT, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
}

// On the virtual clock a frame shown with the vertical-blank wait ends at
// the next 1/60 s of game time on either backend, however long the real
// present took, so a scripted run sees the same moments on both.
TEST(BackendTest, OnTheVirtualClockAWaitedFrameEndsAtTheNextSixtieth) {
    setenv("WORDRAIL_CLOCK", "virtual", 1);
    ReloadRunOptionsForTesting();
    const DisplayEnvironment environment("dummy");
    std::vector<std::unique_ptr<Backend>> backends;
    backends.push_back(std::make_unique<HeadlessBackend>());
    backends.push_back(std::make_unique<SdlBackend>());
    const std::vector<uint8_t> pixels(80 * 60 * 4);
    for (const auto& backend : backends) {
        ASSERT_TRUE(backend->OpenWindow("Test", 80, 60, false));
        ASSERT_TRUE(backend->Present(pixels.data(), 80, 60, 4, true));
        const uint32_t start = TickCountMs();
        for (int frame = 0; frame < 60; ++frame) ASSERT_TRUE(backend->Present(pixels.data(), 80, 60, 4, true));
        EXPECT_EQ(TicksElapsed(start, TickCountMs()), 1000u);
        // Without the wait no game time passes.
        ASSERT_TRUE(backend->Present(pixels.data(), 80, 60, 4, false));
        EXPECT_EQ(TicksElapsed(start, TickCountMs()), 1000u);
        backend->CloseWindow();
    }
    unsetenv("WORDRAIL_CLOCK");
    ReloadRunOptionsForTesting();
}

}  // namespace
