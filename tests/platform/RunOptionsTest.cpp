#include "platform/RunOptions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "support/TempFolder.h"

using platform::CurrentRunOptions;
using platform::ReloadRunOptionsForTesting;

namespace {

const char* const kVariables[] = {"WORDRAIL_BACKEND", "WORDRAIL_AUDIO",       "WORDRAIL_SCRIPT",
                                  "WORDRAIL_SCREENSHOTS", "WORDRAIL_CLOCK", "WORDRAIL_WATCHDOG_MS",
                                  "WORDRAIL_DESKTOP"};

// Starts every test from an empty set of options and puts the outside ones back.
class RunOptionsTest : public ::testing::Test {
protected:
    RunOptionsTest() {
        for (const char* name : kVariables) {
            if (const char* value = std::getenv(name)) saved_[name] = value;
            unsetenv(name);
        }
    }
    ~RunOptionsTest() override {
        for (const char* name : kVariables) unsetenv(name);
        for (const auto& [name, value] : saved_) setenv(name.c_str(), value.c_str(), 1);
        ReloadRunOptionsForTesting();
    }

    std::map<std::string, std::string> saved_;
};

TEST_F(RunOptionsTest, ValuesNotUnderstoodAreNamedWithTheAcceptedOnes) {
    struct Case {
        const char* name;
        const char* value;
        const char* problem;
    };
    const Case cases[] = {
        {"WORDRAIL_BACKEND", "headless", ""},
        {"WORDRAIL_BACKEND", "Headless", "WORDRAIL_BACKEND=Headless is not understood; use sdl or headless"},
        {"WORDRAIL_AUDIO", "null", ""},
        {"WORDRAIL_AUDIO", "pulse", "WORDRAIL_AUDIO=pulse is not understood; use sdl or null or off"},
        {"WORDRAIL_CLOCK", "real", ""},
        {"WORDRAIL_CLOCK", "fast", "WORDRAIL_CLOCK=fast is not understood; use real or virtual"},
        {"WORDRAIL_WATCHDOG_MS", "5000", ""},
        {"WORDRAIL_WATCHDOG_MS", "5s",
         "WORDRAIL_WATCHDOG_MS=5s is not understood; use a whole number of milliseconds"},
        {"WORDRAIL_DESKTOP", "800x600x16", ""},
        {"WORDRAIL_DESKTOP", "800x600",
         "WORDRAIL_DESKTOP=800x600 is not understood; use WIDTHxHEIGHTxBITS, for example 1024x768x32"},
    };
    for (const Case& c : cases) {
        setenv(c.name, c.value, 1);
        ReloadRunOptionsForTesting();
        EXPECT_EQ(CurrentRunOptions().problem, c.problem) << c.name << "=" << c.value;
        unsetenv(c.name);
    }
    setenv("WORDRAIL_BACKEND", "Headless", 1);
    ReloadRunOptionsForTesting();
    EXPECT_FALSE(CurrentRunOptions().headless);
}

TEST_F(RunOptionsTest, RelativePathsAreTakenFromTheStartingFolder) {
    TempFolder folder;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    const std::string start = std::filesystem::current_path().string();
    setenv("WORDRAIL_SCRIPT", "runs/first.script", 1);
    ReloadRunOptionsForTesting();
    EXPECT_EQ(CurrentRunOptions().screenshotFolder, start);
    setenv("WORDRAIL_SCREENSHOTS", "/absolute/shots", 1);
    ReloadRunOptionsForTesting();
    EXPECT_EQ(CurrentRunOptions().screenshotFolder, "/absolute/shots");
    setenv("WORDRAIL_SCREENSHOTS", "shots", 1);
    ReloadRunOptionsForTesting();
    // Read once: changing folder afterwards changes nothing.
    std::filesystem::current_path(previous);
    EXPECT_EQ(CurrentRunOptions().scriptPath, start + "/runs/first.script");
    EXPECT_EQ(CurrentRunOptions().screenshotFolder, start + "/shots");
}

}  // namespace
